// The window layer's key handling and the command-line letter, without a visible window.
#include "core/game.h"
#include "core/keys.h"
#include "app/shell.h"
#include "platform/platform.h"
#include "platform/sdl/keymap.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

TEST(KeyMap, VirtualKeyCodesOfTheKeysTheGameReads)
{
    struct Row {
        SDL_Keycode key;
        SDL_Scancode scan;
        uint32_t vk;
    };
#define K(name, vk) {SDLK_##name, SDL_SCANCODE_##name, vk}
#define KA(name, NAME, vk) {SDLK_##name, SDL_SCANCODE_##NAME, vk}
    const Row rows[] = {
        KA(a, A, 0x41), KA(z, Z, 0x5A), K(0, 0x30), K(4, 0x34), K(F1, 0x70), K(F10, 0x79), K(F12, 0x7B),
        K(LEFT, 0x25), K(UP, 0x26), K(RIGHT, 0x27), K(DOWN, 0x28), K(RETURN, 0x0D), K(ESCAPE, 0x1B),
        K(SPACE, 0x20), K(LSHIFT, 0x10), K(RCTRL, 0x11), K(LALT, 0x12), K(DELETE, 0x2E), K(END, 0x23),
        K(PAGEDOWN, 0x22), K(INSERT, 0x2D), K(HOME, 0x24), K(PAGEUP, 0x21), K(SCROLLLOCK, 0x91),
        K(PERIOD, 0xBE), K(COMMA, 0xBC), K(KP_1, 0x61), K(KP_9, 0x69),
        // Keypad keys keep their numpad codes whatever Num Lock turned them into.
        KA(END, KP_1, 0x61), KA(UP, KP_8, 0x68), KA(UNKNOWN, UNKNOWN, 0),
    };
#undef K
#undef KA
    for (const Row& r : rows)
        EXPECT_EQ(platformVirtualKeyFromSdl(r.key, r.scan), r.vk) << SDL_GetKeyName(r.key);
}

namespace {

struct EventTest : ::testing::Test {
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        std::memset(keyState, 0, sizeof keyState);
        PlatformEvent m;
        while (platformPollEvent(&m)) {
        }
        keysAfterTick();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

    // Pushes the events of a text like "+-+" (down, up, down) for one key, then hands them over.
    static void keys(const char* moves, SDL_Keycode key, SDL_Scancode scan, Uint16 mod = KMOD_NONE, Uint8 repeat = 0)
    {
        for (const char* m = moves; *m; ++m) {
            SDL_Event e{};
            e.type = *m == '+' ? SDL_KEYDOWN : SDL_KEYUP;
            e.key.repeat = repeat;
            e.key.keysym.sym = key;
            e.key.keysym.scancode = scan;
            e.key.keysym.mod = mod;
            e.key.state = *m == '+' ? SDL_PRESSED : SDL_RELEASED;
            SDL_PushEvent(&e);
        }
        PlatformEvent m;
        while (platformPollEvent(&m))
            windowProc(m);
    }
};

} // namespace

TEST_F(EventTest, KeysFillTheTableAndRepeatsAreNoNewPress)
{
    keys("+", SDLK_UP, SDL_SCANCODE_UP);
    keys("+", SDLK_UP, SDL_SCANCODE_UP);  // auto-repeat writes 1 again
    EXPECT_EQ(keyState[0x26], 1);
    keysAfterTick();
    keys("+", SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, 1);  // a repeat after the tick is no new press
    keys("-", SDLK_UP, SDL_SCANCODE_UP);
    EXPECT_EQ(keyState[0x26], 0);
}

// What each tick sees of the presses and releases between ticks: held first or not, then events.
TEST_F(EventTest, PressesAndReleasesBetweenTwoTicksAreEachSeenByATick)
{
    struct Case {
        bool heldBefore;
        const char* moves;
        const char* seen;  // keyState at the following ticks, after the events and after each tick
    };
    const Case cases[] = {
        {false, "+-", "10"},     // a tap stays down for one tick
        {false, "+-+", "111"},   // pressed again: the second press wins
        {true, "-+", "011"},     // let go and pressed again: seen up, then down
        {true, "-+-", "010"},    // let go, tapped, let go: up, down for a tick, up
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

TEST_F(EventTest, AltHeldAndF10NeverPressAKeyButReleasesAlwaysArrive)
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
}

TEST_F(EventTest, TheCloseRequestOnlyQuits)
{
    quitRequested = shutdownRequested = 0;
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    keys("", SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN);
    EXPECT_EQ(quitRequested, 1);
    EXPECT_EQ(shutdownRequested, 0);
    quitRequested = 0;
}

// The test really switches: only a mode the display lists at that size and that depth passes.
TEST(DisplayModes, OnlyAListedModeAtItsOwnDepthPasses)
{
    const char* before = std::getenv("SDL_VIDEODRIVER");
    const std::string driver = before ? before : "";
    if (std::getenv("DISPLAY"))
        unsetenv("SDL_VIDEODRIVER");
    else
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
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
    if (before)
        setenv("SDL_VIDEODRIVER", driver.c_str(), 1);
    if (!made || listed.width == 0)
        GTEST_SKIP() << "no window with a listed mode";
}

TEST(CommandLetter, OnlyTheFirstCapitalLetterCounts)
{
    for (char c : {'S', 'V', 's', 'v', 'x', '\0'}) {
        SCOPED_TRACE(c);
        applyCommandLetter(c);
        const int starts = c == 'S' || c == 'V' ? 1 : 0;
        EXPECT_EQ(inGame, starts);
        EXPECT_EQ(escapeQuits, starts);
        EXPECT_EQ(busChoice, c == 'S' ? 0 : 1) << "a small letter keeps the bus";
    }
}
