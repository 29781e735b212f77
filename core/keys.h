// The key table the game reads. The codes that index it are the platform's (platform/platform.h),
// included here so every reader of the table has them.
#pragma once

#include "platform/platform.h"

#include <cstdint>

// 1 while the key with that virtual-key code is down. Written only by the window procedure (the
// headless driver and tests write it in its place). Lives for the process.
extern uint8_t keyState[256];
