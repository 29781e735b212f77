// The few operating-system services that game logic (simulation, readers, sound set-up) uses.
//
// Everything here has more than one implementation, chosen at link time:
//   platform/sys_*.cpp        the real ones, on SDL2 (the game)
//   tests/support/fake_sys.cpp settable clock and stick, recorded messages (tests, benchmarks)
//   tools/*/ *_platform.cpp    each tool's own (the headless driver's clock steps 20 ms a tick)
// Window, events and display modes are in platform/window.h; only app/, flow/ and render/ use them.
#pragma once

#include <cstdint>

// Milliseconds since some fixed moment, monotonic, 64 bits so it never wraps in practice.
// Stands in for the system tick count that the real-second timers read.
uint64_t platformNowMs();

// One joystick reading, as the game reads it: axes in 0..65535, 32768 at rest.
struct JoyInfo {
    uint32_t wXpos;
    uint32_t wYpos;
    uint32_t wZpos;
    uint32_t wButtons;
};

// Reads the first joystick. With no stick attached the reading is the centre (32768, 32768):
// an all-zero reading would be the stick held hard left and forward.
void platformReadJoystick(JoyInfo* info);

// A message box with an OK button. Text and caption are Windows-1250; the real implementation
// converts them for display, always prints them on stderr, and with VELBRANT_NO_DIALOGS=1 only prints.
void platformMessageBox(const char* text, const char* caption);
