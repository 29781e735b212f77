// The bus's motion through the real step: random figures, throttle, bands, brakes, reverse, steering.
#include "tests/test_sim_fixture.h"

#include "sim/dynamics.h"
#include "sim/sim_util.h"

#include <climits>
#include <cmath>

using Dynamics = SimTest;
using std::make_tuple;

TEST(Conversions, TruncationClampsToTheIntRangeAndTakesNanAsZero)
{
    const std::pair<double, int> rows[] = {
        {1e20, INT_MAX}, {-1e20, INT_MIN}, {NAN, 0}, {22499.9, 22499}, {-3.7, -3}};
    for (const auto& [in, out] : rows) EXPECT_EQ(truncToInt(in), out) << in;
}

TEST_F(Dynamics, SpeedBandsAtTheirEdges)
{
    // Float speeds on double edges: 0.05f is above 0.05, 0.16f and 0.26f below; products truncate.
    const std::pair<float, int32_t> rows[] = {{0.0f, 0},      {0.03f, 14999}, {0.05f, 8500},  {0.1f, 17000},
                                              {0.16f, 27199}, {0.2f, 19000},  {0.26f, 24699}, {0.3f, 15000},
                                              {0.31f, -1},    {-0.01f, -1},   {1e25f, INT_MAX}};
    for (const auto& [speed, freq] : rows) {
        vehicleParams.topSpeed = speed > 1.0f ? 1e30f : TEST_TOP_SPEED;
        engine.engineFreq = -1;
        vehicle.busSpeed = speed;
        applySpeedBands();
        EXPECT_EQ(engine.engineFreq, freq) << "speed " << speed;
    }
}

// The brake turns by +steer, in reverse by -steer; braking a backward roll pitches the body up.
struct BrakeRow { int32_t gear; float speed; uint8_t direction; float turn, pitch; };
struct Brakes : SimTest, ::testing::WithParamInterface<BrakeRow> {};

TEST_P(Brakes, TurnAndPitchByTheGearAndTheDirection)
{
    const BrakeRow r = GetParam();
    vehicle.gear = r.gear;
    vehicle.busSpeed = r.speed;
    vehicle.driveDirection = r.direction;
    vehicle.pedalActive = 1;  // no coasting
    vehicle.steer = 0.1f;  // self-centred to 0.095 before the brake
    tick({VK_DOWN});
    EXPECT_NEAR(vehicle.busHeading, r.turn * 0.095f, 1e-6);
    EXPECT_NEAR(vehicle.busSpeed, r.speed - std::copysign(TEST_BRAKE_STEP, r.speed), 1e-6);
    EXPECT_NEAR(vehicle.pitchSway, r.pitch, 1e-6);
}

const BrakeRow BRAKE_ROWS[] = {
    {0, 0.05f, 1, 1, -0.02f}, {1, 0.05f, 1, 1, -0.02f}, {2, 0.05f, 1, -1, -0.02f}, {2, -0.05f, 0, -1, 0}};
INSTANTIATE_TEST_SUITE_P(Dynamics, Brakes, ::testing::ValuesIn(BRAKE_ROWS));

TEST_F(Dynamics, StandingInForwardSetsBandOneButSendsNothing)
{
    startEngine();
    engine.engineFreq = 4000;
    tick();
    EXPECT_EQ(engine.engineFreq, 0);
    for (const std::string& c : sndRecordTake())
        EXPECT_EQ(c.rfind("SetFrequency", 0), std::string::npos) << c;
}

TEST_F(Dynamics, TheFirstThrottleTicksDrawTheStopFiguresInOrder)
{
    startEngine();
    const std::tuple<int32_t, float, float> figures[] = {{41 / 3000, 18, 6}, {26500 / 3000, 19, 15}};
    for (const auto& figure : figures) {
        tick({VK_UP});
        EXPECT_EQ(make_tuple(stops.swayCycleLimit, stops.passengersToAlight, stops.passengersToBoard),
                  figure);
    }
}

TEST_F(Dynamics, TheThrottleSendsTheFrequencyToBothChannelsAndStartsTheLoopOncePerPress)
{
    startEngine();
    for (int i = 0; i < 300; ++i) {
        tick({VK_UP});
        const auto calls = sndRecordTake();
        const std::string f = std::to_string(engine.engineFreq);
        EXPECT_TRUE(recorded(calls, "SetFrequency(0," + f + ")")) << i;
        EXPECT_TRUE(recorded(calls, "SetFrequency(13," + f + ")")) << i;
        EXPECT_EQ(countOf(calls, "PlaySound(13)"), i == 0 ? 1 : 0) << i;
    }
    tick();
    EXPECT_TRUE(recorded(sndRecordTake(), "StopSound(13)")) << "released";
    EXPECT_EQ(engine.engineLoopArmed, 1);
}

TEST_F(Dynamics, ThreeHundredThrottleTicksClimbThreeBandsAlongZ)
{
    startEngine();
    int32_t previous = 0;
    int drops = 0;
    for (int i = 0; i < 300; ++i) {
        tick({VK_UP});
        drops += engine.engineFreq < previous ? 1 : 0;
        previous = engine.engineFreq;
    }
    EXPECT_EQ(drops, 3);
    EXPECT_EQ(vehicle.driveDirection, 1);
    EXPECT_STREQ(vehicle.gearText, "przod");
    EXPECT_EQ(vehicle.busX, 0.0f) << "heading 0: along +Z only";
    EXPECT_GT(vehicle.busZ, 10.0f);
}

