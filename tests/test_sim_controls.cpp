// Keys through the real step (toggles, pause, Escape, cameras, joystick) and the real-second timers.
#include "tests/test_sim_fixture.h"

#include "sim/controls.h"
#include "sim/timers.h"

#include <tuple>

using Controls = SimTest;
using Timers = SimTest;
using std::make_tuple;

TEST_F(Controls, ToggleKeysMirrorsPauseEscapeAndTheCameras)
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
    ticks(5, {VK_KEY_R, VK_KEY_X, VK_KEY_C});
    EXPECT_EQ(view.timetableShown + lights.interiorLighting + lights.headlightsOn, 3);
    for (int32_t e : {2, 3, 1, 2}) {
        ticks(3, {VK_KEY_L}); tick();
        EXPECT_EQ(view.viewportCount, e);
    }
    SetUp(); startEngine(); ticks(10, {VK_UP}); tick({VK_KEY_P});  // pause freezes all but the toggles
    ASSERT_EQ(run.paused, 1);
    const VehicleState before = vehicle;
    const OtherCarState car = otherCar;
    const float seconds = gameClock.clockSeconds;
    ticks(200, {VK_UP, VK_LEFT});
    EXPECT_EQ(make_tuple(vehicle.busZ, vehicle.busSpeed, otherCar.otherCarZ, gameClock.clockSeconds),
              make_tuple(before.busZ, before.busSpeed, car.otherCarZ, seconds));
    tick({VK_KEY_J}); tick(); tick({VK_KEY_P}); tick();
    EXPECT_EQ(view.infoShown, 1) << "J works while paused";
    EXPECT_NE(otherCar.otherCarZ, car.otherCarZ);
    // Escape ends the run: the run's state is reset, the gear and the penalties carry over.
    tick({VK_KEY_L}); tick({VK_KEY_A}); stops.passengersOnBoard = 12.0f;
    stops.currentStop = 2; doors.door2Open = 1; doors.door2Text = "otwarte"; run.punishment = 3.5f;
    run.runFinished = 1; gameClock.clockSeconds = 42.0f; tick({VK_ESCAPE});
    EXPECT_EQ(make_tuple(inGame, returnToMenu, shutdownRequested, engine.engineOff, engine.throttleLocked,
                         engine.engineKeyLatch, stops.currentStop, doors.door2Open, run.runFinished,
                         view.viewportCount),
              make_tuple(0, 1, 0, 1, 1, 1, 0, 0, 0, 1));
    EXPECT_EQ(vehicle.busSpeed + stops.passengersOnBoard + gameClock.clockSeconds, 0.0f);
    EXPECT_STREQ(doors.door2Text, "zamkniete");
    EXPECT_EQ(make_tuple(vehicle.gear, run.punishment), make_tuple(1, 3.5f)) << "carried into the next run";
    SetUp(); escapeQuits = 1; engine.engineOff = 0; tick({VK_ESCAPE});
    EXPECT_EQ(make_tuple(shutdownRequested, quitRequested, inGame, engine.engineOff), make_tuple(1, 1, 1, 0))
        << "no run reset: the program is ending";
    SetUp(); tick({VK_F2});  // camera presets and the keypad
    EXPECT_EQ(make_tuple(view.cameraOffsetZ, view.cameraEyeY, view.cameraLookZ, view.cameraAtFront),
              make_tuple(-14.0f, 4.0f, -100.0f, 0));
    tick({VK_NUMPAD3});
    const float look = view.cameraLookX;
    tick({VK_NUMPAD5});
    EXPECT_FLOAT_EQ(look, 1.0f);
    EXPECT_FLOAT_EQ(view.cameraEyeX + view.cameraLookX, 0.0f);
    const std::tuple<uint8_t, float, uint8_t> fives[] = {{VK_F1, -0.75f, 1}, {VK_F4, -0.9f, 0}};
    for (const auto& [preset, eyeX, atFront] : fives) {
        tick({preset}); tick({VK_NUMPAD5});
        EXPECT_FLOAT_EQ(view.cameraEyeX, eyeX);
        EXPECT_EQ(view.cameraAtFront, atFront);
    }
    tick({VK_F6});
    const float eyeY = view.cameraEyeY;
    ticks(10, {VK_NUMPAD8});
    ticks(3, {VK_NUMPAD9});
    EXPECT_FLOAT_EQ(eyeY, 1.7f);
    EXPECT_NEAR(view.cameraOffsetZ, 1.0f, 1e-5);
    EXPECT_NEAR(view.cameraEyeX, -0.6f, 1e-5);
}

