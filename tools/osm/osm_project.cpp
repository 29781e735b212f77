#include "tools/osm/osm_project.h"

#include <cmath>

namespace {

constexpr double EARTH_RADIUS = 6371008.8;  // metres, the mean radius
constexpr double DEGREE = 3.14159265358979323846 / 180.0;

}  // namespace

OsmProjection projectionAt(double lat, double lon)
{
    return OsmProjection{lat, lon, EARTH_RADIUS * DEGREE, EARTH_RADIUS * DEGREE * std::cos(lat * DEGREE)};
}

P2 project(const OsmProjection& p, double lat, double lon)
{
    return P2{static_cast<float>((lon - p.lon0) * p.metresPerDegreeLon),
              static_cast<float>(-(lat - p.lat0) * p.metresPerDegreeLat)};
}
