// The main menu of the real program on the test display, played with real key events: the opening
// fade, the buttons sliding in, a panel and back, new game into the run and Escape back, and the
// exit fade ending the process with status 0. Screenshots stay in the build's screenshots folder.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

const Area LEFT_EDGE_OF_NEW_GAME{-1.0f, -0.80f, 0.22f, 0.28f};
// The background's pavement, left of the bus: light grey on the background, dark on the logo.
const Area PAVEMENT{-0.95f, -0.60f, -0.42f, -0.38f};
// The logo's emblem: the red front of a bus, between its lamps.
const Area EMBLEM{-0.07f, 0.07f, 0.05f, 0.13f};

bool logoShows(const Screenshot& s)
{
    double m[3];
    meanOf(s, EMBLEM, m);
    return m[0] > 60 && m[0] > m[1] + 30 && meanLevel(s, PAVEMENT) < 60;
}
bool backgroundShows(const Screenshot& s) { return meanLevel(s, PAVEMENT) > 90; }

struct MenuE2e : ::testing::Test {
    TempDir runtime;
    Spawned game;
    int shotCount = 0;

    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "no X display";
    }
    void TearDown() override { stopProgram(game); }

    void start()
    {
        game = spawnProgram(builtProgram("velbrant"), {}, generatedTree(), {"XDG_RUNTIME_DIR=" + runtime.path});
        ASSERT_TRUE(waitForWindow("Velbrant", 20000)) << capturedErr(game);
    }

    Screenshot shot(const std::string& label)
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        char number[8];
        std::snprintf(number, sizeof number, "%02d", shotCount++);
        return takeScreenshot(screenshotDir() + "/menu-" + name + "-" + number + "-" + label + ".png");
    }

    // Takes screenshots until one satisfies the condition; false after timeoutS.
    bool waitForPicture(const std::string& label, const std::function<bool(const Screenshot&)>& done, double timeoutS,
                        Screenshot* last = nullptr)
    {
        const Clock::time_point start = Clock::now();
        while (secondsSince(start) < timeoutS && isRunning(game)) {
            Screenshot s = takeScreenshot(screenshotDir() + "/menu-poll.png");
            if (s.ok() && done(s)) {
                shot(label);  // keep the moment for a person to look at
                if (last)
                    *last = s;
                return true;
            }
            pause(150);
        }
        return false;
    }

    // Opening fade and buttons, as fast as the program goes.
    void reachIdleMenu()
    {
        start();
        ASSERT_TRUE(waitForPicture("idle", newGameButtonIn, 40.0)) << capturedErr(game);
        // Enter counts only once the buttons have stopped.
        ASSERT_TRUE(waitForStillScreen(20.0, screenshotDir() + "/menu-poll.png")) << capturedErr(game);
    }
};

} // namespace

TEST_F(MenuE2e, OpensWithTheLogoFadeThenTheBackgroundThenTheButtonsSlideIn)
{
    start();
    const Clock::time_point opened = Clock::now();
    // The logo rises from black and falls back: sample its brightness through the fade.
    double brightest = 0.0, dimmest = 1e9;
    bool sawLogo = false, sawBackground = false, sawButtonsHalfIn = false;
    double backgroundAt = 0.0, buttonsAt = 0.0;
    while (secondsSince(opened) < 45.0 && isRunning(game)) {
        const Screenshot s = takeScreenshot(screenshotDir() + "/menu-poll.png");
        ASSERT_TRUE(s.ok());
        double emblem[3];
        meanOf(s, EMBLEM, emblem);
        if (!sawBackground && logoShows(s)) {
            if (!sawLogo)
                shot("logo");
            sawLogo = true;
            brightest = std::max(brightest, emblem[0]);
            dimmest = std::min(dimmest, emblem[0]);
        }
        if (!sawBackground && backgroundShows(s)) {
            sawBackground = true;
            backgroundAt = secondsSince(opened);
            shot("background");
        }
        // Sliding in from the left: the left end of the button shows, its right end not yet.
        if (sawBackground && !sawButtonsHalfIn && amberShare(s, LEFT_EDGE_OF_NEW_GAME) > 0.5 &&
            amberShare(s, Area{0.0f, 0.2f, 0.22f, 0.28f}) < 0.1) {
            sawButtonsHalfIn = true;
            shot("buttons-sliding");
        }
        if (sawBackground && newGameButtonIn(s)) {
            buttonsAt = secondsSince(opened);
            shot("buttons-in");
            break;
        }
        pause(100);
    }
    ASSERT_TRUE(isRunning(game)) << capturedErr(game);
    EXPECT_TRUE(sawLogo);
    EXPECT_GT(brightest, 150.0);           // the logo at full brightness
    EXPECT_LT(dimmest, brightest * 0.75);  // and on its way up or down
    EXPECT_TRUE(sawBackground);
    EXPECT_TRUE(sawButtonsHalfIn);
    ASSERT_GT(buttonsAt, 0.0) << "the buttons never arrived";
    // Logo in and out take 8 s before the background; the buttons come after the 12 s fade.
    EXPECT_GT(backgroundAt, 6.0);
    EXPECT_GT(buttonsAt, 11.0);
    EXPECT_GT(buttonsAt, backgroundAt + 1.5);
}

