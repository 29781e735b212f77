// Keys through the real step (toggles, pause, Escape, cameras, joystick) and the real-second timers.
#include "tests/test_sim_fixture.h"

#include "sim/timers.h"


using Controls = SimTest;
using Escape = SimTest;
using Camera = SimTest;
using Clock = SimTest;
using std::make_tuple;

TEST_F(Controls, JAndHShowInfoAndHelpOneAtATime)
{
    // J, J again, J then H (H hides the info), J (J hides the help): info and help after each.
    const std::pair<uint8_t, uint8_t> shown[] = {{1, 0}, {0, 0}, {0, 1}, {1, 0}};
    const std::vector<uint8_t> presses[] = {
        {VK_KEY_J, VK_KEY_J}, {VK_KEY_J}, {VK_KEY_J, VK_KEY_H}, {VK_KEY_J}};
    for (int i = 0; i < 4; ++i) {
        for (uint8_t k : presses[i]) ticks(i == 0 ? 5 : 1, {k});  // a held key acts once
        tick();
        EXPECT_EQ(std::make_pair(view.infoShown, view.helpShown), shown[i]) << i;
    }
}

TEST_F(Controls, HeldRXAndCToggleTimetableInteriorAndHeadlightsOnce)
{
    ticks(5, {VK_KEY_R, VK_KEY_X, VK_KEY_C});
    EXPECT_EQ(make_tuple(view.timetableShown, lights.interiorLighting, lights.headlightsOn),
              make_tuple(1, 1, 1));
}

TEST_F(Controls, LCyclesTheMirrorViewports)
{
    for (int32_t e : {2, 3, 1, 2}) {
        ticks(3, {VK_KEY_L});
        tick();
        EXPECT_EQ(view.viewportCount, e);
    }
}

TEST_F(Controls, PauseFreezesTheBusTheOtherCarAndTheClock)
{
    startEngine();
    ticks(10, {VK_UP});
    tick({VK_KEY_P});
    const VehicleState before = vehicle;
    const OtherCarState car = otherCar;
    const float seconds = gameClock.clockSeconds;
    ticks(200, {VK_UP, VK_LEFT});
    EXPECT_EQ(make_tuple(vehicle.busZ, vehicle.busSpeed, otherCar.z, gameClock.clockSeconds),
              make_tuple(before.busZ, before.busSpeed, car.z, seconds));
}

TEST_F(Controls, JWorksWhilePaused)
{
    steps({{VK_KEY_P}, {}, {VK_KEY_J}});
    EXPECT_EQ(run.paused, 1);
    EXPECT_EQ(view.infoShown, 1);
}

class EscapeEndingARun : public SimTest {
protected:
    void SetUp() override
    {
        startState();
        steps({{VK_KEY_L}, {VK_KEY_A}});
        stops.passengersOnBoard = 12.0f;
        stops.currentStop = 2;
        doors.open[1] = 1;
        doors.text[1] = "otwarte";
        run.punishment = 3.5f;
        run.runFinished = 1;
        gameClock.clockSeconds = 42.0f;
        tick({VK_ESCAPE});
    }
};

TEST_F(EscapeEndingARun, ReturnsToTheMenuWithTheRunReset)
{
    EXPECT_EQ(make_tuple(game.inGame, game.returnToMenu, game.shutdownRequested, engine.engineOff, engine.throttleLocked,
                         engine.engineKeyLatch, stops.currentStop, doors.open[1], run.runFinished,
                         view.viewportCount),
              make_tuple(0, 1, 0, 1, 1, 1, 0, 0, 0, 1));
    EXPECT_EQ(make_tuple(vehicle.busSpeed, stops.passengersOnBoard, gameClock.clockSeconds),
              make_tuple(0.0f, 0.0f, 0.0f));
    EXPECT_STREQ(doors.text[1], "zamkniete");
}

TEST_F(EscapeEndingARun, CarriesTheGearAndThePenaltiesIntoTheNextRun)
{
    EXPECT_EQ(make_tuple(vehicle.gear, run.punishment), make_tuple(1, 3.5f));
}

TEST_F(Escape, WhenEscapeQuitsEndsTheProgramWithoutAReset)
{
    game.escapeQuits = 1;
    engine.engineOff = 0;
    tick({VK_ESCAPE});
    EXPECT_EQ(make_tuple(game.shutdownRequested, game.quitRequested, game.inGame, engine.engineOff), make_tuple(1, 1, 1, 0));
}

TEST_F(Camera, Keypad5CentresTheLookAndPicksTheEyeByTheWholeOffset)
{
    // Behind the bus (offset -14), in the cab (5), on the roof (0); the look and eye nudged first.
    const std::pair<uint8_t, float> presets[] = {{VK_F2, 0.0f}, {VK_F1, -0.75f}, {VK_F4, -0.9f}};
    for (const auto& [preset, eyeX] : presets) {
        steps({{preset}, {VK_NUMPAD3, VK_NUMPAD7}, {VK_NUMPAD5}});
        EXPECT_EQ(make_tuple(view.cameraLookX, view.cameraEyeX), make_tuple(0.0f, eyeX)) << int(preset);
    }
}

