// Virtual-key codes the simulation reads besides those of app/app.h.
#pragma once

#include <cstdint>

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
constexpr uint8_t VK_F2 = 0x71;
constexpr uint8_t VK_F3 = 0x72;
constexpr uint8_t VK_F4 = 0x73;
constexpr uint8_t VK_F5 = 0x74;
constexpr uint8_t VK_F6 = 0x75;
