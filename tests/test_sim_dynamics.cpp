// The bus's motion through the real step: the random figures, throttle and the engine bands,
// braking, reverse, coasting and the steering.
#include "tests/test_sim_fixture.h"

#include "sim/dynamics.h"
#include "sim/random.h"
#include "sim/sim_util.h"

#include <climits>
#include <cmath>

using Dynamics = SimTest;

TEST(RandomGenerator, RuntimeSequenceFromStateOne)
{
    randomState = 1;
    const int32_t expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int32_t e : expected)
        EXPECT_EQ(nextRandom(), e);
}

TEST(Conversions, FloatToIntIsClampedAndNanIsZero)
{
    EXPECT_EQ(truncToInt(1e20), INT_MAX);
    EXPECT_EQ(truncToInt(-1e20), INT_MIN);
    EXPECT_EQ(truncToInt(NAN), 0);
    EXPECT_EQ(truncToInt(22499.9), 22499);
    EXPECT_EQ(truncToInt(-3.7), -3);
}

TEST_F(Dynamics, FirstThrottleTicksDrawTheStopFiguresInOrder)
{
    startEngine();
    tick({VK_UP});
    EXPECT_EQ(stops.swayCycleLimit, 41 / 3000);
    EXPECT_FLOAT_EQ(stops.passengersToAlight, 18.0f);
    EXPECT_FLOAT_EQ(stops.passengersToBoard, 6.0f);
    tick({VK_UP});
    EXPECT_EQ(stops.swayCycleLimit, 26500 / 3000);
    EXPECT_FLOAT_EQ(stops.passengersToAlight, 19.0f);
    EXPECT_FLOAT_EQ(stops.passengersToBoard, 15.0f);
    EXPECT_STREQ(vehicle.gearText, "przod");
    EXPECT_EQ(stops.resumeGear, 0);
}

TEST_F(Dynamics, SpeedBandsOverwriteAtTheEdges)
{
    struct Case {
        float speed;
        int32_t freq;
    };
    // Single-precision speeds against double edges: 0.05f lies just above 0.05 (band 2 takes it),
    // 0.16f and 0.26f just below their edges (the lower band keeps them); products truncate.
    const Case cases[] = {{0.0f, 0},      {0.03f, 14999}, {0.05f, 8500},  {0.1f, 17000},
                          {0.16f, 27199}, {0.2f, 19000},  {0.26f, 24699}, {0.3f, 15000}};
    for (const Case& c : cases) {
        engine.engineFreq = -1;
        vehicle.busSpeed = c.speed;
        applySpeedBands();
        EXPECT_EQ(engine.engineFreq, c.freq) << "speed " << c.speed;
    }
    // Above the top speed or rolling backwards no band matches.
    for (float s : {0.31f, -0.01f}) {
        engine.engineFreq = 1234;
        vehicle.busSpeed = s;
        applySpeedBands();
        EXPECT_EQ(engine.engineFreq, 1234);
    }
    // An absurd top speed reaches the clamp, not undefined behaviour.
    vehicleParams.topSpeed = 1e30f;
    vehicle.busSpeed = 1e25f;
    applySpeedBands();
    EXPECT_EQ(engine.engineFreq, INT_MAX);
}

TEST_F(Dynamics, ThrottleSendsTheBandFrequencyAndItDropsAtEachBand)
{
    startEngine();
    int32_t previous = 0;
    int drops = 0;
    for (int i = 0; i < 300; ++i) {
        tick({VK_UP});
        const auto calls = fsoundRecordTake();
        const std::string f = std::to_string(engine.engineFreq);
        EXPECT_TRUE(recorded(calls, "SetFrequency(0," + f + ")"));
        EXPECT_TRUE(recorded(calls, "SetFrequency(13," + f + ")"));
        if (engine.engineFreq < previous)
            ++drops;
        previous = engine.engineFreq;
    }
    EXPECT_GT(vehicle.busSpeed, 0.26f);
    EXPECT_EQ(drops, 3);
    EXPECT_EQ(vehicle.driveDirection, 1);
    // Heading 0: the bus moved along +Z only.
    EXPECT_FLOAT_EQ(vehicle.busX, 0.0f);
    EXPECT_GT(vehicle.busZ, 10.0f);
}

TEST_F(Dynamics, ThrottleStartsTheEngineLoopOncePerPressAndStopsItOnRelease)
{
    startEngine();
    tick({VK_UP});
    EXPECT_EQ(countOf(fsoundRecordTake(), "PlaySound(13)"), 1);
    tick({VK_UP});
    EXPECT_EQ(countOf(fsoundRecordTake(), "PlaySound(13)"), 0);
    tick();
    EXPECT_TRUE(recorded(fsoundRecordTake(), "StopSound(13)"));
    EXPECT_EQ(engine.engineLoopArmed, 1);
}

