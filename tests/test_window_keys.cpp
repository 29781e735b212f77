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
    const Row rows[] = {
        {SDLK_a, SDL_SCANCODE_A, 0x41},          {SDLK_z, SDL_SCANCODE_Z, 0x5A},
        {SDLK_s, SDL_SCANCODE_S, 0x53},          {SDLK_0, SDL_SCANCODE_0, 0x30},
        {SDLK_4, SDL_SCANCODE_4, 0x34},          {SDLK_F1, SDL_SCANCODE_F1, 0x70},
        {SDLK_F6, SDL_SCANCODE_F6, 0x75},        {SDLK_F12, SDL_SCANCODE_F12, 0x7B},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},    {SDLK_UP, SDL_SCANCODE_UP, 0x26},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 0x27},  {SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D}, {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},  {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0x10},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0x11},  {SDLK_DELETE, SDL_SCANCODE_DELETE, 0x2E},
        {SDLK_END, SDL_SCANCODE_END, 0x23},      {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 0x22},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, 0x2D}, {SDLK_HOME, SDL_SCANCODE_HOME, 0x24},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 0x21}, {SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, 0x91},
        {SDLK_PERIOD, SDL_SCANCODE_PERIOD, 0xBE}, {SDLK_COMMA, SDL_SCANCODE_COMMA, 0xBC},
        {SDLK_KP_1, SDL_SCANCODE_KP_1, 0x61},    {SDLK_KP_5, SDL_SCANCODE_KP_5, 0x65},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 0x69},
        // Keypad keys keep their numpad codes whatever Num Lock turned them into.
        {SDLK_END, SDL_SCANCODE_KP_1, 0x61},     {SDLK_UP, SDL_SCANCODE_KP_8, 0x68},
        {SDLK_F10, SDL_SCANCODE_F10, 0x79},      {SDLK_LALT, SDL_SCANCODE_LALT, 0x12},
    };
    for (const Row& r : rows)
        EXPECT_EQ(platformVirtualKeyFromSdl(r.key, r.scan), r.vk) << SDL_GetKeyName(r.key);
    EXPECT_EQ(platformVirtualKeyFromSdl(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0u);
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

    static void push(Uint32 type, SDL_Keycode key, SDL_Scancode scan, Uint16 mod, Uint8 repeat = 0)
    {
        SDL_Event e{};
        e.type = type;
        e.key.repeat = repeat;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = scan;
        e.key.keysym.mod = mod;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&e);
    }
    static void drain()
    {
        PlatformEvent m;
        while (platformPollEvent(&m))
            windowProc(m);
    }
};

} // namespace

TEST_F(EventTest, KeysFillTheTableFromEvents)
{
    push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
    drain();
    EXPECT_EQ(keyState[0x26], 1);
    push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);  // auto-repeat writes 1 again
    drain();
    EXPECT_EQ(keyState[0x26], 1);
    keysAfterTick();
    push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE, 1);  // a repeat after the tick is no new press
    push(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
    drain();
    EXPECT_EQ(keyState[0x26], 0);
}

TEST_F(EventTest, ATapBetweenTwoTicksStaysDownForOneTick)
{
    push(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE);
    push(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE);
    drain();
    EXPECT_EQ(keyState[0x0D], 1) << "the next tick must see the tap";
    keysAfterTick();
    EXPECT_EQ(keyState[0x0D], 0);
    // Pressed again before that tick: the second press wins and the key stays down.
    push(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE);
    push(SDL_KEYUP, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE);
    push(SDL_KEYDOWN, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE);
    drain();
    keysAfterTick();
    EXPECT_EQ(keyState[0x20], 1);
    push(SDL_KEYUP, SDLK_SPACE, SDL_SCANCODE_SPACE, KMOD_NONE);
    drain();
    EXPECT_EQ(keyState[0x20], 0) << "a key held across a tick lets go at once";
}

TEST_F(EventTest, AHeldKeyLetGoAndPressedAgainBetweenTwoTicksIsSeenUpThenDown)
{
    push(SDL_KEYDOWN, SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE);
    drain();
    keysAfterTick();  // a tick saw it held
    push(SDL_KEYUP, SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE);
    push(SDL_KEYDOWN, SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE);
    drain();
    EXPECT_EQ(keyState[0x28], 0) << "the next tick must see the release";
    keysAfterTick();
    EXPECT_EQ(keyState[0x28], 1) << "and the one after it the new press";
    keysAfterTick();
    EXPECT_EQ(keyState[0x28], 1) << "still held";
    push(SDL_KEYUP, SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE);
    drain();
    EXPECT_EQ(keyState[0x28], 0);

    // Let go, tapped and let go again within one frame: up for a tick, down for one, then up.
    push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
    drain();
    keysAfterTick();
    push(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
    push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
    push(SDL_KEYUP, SDLK_UP, SDL_SCANCODE_UP, KMOD_NONE);
    drain();
    EXPECT_EQ(keyState[0x26], 0);
    keysAfterTick();
    EXPECT_EQ(keyState[0x26], 1) << "the tap is seen by one tick";
    keysAfterTick();
    EXPECT_EQ(keyState[0x26], 0);
}

TEST_F(EventTest, AltHeldAndF10NeverPressAKeyButReleasesAlwaysArrive)
{
    keyState[0x53] = 1;  // S held before Alt went down
    push(SDL_KEYDOWN, SDLK_UP, SDL_SCANCODE_UP, KMOD_LALT);
    push(SDL_KEYDOWN, SDLK_F10, SDL_SCANCODE_F10, KMOD_NONE);
    push(SDL_KEYDOWN, SDLK_LALT, SDL_SCANCODE_LALT, KMOD_LALT);
    push(SDL_KEYUP, SDLK_s, SDL_SCANCODE_S, KMOD_LALT);
    push(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);  // full screen <-> window, never Enter
    drain();
    EXPECT_EQ(keyState[0x0D], 0);
    EXPECT_EQ(keyState[0x26], 0);
    EXPECT_EQ(keyState[0x79], 0);
    EXPECT_EQ(keyState[0x12], 0);
    EXPECT_EQ(keyState[0x53], 0) << "a key released with Alt held must not stay pressed";
}

TEST_F(EventTest, TheCloseRequestOnlyQuits)
{
    quitRequested = 0;
    shutdownRequested = 0;
    SDL_Event e{};
    e.type = SDL_QUIT;
    SDL_PushEvent(&e);
    drain();
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
    applyCommandLetter('S');
    EXPECT_EQ(inGame, 1);
    EXPECT_EQ(escapeQuits, 1);
    EXPECT_EQ(busChoice, 0);
    applyCommandLetter('V');
    EXPECT_EQ(inGame, 1);
    EXPECT_EQ(escapeQuits, 1);
    EXPECT_EQ(busChoice, 1);
    for (char c : {'s', 'v', 'x', '\0'}) {
        applyCommandLetter(c);
        EXPECT_EQ(inGame, 0) << c;
        EXPECT_EQ(escapeQuits, 0) << c;
        EXPECT_EQ(busChoice, 1) << c;
    }
}
