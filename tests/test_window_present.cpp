// The window layer on SDL's offscreen driver: the picture scaled by Okno, Alt+Enter, the diagnostics.
#include "flow/diagnostics.h"
#include "platform/platform.h"
#include "sim/state.h"
#include "tests/support/gl_context_render.h"
#include "tests/support/test_util.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {

struct OffscreenWindow : ::testing::Test {
    void SetUp() override { setenv("SDL_VIDEODRIVER", "offscreen", 1); }
    void TearDown() override { platformDestroyWindow(); }

    // The window in that Okno, its first event (the size the game draws at) taken.
    static PlatformEvent open(int mode, int width, int height)
    {
        PlatformEvent first{};
        platformSetWindowMode(mode);
        const bool made = platformCreateWindow("present", width, height, 32) && platformPollEvent(&first);
        return made ? first : PlatformEvent{};
    }
    // The window's own picture as presented, whatever framebuffer the game draws into.
    static ReadPixels presented()
    {
        // Only the reading side turns to the window: the game's drawing stays where the swap left it.
        auto bind = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
        bind(GL_READ_FRAMEBUFFER, 0);
        ReadPixels p;
        SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), &p.width, &p.height);
        p.rgb.assign(static_cast<size_t>(p.width) * p.height * 3, 0);
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, p.width, p.height, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
        return p;
    }
    // Every window event waiting is handed over; true when one of them told the game a size.
    static bool sizeEventArrives()
    {
        bool size = false;
        for (PlatformEvent e; platformPollEvent(&e);)
            size = size || e.type == PLATFORM_EVENT_SIZE;
        return size;
    }
    static void altEnter()
    {
        SDL_Event e{SDL_KEYDOWN};
        e.key.keysym = {SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LALT, 0};
        SDL_PushEvent(&e);
    }
};

} // namespace

// A square game: Okno 0 and 1 show it one to one, Okno 2 as the drawable's height, centred.
TEST_F(OffscreenWindow, ThePictureFillsItsAspectAltEnterSwitchesTheGameKeepsItsSizeDiagnosticsCount)
{
    for (int mode : {0, 1, 2}) {
        SCOPED_TRACE(mode);
        const PlatformEvent first = open(mode, 64, 64);
        if (first.type == 0)
            GTEST_SKIP() << "no offscreen GL window";
        EXPECT_EQ(std::make_tuple(first.type, first.width, first.height),
                  std::make_tuple(PLATFORM_EVENT_SIZE, 64, 64));
        // Red left half, green right half; the game's clear colour and scissor must survive the swap.
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_SCISSOR_TEST);
        glScissor(32, 0, 32, 64);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        platformSwapBuffers();
        GLfloat colour[4];
        GLint box[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, colour);
        glGetIntegerv(GL_SCISSOR_BOX, box);
        EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
        EXPECT_EQ(std::make_tuple(colour[0], colour[1]),
                  std::make_tuple(0.0f, 1.0f)) << "the game's clear colour";
        EXPECT_EQ(std::make_tuple(box[0], box[2]), std::make_tuple(32, 32)) << "the game's scissor";

        const ReadPixels p = presented();
        const int side = std::min(p.width, p.height), x = (p.width - side) / 2, y = (p.height - side) / 2;
        EXPECT_EQ(side, mode == 2 ? p.height : 64);
        EXPECT_TRUE(p.all(0, 0, x, p.height, 0, 0, 0)) << "black left";
        EXPECT_TRUE(p.all(x + side, 0, p.width, p.height, 0, 0, 0)) << "black right";
        EXPECT_TRUE(p.all(x, 0, x + side, y, 0, 0, 0)) << "black below";
        EXPECT_TRUE(p.all(x, y + side, x + side, p.height, 0, 0, 0)) << "black above";
        EXPECT_TRUE(p.all(x, y, x + side / 4, y + side, 255, 0, 0)) << "left edge";
        EXPECT_TRUE(p.all(x + side * 3 / 4, y, x + side, y + side, 0, 255, 0)) << "right edge";

        // The next frame is drawn into the game's picture again.
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        platformSwapBuffers();
        EXPECT_TRUE(presented().all(x, y, x + side, y + side, 0, 0, 255));
        platformDestroyWindow();
    }
    // Okno 0 follows the window's size until Alt+Enter switches; from then on the picture is scaled.
    TempDir dir;
    setenv("VELBRANT_DIAG_FILE", dir.file("diag.txt").c_str(), 1);
    for (int mode : {1, 0}) {
        SCOPED_TRACE(mode);
        if (open(mode, 64, 48).type == 0)
            GTEST_SKIP() << "no offscreen GL window";
        SDL_Window* window = SDL_GL_GetCurrentWindow();
        SDL_SetWindowSize(window, 200, 100);
        EXPECT_EQ(sizeEventArrives(), mode == 0);
        altEnter();
        EXPECT_FALSE(sizeEventArrives()) << "full screen, the picture scaled";
        EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
        altEnter();
        EXPECT_FALSE(sizeEventArrives());
        int w = 0, h = 0;
        SDL_GetWindowSize(window, &w, &h);
        EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN, 0u);
        EXPECT_EQ(std::make_tuple(w, h),
                  std::make_tuple(64, 48)) << "the window comes back at the game's size";
        if (mode == 1)
            platformDestroyWindow();
    }
    // In the Okno 0 window still open: each load appends the live GL names, each new figure after
    // the first appends the frame rate.
    diagnosticsAfterLoad();
    glBindTexture(GL_TEXTURE_2D, 77);  // binding a free name makes a texture, as compiling one makes a list
    glNewList(77, GL_COMPILE);
    glEndList();
    diagnosticsAfterLoad();
    for (int second : {7, 7, 8, 8, 9}) {
        gameClock.fpsLastSecond = second;
        gameClock.framesPerSecond = 40 + second;
        diagnosticsAfterTick();
    }
    int load[2], textures[2], lists[2], fps[3] = {0, 0, 0};
    long rss = 0;
    const std::string text = readFile(dir.file("diag.txt"));
    const int got = std::sscanf(text.c_str(), "load=%d textures=%d lists=%d rss=%ld load=%d textures=%d "
                                "lists=%d rss=%*d fps=%d fps=%d fps=%d", &load[0], &textures[0], &lists[0],
                                &rss, &load[1], &textures[1], &lists[1], &fps[0], &fps[1], &fps[2]);
    EXPECT_EQ(got, 9) << "two loads and two figures: the first, partial second is left out";
    EXPECT_EQ(std::make_tuple(load[0], load[1]), std::make_tuple(1, 2)) << "the load count";
    EXPECT_GT(rss, 0) << "the memory";
    EXPECT_EQ(std::make_tuple(textures[1], lists[1]), std::make_tuple(textures[0] + 1, lists[0] + 1))
        << "the texture and list made";
    EXPECT_EQ(std::make_tuple(fps[0], fps[1]), std::make_tuple(48, 49));
}
