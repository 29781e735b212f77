// Twenty new games in a row in one process of the real program on the test display: menu, Enter
// on the new game, a moment of driving, Escape back to the menu, and again. The game's load
// diagnostics (VELBRANT_DIAG_FILE) give the live texture names, display lists and resident memory
// after every load: they must stay where the first load left them.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RELOAD_GAMES = 20;
// Resident memory over the last ten loads may wander a little (allocator, driver caches), never
// by a load's worth.
constexpr long RELOAD_RSS_SLACK_KIB = 4 * 1024;

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct LoadLine {
    int load = 0;
    long textures = -1;
    long lists = -1;
    long rss = -1;
};

std::vector<LoadLine> readDiagnostics(const std::string& path)
{
    std::vector<LoadLine> lines;
    std::istringstream in(readFile(path));
    std::string line;
    while (std::getline(in, line)) {
        LoadLine l;
        if (std::sscanf(line.c_str(), "load=%d textures=%ld lists=%ld rss=%ld", &l.load, &l.textures, &l.lists,
                        &l.rss) == 4)
            lines.push_back(l);
    }
    return lines;
}

// The selected "new game" button in the menu's amber, where it stands once the buttons are in.
bool newGameButtonIn(const Screenshot& s)
{
    const int x0 = s.width * 20 / 100, x1 = s.width * 57 / 100;
    const int y0 = s.height * 36 / 100, y1 = s.height * 39 / 100;
    long amber = 0, n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
            const uint8_t* p = s.at(x, y);
            amber += (p[0] > 180 && p[1] > 100 && p[1] < 235 && p[2] < 120) ? 1 : 0;
        }
    return n > 0 && amber * 2 > n;
}

struct ReloadSoak : ::testing::Test {
    TempDir runtime;
    TempDir diag;
    Spawned game;

    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "no X display";
    }
    void TearDown() override { stopProgram(game); }

    bool waitFor(const std::function<bool()>& done, double timeoutS)
    {
        const Clock::time_point start = Clock::now();
        while (std::chrono::duration<double>(Clock::now() - start).count() < timeoutS) {
            if (done())
                return true;
            if (!isRunning(game))
                return false;
            pause(100);
        }
        return false;
    }

    bool waitForMenu(double timeoutS)
    {
        return waitFor(
            [] {
                const Screenshot s = takeScreenshot(screenshotDir() + "/reload-poll.png");
                return s.ok() && newGameButtonIn(s);
            },
            timeoutS);
    }
};

} // namespace

TEST_F(ReloadSoak, TwentyNewGamesKeepTexturesListsAndMemoryFlat)
{
    const std::string diagPath = diag.file("loads.txt");
    game = spawnProgram(builtProgram("velbrant"), {}, generatedTree(),
                        {"XDG_RUNTIME_DIR=" + runtime.path, "VELBRANT_DIAG_FILE=" + diagPath});
    ASSERT_TRUE(waitForWindow("Velbrant", 20000)) << capturedErr(game);
    // The opening fade, then the buttons.
    ASSERT_TRUE(waitForMenu(45.0)) << capturedErr(game);

    for (int i = 1; i <= RELOAD_GAMES; ++i) {
        // Enter on the new game; once more if the menu still stands there a while later (a key
        // event the menu took while it was still settling).
        bool loaded = false;
        for (int attempt = 0; attempt < 3 && !loaded; ++attempt) {
            pause(300);
            pressKey("Return");
            loaded = waitFor([&] { return static_cast<int>(readDiagnostics(diagPath).size()) >= i; }, 8.0);
            if (!loaded && !waitForMenu(0.5))
                loaded = waitFor([&] { return static_cast<int>(readDiagnostics(diagPath).size()) >= i; }, 60.0);
        }
        ASSERT_TRUE(loaded) << "load " << i << " never finished\n" << capturedErr(game);
        pause(800);  // a few ticks of the run
        if (i == 1 || i == RELOAD_GAMES)
            takeScreenshot(screenshotDir() + "/reload-run-" + std::to_string(i) + ".png");
        pressKey("Escape");
        ASSERT_TRUE(waitForMenu(20.0)) << "no menu after game " << i << "\n" << capturedErr(game);
    }
    ASSERT_TRUE(isRunning(game)) << capturedErr(game);
    sendSignal(game, SIGTERM);
    EXPECT_EQ(waitForExit(game, 15000), 0) << capturedErr(game);

    const std::vector<LoadLine> loads = readDiagnostics(diagPath);
    ASSERT_EQ(loads.size(), static_cast<size_t>(RELOAD_GAMES));
    const LoadLine& first = loads[0];
    ASSERT_GT(first.textures, 0);
    ASSERT_GT(first.lists, 0);
    ASSERT_GT(first.rss, 0);
    for (const LoadLine& l : loads) {
        EXPECT_EQ(l.textures, first.textures) << "load " << l.load;
        EXPECT_EQ(l.lists, first.lists) << "load " << l.load;
    }
    // Memory: the first few loads still fill the allocator's and the driver's caches (the first
    // game after the menu grows most); over the last ten it stays level. A file's staging buffer
    // or a texture kept per load would add megabytes here.
    const LoadLine& middle = loads[RELOAD_GAMES / 2 - 1];
    const LoadLine& last = loads.back();
    EXPECT_LT(last.rss - middle.rss, RELOAD_RSS_SLACK_KIB)
        << "resident memory grew from " << middle.rss << " KiB after load " << middle.load << " to " << last.rss
        << " KiB after load " << last.load;
    std::printf("reload soak: %ld textures, %ld lists; rss KiB after each load:", first.textures, first.lists);
    for (const LoadLine& l : loads)
        std::printf(" %ld", l.rss);
    std::printf("\n");
}