TEST_F(Controls, JoystickSteersAndDrivesEvenWithTheEngineOffAndTheArrowsDoNotSteer)
{
    optJoystick = 1; tick({VK_KEY_Q}); ticks(100);  // a centred stick does nothing
    EXPECT_EQ(make_tuple(vehicle.busSpeed, vehicle.steer, vehicle.busZ), make_tuple(0.0f, 0.0f, 0.0f));
    fakeJoystick.x = 32768 + 10000; fakeJoystick.y = 32768 - 20000;  // forward
    tick();
    EXPECT_NEAR(vehicle.steer, 10000 * 1.2e-05f - 0.005f, 1e-6) << "self-centred later in the step";
    EXPECT_NEAR(vehicle.busSpeed, 20000 * 1e-08 * 1.5, 1e-7);
    ticks(100);
    EXPECT_TRUE(vehicle.busSpeed > 0.02f && engine.engineOff == 1);
    fakeJoystick.x = 32768; fakeJoystick.y = 65535;  // pulled back brakes
    const float speed = vehicle.busSpeed;
    tick();
    EXPECT_LT(vehicle.busSpeed, speed);
    ticks(10, {VK_LEFT});
    EXPECT_EQ(vehicle.steer, 0.0f) << "with the stick the arrows do not steer";
    SetUp();  // an all-zero reading is hard left and forward
    optJoystick = 1; tick({VK_KEY_Q}); fakeJoystick = JoyReading{0, 0, 0, 0}; tick();
    EXPECT_NEAR(vehicle.steer, -32768 * 1.2e-05f + 0.005f, 1e-5);
    EXPECT_GT(vehicle.busSpeed, 0.0f);
}

TEST_F(Timers, ClockAndTrafficLights)
{
    gameClock.clockHours = 23.0f; gameClock.clockMinutes = gameClock.clockSeconds = 59.0f; advanceClock();
    EXPECT_EQ(gameClock.clockHours + gameClock.clockMinutes + gameClock.clockSeconds, 0.0f);
    tick();  // at 100.000 s the first step acts at once
    EXPECT_EQ(gameClock.clockSeconds, 1.0f);
    EXPECT_EQ(traffic.trafficSeconds, 1);
    ticks(49);  // to 100.980 s
    EXPECT_EQ(gameClock.clockSeconds, 1.0f);
    tick();
    EXPECT_EQ(gameClock.clockSeconds, 2.0f);
    EXPECT_EQ(traffic.trafficSeconds, 2);
    tick({VK_KEY_P});  // a paused minute costs the clock one second, with no catching up
    fakeNowMs += 60000; tick(); tick({VK_KEY_P}); ticks(10);
    EXPECT_EQ(gameClock.clockSeconds, 3.0f);
    fakeNowMs = (uint64_t{1} << 32) - 1500;  // 49.7 days: the timers go on past the 32-bit wrap
    tick();
    const float before = gameClock.clockSeconds;
    ticks(150);
    EXPECT_EQ(gameClock.clockSeconds, before + 3.0f);
    SetUp();  // the light cycle: seconds into it, and the lamps as red, yellow, green digits
    const std::pair<int32_t, int> phases[] = {{19, 100}, {20, 110}, {22, 110}, {23, 1},
                                              {42, 1},   {43, 10},  {45, 10},  {46, 100}};
    fakeNowMs = 1000000;
    int32_t s = 0;
    for (const auto& [second, lamps] : phases) {
        for (; s < second; ++s, fakeNowMs += 1000) stepTrafficLights();
        EXPECT_EQ(traffic.trafficRed * 100 + traffic.trafficYellow * 10 + traffic.trafficGreen, lamps) << s;
    }
    EXPECT_EQ(traffic.trafficSeconds, 0) << "the cycle starts again after 46 s";
}
