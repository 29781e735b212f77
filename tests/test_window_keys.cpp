// The SDL layer's keys, events, display modes and stick, and the command-line letter.
#include "core/game.h"
#include "core/keys.h"
#include "app/shell.h"
#include "platform/platform.h"
#include "platform/sdl/keymap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <tuple>

namespace {

struct EventTest : ::testing::Test {
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        keys("", SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN);  // whatever the driver had queued
        std::memset(keyState, 0, sizeof keyState);
        keysAfterTick();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    // Pushes the events "+-r" (down, up, auto-repeat) of one key, then hands them over.
    static void keys(const char* moves, SDL_Keycode key, SDL_Scancode scan, Uint16 mod = KMOD_NONE)
    {
        for (const char* m = moves; *m; ++m) {
            SDL_Event e{static_cast<Uint32>(*m == '-' ? SDL_KEYUP : SDL_KEYDOWN)};
            e.key.repeat = *m == 'r';
            e.key.keysym = {scan, key, mod, 0};
            e.key.state = *m == '-' ? SDL_RELEASED : SDL_PRESSED;
            SDL_PushEvent(&e);
        }
        for (PlatformEvent m; platformPollEvent(&m);)
            windowProc(m);
    }
};

} // namespace

// The keys the game reads on their codes, the keypad's by position whatever Num Lock made of them;
// every key on a code of its own, but for left and right of a modifier and the two Enters.
TEST_F(EventTest, EveryKeyOnACodeOfItsOwn)
{
#define K(name, vk) {SDL_SCANCODE_##name, SDL_GetKeyFromScancode(SDL_SCANCODE_##name), vk}
    const struct { SDL_Scancode scan; SDL_Keycode key; uint32_t vk; } rows[] = {
        K(A, 0x41), K(Z, 0x5A), K(0, 0x30), K(4, 0x34), K(F1, 0x70), K(F10, 0x79), K(F12, 0x7B),
        K(LEFT, 0x25), K(UP, 0x26), K(RIGHT, 0x27), K(DOWN, 0x28), K(RETURN, 0x0D), K(ESCAPE, 0x1B),
        K(SPACE, 0x20), K(LSHIFT, 0x10), K(RCTRL, 0x11), K(LALT, 0x12), K(DELETE, 0x2E), K(END, 0x23),
        K(PAGEDOWN, 0x22), K(INSERT, 0x2D), K(HOME, 0x24), K(PAGEUP, 0x21), K(SCROLLLOCK, 0x91),
        K(PERIOD, 0xBE), K(COMMA, 0xBC), K(KP_1, 0x61), K(KP_9, 0x69), {SDL_SCANCODE_KP_1, SDLK_END, 0x61},
        {SDL_SCANCODE_KP_8, SDLK_UP, 0x68}, K(UNKNOWN, 0),
    };
#undef K
    for (const auto& r : rows)
        EXPECT_EQ(platformVirtualKeyFromSdl(r.key, r.scan), r.vk) << SDL_GetKeyName(r.key) << " " << r.scan;
    SDL_Scancode owner[256] = {};
    for (int s = SDL_SCANCODE_A; s < SDL_NUM_SCANCODES; ++s) {
        const auto scan = static_cast<SDL_Scancode>(s);
        const uint32_t vk = platformVirtualKeyFromSdl(SDL_GetKeyFromScancode(scan), scan);
        ASSERT_LT(vk, 256u);
        const bool pair = (s >= SDL_SCANCODE_LCTRL && s <= SDL_SCANCODE_RGUI) || s == SDL_SCANCODE_KP_ENTER;
        if (vk != 0 && !pair)
            EXPECT_EQ(owner[vk], 0) << SDL_GetScancodeName(scan) << " and " << owner[vk] << " share a key";
        owner[vk] = owner[vk] ? owner[vk] : scan;
    }
}

// What each tick sees of the presses and releases between ticks: held first or not, then events.
TEST_F(EventTest, PressesAndReleasesBetweenTwoTicksAreEachSeenByATick)
{
    // seen: keyState at the following ticks, after the events and after each tick.
    struct Case { bool heldBefore; const char* moves; const char* seen; };
    const Case cases[] = {
        {false, "+-", "10"},     // a tap stays down for one tick
        {false, "+-+", "111"},   // pressed again: the second press wins
        {true, "-+", "011"},     // let go and pressed again: seen up, then down
        {true, "-+-", "010"},    // let go, tapped, let go: up, down for a tick, up
        {true, "r-", "0"},       // an auto-repeat is no new press: the release is seen at once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moves);
        if (c.heldBefore) {
            keys("+", SDLK_DOWN, SDL_SCANCODE_DOWN);
            keysAfterTick();  // a tick saw it held
        }
        keys(c.moves, SDLK_DOWN, SDL_SCANCODE_DOWN);
        for (const char* s = c.seen; *s; ++s) {
            EXPECT_EQ(keyState[0x28], *s - '0') << "tick " << s - c.seen;
            keysAfterTick();
        }
        keys("-", SDLK_DOWN, SDL_SCANCODE_DOWN);
        EXPECT_EQ(keyState[0x28], 0) << "a key held across a tick lets go at once";
        keysAfterTick();
    }
}

