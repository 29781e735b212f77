// The generated route's layout, shared by the data generator (roads, crossing, shelters, depot,
// the run files) and the headless driver's autopilot.
//
// Coordinates are those of the route model: the route scene is drawn after
// translate(-busX, 0, busZ), so a model point (x, z) is world X = x, world Z = -z. The stop file
// and the refuelling point hold model coordinates as they are; the second car's
// (otherCar.x, otherCar.z) are model coordinates too. A bus with heading h moves along
// (sin h, -cos h) in this frame, the second car along (sin h, cos h).
//
// The loop is a one-way road of two lanes, driven the way the second car goes round it
// (east side southwards, i.e. towards -z, then west along the south side, north along the west
// side, east along the north side). The car keeps to the inner (left) lane; the bus uses the
// outer (right) lane, so its doors face the outer kerb where the stops and the depot are.
// One side road crosses the east side at a right angle; the traffic lights stand there.
//
// Everything is computed once, on first use, from the game's own updateOtherCar (the car state
// is saved and restored around it), so the layout always fits the car. Deterministic; no GL.
#pragma once

#include <cstdint>
#include <vector>

struct RoutePoint {
    float x;
    float z;
};

// Width of one lane; the loop road has two, the side road one each way.
constexpr float ROUTE_LANE_WIDTH = 4.0f;
// Half the width of the loop road and of the side road, kerb to centreline.
constexpr float ROUTE_ROAD_HALF_WIDTH = 4.0f;
// Lane centres as signed offsets from the loop road's centreline, positive to the right of the
// direction of travel (towards the outside of the loop).
constexpr float ROUTE_CAR_LANE_OFFSET = -2.0f;
constexpr float ROUTE_BUS_LANE_OFFSET = 2.0f;
// The second car's positions are sampled every this many ticks.
constexpr int32_t ROUTE_CAR_SAMPLE_TICKS = 10;

// A polyline with its half width; `closed` joins the last point back to the first.
struct RouteRoad {
    std::vector<RoutePoint> points;
    float halfWidth;
    bool closed;
};

// A bus stop: where the bus's reference point should stand (within 5 units counts), the unit
// direction of travel there, and the point on the outer kerb beside it (for the shelter).
struct RouteStop {
    float x, z;
    float dirX, dirZ;
    float kerbX, kerbZ;
};

// The bus at the start of a run and the game clock's start time (mission file values).
struct RouteStart {
    float worldX;      // = model x
    float worldZ;      // = -model z
    float heading;     // degrees, bus convention
    float clockHours;
    float clockMinutes;
};

// Where a point lies relative to a polyline.
struct RouteProjection {
    int32_t segment;   // index of the nearest segment's first point
    float t;           // 0..1 along that segment
    float along;       // distance from the first point along the polyline
    float lateral;     // signed distance, positive to the right of the direction of travel
    float distance;    // unsigned distance to the polyline
};

// The second car's positions over one full lap from its initial state, every
// ROUTE_CAR_SAMPLE_TICKS ticks, in the order it drives them; the lap closes on its first point.
const std::vector<RoutePoint>& routeCarLoop();

// The loop road's centreline (closed, in the direction of travel), half width ROUTE_ROAD_HALF_WIDTH.
const RouteRoad& routeLoopRoad();

// The centre of the bus lane round the loop (closed, in the direction of travel).
const RouteRoad& routeBusLane();

// The side road: a straight centreline through the crossing, perpendicular to the east side.
const RouteRoad& routeSideRoad();

// The centre of the crossing of the side road with the loop road.
RoutePoint routeCrossingPoint();

// Suggested places of the two traffic-light heads, on the kerb corners of the crossing:
// head A faces the loop road's traffic (the bus and the car), head B the side road's.
RoutePoint routeTrafficHeadA();
RoutePoint routeTrafficHeadB();

// The stops in the order they are served (at least 8; the last is the final stop).
const std::vector<RouteStop>& routeStops();

// The refuelling point (the depot's pump), beside the outer kerb near the start.
RoutePoint routeFuelPoint();

// The bus's start position, heading and the clock's start time.
RouteStart routeStart();

// Length of a polyline (including the closing segment when closed).
float routeLength(const RouteRoad& road);

// The nearest point of a polyline to (x, z).
RouteProjection routeProject(const RouteRoad& road, float x, float z);
// The same among the segments that reach into [fromAlong, toAlong] (distances from the first
// point): on a lane that passes a place twice, the pass meant.
RouteProjection routeProjectWithin(const RouteRoad& road, float x, float z, float fromAlong, float toAlong);
// The first pass, from fromAlong on, that comes within radius of (x, z): the nearest point of the
// first run of segments that come that close; distance HUGE_VALF when none does.
RouteProjection routeFirstPass(const RouteRoad& road, float x, float z, float fromAlong, float radius);

// The point `along` units from the first point (wraps round a closed polyline, clamps an open one).
RoutePoint routePointAt(const RouteRoad& road, float along);
