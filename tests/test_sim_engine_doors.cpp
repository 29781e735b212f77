// The bus's equipment through the real step: engine, doors, horn, indicators, fuel and refuelling.
#include "tests/test_sim_fixture.h"

#include <cmath>

using Engine = SimTest;
using Doors = SimTest;
using Signals = SimTest;
using Indicators = SimTest;
using std::make_tuple;

TEST_F(Engine, AShortTapNeverStartsButItsCountCarriesOver)
{
    ticks(5, {VK_KEY_S});
    ticks(10);
    EXPECT_EQ(make_tuple(engine.engineOff, engine.starterTicks), make_tuple(1, 5));
}

TEST_F(Engine, TheStarterCatchesOnTheThirtyFourthTickReplayingTheShortSampleEachTick)
{
    ticks(33, {VK_KEY_S});
    EXPECT_EQ(engine.engineKeyLatch, 1) << "not caught after 33 ticks";
    EXPECT_EQ(countOf(sndRecordTake(), "PlaySound(4)"), 33);
    tick({VK_KEY_S});
    const auto calls = sndRecordTake();
    EXPECT_EQ(make_tuple(engine.engineKeyLatch, engine.engineOff, engine.engineFreq), make_tuple(0, 1, 4000))
        << "off until S is up";
    for (const char* call : {"PlaySound(0)", "SetFrequency(0,4000)", "SetFrequency(13,4000)"})
        EXPECT_TRUE(recorded(calls, call)) << call;
}

TEST_F(Engine, PressingSLocksTheThrottleAtOnceAndPlaysTheStop)
{
    startEngine();
    tick({VK_KEY_S});
    const auto calls = sndRecordTake();
    EXPECT_EQ(engine.throttleLocked, 1);
    EXPECT_TRUE(recorded(calls, "StopSound(0)"));
    EXPECT_TRUE(recorded(calls, "PlaySound(5)"));
}

TEST_F(Engine, ItStopsWhenSIsReleased)
{
    startEngine();
    ticks(6, {VK_KEY_S});
    EXPECT_EQ(engine.engineOff, 0);
    steps({{}, {VK_UP}});
    EXPECT_EQ(make_tuple(engine.engineOff, engine.engineKeyLatch, vehicle.busSpeed), make_tuple(1, 1, 0.0f));
}

TEST_F(Engine, WithSoundTheStartWaitsForTheSampleToEndPlayingItOnce)
{
    sndRecordSetPlaying(4, 1);
    ticks(100, {VK_KEY_S});
    EXPECT_EQ(make_tuple(engine.engineKeyLatch, countOf(sndRecordTake(), "PlaySound(4)")),
              make_tuple(1, 1));
    sndRecordSetPlaying(4, 0);
    tick({VK_KEY_S});
    EXPECT_EQ(engine.engineKeyLatch, 0);
}

TEST_F(Doors, BothKeysAtOnceLeaveTheDoorShutAndReplayBothSounds)
{
    for (int i = 0; i < 2; ++i) {
        tick({VK_DELETE, VK_INSERT});
        const auto both = sndRecordTake();
        EXPECT_EQ(doors.open[0], 0);
        EXPECT_TRUE(recorded(both, "PlaySound(1)"));
        EXPECT_TRUE(recorded(both, "PlaySound(2)"));
    }
}

TEST_F(Doors, SwingOpenIn121TicksFromTheirRest)
{
    tick({VK_END});
    EXPECT_NEAR(ticksUntil([] { return doors.swing[1] > 90.0f; }, 300), 121, 1) << "from the rest at -0.75";
    ticks(20);
    EXPECT_FLOAT_EQ(doors.swing[1], 90.75f);
    EXPECT_NEAR(doors.slide[1], 0.3025f, 1e-4);
}

