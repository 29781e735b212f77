// velbrant-data's map modes: listing an extract's bus routes, and importing one of them as a
// complete data tree. The tree is written into a temporary folder beside DIR and renamed into
// place only when whole, so a failed import leaves DIR as it was.
#pragma once

#include "tools/osm/osm_plan.h"

#include <string>

// One line per bus route: relation id, ref, name, stops, length in km, problems. Throws on a file
// that cannot be read.
std::string listRoutes(const OsmSource& source);
// Reads the route, lays it out and returns the plan (no files written). Throws with a message.
OsmPlan importPlan(const OsmSource& source, const OsmOptions& options, OsmExtract& ex);
// Writes the whole tree into dir (which must not exist, or is replaced whole). Returns the
// problems to report; throws with a message, leaving dir untouched.
std::vector<std::string> importRoute(const OsmSource& source, const OsmOptions& options, const std::string& dir);
