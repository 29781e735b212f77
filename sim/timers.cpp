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
    if (!secondPassed(s, t.trafficLastSecond))
        return;
    t.trafficLastSecond = s;
    t.trafficSeconds += 1;
    switch (t.trafficSeconds) {
    case 20:  // red and yellow
        t.trafficRed = 1;
        t.trafficYellow = 1;
        t.trafficGreen = 0;
        break;
    case 23:  // green
        t.trafficRed = 0;
        t.trafficYellow = 0;
        t.trafficGreen = 1;
        break;
    case 43:  // yellow
        t.trafficRed = 0;
        t.trafficYellow = 1;
        t.trafficGreen = 0;
        break;
    case 46:  // red, and the cycle starts again
        t.trafficRed = 1;
        t.trafficYellow = 0;
        t.trafficGreen = 0;
        t.trafficSeconds = 0;
        break;
    default:
        break;
    }
}