TEST_F(Doors, SwingShutBackToTheirRest)
{
    tick({VK_END});
    ticks(150);
    tick({VK_HOME});
    ticks(150);
    EXPECT_FLOAT_EQ(doors.swing[1], -0.75f);
    EXPECT_NEAR(doors.slide[1], -0.0025f, 1e-4);
}

TEST_F(Doors, OpeningAfterBrakingToAStandstillStartsTheService)
{
    startEngine();
    ticks(20, {VK_UP});
    ticks(30, {VK_DOWN});
    tick({VK_DELETE});
    EXPECT_EQ(make_tuple(doors.open[0], stops.stopService, stops.swayActive), make_tuple(1, 1, 1));
    EXPECT_STREQ(doors.text[0], "otwarte");
}

TEST_F(Doors, ServingForcesNeutral)
{
    startEngine();
    steps({{VK_DELETE}, {VK_KEY_Q}});
    EXPECT_EQ(vehicle.gear, 1);
}

// Door keys work while |speed| <= 0.0005 in double precision: 0.0005f lies outside, the float below in.
struct DoorSpeed : SimTest, ::testing::WithParamInterface<std::pair<float, int32_t>> {};

TEST_P(DoorSpeed, OpensAndClosesOnlyAtAStandstill)
{
    const auto [speed, moves] = GetParam();
    vehicle.busSpeed = speed;
    vehicle.driveDirection = speed > 0 ? 0 : 1;  // no coasting: the speed stands through the tick
    tick({VK_DELETE});
    EXPECT_EQ(doors.open[0], moves);
    doors.open[0] = 1;
    tick({VK_INSERT});
    EXPECT_EQ(doors.open[0], 1 - moves) << "closing";
}

const float JUST_IN = std::nextafter(0.0005f, 0.0f);
const std::pair<float, int32_t> DOOR_SPEEDS[] = {
    {0.0f, 1}, {JUST_IN, 1}, {-JUST_IN, 1}, {0.0005f, 0}, {-0.0005f, 0}};
INSTANTIATE_TEST_SUITE_P(Doors, DoorSpeed, ::testing::ValuesIn(DOOR_SPEEDS));

TEST_F(Signals, HornAndWarningSignalPlayOnceAndStopOnceOnRelease)
{
    for (const auto& [key, n] : {std::pair{VK_KEY_K, "3)"}, {VK_SCROLL, "7)"}}) {
        const std::string id = n;
        tick({key});
        const auto down = sndRecordTake();
        ticks(5, {key});
        const auto held = sndRecordTake();
        tick();
        const auto up = sndRecordTake();
        tick();
        EXPECT_EQ(make_tuple(recorded(down, "PlaySound(" + id), countOf(held, "PlaySound(" + id),
                             recorded(up, "StopSound(" + id), countOf(sndRecordTake(), "StopSound(" + id)),
                  make_tuple(true, 0, true, 0)) << id;
    }
}

TEST_F(Indicators, BlinkOnTheRealSecondWithATickEach)
{
    fakeNowMs = 100500;
    tick({VK_OEM_PERIOD});
    EXPECT_EQ(make_tuple(lights.rightIndicatorOn, lights.rightIndicatorLamp), make_tuple(1, 0))
        << "its blink item ran first";
    tick();
    EXPECT_EQ(lights.rightIndicatorLamp, 1) << "the last change was long ago: at once";
    ticks(20);  // to 100.940 s: still the same second
    EXPECT_EQ(lights.rightIndicatorLamp, 1);
    ticks(5);  // into second 101
    EXPECT_EQ(lights.rightIndicatorLamp, 0);
    EXPECT_EQ(countOf(sndRecordTake(), "PlaySound(6)"), 2);
}

TEST_F(Indicators, PressingAgainSwitchesOneOffDarkTheTickAfter)
{
    tick({VK_OEM_PERIOD});
    ticks(60);
    tick({VK_OEM_PERIOD});
    fakeNowMs += 2000;
    tick();
    EXPECT_EQ(make_tuple(lights.rightIndicatorOn, lights.rightIndicatorLamp), make_tuple(0, 0));
}

