// The pseudo-random generator that draws each stop's passenger figures: the runtime library's
// linear congruential one, state 1 at program start and never seeded, so every start of the
// program sees the same sequence (41, 18467, 6334, ...).
#pragma once

#include <cstdint>

// Lives for the process; resetAllRunState puts it back to 1.
extern uint32_t randomState;

// The next number, 0..32767.
int32_t nextRandom();
