// Test stand-ins for the operating-system services of platform/platform.h.
#pragma once

#include "platform/platform.h"

#include <string>
#include <vector>

struct FakeMessage {
    std::string text;
    std::string caption;
};

// The millisecond clock the game reads; tests move it by hand.
extern uint64_t fakeNowMs;
// The joystick reading handed out (centre by default).
extern JoyInfo fakeJoystick;
// Every message box shown, in order.
extern std::vector<FakeMessage> fakeMessages;

void fakeSysReset();
