// The SDL back end's key table: SDL key events to the virtual-key codes of platform/platform.h.
#pragma once

#include <cstdint>

// 0 for keys the game has no code for. Exposed for its table test.
uint32_t platformVirtualKeyFromSdl(int32_t sdlKeycode, int32_t sdlScancode);
