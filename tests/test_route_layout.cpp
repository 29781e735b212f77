// The generated route's layout (built here from the tools): the car's loop, the stops, start and pump.
#include "tools/common/route_layout.cpp"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

TEST(RouteLayout, TheCarLoopClosesAndKeepsToItsLane)
{
    const std::vector<RoutePoint>& loop = routeCarLoop();
    ASSERT_NEAR(loop.size(), 769, 50) << "about 7 690 ticks every 10";
    EXPECT_LT(std::hypot(loop.back().x - loop.front().x, loop.back().z - loop.front().z), 5.0f);
    for (const RoutePoint& p : loop)
        EXPECT_NEAR(routeProject(routeLoopRoad(), p.x, p.z).lateral, ROUTE_CAR_LANE_OFFSET, 0.3f)
            << p.x << "," << p.z;
    EXPECT_EQ(otherCar.x, OTHER_CAR_START.x) << "the car state is restored";
}

TEST(RouteLayout, TheStopsTheStartThePumpAndTheSideRoad)
{
    const std::vector<RouteStop>& stops = routeStops();
    ASSERT_GE(stops.size(), 8u);
    const RouteRoad &lane = routeBusLane(), &road = routeLoopRoad();
    const RouteStart start = routeStart();
    float previous = routeProject(lane, start.worldX, -start.worldZ).along, travelled = 0.0f;
    const float length = routeLength(lane);
    for (const RouteStop& s : stops) {
        EXPECT_LT(routeProject(lane, s.x, s.z).distance, 0.2f);
        EXPECT_NEAR(routeProject(road, s.x, s.z).lateral, ROUTE_BUS_LANE_OFFSET, 0.3f);
        EXPECT_NEAR(std::hypot(s.dirX, s.dirZ), 1.0f, 1e-4);
        EXPECT_NEAR(routeProject(road, s.kerbX, s.kerbZ).lateral, ROUTE_ROAD_HALF_WIDTH, 0.3f)
            << "on the outer kerb";
        const float along = routeProject(lane, s.x, s.z).along;
        const float gap = std::fmod(along - previous + length, length);
        EXPECT_GT(gap, 20.0f) << "stops well apart, in driving order";
        travelled += gap;
        previous = along;
    }
    // The final stop lies a little past the start: one lap and a few stops' worth at most.
    EXPECT_GT(travelled, length);
    EXPECT_LT(travelled, length + 100.0f);
    // The start faces down the lane (bus convention): one step along the heading stays on it.
    const RoutePoint model = {start.worldX, -start.worldZ};
    EXPECT_LT(routeProject(lane, model.x, model.z).distance, 0.2f);
    const double h = start.heading * 0.017453292;
    const float aheadX = model.x + 10.0f * float(std::sin(h)), aheadZ = model.z - 10.0f * float(std::cos(h));
    EXPECT_LT(routeProject(lane, aheadX, aheadZ).distance, 0.5f);
    const RoutePoint pump = routeFuelPoint();
    EXPECT_LT(std::hypot(pump.x - model.x, pump.z - model.z), 10.0f) << "refuelling possible at the start";
    const RoutePoint c = routeCrossingPoint();
    EXPECT_LT(routeProject(routeLoopRoad(), c.x, c.z).distance, 0.1f);
    EXPECT_LT(routeProject(routeSideRoad(), c.x, c.z).distance, 0.1f);
    for (RoutePoint h : {routeTrafficHeadA(), routeTrafficHeadB()})
        EXPECT_NEAR(std::hypot(h.x - c.x, h.z - c.z), 2 * ROUTE_ROAD_HALF_WIDTH, ROUTE_ROAD_HALF_WIDTH);
    const RouteRoad square{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 1.0f, true}, open{{{0, 0}, {10, 0}}, 1, 0};
    const RoutePoint wrapped = routePointAt(square, 45.0f);  // closed: it wraps; open: it stops at its end
    EXPECT_EQ(std::make_tuple(routeLength(square), wrapped.x, wrapped.z, routePointAt(open, 50.0f).x),
              std::make_tuple(40.0f, 5.0f, 0.0f, 10.0f));
    const RouteProjection pr = routeProject(square, 5.0f, -2.0f);  // travelling +x the bus's right is +z
    EXPECT_EQ(std::make_tuple(pr.along, pr.distance, pr.lateral), std::make_tuple(5.0f, 2.0f, -2.0f));
}
