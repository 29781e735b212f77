// Clock, joystick and message box on SDL2 and POSIX.
#include "platform/platform.h"
#include "platform/services/text1250.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

uint64_t platformNowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec / 1000000);
}

namespace {

SDL_Joystick* stick = nullptr;

// Maps SDL's signed axis (-32768..32767) onto 0..65535 with the rest position at 32768.
uint32_t axisToJoy(Sint16 value)
{
    return static_cast<uint32_t>(static_cast<int32_t>(value) + 32768);
}

} // namespace

void platformReadJoystick(JoyReading* info)
{
    *info = JoyReading{32768, 32768, 32768, 0};
    if ((SDL_WasInit(SDL_INIT_JOYSTICK) & SDL_INIT_JOYSTICK) == 0) {
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
            return;
    }
    if (stick && !SDL_JoystickGetAttached(stick)) {
        SDL_JoystickClose(stick);
        stick = nullptr;
    }
    if (!stick) {
        // A stick plugged in after start is picked up here.
        SDL_JoystickUpdate();
        if (SDL_NumJoysticks() > 0)
            stick = SDL_JoystickOpen(0);
        if (!stick)
            return;
    }
    SDL_JoystickUpdate();
    info->x = axisToJoy(SDL_JoystickGetAxis(stick, 0));
    info->y = axisToJoy(SDL_JoystickGetAxis(stick, 1));
    if (SDL_JoystickNumAxes(stick) > 2)
        info->z = axisToJoy(SDL_JoystickGetAxis(stick, 2));
    uint32_t buttons = 0;
    for (int i = 0; i < SDL_JoystickNumButtons(stick) && i < 32; ++i)
        if (SDL_JoystickGetButton(stick, i))
            buttons |= 1u << i;
    info->buttons = buttons;
}

void platformMessageBox(const char* text, const char* caption)
{
    const std::string utf8Text = utf8From1250(text ? text : "");
    const std::string utf8Caption = utf8From1250(caption ? caption : "");
    std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
    std::fflush(stderr);
    const char* quiet = std::getenv("VELBRANT_NO_DIALOGS");
    if (quiet && std::strcmp(quiet, "0") != 0 && quiet[0] != '\0')
        return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, utf8Caption.c_str(), utf8Text.c_str(), nullptr);
}
