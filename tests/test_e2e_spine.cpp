// The real program on the test display: one copy at a time, a killed copy does not lock the next
// one out (here the other bus, straight into a run), and SIGTERM ends it cleanly.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <csignal>

TEST(Spine, OneCopyAtATimeAndAKilledCopyLocksNobodyOut)
{
    if (!haveDisplay())
        GTEST_SKIP() << "no X display";
    TempDir runtime;  // private lock folder, so a game the developer runs does not interfere
    auto start = [&](const std::vector<std::string>& args) {
        return spawnProgram(builtProgram("velbrant"), args, generatedTree(), {"XDG_RUNTIME_DIR=" + runtime.path});
    };
    Spawned first = start({});
    ASSERT_TRUE(waitForWindow("Velbrant", 60000)) << capturedErr(first);
    Spawned second = start({});
    EXPECT_GT(waitForExit(second, 15000), 0) << "a refused copy must not look like success";
    EXPECT_NE(capturedErr(second).find("Program ten jest ju\xc5\xbc uruchomiony!"), std::string::npos) << capturedErr(second);
    EXPECT_TRUE(isRunning(first));
    sendSignal(first, SIGKILL);
    EXPECT_EQ(waitForExit(first, 5000), -2);
    Spawned next = start({"S"});  // the other bus, straight into a run
    ASSERT_TRUE(waitForWindow("Velbrant", 60000)) << capturedErr(next);
    EXPECT_TRUE(waitForPicture(screenshotDir() + "/spine-run-S.png", 20.0,
                               [](const Screenshot& s) { return s.litFraction(0, 0, s.width, s.height) > 0.2; }));
    EXPECT_TRUE(isRunning(next)) << capturedErr(next);
    sendSignal(next, SIGTERM);
    EXPECT_EQ(waitForExit(next, 10000), 0) << capturedErr(next);
    stopProgram(second);
    stopProgram(next);
}