TEST_F(Camera, KeypadNudgesTheOffsetTheEyeAndTheLook)
{
    tick({VK_F6});
    ticks(10, {VK_NUMPAD8});
    ticks(3, {VK_NUMPAD9});
    tick({VK_NUMPAD3});
    EXPECT_NEAR(view.cameraOffsetZ, 1.0f, 1e-5);
    EXPECT_NEAR(view.cameraEyeX, -0.6f, 1e-5);
    EXPECT_FLOAT_EQ(view.cameraLookX, 1.0f);
}

class Joystick : public SimTest {
protected:
    void SetUp() override
    {
        startState();
        options.joystick = 1;
        tick({VK_KEY_Q});
    }
};

TEST_F(Joystick, ACentredStickDoesNothing)
{
    ticks(100);
    EXPECT_EQ(make_tuple(vehicle.busSpeed, vehicle.steer, vehicle.busZ), make_tuple(0.0f, 0.0f, 0.0f));
}

TEST_F(Joystick, TheStickSteersAndDrivesWithTheEngineOff)
{
    fakeJoystick.x = 32768 + 10000;
    fakeJoystick.y = 32768 - 20000;  // forward
    tick();
    EXPECT_NEAR(vehicle.steer, 10000 * 1.2e-05f - 0.005f, 1e-6) << "self-centred later in the step";
    EXPECT_NEAR(vehicle.busSpeed, 20000 * 1e-08 * 1.5, 1e-7);
    EXPECT_EQ(engine.engineOff, 1);
}

TEST_F(Joystick, PulledBackBrakes)
{
    fakeJoystick.y = 0;
    ticks(100);
    fakeJoystick.y = 65535;
    const float speed = vehicle.busSpeed;
    tick();
    EXPECT_LT(vehicle.busSpeed, speed);
}

TEST_F(Joystick, TheArrowsDoNotSteer)
{
    ticks(10, {VK_LEFT});
    EXPECT_EQ(vehicle.steer, 0.0f);
}

TEST_F(Joystick, AnAllZeroReadingIsHardLeftAndForward)
{
    fakeJoystick = JoyReading{0, 0, 0, 0};
    tick();
    EXPECT_NEAR(vehicle.steer, -32768 * 1.2e-05f + 0.005f, 1e-5);
    EXPECT_GT(vehicle.busSpeed, 0.0f);
}

TEST_F(Clock, AdvancingPastMidnightWrapsToZero)
{
    gameClock.clockHours = 23.0f;
    gameClock.clockMinutes = 59.0f;
    gameClock.clockSeconds = 59.0f;
    advanceClock();
    EXPECT_EQ(make_tuple(gameClock.clockHours, gameClock.clockMinutes, gameClock.clockSeconds),
              make_tuple(0.0f, 0.0f, 0.0f));
}

TEST_F(Clock, TheFirstStepActsAtOnceThenEveryRealSecond)
{
    tick();  // at 100.000 s
    EXPECT_EQ(make_tuple(gameClock.clockSeconds, traffic.seconds), make_tuple(1.0f, 1));
    ticks(49);  // to 100.980 s
    EXPECT_EQ(gameClock.clockSeconds, 1.0f);
    tick();
    EXPECT_EQ(make_tuple(gameClock.clockSeconds, traffic.seconds), make_tuple(2.0f, 2));
}

TEST_F(Clock, APausedMinuteCostsOneSecondWithNoCatchingUp)
{
    steps({{}, {VK_KEY_P}});  // at 1 s, paused
    fakeNowMs += 60000;
    steps({{}, {VK_KEY_P}});
    ticks(10);
    EXPECT_EQ(gameClock.clockSeconds, 2.0f);
}

TEST_F(Clock, GoesOnPastThe32BitWrapOfTheMilliseconds)
{
    fakeNowMs = (uint64_t{1} << 32) - 1500;  // 49.7 days
    tick();
    const float before = gameClock.clockSeconds;
    ticks(150);
    EXPECT_EQ(gameClock.clockSeconds, before + 3.0f);
}

TEST_F(Clock, TrafficLightsCycleRedRedYellowGreenYellow)
{
    // Seconds into the cycle, and the lamps red, yellow, green after them.
    const std::tuple<int32_t, int32_t, int32_t, int32_t> phases[] = {
        {19, 1, 0, 0}, {20, 1, 1, 0}, {22, 1, 1, 0}, {23, 0, 0, 1},
        {42, 0, 0, 1}, {43, 0, 1, 0}, {45, 0, 1, 0}, {46, 1, 0, 0}};
    fakeNowMs = 1000000;
    int32_t s = 0;
    for (const auto& [second, red, yellow, green] : phases) {
        for (; s < second; ++s) {
            stepTrafficLights();
            fakeNowMs += 1000;
        }
        EXPECT_EQ(make_tuple(traffic.red, traffic.yellow, traffic.green),
                  make_tuple(red, yellow, green)) << s;
    }
    EXPECT_EQ(traffic.seconds, 0) << "the cycle starts again after 46 s";
}
