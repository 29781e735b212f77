// The real-second timers of a run: the frame counter, the game clock and the traffic lights.
// Each compares the whole second of the platform's millisecond clock with its own last action,
// so they stand still while the step returns early (paused, finished) and never catch up.
#pragma once

// Adds one second to the game clock (exact equality tests: odd loaded values never roll over).
void advanceClock();
// Count this step; once per real second publish the rate and advance the clock.
void countFrameAndClock();
// One step of the 46-second light cycle per real second.
void stepTrafficLights();
