// The headless driver's operating-system stand-ins: a clock it steps itself, no joystick, and
// messages on standard error.
#include "tools/sim/sim_platform.h"

#include <cstdio>

uint64_t simClockMs = SIM_CLOCK_START_MS;

uint64_t platformNowMs()
{
    return simClockMs;
}

void platformReadJoystick(JoyInfo* info)
{
    info->wXpos = 32768;
    info->wYpos = 32768;
    info->wZpos = 32768;
    info->wButtons = 0;
}

void platformMessageBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
