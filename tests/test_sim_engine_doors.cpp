// The bus's equipment through the real step: engine, doors, horn, indicators, fuel and refuelling.
#include "tests/test_sim_fixture.h"

#include <cmath>
#include <tuple>

using Equipment = SimTest;
using std::make_tuple;

TEST_F(Equipment, TheStarterCatchesAndTheEngineStopsOnRelease)
{
    ticks(5, {VK_KEY_S}); ticks(10);  // a short tap never starts, but its count carries over
    EXPECT_EQ(make_tuple(engine.engineOff, engine.starterTicks), make_tuple(1, 5));
    ticks(28, {VK_KEY_S});
    EXPECT_EQ(engine.engineKeyLatch, 1) << "not caught after 33 ticks";
    EXPECT_EQ(countOf(sndRecordTake(), "PlaySound(4)"), 33) << "the short sample is replayed every tick";
    tick({VK_KEY_S});
    const auto calls = sndRecordTake();
    EXPECT_EQ(make_tuple(engine.engineKeyLatch, engine.engineOff, engine.engineFreq), make_tuple(0, 1, 4000))
        << "off until S is up";
    for (const char* call : {"PlaySound(0)", "SetFrequency(0,4000)", "SetFrequency(13,4000)"})
        EXPECT_TRUE(recorded(calls, call)) << call;
    tick({VK_UP});
    EXPECT_EQ(make_tuple(engine.engineOff, engine.throttleLocked, vehicle.busSpeed), make_tuple(0, 0, 0.0f))
        << "throttle locked while S is still down is released this tick";
    tick({VK_KEY_S});  // stopping locks the throttle at once
    const auto stopCalls = sndRecordTake();
    EXPECT_TRUE(engine.throttleLocked == 1 && recorded(stopCalls, "StopSound(0)") &&
                recorded(stopCalls, "PlaySound(5)"));
    ticks(5, {VK_KEY_S});
    EXPECT_EQ(engine.engineOff, 0);
    tick(); tick({VK_UP});
    EXPECT_EQ(make_tuple(engine.engineOff, engine.engineKeyLatch, vehicle.busSpeed), make_tuple(1, 1, 0.0f));
    SetUp();  // with sound the start waits for the sample to end, playing it once
    sndRecordSetPlaying(4, 1); ticks(100, {VK_KEY_S});
    EXPECT_EQ(make_tuple(engine.engineKeyLatch, countOf(sndRecordTake(), "PlaySound(4)")),
              make_tuple(1, 1));
    sndRecordSetPlaying(4, 0); tick({VK_KEY_S});
    EXPECT_EQ(engine.engineKeyLatch, 0);
}

TEST_F(Equipment, DoorsSwingIn121TicksOpenOnlyAtAStandstillAndBothKeysLeaveThemShut)
{
    for (int i = 0; i < 2; ++i) {
        tick({VK_DELETE, VK_INSERT});
        const auto both = sndRecordTake();
        EXPECT_EQ(doors.door1Open, 0);
        EXPECT_TRUE(recorded(both, "PlaySound(1)") && recorded(both, "PlaySound(2)")) << "both replay";
    }
    tick({VK_END});
    EXPECT_NEAR(ticksUntil([] { return doors.door2Swing > 90.0f; }, 300), 121, 1) << "from the rest at -0.75";
    ticks(20);
    EXPECT_FLOAT_EQ(doors.door2Swing, 90.75f);
    EXPECT_NEAR(doors.door2Slide, 0.3025f, 1e-4);
    tick({VK_HOME}); ticks(150);
    EXPECT_FLOAT_EQ(doors.door2Swing, -0.75f);
    EXPECT_NEAR(doors.door2Slide, -0.0025f, 1e-4);
    startEngine(); ticks(20, {VK_UP}); tick({VK_DELETE});
    EXPECT_EQ(doors.door1Open, 0) << "moving";
    ticks(30, {VK_DOWN}); sndRecordTake(); tick({VK_DELETE});
    EXPECT_EQ(make_tuple(doors.door1Open, stops.stopService, stops.swayActive), make_tuple(1, 1, 1));
    EXPECT_STREQ(doors.door1Text, "otwarte");
    EXPECT_TRUE(recorded(sndRecordTake(), "PlaySound(1)"));
    tick({VK_KEY_Q});
    EXPECT_EQ(vehicle.gear, 1) << "serving forces neutral";
    // Door keys work while |speed| <= 0.0005 in double precision: 0.0005f lies outside, the float below in.
    const float in = std::nextafter(0.0005f, 0.0f);
    for (const auto& [speed, opens] : {std::pair{0.0f, 1}, {in, 1}, {-in, 1}, {0.0005f, 0}, {-0.0005f, 0}}) {
        SetUp(); vehicle.busSpeed = speed;
        vehicle.driveDirection = speed > 0 ? 0 : 1;  // no coasting: the speed stands through the tick
        tick({VK_DELETE});
        EXPECT_EQ(doors.door1Open, opens) << speed;
        doors.door1Open = 1; tick({VK_INSERT});
        EXPECT_EQ(doors.door1Open, 1 - opens) << "closing at " << speed;
    }
}