TEST_F(Dynamics, AtTheTopSpeedExactlyOneMoreTickStillAccelerates)
{
    startEngine();
    tick({VK_UP});
    vehicle.busSpeed = TEST_TOP_SPEED;
    ticks(2, {VK_UP});
    EXPECT_FLOAT_EQ(vehicle.busSpeed, TEST_TOP_SPEED + TEST_ACCEL_STEP);
}

TEST_F(Dynamics, BrakingToAStandstillLightsTheBrakeLightWhileTheBrakeIsHeld)
{
    startEngine();
    ticks(60, {VK_UP});
    ticks(80, {VK_DOWN});
    EXPECT_EQ(make_tuple(vehicle.busSpeed, vehicle.brakeLightOn), make_tuple(0.0f, 1));
    tick();
    EXPECT_EQ(vehicle.brakeLightOn, 0);
}

TEST_F(Dynamics, CoastingLoses8e05ATickToAStandstill)
{
    startEngine();
    ticks(21, {VK_UP});
    tick();
    const float before = vehicle.busSpeed;
    tick();
    EXPECT_NEAR(vehicle.busSpeed, before - 8e-05f, 1e-7);
    // It takes speed / 8e-05 ticks; the last step may pass zero.
    ticks(static_cast<int>(before / 8e-05f) + 5);
    EXPECT_LE(vehicle.busSpeed, 0.0f);
    EXPECT_GT(vehicle.busSpeed, -8e-05f);
}

TEST_F(Dynamics, ZIsRefusedWhileRollingForwardButAWorksAtAnySpeed)
{
    startEngine();
    ticks(20, {VK_UP});
    tick({VK_KEY_Z});
    EXPECT_EQ(vehicle.gear, 0);
    tick({VK_KEY_A});
    EXPECT_STREQ(vehicle.gearText, "luz");
}

TEST_F(Dynamics, InNeutralTheThrottleRaisesTheFrequencyAndIdleLowersItWithoutMoving)
{
    startEngine();
    tick({VK_KEY_A});
    const float z = vehicle.busZ;
    // Throttle +300 Hz below 30000 on both channels; else -200 Hz above idle on channel 0.
    struct Row { uint8_t key; int32_t before, after; bool sentIdle, sentThrottle; };
    const Row rows[] = {{VK_UP, 4000, 4300, true, true},     {VK_UP, 29999, 30299, true, true},
                        {VK_UP, 30000, 30000, false, false}, {0, 4201, 4001, true, false},
                        {0, 4200, 4000, true, false},        {0, 4000, 4000, false, false},
                        {VK_DOWN, 4200, 4000, true, false},  {VK_DOWN, 4000, 4000, false, false}};
    for (const Row& r : rows) {
        engine.engineFreq = r.before;
        sndRecordTake();
        tick(r.key ? std::initializer_list<uint8_t>{r.key} : std::initializer_list<uint8_t>{});
        const auto calls = sndRecordTake();
        const std::string f = std::to_string(r.after);
        EXPECT_EQ(engine.engineFreq, r.after) << r.before;
        EXPECT_EQ(recorded(calls, "SetFrequency(0," + f + ")"), r.sentIdle) << r.before;
        EXPECT_EQ(recorded(calls, "SetFrequency(13," + f + ")"), r.sentThrottle) << r.before;
    }
    EXPECT_EQ(vehicle.busZ, z);
}

TEST_F(Dynamics, ReverseSettlesJustPastItsLimit)
{
    startEngine();
    tick({VK_KEY_Z});
    EXPECT_EQ(vehicle.reverseLightOn, 1);
    ticks(200, {VK_UP});
    EXPECT_LE(vehicle.busSpeed, -0.05f);
    EXPECT_GE(vehicle.busSpeed, -0.05f - TEST_ACCEL_STEP - 1e-6f);
    EXPECT_NEAR(engine.engineFreq, 22500, 600);
    EXPECT_EQ(vehicle.driveDirection, 0);
    EXPECT_STREQ(vehicle.gearText, "wsteczny");
    ticks(40, {VK_DOWN});
    EXPECT_EQ(vehicle.busSpeed, 0.0f) << "braking in reverse";
}

TEST_F(Dynamics, SelfCentringTakesAbout80Ticks)
{
    vehicle.steer = 0.4f;
    const int n = ticksUntil([] { return vehicle.steer == 0.0f; }, 200);
    EXPECT_NEAR(n, 79.5, 1.5);
}

TEST_F(Dynamics, SteeringStaysWithinTheLimitOfThePreviousTick)
{
    tick({VK_LEFT});
    EXPECT_EQ(vehicle.steer, 0.0f) << "the limit is 0 at a standstill";
    vehicle.busSpeed = 0.02f;  // a limit of 0.2; nothing moves the bus (no pedal, no drive direction)
    tick();
    ticks(50, {VK_LEFT});
    EXPECT_FLOAT_EQ(vehicle.steer, -0.2f);
    EXPECT_EQ(vehicle.steerKeyHeld, 1);
    ticks(50, {VK_RIGHT});
    EXPECT_FLOAT_EQ(vehicle.steer, 0.2f);
    tick();
    EXPECT_EQ(vehicle.steerKeyHeld, 0);
}

TEST_F(Dynamics, SteeringRightWhileDrivingTurnsAndRollsTheBusRight)
{
    startEngine();
    ticks(50, {VK_UP});
    ticks(30, {VK_UP, VK_RIGHT});
    EXPECT_GT(vehicle.busHeading, 1.0f);
    EXPECT_GT(vehicle.busX, 0.0f);
    EXPECT_GT(vehicle.bodyRoll, 0.0f);
}
