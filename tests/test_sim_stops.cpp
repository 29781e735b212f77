// Stops and passengers through the real step: the stop vector, the exchange, the end of service,
// the last service stop, the end of the run and the rocking at a stop.
#include "tests/test_sim_fixture.h"

#include "sim/rating.h"
#include "sim/stops.h"

#include <cmath>

class Stops : public SimTest {
protected:
    // Four stops along +Z (world) at 0, 100, 200, 300; the bus stands at the first.
    void SetUp() override
    {
        SimTest::SetUp();
        route.stopCount = 4;
        for (int i = 0; i < 4; ++i) {
            route.stopX[i] = 0.0f;
            route.stopZ[i] = -100.0f * i;  // stored as the negative of world Z
        }
        vehicle.busX = 1.0f;
        vehicle.busZ = 0.0f;
    }
    void standAt(int stop)
    {
        stops.currentStop = stop;
        vehicle.busZ = 100.0f * stop;
    }
    void setTargets(float alight, float board)
    {
        stops.passengersToAlight = alight;
        stops.passengersToBoard = board;
    }
    int ticksUntil(bool (*done)(), int limit = 5000)
    {
        int n = 0;
        while (!done() && n < limit) {
            tick();
            ++n;
        }
        return n;
    }
};

TEST_F(Stops, StopVectorBearingAndDistance)
{
    vehicle.busX = 3.0f;
    vehicle.busZ = -4.0f;
    updateStopGeometry();
    EXPECT_FLOAT_EQ(stops.stopDX, 3.0f);
    EXPECT_FLOAT_EQ(stops.stopDZ, -4.0f);
    EXPECT_FLOAT_EQ(stops.stopDistance, 5.0f);
    EXPECT_EQ(stops.atStop, 0) << "5 is not closer than 5";
    EXPECT_NEAR(stops.stopBearing, -std::atan(3.0 / -4.0) * 57.29578, 1e-4);
    vehicle.busZ = 4.0f;
    updateStopGeometry();
    EXPECT_NEAR(stops.stopBearing, 180.0 - std::atan(0.75) * 57.29578, 1e-4);
}

TEST_F(Stops, StandingExactlyOnTheStopGivesNoNan)
{
    vehicle.busX = 0.0f;
    vehicle.busZ = 0.0f;
    updateStopGeometry();
    EXPECT_FALSE(std::isnan(stops.stopBearing));
    EXPECT_FLOAT_EQ(stops.stopBearing, 180.0f);
    EXPECT_EQ(stops.atStop, 1);
    vehicle.busX = 2.0f;  // dz = 0 with dx != 0: a quarter turn, not NaN
    updateStopGeometry();
    EXPECT_NEAR(std::fabs(stops.stopBearing - 180.0f), 90.0f, 1e-3);
}

TEST_F(Stops, ADoorOpenedAwayFromAStopMovesNobodyAndCosts)
{
    vehicle.busZ = 50.0f;
    stops.resumeGear = 0;
    stops.passengersOnBoard = 10.0f;
    setTargets(5, 5);
    tick({VK_DELETE});
    ASSERT_EQ(stops.stopService, 1);
    for (int i = 0; i < 50; ++i) {
        tick();
        rateDriving();
    }
    EXPECT_EQ(stops.passengersOnBoard, 10.0f);
    EXPECT_NEAR(run.punishment, 1.0f, 1e-3);
    tick({VK_INSERT});
    tick();
    EXPECT_EQ(stops.stopService, 0);
    EXPECT_EQ(stops.currentStop, 0);
    EXPECT_EQ(vehicle.gear, 0) << "back to the gear before the stop";
}

TEST_F(Stops, AlightingThroughDoorOneTakesAbout500Ticks)
{
    stops.passengersOnBoard = 10.0f;
    setTargets(5, 0);
    tick({VK_DELETE});
    const int n = ticksUntil([] { return stops.passengersAlighted >= 5.0f; });
    EXPECT_NEAR(n, 500, 2);
    EXPECT_NEAR(stops.passengersOnBoard, 5.0f, 0.02f);
}

TEST_F(Stops, AlightingThroughAllThreeDoorsTakesAbout100Ticks)
{
    stops.passengersOnBoard = 10.0f;
    setTargets(5, 0);
    tick({VK_DELETE, VK_END, VK_NEXT});
    const int n = ticksUntil([] { return stops.passengersAlighted >= 5.0f; });
    EXPECT_NEAR(n, 100, 2);
}

TEST_F(Stops, NobodyToAlightStartsBoardingAtOnce)
{
    stops.passengersOnBoard = 3.0f;
    setTargets(0, 2);
    tick({VK_DELETE, VK_END, VK_NEXT});
    tick();
    EXPECT_EQ(stops.alightingPhase, 0);
    EXPECT_EQ(stops.exchangeInProgress, 1) << "boarding began in the same tick";
    EXPECT_GT(stops.passengersBoarded, 0.0f);
}

