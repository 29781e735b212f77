// The generator's stand-ins for the operating-system services: it links the game library for its
// readers and writers but never runs a tick, so the clock stands still and the stick is centred.
#include "platform/platform.h"

#include <cstdio>

uint64_t platformNowMs()
{
    return 0;
}

void platformReadJoystick(JoyInfo* info)
{
    if (info)
        *info = JoyInfo{32768, 32768, 32768, 0};
}

void platformMessageBox(const char* text, const char* caption)
{
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}
