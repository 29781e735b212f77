// The route laid out in the flat world: the road's centreline with its corners rounded for the
// bus, its width, the bus lane, the stops in the order served, the start and the refuelling point,
// the crossing with the lights, the side streets, the buildings and the second car's loop.
// Everything in the route model's frame (osm_project), in metres.
#pragma once

#include "tools/common/route_layout.h"
#include "tools/osm/osm_buildings.h"
#include "tools/osm/osm_chain.h"

#include <string>
#include <vector>

// The tightest bend the bus can take, in metres of radius; corners are rounded to at least this.
constexpr float OSM_MIN_TURN_RADIUS = 6.0f;
// Stops at most (the stop file's capacity).
constexpr int OSM_MAX_STOPS = 100;

struct OsmOptions {
    int64_t relation;
    int firstStop, lastStop;  // 1-based, inclusive; 0 = the whole route
    int startMinutes;         // the game clock at the start
};

struct OsmSideRoad {
    std::vector<P2> line;
    float halfWidth;
};

struct OsmPlan {
    OsmProjection projection;
    std::string ref, name;
    std::vector<P2> centre;          // the route's road, in driving order, corners rounded
    std::vector<float> halfWidth;    // per point of centre
    RouteRoad lane;                  // the bus lane (open)
    std::vector<RouteStop> stops;
    std::vector<std::string> stopNames;  // transliterated
    std::vector<float> stopAlong;    // along the lane
    RouteStart start;
    RoutePoint fuel;
    float crossingAlong;             // along the centreline
    P2 crossing;                     // the crossing's centre
    P2 sideDir;                      // the crossing road's direction there
    float sideHalfWidth;
    std::vector<float> junctionAlong;  // where side streets meet the route (pavements cut there)
    std::vector<OsmSideRoad> sideRoads;
    std::vector<OsmBuilding> buildings;  // nearest first
    std::vector<P2> carLoop;         // closed, in driving order
    std::vector<float> carSpeed;     // units per tick at each point
    std::vector<std::string> problems;
};

// The route's half width from its tags: width, else lanes, else its class.
float roadHalfWidth(const OsmTags& tags);
// Lays out the route; throws std::runtime_error for a route that cannot be played.
OsmPlan planRoute(const OsmRelation& route, const OsmExtract& ex, const OsmProjection& proj, const OsmChain& chain,
                  const OsmOptions& options);
// The route's stops as members name them: platforms merged with their stop positions, in order.
struct OsmStopMember {
    int64_t node;   // or the way, for a platform drawn as an area
    std::string name;
    double lat, lon;
};
std::vector<OsmStopMember> routeStopMembers(const OsmRelation& route, const OsmExtract& ex);