TEST_F(Stops, AnEmptyBusShowsNobodyOnBoardAndBoardsToTheTarget)
{
    setTargets(7, 4);
    tick({VK_END});
    tick();
    EXPECT_EQ(stops.passengersOnBoard, 0.0f);
    EXPECT_EQ(stops.exchangeOpen, 0);
    ticks(400);
    EXPECT_NEAR(stops.passengersOnBoard, 4.0f, 0.05f);
    EXPECT_EQ(stops.exchangeInProgress, 0);
}

TEST_F(Stops, ClosingTheDoorsAtTheStopEndsTheServiceAndAdvances)
{
    stops.resumeGear = 0;
    stops.passengersOnBoard = 2.0f;
    setTargets(1, 1);
    tick({VK_DELETE, VK_END, VK_NEXT});
    ticks(200);
    tick({VK_INSERT, VK_HOME, VK_PRIOR});
    EXPECT_EQ(rateDriving(), 0.0) << "the exchange was over";
    tick();
    EXPECT_EQ(stops.stopService, 0);
    EXPECT_EQ(stops.currentStop, 1);
    EXPECT_EQ(vehicle.gear, 0);
    EXPECT_EQ(stops.alightingPhase, 1);
    EXPECT_EQ(stops.exchangeOpen, 1);
    EXPECT_EQ(stops.passengersBoarded, 0.0f);
}

TEST_F(Stops, ClosingOnPassengersCostsTenOnce)
{
    stops.passengersOnBoard = 10.0f;
    setTargets(8, 0);
    tick({VK_DELETE});
    ticks(20);
    tick({VK_INSERT});
    rateDriving();
    tick();
    rateDriving();
    EXPECT_FLOAT_EQ(run.punishment, 10.0f);
}

TEST_F(Stops, EverybodyGetsOffAtTheLastServiceStop)
{
    standAt(2);
    stops.passengersOnBoard = 2.0f;
    setTargets(0, 9);
    tick({VK_DELETE, VK_END, VK_NEXT});
    ticks(60);
    EXPECT_LE(stops.passengersOnBoard, 0.0f);
    EXPECT_EQ(stops.exchangeInProgress, 1) << "even when empty";
    EXPECT_EQ(stops.boardingPhase, 0);
    tick({VK_INSERT, VK_HOME, VK_PRIOR});
    rateDriving();
    EXPECT_FLOAT_EQ(run.punishment, 10.0f) << "closing there always costs 10";
    tick();
    EXPECT_EQ(stops.currentStop, 3);
}

TEST_F(Stops, TheRunEndsAtTheFinalStopWithTheEngineSwitch)
{
    startEngine();
    standAt(3);
    lights.headlightsOn = 1;
    tick({VK_KEY_S});
    tick({VK_KEY_S});
    EXPECT_EQ(run.runFinished, 0) << "not with the headlights on";
    tick();
    tick();
    EXPECT_EQ(engine.engineOff, 1);
    lights.headlightsOn = 0;
    // Starting the engine again: the catch sets the latch to 0 as well.
    int guard = 0;
    while (!run.runFinished && guard++ < 100)
        tick({VK_KEY_S});
    EXPECT_EQ(run.runFinished, 1);
    const float z = vehicle.busZ;
    const int32_t frames = gameClock.framesThisSecond;
    ticks(20, {VK_UP});
    EXPECT_EQ(vehicle.busZ, z) << "frozen after the end";
    EXPECT_EQ(gameClock.framesThisSecond, frames);
}

TEST_F(Stops, AStopFileWithOneStopEndsAtTheFirstStop)
{
    // Standing at the only stop, the tick after the engine catches already ends the run.
    route.stopCount = 1;
    int n = 0;
    while (!run.runFinished && n++ < 100)
        tick({VK_KEY_S});
    EXPECT_EQ(run.runFinished, 1);
    EXPECT_EQ(n, 35);
    EXPECT_EQ(stops.currentStop, 0);
}

TEST_F(Stops, TheBodyRocksWhilePassengersMove)
{
    stops.swayCycleLimit = 1;
    stops.passengersOnBoard = 20.0f;
    setTargets(20, 0);
    tick({VK_DELETE});
    float lowest = 0.0f;
    float highest = -1.0f;
    for (int i = 0; i < 103; ++i) {
        tick();
        lowest = std::min(lowest, vehicle.bodyRoll);
        if (i > 60)
            highest = std::max(highest, vehicle.bodyRoll);
    }
    EXPECT_LT(lowest, -0.01f);
    EXPECT_GT(highest, 0.0f) << "back up within the cycle";
    ticks(400);
    EXPECT_EQ(stops.swayActive, 0) << "limit + 1 cycles";
    EXPECT_EQ(stops.swayCycles, 2);
}
