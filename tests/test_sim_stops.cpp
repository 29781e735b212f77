// Stops and passengers through the real step: the exchange, the end of the run, rocking, rating.
#include "tests/test_sim_fixture.h"

#include "sim/rating.h"
#include "sim/stops.h"

#include <cmath>

using std::make_tuple;
const std::initializer_list<uint8_t> ALL_OPEN = {VK_DELETE, VK_END, VK_NEXT};
const std::initializer_list<uint8_t> ALL_SHUT = {VK_INSERT, VK_HOME, VK_PRIOR};

class Stops : public SimTest {
protected:
    // Four stops along +Z (world) at 0, 100, 200, 300 (stored as the negative); the bus at the first.
    void SetUp() override { fourStops(); }
    void fourStops()
    {
        startState();
        route.stopCount = 4;
        vehicle.busX = 1.0f;
        vehicle.busZ = 0.0f;
        for (int i = 0; i < 4; ++i) {
            route.stopX[i] = 0.0f;
            route.stopZ[i] = -100.0f * i;
        }
    }
    void serve(float onBoard, float alight, float board, std::initializer_list<uint8_t> doorKeys)
    {
        stops.passengersOnBoard = onBoard;
        stops.passengersToAlight = alight;
        stops.passengersToBoard = board;
        tick(doorKeys);
    }
    void shutAndRate()
    {
        tick(ALL_SHUT);
        rateDriving();
        tick();
        rateDriving();
    }
};

TEST_F(Stops, TheStopVectorGivesDistanceAndBearingWithoutNan)
{
    struct Row { float x, z, bearing; uint8_t atStop; };
    // 5 is not closer than 5; on the stop no NaN; dz = 0 with dx != 0 a quarter turn from 180.
    const Row rows[] = {{3, -4, float(-std::atan(3.0 / -4.0) * 57.29578), 0}, {0, 0, 180.0f, 1},
                        {3, 4, float(180.0 - std::atan(0.75) * 57.29578), 0}, {2, 0, 90.0f, 1}};
    for (const Row& r : rows) {
        vehicle.busX = r.x;
        vehicle.busZ = r.z;
        updateStopGeometry();
        SCOPED_TRACE(testing::Message() << r.x << "," << r.z);
        EXPECT_EQ(make_tuple(stops.stopDX, stops.stopDZ, stops.atStop), make_tuple(r.x, r.z, r.atStop));
        EXPECT_FLOAT_EQ(stops.stopDistance, std::hypot(r.x, r.z));
        const float bearing = stops.stopBearing;
        const bool sideways = r.z == 0 && r.x != 0;  // either quarter turn
        EXPECT_NEAR(sideways ? 180.0f - std::fabs(bearing - 180.0f) : bearing, r.bearing, 1e-3);
    }
}

TEST_F(Stops, ClosingTheDoorsEndsTheServiceWithTheGearAsBefore)
{
    stops.resumeGear = 0;
    serve(2, 1, 1, ALL_OPEN);
    ticks(200);
    tick(ALL_SHUT);
    EXPECT_EQ(rateDriving(), 0.0) << "the exchange was over";
    tick();
    EXPECT_EQ(make_tuple(stops.stopService, stops.currentStop, vehicle.gear, stops.alightingPhase,
                         stops.exchangeOpen, stops.passengersBoarded),
              make_tuple(0, 1, 0, 1, 1, 0.0f));
}

TEST_F(Stops, ADoorOpenedAwayFromAStopMovesNobodyAndCosts)
{
    vehicle.busZ = 50.0f;
    stops.resumeGear = 0;
    serve(10, 5, 5, {VK_DELETE});
    ASSERT_EQ(stops.stopService, 1);
    for (int i = 0; i < 50; ++i) {
        tick();
        rateDriving();
    }
    EXPECT_EQ(stops.passengersOnBoard, 10.0f);
    EXPECT_NEAR(run.punishment, 1.0f, 1e-3);
    steps({{VK_INSERT}, {}});
    EXPECT_EQ(make_tuple(stops.stopService, stops.currentStop, vehicle.gear), make_tuple(0, 0, 0));
}

