// Shared set-up for the simulation tests: program-start state, a fake clock and stick, the
// recording sound library, an empty key table, and a bus with known limits.
#pragma once

#include "core/game.h"
#include "core/keys.h"
#include "core/options.h"
#include "flow/menu.h"
#include "platform/null/null_platform.h"
#include "sim/sim.h"
#include "sim/state.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

constexpr float TEST_TOP_SPEED = 0.3f;
constexpr float TEST_ACCEL_STEP = 0.001f;
constexpr float TEST_BRAKE_STEP = 0.004f;
constexpr float TEST_FUEL_CAPACITY = 200.0f;

class SimTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllRunState();
        fakeSysReset();
        fsoundRecordReset();
        initSound();  // samples get handles, so the recording library records their calls
        fsoundRecordTake();
        std::memset(keyState, 0, sizeof keyState);
        optJoystick = 0;
        inGame = 1;
        escapeQuits = 0;
        returnToMenu = 0;
        quitRequested = 0;
        shutdownRequested = 0;
        exitStatus = 0;
        vehicleParams = {TEST_TOP_SPEED, TEST_ACCEL_STEP, TEST_BRAKE_STEP, TEST_FUEL_CAPACITY};
        engine.fuel = 100.0f;
        // One stop far away, so no rule of the stops acts unless a test puts the bus there.
        route.stopCount = 3;
        for (int i = 0; i < 3; ++i) {
            route.stopX[i] = 1000.0f + 100.0f * i;
            route.stopZ[i] = 1000.0f;
        }
        route.fuelPointX = -1000.0f;
        route.fuelPointZ = -1000.0f;
        fakeNowMs = 100000;
    }

    // One tick with exactly these keys down (every other entry up); the clock moves 20 ms.
    void tick(std::initializer_list<uint8_t> keys = {})
    {
        std::memset(keyState, 0, sizeof keyState);
        for (uint8_t k : keys)
            keyState[k] = 1;
        simulationStep();
        fakeNowMs += 20;
    }

    // One tick leaving the key table as it is (the game may set entries itself).
    void tickRaw()
    {
        simulationStep();
        fakeNowMs += 20;
    }

    void ticks(int n, std::initializer_list<uint8_t> keys = {})
    {
        for (int i = 0; i < n; ++i)
            tick(keys);
    }

    // Engine running, forward gear selected, at a standstill.
    void startEngine()
    {
        int guard = 0;
        while (engine.engineKeyLatch == 1 && guard++ < 200)
            tick({'S'});
        tick();
        ASSERT_EQ(engine.engineOff, 0);
        ASSERT_EQ(engine.throttleLocked, 0);
        tick({'Q'});
        ASSERT_EQ(vehicle.gear, 0);
        fsoundRecordTake();
    }

    static int countOf(const std::vector<std::string>& calls, const std::string& call)
    {
        int n = 0;
        for (const std::string& c : calls)
            n += c == call ? 1 : 0;
        return n;
    }

    static bool recorded(const std::vector<std::string>& calls, const std::string& call)
    {
        for (const std::string& c : calls)
            if (c == call)
                return true;
        return false;
    }
};
