// The imported route's scene: grass, the route's road with pavements and kerbs (parted at the side
// streets and the crossing), the side streets, the crossing with its lights and their lit lamps,
// the stops' shelters with name plates, the pump by the refuelling point, the buildings from their
// footprints nearest the road first and, where the map has none beside the road, rows of houses.
// Filled up to OSM_TRIANGLE_BUDGET; what did not fit is reported.
#pragma once

#include "assets/model.h"
#include "tools/osm/osm_plan.h"

// The route model's triangle budget (the model record's capacity).
constexpr int32_t OSM_TRIANGLE_BUDGET = MAX_ROUTE_TRIANGLES;

// Writes Plansza.qx, Niebo.qx, the six lamp models and the route's textures under dir.
void writeTown(const std::string& dir, OsmPlan& plan);