TEST_F(Dynamics, AtTopSpeedExactlyOneMoreTickStillAccelerates)
{
    startEngine();
    tick({VK_UP});
    vehicle.busSpeed = TEST_TOP_SPEED;
    tick({VK_UP});
    EXPECT_FLOAT_EQ(vehicle.busSpeed, TEST_TOP_SPEED + TEST_ACCEL_STEP);
    tick({VK_UP});
    EXPECT_FLOAT_EQ(vehicle.busSpeed, TEST_TOP_SPEED + TEST_ACCEL_STEP);
}

TEST_F(Dynamics, StandingStillInForwardSetsBandOneButSendsNothing)
{
    startEngine();
    engine.engineFreq = 4000;
    tick();
    EXPECT_EQ(engine.engineFreq, 0);
    for (const std::string& c : fsoundRecordTake())
        EXPECT_EQ(c.rfind("SetFrequency", 0), std::string::npos) << c;
}

TEST_F(Dynamics, BrakingSlowsByBrakeStepAndSnapsToZero)
{
    startEngine();
    ticks(100, {VK_UP});
    const float start = vehicle.busSpeed;
    ASSERT_GT(start, 0.09f);
    tick({VK_DOWN});
    EXPECT_NEAR(vehicle.busSpeed, start - TEST_BRAKE_STEP, 1e-6);
    EXPECT_EQ(vehicle.brakeLightOn, 1);
    int guard = 0;
    while (vehicle.busSpeed != 0.0f && guard++ < 100)
        tick({VK_DOWN});
    EXPECT_EQ(vehicle.busSpeed, 0.0f);
    EXPECT_LT(guard, 30);
    tick({VK_DOWN});
    EXPECT_EQ(vehicle.busSpeed, 0.0f);
    tick();
    EXPECT_EQ(vehicle.brakeLightOn, 0);
}

TEST_F(Dynamics, HoldingUpInReverseSettlesJustPastTheReverseLimit)
{
    startEngine();
    tick({VK_KEY_Z});
    EXPECT_EQ(vehicle.gear, 2);
    EXPECT_EQ(vehicle.reverseLightOn, 1);
    ticks(200, {VK_UP});
    EXPECT_LE(vehicle.busSpeed, -0.05f);
    EXPECT_GE(vehicle.busSpeed, -0.05f - TEST_ACCEL_STEP - 1e-6f);
    EXPECT_NEAR(engine.engineFreq, 22500, 600);
    EXPECT_EQ(vehicle.driveDirection, 0);
    EXPECT_STREQ(vehicle.gearText, "wsteczny");
    EXPECT_LT(vehicle.busZ, -5.0f);
    // Braking in reverse brings it back to a standstill.
    ticks(40, {VK_DOWN});
    EXPECT_EQ(vehicle.busSpeed, 0.0f);
}

TEST_F(Dynamics, GearKeysFollowTheDirectionOfMotion)
{
    startEngine();
    ticks(20, {VK_UP});
    tick({VK_KEY_Z});
    EXPECT_EQ(vehicle.gear, 0) << "Z while rolling forward";
    tick({VK_KEY_A});
    EXPECT_EQ(vehicle.gear, 1) << "A works at any speed";
    EXPECT_STREQ(vehicle.gearText, "luz");
}

TEST_F(Dynamics, CoastingLosesRollingResistanceEachTick)
{
    startEngine();
    ticks(100, {VK_UP});
    tick();
    const float before = vehicle.busSpeed;
    tick();
    EXPECT_NEAR(vehicle.busSpeed, before - 8e-05f, 1e-7);
    // Coasting to a standstill takes speed / 8e-05 ticks; the last step may pass zero.
    ticks(static_cast<int>(before / 8e-05f) + 5);
    EXPECT_LE(vehicle.busSpeed, 0.0f);
    EXPECT_GT(vehicle.busSpeed, -8e-05f);
}

TEST_F(Dynamics, SelfCentringBringsFullLockBackInAboutEightyTicks)
{
    vehicle.steer = 0.4f;
    int n = 0;
    while (vehicle.steer != 0.0f && n < 200) {
        tick();
        ++n;
    }
    EXPECT_GE(n, 78);
    EXPECT_LE(n, 81);
    vehicle.steer = -0.4f;
    ticks(81);
    EXPECT_EQ(vehicle.steer, 0.0f);
}

