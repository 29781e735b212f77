#include "platform/null/null_platform.h"

#include <cstdio>

uint64_t fakeNowMs = 0;
JoyReading fakeJoystick = {32768, 32768, 32768, 0};
std::vector<FakeMessage> fakeMessages;
uint8_t fakeMessagesToStderr = 0;

void fakeSysReset()
{
    fakeNowMs = 0;
    fakeJoystick = JoyReading{32768, 32768, 32768, 0};
    fakeMessages.clear();
}

uint64_t platformNowMs()
{
    return fakeNowMs;
}

void platformReadJoystick(JoyReading* reading)
{
    *reading = fakeJoystick;
}

void platformMessageBox(const char* text, const char* caption)
{
    fakeMessages.push_back(FakeMessage{text ? text : "", caption ? caption : ""});
    if (fakeMessagesToStderr)
        std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
}
