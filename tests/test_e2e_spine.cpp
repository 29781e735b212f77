// The real program on the test display: it opens its window and draws, refuses a second copy,
// ends cleanly on SIGTERM and SIGINT, and a killed copy does not lock the next one out.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct SpineTest : ::testing::Test {
    std::vector<Spawned> started;

    void SetUp() override { SKIP_WITHOUT_DISPLAY(); }
    void TearDown() override
    {
        for (Spawned& p : started)
            stopProgram(p);
    }
    // Starts a copy; with a timeout it must show its window within it.
    Spawned& start(int windowMs = 0)
    {
        started.push_back(startGame(generatedTree()));
        EXPECT_TRUE(windowMs == 0 || waitForWindow("Velbrant", windowMs)) << capturedErr(started.back());
        return started.back();
    }
};

} // namespace

TEST_F(SpineTest, DrawsRefusesASecondCopyEndsOnSignalsAndAKilledCopyLeavesNoLock)
{
    start(15000);
    pause(2500);
    const Screenshot shot = takeScreenshot(screenshotDir() + "/spine-menu-start.png");
    // Ticks have run: the picture is no longer the black of an empty window.
    EXPECT_GT(shot.litFraction(0, 0, shot.width, shot.height), 0.05);
    const Spawned second = start();
    EXPECT_GT(waitForExit(second, 15000), 0) << "a refused copy must not look like success";
    EXPECT_NE(capturedErr(second).find("Program ten jest ju\xc5\xbc uruchomiony!"), std::string::npos)
        << capturedErr(second);
    EXPECT_TRUE(isRunning(started[0]));
    EXPECT_EQ(endWith(started[0]), 0) << capturedErr(started[0]);

    start(15000);
    EXPECT_EQ(endWith(started[2], SIGKILL), -2);
    start(15000);
    pause(500);
    EXPECT_TRUE(isRunning(started[3])) << capturedErr(started[3]);
    EXPECT_EQ(endWith(started[3], SIGINT), 0);
}

// Start after start (VELBRANT_STARTS of them, 20 unless set): each one either shows its window
// within 3 s or ends non-zero with its message; none runs on without a window.
TEST_F(SpineTest, EveryStartShowsItsWindowOrEndsSayingWhy)
{
    const char* wanted = std::getenv("VELBRANT_STARTS");
    const int starts = wanted ? std::atoi(wanted) : 20;
    int shown = 0, refused = 0;
    for (int i = 0; i < starts; ++i) {
        Spawned game = startGame(generatedTree());
        if (waitForWindow("Velbrant", 3000)) {
            ++shown;
            EXPECT_EQ(endWith(game), 0) << capturedErr(game);
        } else if (waitForExit(game, 500) > 0 && capturedErr(game).find("okna") != std::string::npos) {
            ++refused;
        } else {
            ADD_FAILURE() << "start " << i << " has no window: " << capturedErr(game);
        }
        stopProgram(game);
    }
    std::printf("%d starts: %d windows, %d refused with the message\n", starts, shown, refused);
    EXPECT_EQ(shown + refused, starts);
}
