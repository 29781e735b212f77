// The real program on the test display: it opens its window and draws, refuses a second copy,
// ends cleanly on SIGTERM, and a killed copy does not lock the next one out.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

struct SpineTest : ::testing::Test {
    TempDir runtime;  // private lock folder, so a game the developer runs does not interfere
    std::vector<Spawned> started;

    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "no X display";
    }
    void TearDown() override
    {
        for (Spawned& p : started)
            stopProgram(p);
    }
    Spawned& start(const std::vector<std::string>& args = {})
    {
        started.push_back(spawnProgram(builtProgram("velbrant"), args, generatedTree(),
                                       {"XDG_RUNTIME_DIR=" + runtime.path}));
        return started.back();
    }
};


} // namespace

TEST_F(SpineTest, OpensItsWindowDrawsAndEndsOnSigterm)
{
    Spawned& game = start();
    ASSERT_TRUE(waitForWindow("Velbrant", 15000)) << capturedErr(game);
    pause(2500);
    Screenshot shot = takeScreenshot(screenshotDir() + "/spine-menu-start.png");
    ASSERT_TRUE(shot.ok());
    // Ticks have run: the picture is no longer the black of an empty window.
    EXPECT_GT(shot.litFraction(0, 0, shot.width, shot.height), 0.05);
    EXPECT_TRUE(isRunning(game));
    sendSignal(game, SIGTERM);
    EXPECT_EQ(waitForExit(game, 10000), 0) << capturedErr(game);
}

TEST_F(SpineTest, ASecondCopyIsRefusedAndTheFirstRunsOn)
{
    Spawned& first = start();
    ASSERT_TRUE(waitForWindow("Velbrant", 15000)) << capturedErr(first);
    Spawned& second = start();
    const int status = waitForExit(second, 15000);
    EXPECT_GT(status, 0) << "a refused copy must not look like success";
    EXPECT_NE(capturedErr(second).find("Program ten jest ju\xc5\xbc uruchomiony!"), std::string::npos)
        << capturedErr(second);
    EXPECT_TRUE(isRunning(started[0]));
    sendSignal(started[0], SIGTERM);
    EXPECT_EQ(waitForExit(started[0], 10000), 0);
}

TEST_F(SpineTest, AKilledCopyDoesNotLockTheNextOneOut)
{
    Spawned& first = start();
    ASSERT_TRUE(waitForWindow("Velbrant", 15000)) << capturedErr(first);
    sendSignal(first, SIGKILL);
    EXPECT_EQ(waitForExit(first, 5000), -2);
    Spawned& next = start();
    ASSERT_TRUE(waitForWindow("Velbrant", 15000)) << capturedErr(next);
    pause(500);
    EXPECT_TRUE(isRunning(next)) << capturedErr(next);
    sendSignal(next, SIGINT);
    EXPECT_EQ(waitForExit(next, 10000), 0);
}

// Start after start (VELBRANT_STARTS of them, 20 unless set): each one either shows its window
// within 3 s or ends non-zero with its message; none runs on without a window.
TEST_F(SpineTest, EveryStartShowsItsWindowOrEndsSayingWhy)
{
    const char* wanted = std::getenv("VELBRANT_STARTS");
    const int starts = wanted ? std::atoi(wanted) : 20;
    int shown = 0, refused = 0, windowless = 0;
    for (int i = 0; i < starts; ++i) {
        Spawned& game = start();
        if (waitForWindow("Velbrant", 3000)) {
            ++shown;
            sendSignal(game, SIGTERM);
            EXPECT_EQ(waitForExit(game, 10000), 0) << capturedErr(game);
        } else if (waitForExit(game, 500) > 0 && capturedErr(game).find("okna") != std::string::npos) {
            ++refused;
        } else {
            ++windowless;
            ADD_FAILURE() << "start " << i << " has no window: " << capturedErr(game);
        }
        stopProgram(game);
        started.clear();
    }
    std::printf("%d starts: %d windows, %d refused with the message, %d without a window\n", starts, shown, refused,
                windowless);
    EXPECT_EQ(shown + refused, starts);
}
