// The fixed 50 Hz tick rule of the main loop, on the high-resolution counter: at most one tick
// per pass, never a burst of ticks to catch up.
#pragma once

#include <cstdint>

struct TickSchedule {
    int64_t counterFrequency = 0;
    uint32_t tickPeriod = 40;   // counter units per tick
    int64_t nextTickTime = 0;
};

// Sets the period to frequency / 50 and the first deadline to now; a frequency of 0 or less
// (the counter could not be read) leaves the period at 40 and the deadline at 0.
void tickScheduleStart(TickSchedule* schedule, int64_t frequency, int64_t now);
// True when a tick is due at counter value now.
bool tickDue(const TickSchedule& schedule, int64_t now);
// After a tick that was due at counterNow (read before the tick): the next deadline is one period
// on, or, when the schedule has fallen behind, one period after counterNow.
void tickScheduleAdvance(TickSchedule* schedule, int64_t counterNow);
