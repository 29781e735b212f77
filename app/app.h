// Application shell state: the key table, the game-state flags and the shutdown request.
// All of it lives for the whole process.
#pragma once

#include <cstdint>
#include <string>

// 1 while the key with that virtual-key code is down. Written only by the window procedure.
extern uint8_t keyState[256];

// Game state: 0 the menu, 1 a run. Set from the command line, changed by the menu and Escape.
extern uint8_t inGame;
// 1: Escape in a run ends the program (started with S or V); 0: Escape returns to the menu.
extern uint8_t escapeQuits;
// 1: the "Volvo7000" bus, 0: the "Urbino12" bus. Fixed at start.
extern uint8_t busChoice;

// The working directory at start.
extern std::string currentDir;

// Virtual-key codes the game reads.
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_SHIFT = 0x10;
constexpr uint8_t VK_CONTROL = 0x11;
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_SPACE = 0x20;
constexpr uint8_t VK_PRIOR = 0x21;
constexpr uint8_t VK_NEXT = 0x22;
constexpr uint8_t VK_END = 0x23;
constexpr uint8_t VK_HOME = 0x24;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_UP = 0x26;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_DOWN = 0x28;
constexpr uint8_t VK_INSERT = 0x2D;
constexpr uint8_t VK_DELETE = 0x2E;
constexpr uint8_t VK_NUMPAD0 = 0x60;
constexpr uint8_t VK_NUMPAD1 = 0x61;
constexpr uint8_t VK_NUMPAD2 = 0x62;
constexpr uint8_t VK_NUMPAD3 = 0x63;
constexpr uint8_t VK_NUMPAD5 = 0x65;
constexpr uint8_t VK_NUMPAD7 = 0x67;
constexpr uint8_t VK_NUMPAD8 = 0x68;
constexpr uint8_t VK_NUMPAD9 = 0x69;
constexpr uint8_t VK_F1 = 0x70;
constexpr uint8_t VK_F10 = 0x79;
constexpr uint8_t VK_SCROLL = 0x91;
constexpr uint8_t VK_OEM_COMMA = 0xBC;
constexpr uint8_t VK_OEM_PERIOD = 0xBE;

// --- Orderly shutdown. ---
// shutdownApp may be called anywhere (inside a tick, the load sequence, window creation). It only
// records the request: the real teardown (display mode, font lists, sound, context, window) runs
// once, when the main loop ends. Code that runs on after a request takes the cheapest way out.
void shutdownApp();
// 1 once shutdownApp or the window's close request has asked the loop to end.
extern uint8_t quitRequested;
// 1 once shutdownApp itself was called (teardown needed); WM_CLOSE only quits.
extern uint8_t shutdownRequested;
// The process's exit status; failures (second copy, unreadable texture list, no GL context,
// unreadable run file) set it non-zero so a failure never looks like success to the shell.
extern int exitStatus;
// Records a failure: the exit status becomes 1 (kept if already set).
void markFailure();

// Tear-down steps, run once by the main loop after it ends (defined in app/teardown.cpp).
void runTeardown();