TEST_F(EventTest, AltHeldAndF10NeverPressAKeyReleasesAlwaysArriveAndTheCloseRequestOnlyQuits)
{
    keyState[0x53] = 1;  // S held before Alt went down
    keys("+", SDLK_UP, SDL_SCANCODE_UP, KMOD_LALT);
    keys("+", SDLK_F10, SDL_SCANCODE_F10);
    keys("+", SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
    keys("-", SDLK_s, SDL_SCANCODE_S, KMOD_LALT);
    keys("+", SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);  // full screen <-> window, never Enter
    for (int vk : {0x0D, 0x26, 0x79, 0x12})
        EXPECT_EQ(keyState[vk], 0) << vk;
    EXPECT_EQ(keyState[0x53], 0) << "a key released with Alt held must not stay pressed";
    for (Uint8 windowEvent : {SDL_WINDOWEVENT_NONE, SDL_WINDOWEVENT_CLOSE}) {
        game.quitRequested = game.shutdownRequested = 0;
        SDL_Event e{windowEvent ? SDL_WINDOWEVENT : SDL_QUIT};
        e.window.event = windowEvent;
        SDL_PushEvent(&e);
        keys("", SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN);
        EXPECT_EQ(std::make_tuple(game.quitRequested, game.shutdownRequested), std::make_tuple(uint8_t{1}, uint8_t{0}))
            << int(windowEvent);
    }
}

// Both ends of each axis and its rest; a stick plugged in later is taken, one pulled out reads as the centre.
// Then the command letter, and the display modes: only one the display lists at its size and depth passes.
TEST(SdlLayer, TheStickTheCommandLetterAndOnlyAListedModeAtItsOwnDepth)
{
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");  // no window has the focus here
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    for (int axes : {3, 2}) {
        SCOPED_TRACE(axes);
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, 4, 0);
        SDL_Joystick* stick = SDL_JoystickOpen(index);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
        for (int a = 0; a < axes; ++a)
            SDL_JoystickSetVirtualAxis(stick, a,
                                       a == 0 ? SDL_JOYSTICK_AXIS_MIN : a == 1 ? SDL_JOYSTICK_AXIS_MAX : -1);
        for (int button : {0, 3})
            SDL_JoystickSetVirtualButton(stick, button, 1);
        JoyReading r;
        platformReadJoystick(&r);
        EXPECT_EQ(std::make_tuple(r.x, r.y, r.z, r.buttons),
                  std::make_tuple(0u, 65535u, axes == 3 ? 32767u : 32768u, 9u));
        SDL_JoystickClose(stick);
        SDL_JoystickDetachVirtual(index);
        platformReadJoystick(&r);
        EXPECT_EQ(std::make_tuple(r.x, r.y, r.z, r.buttons),
                  std::make_tuple(32768u, 32768u, 32768u, 0u)) << "pulled out";
    }
    for (char c : {'S', 'V', 's', 'v', 'x', '\0'}) {
        SCOPED_TRACE(c);
        applyCommandLetter(c);
        const int starts = c == 'S' || c == 'V' ? 1 : 0;
        EXPECT_EQ(std::make_tuple(game.inGame, game.escapeQuits), std::make_tuple(starts, starts));
        EXPECT_EQ(game.busChoice, c == 'S' ? 0 : 1) << "a small letter keeps the bus";
    }
    setenv("SDL_VIDEODRIVER", std::getenv("DISPLAY") ? "x11" : "offscreen", 1);
    const bool made = platformCreateWindow("modes", 64, 48, 32);
    DisplayMode listed{};
    if (made && platformGetDisplayMode(0, &listed) && listed.width > 0) {
        DisplayMode otherDepth = listed, otherSize = listed;
        otherDepth.bits = listed.bits == 16 ? 32 : 16;
        otherSize.width += 16;
        EXPECT_EQ(platformTestDisplayMode(listed), 0);
        EXPECT_EQ(platformApplyDisplayMode(listed), 0);
        EXPECT_NE(platformTestDisplayMode(otherDepth), 0);
        EXPECT_NE(platformApplyDisplayMode(otherSize), 0);
    }
    platformDestroyWindow();
    if (!made || listed.width == 0)
        GTEST_SKIP() << "no window with a listed mode";
}
