// The window, its events, the GL context, the counter and the display modes, on SDL2.
// Stands in for the window, message, counter, display-mode and GL-context calls of the
// original platform. Used only by app/, flow/ and render/.
#pragma once

#include <cstdint>

// Window messages, numbered as the game's window procedure knows them.
constexpr uint32_t WM_CREATE = 0x01;
constexpr uint32_t WM_SIZE = 0x05;
constexpr uint32_t WM_CLOSE = 0x10;
constexpr uint32_t WM_QUIT = 0x12;
constexpr uint32_t WM_KEYDOWN = 0x100;
constexpr uint32_t WM_KEYUP = 0x101;
constexpr uint32_t WM_SYSKEYDOWN = 0x104;
constexpr uint32_t WM_SYSKEYUP = 0x105;
constexpr uint32_t KEY_PREVIOUSLY_DOWN = 1u << 30;

// One message taken from the queue. For keys wParam is the virtual-key code and lParam has
// KEY_PREVIOUSLY_DOWN set on an auto-repeat key-down; for WM_SIZE lParam holds the width in its
// low word and the height in its high word.
struct PlatformMessage {
    uint32_t message;
    uint32_t wParam;
    uint32_t lParam;
};

// Creates the full-screen window (title, size) with a double-buffered RGBA GL compatibility
// context with a depth buffer, and makes the context current. False when that fails.
bool platformCreateWindow(const char* title, int width, int height, int bits);
void platformShowWindow();
// Releases the GL context and the window (idempotent).
void platformDestroyWindow();
bool platformHasContext();

// Takes the next waiting message, if any. Key-downs with Alt held and F10 arrive as
// WM_SYSKEYDOWN; key-ups always arrive as WM_KEYUP. SIGINT and SIGTERM arrive as WM_CLOSE.
bool platformPeekMessage(PlatformMessage* msg);

void platformSwapBuffers();
void platformShowCursor(bool show);

// Gives the processor away for about ms milliseconds.
void platformSleepMs(int ms);

// The high-resolution counter.
int64_t platformCounterFrequency();
int64_t platformCounter();

// Display modes of the current display, in the display's own order.
struct DisplayMode {
    int width;
    int height;
    int bits;
    int refreshRate;
};
int platformDisplayModeCount();
bool platformGetDisplayMode(int index, DisplayMode* mode);
// 0 on success, as the display-change test answers.
int platformTestDisplayMode(const DisplayMode& mode);
int platformApplyDisplayMode(const DisplayMode& mode);
// Back to the desktop's own mode.
void platformRestoreDisplayMode();

// The single-instance guard: a lock the kernel releases when the process ends, so a crashed copy
// never locks the game out. False when another copy holds it.
bool platformAcquireInstanceLock(const char* name);

// SDL keycode to virtual-key code; 0 for keys the game has no code for. Exposed for its table test.
uint32_t platformVirtualKeyFromSdl(int32_t sdlKeycode, int32_t sdlScancode);
