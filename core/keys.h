// The key table and every virtual-key code the game reads, in one place.
#pragma once

#include <cstdint>

// 1 while the key with that virtual-key code is down. Written only by the window procedure (the
// headless driver and tests write it in its place). Lives for the process.
extern uint8_t keyState[256];

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
constexpr uint8_t VK_KEY_1 = 0x31;
constexpr uint8_t VK_KEY_2 = 0x32;
constexpr uint8_t VK_KEY_3 = 0x33;
constexpr uint8_t VK_KEY_4 = 0x34;
constexpr uint8_t VK_KEY_A = 0x41;
constexpr uint8_t VK_KEY_C = 0x43;
constexpr uint8_t VK_KEY_H = 0x48;
constexpr uint8_t VK_KEY_J = 0x4A;
constexpr uint8_t VK_KEY_K = 0x4B;
constexpr uint8_t VK_KEY_L = 0x4C;
constexpr uint8_t VK_KEY_P = 0x50;
constexpr uint8_t VK_KEY_Q = 0x51;
constexpr uint8_t VK_KEY_R = 0x52;
constexpr uint8_t VK_KEY_S = 0x53;
constexpr uint8_t VK_KEY_X = 0x58;
constexpr uint8_t VK_KEY_Z = 0x5A;
constexpr uint8_t VK_NUMPAD0 = 0x60;
constexpr uint8_t VK_NUMPAD1 = 0x61;
constexpr uint8_t VK_NUMPAD2 = 0x62;
constexpr uint8_t VK_NUMPAD3 = 0x63;
constexpr uint8_t VK_NUMPAD5 = 0x65;
constexpr uint8_t VK_NUMPAD7 = 0x67;
constexpr uint8_t VK_NUMPAD8 = 0x68;
constexpr uint8_t VK_NUMPAD9 = 0x69;
constexpr uint8_t VK_F1 = 0x70;
constexpr uint8_t VK_F2 = 0x71;
constexpr uint8_t VK_F3 = 0x72;
constexpr uint8_t VK_F4 = 0x73;
constexpr uint8_t VK_F5 = 0x74;
constexpr uint8_t VK_F6 = 0x75;
constexpr uint8_t VK_F10 = 0x79;
constexpr uint8_t VK_SCROLL = 0x91;
constexpr uint8_t VK_OEM_COMMA = 0xBC;
constexpr uint8_t VK_OEM_PERIOD = 0xBE;
