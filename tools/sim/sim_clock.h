// The headless driver's clock, the stand-in platform's settable one: it advances SIM_TICK_MS per
// tick, so every run is exactly repeatable. It starts a minute after "boot", so the first step
// finds its timers a second or more behind and acts at once, as in the game.
#pragma once

#include <cstdint>

constexpr uint64_t SIM_TICK_MS = 20;
constexpr uint64_t SIM_CLOCK_START_MS = 60000;
