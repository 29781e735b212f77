// SDL key events to the virtual-key codes the game's key table is indexed by.
#include "platform/sdl/keymap.h"

#include "platform/platform.h"

#include <SDL.h>

uint32_t platformVirtualKeyFromSdl(int32_t sdlKeycode, int32_t sdlScancode)
{
    // The keypad by position, whatever Num Lock says: numpad 1 is VK_NUMPAD1 as the camera keys expect.
    switch (sdlScancode) {
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0;
    case SDL_SCANCODE_KP_1: return VK_NUMPAD1;
    case SDL_SCANCODE_KP_2: return VK_NUMPAD2;
    case SDL_SCANCODE_KP_3: return VK_NUMPAD3;
    case SDL_SCANCODE_KP_4: return VK_NUMPAD4;
    case SDL_SCANCODE_KP_5: return VK_NUMPAD5;
    case SDL_SCANCODE_KP_6: return VK_NUMPAD6;
    case SDL_SCANCODE_KP_7: return VK_NUMPAD7;
    case SDL_SCANCODE_KP_8: return VK_NUMPAD8;
    case SDL_SCANCODE_KP_9: return VK_NUMPAD9;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_NUMPAD_MULTIPLY;
    case SDL_SCANCODE_KP_PLUS: return VK_NUMPAD_PLUS;
    case SDL_SCANCODE_KP_MINUS: return VK_NUMPAD_MINUS;
    case SDL_SCANCODE_KP_PERIOD: return VK_NUMPAD_PERIOD;
    case SDL_SCANCODE_KP_DIVIDE: return VK_NUMPAD_DIVIDE;
    case SDL_SCANCODE_KP_ENTER: return VK_RETURN;
    default: break;
    }
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z)
        return VK_KEY_A + static_cast<uint32_t>(sdlKeycode - SDLK_a);
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9)
        return VK_KEY_0 + static_cast<uint32_t>(sdlKeycode - SDLK_0);
    if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12)
        return VK_F1 + static_cast<uint32_t>(sdlKeycode - SDLK_F1);
    switch (sdlKeycode) {
    case SDLK_BACKSPACE: return VK_BACKSPACE;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: return VK_RETURN;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
    case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_LALT: case SDLK_RALT: return VK_ALT;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_CAPSLOCK: return VK_CAPS_LOCK;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_PRINTSCREEN: return VK_PRINT_SCREEN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_NUMLOCKCLEAR: return VK_NUM_LOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_SEMICOLON: return VK_SEMICOLON;
    case SDLK_EQUALS: return VK_EQUALS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_SLASH;
    case SDLK_BACKQUOTE: return VK_BACKQUOTE;
    case SDLK_LEFTBRACKET: return VK_LEFT_BRACKET;
    case SDLK_BACKSLASH: return VK_BACKSLASH;
    case SDLK_RIGHTBRACKET: return VK_RIGHT_BRACKET;
    case SDLK_QUOTE: return VK_QUOTE;
    default: return 0;
    }
}
