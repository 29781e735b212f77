// The buildings beside the route from their footprints: closed ways and multipolygons (the first
// inner ring a courtyard), heights from height, building:levels or a plausible default, those the
// road as laid would cross left out, nearest the road first.
#pragma once

#include "tools/osm/osm_data.h"
#include "tools/osm/osm_project.h"

#include <vector>

struct OsmBuilding {
    std::vector<P2> outline;
    std::vector<std::vector<P2>> holes;
    float height;
    float distance;  // of its nearest corner from the route's centreline
    uint32_t seed;
};

std::vector<OsmBuilding> footprintsNear(const OsmExtract& ex, const OsmProjection& proj, const std::vector<P2>& centre,
                                        const std::vector<float>& halfWidth);
