#include "tests/support/fake_sys.h"

uint64_t fakeNowMs = 0;
JoyInfo fakeJoystick = {32768, 32768, 32768, 0};
std::vector<FakeMessage> fakeMessages;

void fakeSysReset()
{
    fakeNowMs = 0;
    fakeJoystick = JoyInfo{32768, 32768, 32768, 0};
    fakeMessages.clear();
}

uint64_t platformNowMs()
{
    return fakeNowMs;
}

void platformReadJoystick(JoyInfo* info)
{
    *info = fakeJoystick;
}

void platformMessageBox(const char* text, const char* caption)
{
    fakeMessages.push_back(FakeMessage{text ? text : "", caption ? caption : ""});
}
