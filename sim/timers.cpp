#include "sim/timers.h"

#include "sim/sim_util.h"
#include "sim/state.h"

void advanceClock()
{
    ClockState& c = gameClock;
    c.clockSeconds += 1.0f;
    if (c.clockSeconds == 60.0f) {
        c.clockMinutes += 1.0f;
        c.clockSeconds = 0.0f;
    }
    if (c.clockMinutes == 60.0f) {
        c.clockHours += 1.0f;
        c.clockMinutes = 0.0f;
    }
    if (c.clockHours == 24.0f)
        c.clockHours = 0.0f;
}

void countFrameAndClock()
{
    ClockState& c = gameClock;
    c.framesThisSecond += 1;
    const int32_t s = wholeSecondNow();
    if (secondPassed(s, c.fpsLastSecond)) {
        c.framesPerSecond = c.framesThisSecond;
        c.framesThisSecond = 0;
        c.fpsLastSecond = s;
        advanceClock();
    }
}

void stepTrafficLights()
{
    TrafficLightState& t = traffic;
    const int32_t s = wholeSecondNow();
    if (!secondPassed(s, t.lastSecond))
        return;
    t.lastSecond = s;
    t.seconds += 1;
    switch (t.seconds) {
    case 20:  // red and yellow
        t.red = 1;
        t.yellow = 1;
        t.green = 0;
        break;
    case 23:  // green
        t.red = 0;
        t.yellow = 0;
        t.green = 1;
        break;
    case 43:  // yellow
        t.red = 0;
        t.yellow = 1;
        t.green = 0;
        break;
    case 46:  // red, and the cycle starts again
        t.red = 1;
        t.yellow = 0;
        t.green = 0;
        t.seconds = 0;
        break;
    default:
        break;
    }
}