TEST_F(MenuE2e, AboutPanelSlidesInAndBackBringsTheButtons)
{
    reachIdleMenu();
    pressKey("Down");
    pause(200);
    pressKey("Down");
    pause(200);
    pressKey("Return");
    // The panel covers the buttons; the back button stands at the lower left.
    const Area panelBody{-0.5f, 0.5f, -0.6f, -0.1f};
    const Area backButton{-0.85f, -0.30f, -0.93f, -0.87f};
    ASSERT_TRUE(waitForPicture(
        "about-panel",
        [&](const Screenshot& s) {
            return amberShare(s, backButton) > 0.4 && !newGameButtonIn(s) && meanLevel(s, panelBody) < 70;
        },
        10.0))
        << capturedErr(game);
    ASSERT_TRUE(waitForStillScreen(20.0, screenshotDir() + "/menu-poll.png")) << capturedErr(game);
    // Up and Down do nothing while it is open; Enter goes back.
    pressKey("Up");
    pause(200);
    pressKey("Return");
    ASSERT_TRUE(waitForPicture("back", newGameButtonIn, 10.0)) << capturedErr(game);
    const Screenshot s = shot("back-settled");
    EXPECT_LT(amberShare(s, backButton), 0.1);
    EXPECT_TRUE(isRunning(game));
}

TEST_F(MenuE2e, ExitFadesToBlackAndTheProcessEndsWithStatusZero)
{
    reachIdleMenu();
    for (int k = 0; k < 3; ++k) {
        pressKey("Down");
        pause(200);
    }
    Screenshot before;
    ASSERT_TRUE(waitForPicture("exit-selected", exitButtonSelected,
                               5.0, &before));
    const double startLevel = meanLevel(before, PAVEMENT);
    pressKey("Return");
    const Clock::time_point chosen = Clock::now();
    pause(1500);
    const Screenshot fading = shot("fading");
    ASSERT_TRUE(fading.ok());
    EXPECT_TRUE(isRunning(game)) << "the fade takes 4 s";
    const double fadingLevel = meanLevel(fading, PAVEMENT);
    EXPECT_LT(fadingLevel, startLevel * 0.85);
    EXPECT_GT(fadingLevel, 5.0);
    const int status = waitForExit(game, 20000);
    EXPECT_EQ(status, 0) << capturedErr(game);
    EXPECT_GT(secondsSince(chosen), 3.0);
}

TEST_F(MenuE2e, NewGameShowsTheLoadingPanelThenTheRunAndEscapeReturnsToTheMenu)
{
    reachIdleMenu();
    shot("menu");
    pressKey("Return");
    // The loading panel slides in from the right over the buttons.
    const Area loadingBar{-0.2f, 0.2f, -0.24f, -0.21f};
    waitForPicture("loading-panel", [&](const Screenshot& s) { return amberShare(s, loadingBar) > 0.4; }, 10.0);
    // Then the run frame: neither the menu nor the loading panel.
    Screenshot run;
    const bool running = waitForPicture(
        "run",
        [&](const Screenshot& s) {
            return !backgroundShows(s) && amberShare(s, loadingBar) < 0.1 && s.litFraction(0, 0, s.width, s.height) > 0.2;
        },
        40.0, &run);
    ASSERT_TRUE(running) << "no run frame; the program " << (isRunning(game) ? "runs" : "ended") << "\n"
                         << capturedErr(game);
    pause(1500);
    ASSERT_TRUE(isRunning(game)) << capturedErr(game);
    const Screenshot settled = shot("run-settled");
    EXPECT_FALSE(backgroundShows(settled));

    // Escape: straight back to the background with the buttons sliding in, no opening fade.
    pressKey("Escape");
    const Clock::time_point left = Clock::now();
    bool sawLogo = false;
    Screenshot back;
    ASSERT_TRUE(waitForPicture(
        "returned",
        [&](const Screenshot& s) {
            sawLogo = sawLogo || logoShows(s);
            return newGameButtonIn(s);
        },
        15.0, &back))
        << capturedErr(game);
    EXPECT_FALSE(sawLogo);
    EXPECT_LT(secondsSince(left), 8.0);
    EXPECT_TRUE(backgroundShows(back));
    EXPECT_TRUE(isRunning(game));
}