TEST_F(Dynamics, SteeringKeysStayWithinTheLimitOfThePreviousTick)
{
    tick({VK_LEFT});
    EXPECT_EQ(vehicle.steer, 0.0f) << "the limit is 0 at a standstill";
    // A speed of 0.02 gives a limit of 0.2; nothing moves the bus (no pedal, no drive direction).
    vehicle.busSpeed = 0.02f;
    tick();
    ASSERT_FLOAT_EQ(vehicle.steerLimit, 0.2f);
    ticks(50, {VK_LEFT});
    EXPECT_FLOAT_EQ(vehicle.steer, -0.2f);
    EXPECT_EQ(vehicle.steerKeyHeld, 1);
    ticks(50, {VK_RIGHT});
    EXPECT_FLOAT_EQ(vehicle.steer, 0.2f);
    tick();
    EXPECT_EQ(vehicle.steerKeyHeld, 0);
}

TEST_F(Dynamics, SteeringTurnsTheHeadingWhileMoving)
{
    startEngine();
    ticks(50, {VK_UP});
    ticks(30, {VK_UP, VK_RIGHT});
    EXPECT_GT(vehicle.busHeading, 1.0f);
    EXPECT_GT(vehicle.busX, 0.0f);
    EXPECT_GT(vehicle.bodyRoll, 0.0f);
}

// Throttle in neutral revs the engine 300 Hz a tick while below 30000 and leaves the bus where it
// is; without pedals, and under the brake, the engine winds down 200 Hz a tick while above idle, on
// channel 0 only.
TEST_F(Dynamics, NeutralRevsToTheCapAndWindsDownToIdle)
{
    startEngine();
    tick({VK_KEY_A});
    const float z = vehicle.busZ;
    struct Row {
        uint8_t key;
        int32_t before, after;
        bool sentIdle, sentThrottle;
    };
    const Row rows[] = {{VK_UP, 4000, 4300, true, true},     {VK_UP, 29999, 30299, true, true},
                        {VK_UP, 30000, 30000, false, false}, {0, 4201, 4001, true, false},
                        {0, 4200, 4000, true, false},        {0, 4000, 4000, false, false},
                        {VK_DOWN, 4200, 4000, true, false},  {VK_DOWN, 4000, 4000, false, false}};
    for (const Row& r : rows) {
        engine.engineFreq = r.before;
        fsoundRecordTake();
        if (r.key)
            tick({r.key});
        else
            tick();
        const auto calls = fsoundRecordTake();
        const std::string f = std::to_string(r.after);
        EXPECT_EQ(engine.engineFreq, r.after) << r.before;
        EXPECT_EQ(recorded(calls, "SetFrequency(0," + f + ")"), r.sentIdle) << r.before;
        EXPECT_EQ(recorded(calls, "SetFrequency(13," + f + ")"), r.sentThrottle) << r.before;
    }
    EXPECT_EQ(vehicle.busZ, z) << "the bus does not move in neutral";
}

// The brake turns the heading by +steer in forward and neutral and by -steer in reverse, whatever
// the direction of travel; braking a backward roll in reverse pitches the body back up.
TEST_F(Dynamics, BrakingTakesTheSteeringSignAndThePitchFromTheGear)
{
    struct Row {
        int32_t gear;
        float speed;
        uint8_t direction;
        float turn, pitch;
    };
    const Row rows[] = {{0, 0.05f, 1, 1, -0.02f}, {1, 0.05f, 1, 1, -0.02f}, {2, 0.05f, 1, -1, -0.02f}, {2, -0.05f, 0, -1, 0.0f}};
    for (const Row& r : rows) {
        SetUp();
        vehicle.gear = r.gear;
        vehicle.busSpeed = r.speed;
        vehicle.driveDirection = r.direction;
        vehicle.pedalActive = 1;  // no coasting in the same tick
        vehicle.steer = 0.1f;     // self-centred to 0.095 before the brake
        const float heading = vehicle.busHeading;
        tick({VK_DOWN});
        EXPECT_NEAR(vehicle.busHeading - heading, r.turn * 0.095f, 1e-6) << "gear " << r.gear << " speed " << r.speed;
        EXPECT_NEAR(vehicle.busSpeed, r.speed > 0 ? r.speed - TEST_BRAKE_STEP : r.speed + TEST_BRAKE_STEP, 1e-6);
        EXPECT_NEAR(vehicle.pitchSway, r.pitch, 1e-6) << "gear " << r.gear << " speed " << r.speed;
    }
}