TEST_F(Stops, OneDoorLetsFivePassengersOffIn500Ticks)
{
    serve(10, 8, 0, {VK_DELETE});
    EXPECT_NEAR(ticksUntil([] { return stops.passengersAlighted >= 5.0f; }), 500, 2);
}

TEST_F(Stops, ThreeDoorsLetFivePassengersOffIn100Ticks)
{
    serve(10, 5, 0, ALL_OPEN);
    EXPECT_NEAR(ticksUntil([] { return stops.passengersAlighted >= 5.0f; }), 100, 2);
}

TEST_F(Stops, WithNobodyToAlightBoardingStartsAtOnce)
{
    serve(3, 0, 2, ALL_OPEN);
    tick();
    EXPECT_EQ(stops.alightingPhase, 0);
    EXPECT_GT(stops.passengersBoarded, 0.0f);
}

TEST_F(Stops, AtTheLastServiceStopClosingWhilePassengersGetOffCostsTen)
{
    stops.currentStop = 2;
    vehicle.busZ = 200.0f;
    serve(2, 0, 9, ALL_OPEN);
    ticks(10);
    EXPECT_GT(stops.passengersOnBoard, 0.0f);
    shutAndRate();
    EXPECT_EQ(make_tuple(run.punishment, stops.currentStop), make_tuple(10.0f, 3));
}

TEST_F(Stops, AtTheLastServiceStopClosingOnAnEmptyBusCostsNothing)
{
    stops.currentStop = 2;
    vehicle.busZ = 200.0f;
    serve(2, 0, 9, ALL_OPEN);
    ticks(60);
    EXPECT_LE(stops.passengersOnBoard, 0.0f);
    EXPECT_EQ(make_tuple(stops.exchangeInProgress, stops.boardingPhase), make_tuple(0, 0)) << "the exchange is over";
    shutAndRate();
    EXPECT_EQ(make_tuple(run.punishment, stops.currentStop), make_tuple(0.0f, 3));
}

class FinalStop : public Stops {
protected:
    void SetUp() override
    {
        fourStops();
        startEngine();
        stops.currentStop = 3;
        vehicle.busZ = 300.0f;
    }
};

TEST_F(FinalStop, TheEngineSwitchDoesNotEndTheRunWithTheHeadlightsOn)
{
    lights.headlightsOn = 1;
    ticks(2, {VK_KEY_S});
    ticks(2);
    EXPECT_EQ(make_tuple(run.runFinished, engine.engineOff), make_tuple(0, 1));
}

TEST_F(FinalStop, TheEngineSwitchEndsTheRunAndEverythingFreezes)
{
    for (int guard = 0; !run.runFinished && guard < 100; ++guard) tick({VK_KEY_S});
    EXPECT_EQ(run.runFinished, 1);
    const float z = vehicle.busZ;
    const int32_t frames = gameClock.framesThisSecond;
    ticks(20, {VK_UP});
    EXPECT_EQ(make_tuple(vehicle.busZ, gameClock.framesThisSecond), make_tuple(z, frames));
}

TEST_F(Stops, WithOneStopTheRunEndsTheTickAfterTheEngineCatches)
{
    route.stopCount = 1;
    int n = 0;
    while (!run.runFinished && n++ < 100) tick({VK_KEY_S});
    EXPECT_EQ(make_tuple(n, stops.currentStop), make_tuple(35, 0));
}

