// The flat world's projection: metres east and north of an origin on the map, in the route
// model's frame (x = east, z = south of the origin, so that the right of the direction of travel
// in the model is the right on the map). Equirectangular: over a bus route's few kilometres its
// error is far below a lane's width.
#pragma once

#include "tools/data/content_shapes.h"

struct OsmProjection {
    double lat0, lon0;
    double metresPerDegreeLat, metresPerDegreeLon;
};

OsmProjection projectionAt(double lat, double lon);
P2 project(const OsmProjection& p, double lat, double lon);