TEST_F(Indicators, SteeringLeftKeepsALeftOneAndSteeringRightCancelsIt)
{
    vehicle.steer = -0.1f;
    tick({VK_OEM_COMMA});
    ticks(3);
    EXPECT_EQ(lights.leftIndicatorOn, 1);
    vehicle.steer = 0.1f;
    tick();
    EXPECT_EQ(lights.leftIndicatorOn, 0);
}

TEST_F(Indicators, ARightOneOnClearsTheLeftTheTickAfter)
{
    steps({{VK_OEM_PERIOD}, {}, {VK_OEM_COMMA}});
    EXPECT_EQ(lights.leftIndicatorOn, 1);
    tick();
    EXPECT_EQ(make_tuple(lights.rightIndicatorOn, lights.leftIndicatorOn), make_tuple(1, 0));
}

TEST_F(Indicators, ALeftOneOnKeepsTheRightFromComingOn)
{
    steps({{VK_OEM_COMMA}, {}, {VK_OEM_PERIOD}});
    EXPECT_EQ(make_tuple(lights.leftIndicatorOn, lights.rightIndicatorOn), make_tuple(1, 0));
}

// The bus standing at the pump (world Z 8: the file's value is its negative), engine off.
class Fuel : public SimTest {
protected:
    void SetUp() override
    {
        startState();
        route.fuelPointX = 5.0f;
        route.fuelPointZ = -8.0f;
        vehicle.busX = 5.0f;
        vehicle.busZ = 8.0f;
    }
    void runDry()
    {
        startEngine();
        ticks(30, {VK_UP});
        engine.fuel = 0.0001f;
        tick();
    }
};

TEST_F(Fuel, RefuelsWithinTenUnitsOfThePump)
{
    for (const auto& [dz, after] : {std::pair{9.9f, 10.03f}, {10.0f, 10.0f}}) {
        vehicle.busZ = 8.0f + dz;
        engine.fuel = 10.0f;
        tick();
        EXPECT_NEAR(engine.fuel, after, 1e-5) << dz;
    }
}

TEST_F(Fuel, RefuellingStopsOnceAtCapacity)
{
    engine.fuel = TEST_FUEL_CAPACITY - 0.01f;
    ticks(5);
    EXPECT_NEAR(engine.fuel, TEST_FUEL_CAPACITY + 0.02f, 1e-3);
}

TEST_F(Fuel, IdlingUsesFuelByTheFrequencyAndNeverRefuels)
{
    startEngine();
    tick({VK_KEY_A});
    engine.engineFreq = 4000;  // neutral leaves it there
    engine.fuel = 50.0f;
    ticks(50);
    EXPECT_NEAR(engine.fuel, 50.0f - 50 * 4001 * 1e-07f, 1e-4);
}

TEST_F(Fuel, StandingInForwardUsesAlmostNothing)
{
    startEngine();
    engine.fuel = 1.0f;
    ticks(100);
    EXPECT_GT(engine.fuel, 0.9999f);
    EXPECT_LT(engine.fuel, 1.0f);
}

TEST_F(Fuel, AnEmptyTankHoldsSForTheDriver)
{
    runDry();
    EXPECT_EQ(make_tuple(engine.fuel, keyState[VK_KEY_S]), make_tuple(0.0f, 1));
}

TEST_F(Fuel, AfterRunningDryTheBusCoastsAndTheEngineNeverReachesOff)
{
    runDry();
    const float speed = vehicle.busSpeed;
    for (int i = 0; i < 100; ++i) {  // releasing S never reaches the off state
        keyState[VK_KEY_S] = 0;
        keyState[VK_UP] = 1;
        tickRaw();
    }
    EXPECT_LT(vehicle.busSpeed, speed);
    EXPECT_EQ(make_tuple(engine.engineOff, engine.throttleLocked), make_tuple(0, 1));
}
