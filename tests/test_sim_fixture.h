// The simulation tests' set-up: start state, fake clock and stick, recorded sound, a bus of known limits.
#pragma once

#include "core/game.h"
#include "core/keys.h"
#include "core/options.h"
#include "platform/null/null_platform.h"
#include "sim/sim.h"
#include "sim/state.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

constexpr float TEST_TOP_SPEED = 0.3f, TEST_ACCEL_STEP = 0.001f, TEST_BRAKE_STEP = 0.004f;
constexpr float TEST_FUEL_CAPACITY = 200.0f;

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { startState(); }
    void startState()
    {
        // Samples get handles, so the recording library records their calls.
        resetAllRunState();
        fakeSysReset();
        sndRecordReset();
        initSound();
        sndRecordTake();
        std::memset(keyState, 0, sizeof keyState);
        options.joystick = 0;
        game.inGame = 1;
        engine.fuel = 100.0f;
        game.escapeQuits = game.returnToMenu = game.quitRequested = game.shutdownRequested = 0;
        vehicleParams = {TEST_TOP_SPEED, TEST_ACCEL_STEP, TEST_BRAKE_STEP, TEST_FUEL_CAPACITY};
        // Stops and pump far away, so no rule of theirs acts unless a test puts the bus there.
        for (int i = 0; i < 3; ++i) {
            route.stopX[i] = 1000.0f + 100.0f * i;
            route.stopZ[i] = 1000.0f;
        }
        route.stopCount = 3;
        route.fuelPointX = route.fuelPointZ = -1000.0f;
        fakeNowMs = 100000;
    }

    void tick(std::initializer_list<uint8_t> keys = {})
    {
        std::memset(keyState, 0, sizeof keyState);
        for (uint8_t k : keys) keyState[k] = 1;
        tickRaw();
    }
    void tickRaw()  // the key table as it is
    {
        simulationStep();
        fakeNowMs += 20;
    }
    // A key script, one tick per entry with exactly those keys down: steps({{VK_KEY_P}, {}, {VK_KEY_J}}).
    void steps(std::initializer_list<std::initializer_list<uint8_t>> script)
    {
        for (const auto& keys : script) tick(keys);
    }
    void ticks(int n, std::initializer_list<uint8_t> keys = {}) { for (int i = 0; i < n; ++i) tick(keys); }
    template <typename Done> int ticksUntil(Done done, int limit = 5000)
    {
        int n = 0;
        for (; !done() && n < limit; ++n) tick();
        return n;
    }

    void startEngine()
    {
        for (int guard = 0; engine.engineKeyLatch == 1 && guard < 200; ++guard) tick({'S'});
        tick();
        tick({'Q'});
        sndRecordTake();
        ASSERT_EQ(std::make_tuple(engine.engineOff, engine.throttleLocked, vehicle.gear),
                  std::make_tuple(0, 0, 0));
    }

    using Calls = std::vector<std::string>;
    static int countOf(const Calls& c, const std::string& s) { return std::count(c.begin(), c.end(), s); }
    static bool recorded(const Calls& calls, const std::string& call) { return countOf(calls, call) > 0; }
};