// A cycle is 103 + 1 ticks; rocking stops after limit + 1 cycles, or at the cycle's end once a door shuts.
TEST_F(Stops, RockingLeansDownAndBackUpWithinACycle)
{
    serve(20, 20, 0, {VK_DELETE});
    float lowest = 0.0f;
    float highest = -1.0f;
    for (int i = 0; i < 103; ++i) {
        tick();
        lowest = std::min(lowest, vehicle.bodyRoll);
        if (i > 60)
            highest = std::max(highest, vehicle.bodyRoll);
    }
    EXPECT_LT(lowest, -0.01f);
    EXPECT_GT(highest, 0.0f);
}

TEST_F(Stops, RockingStopsAfterTheLimitPlusOneCycles)
{
    stops.swayCycleLimit = 1;
    serve(20, 20, 0, {VK_DELETE});
    ticks(503);
    EXPECT_EQ(make_tuple(stops.swayActive, stops.swayCycles), make_tuple(0, 2));
}

TEST_F(Stops, ADoorShutWhileRockingStopsItAtTheCycleEnd)
{
    stops.swayCycleLimit = 10;
    serve(20, 20, 0, {VK_DELETE, VK_END});
    ticksUntil([] { return stops.swayCycles == 2; });
    EXPECT_EQ(ticksUntil([] { return stops.swayCycles == 3; }), 104);
    ticks(10);
    tick({VK_INSERT});  // door 2 stays open: still serving the stop
    EXPECT_EQ(ticksUntil([] { return stops.swayActive != 1; }, 300), 104 - 11);
    EXPECT_EQ(stops.swayCycles, 4);
}

// Up, then down again to reach each range's upper end from above: between the ranges the
// previous verdict stays.
TEST(Rating, TheVerdictFollowsThePenaltyRangesAndHoldsBetweenThem)
{
    resetAllRunState();
    stops.atStop = 1;
    const char* great = "great!!! you are super driver.";
    const char* notBad = "not bad, but you need more concetrate";
    const char* more = "eh, more and more and more and more ... trenings.";
    const char* terrible = "You are terible driver, You discharge!!!";
    const std::pair<float, const char*> verdicts[] = {
        {0.0f, great}, {0.5f, great},  {1.0f, notBad}, {5.0f, notBad},    {5.5f, notBad},
        {6.0f, more},  {10.0f, more}, {10.5f, more},   {11.0f, terrible}, {250.0f, terrible},
        {10.0f, more}, {5.0f, notBad}, {0.5f, notBad}, {0.0f, great}};
    for (const auto& [total, verdict] : verdicts) {
        run.punishment = total;
        EXPECT_EQ(rateDriving(), std::floor(total)) << total;
        EXPECT_STREQ(run.verdictText, verdict) << total;
    }
}

TEST(Rating, SpeedingADoorAwayFromAStopAndClosingOnPassengersCost)
{
    struct Row { float speed; uint8_t atStop, doorOpen, exchange; int ticks; float cost; uint8_t paused = 0; };
    // 0.2927 is 64.98 km/h, just below 65; 0.2928 is 65.0016 km/h: a point a second above it.
    const Row rows[] = {{0.2927f, 1, 0, 0, 50, 0.0f}, {0.2928f, 1, 0, 0, 50, 1.0f}, {0, 1, 1, 0, 1, 0.0f},
                        {0, 0, 1, 0, 1, 0.02f},      {0, 1, 1, 1, 1, 0.0f},        {0, 1, 0, 1, 1, 10.0f},
                        {0.36f, 0, 1, 0, 50, 0.0f, 1}, {0, 1, 0, 1, 1, 0.0f, 1}};  // paused: nothing charged
    for (const Row& r : rows) {
        resetAllRunState();
        vehicle.busSpeedAbs = r.speed;
        stops.atStop = r.atStop;
        doors.open[2] = r.doorOpen;
        stops.exchangeInProgress = r.exchange;
        run.paused = r.paused;
        for (int i = 0; i < r.ticks; ++i) rateDriving();
        EXPECT_NEAR(run.punishment, r.cost, 1e-4) << r.speed << " " << int(r.doorOpen) << int(r.exchange) << int(r.paused);
    }
}
