// Reading an extract with libosmium in passes, each keeping only what the next needs:
// the relations, then the route's ways, then their nodes, then the town in a corridor round them.
// Every function throws std::runtime_error with a message for the player on unreadable input.
#pragma once

#include "tools/osm/osm_data.h"

#include <functional>

// Pass 1: every bus route of the file and the file's timestamp.
void readRoutes(const OsmSource& source, OsmExtract& out);
// Pass 2: the given ways (the route's members).
void readWays(const OsmSource& source, const std::vector<int64_t>& ids, OsmExtract& out);
// Pass 3: the given nodes (the route's ways' nodes and its stops).
void readNodes(const OsmSource& source, const std::vector<int64_t>& ids, OsmExtract& out);
// Pass 4: every node where near(lat, lon) holds, then the roads and buildings that touch them and
// the multipolygon buildings made of those ways.
void readCorridor(const OsmSource& source, const std::function<bool(double, double)>& near, OsmExtract& out);