TEST_F(Equipment, HornWarningSignalAndIndicatorsSoundBlinkAndLockEachOtherOut)
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
    fakeNowMs = 100500; tick({VK_OEM_PERIOD});
    EXPECT_EQ(make_tuple(lights.rightIndicatorOn, lights.rightIndicatorLamp), make_tuple(1, 0))
        << "its blink item ran first";
    tick();
    EXPECT_EQ(lights.rightIndicatorLamp, 1) << "the last change was long ago: at once";
    ticks(20);  // to 100.940 s: still the same second
    EXPECT_EQ(lights.rightIndicatorLamp, 1);
    ticks(5);  // into second 101
    EXPECT_EQ(lights.rightIndicatorLamp, 0);
    EXPECT_EQ(countOf(sndRecordTake(), "PlaySound(6)"), 2);
    tick({VK_OEM_PERIOD}); fakeNowMs += 2000; tick();
    EXPECT_EQ(lights.rightIndicatorOn + lights.rightIndicatorLamp, 0) << "dark the tick after";
    vehicle.steer = -0.1f;  // steering left keeps a left indicator, steering right cancels it
    tick({VK_OEM_COMMA}); ticks(3);
    EXPECT_EQ(lights.leftIndicatorOn, 1);
    vehicle.steer = 0.1f; tick();
    EXPECT_EQ(lights.leftIndicatorOn, 0);
    // A right one on: the left comes on and is cleared the next tick; a left one on: the right never does.
    SetUp(); tick({VK_OEM_PERIOD}); tick(); tick({VK_OEM_COMMA});
    EXPECT_EQ(lights.leftIndicatorOn, 1);
    tick();
    EXPECT_EQ(make_tuple(lights.rightIndicatorOn, lights.leftIndicatorOn), make_tuple(1, 0));
    SetUp(); tick({VK_OEM_COMMA}); tick(); tick({VK_OEM_PERIOD});
    EXPECT_EQ(make_tuple(lights.leftIndicatorOn, lights.rightIndicatorOn), make_tuple(1, 0));
}

TEST_F(Equipment, RefuellingWithTheEngineOffFuelUseAndAnEmptyTankStoppingTheEngineForGood)
{
    route.fuelPointX = 5.0f; route.fuelPointZ = -8.0f;  // world Z 8: the file's value is its negative
    vehicle.busX = 5.0f; engine.fuel = 10.0f;
    for (float dz : {9.9f, 10.0f}) {  // 10 units away is too far
        vehicle.busZ = 8.0f + dz; tick();
        EXPECT_NEAR(engine.fuel, 10.03f, 1e-5) << dz;
    }
    vehicle.busZ = 8.0f; engine.fuel = TEST_FUEL_CAPACITY - 0.01f; ticks(5);
    EXPECT_NEAR(engine.fuel, TEST_FUEL_CAPACITY + 0.02f, 1e-3) << "stops once at capacity";
    startEngine(); tick({VK_KEY_A}); engine.engineFreq = 4000;  // idle: neutral leaves it there
    engine.fuel = 50.0f; ticks(50);
    EXPECT_NEAR(engine.fuel, 50.0f - 50 * 4001 * 1e-07f, 1e-4) << "by the frequency; no refuelling now";
    tick({VK_KEY_Q});  // standing in forward the band sets 0: almost nothing is used
    engine.fuel = 1.0f; ticks(100);
    EXPECT_EQ(engine.engineFreq, 0);
    EXPECT_TRUE(engine.fuel > 0.9999f && engine.fuel < 1.0f) << engine.fuel;
    ticks(30, {VK_UP}); engine.fuel = 0.0001f; sndRecordTake();
    tick();
    EXPECT_EQ(make_tuple(engine.fuel, keyState[VK_KEY_S]), make_tuple(0.0f, 1)) << "as if the driver held S";
    EXPECT_TRUE(recorded(sndRecordTake(), "PlaySound(5)"));
    const float speed = vehicle.busSpeed;
    for (int i = 0; i < 100; ++i) {  // releasing S never reaches the off state
        keyState[VK_KEY_S] = 0; keyState[VK_UP] = 1; tickRaw();
    }
    EXPECT_LT(vehicle.busSpeed, speed) << "the bus coasts";
    EXPECT_EQ(make_tuple(engine.engineOff, engine.throttleLocked), make_tuple(0, 1));
}
