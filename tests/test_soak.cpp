// The long lane. Eight new games in a row in one process of the real program on the test display:
// menu, Enter on the new game, a moment of driving, Escape back to the menu, and again; the game's
// load diagnostics (VELBRANT_DIAG_FILE) give the live texture names, display lists and resident
// memory after every load, and they must stay where the first load left them. Then one simulated
// hour on the generated route: the headless driver's autopilot drives run after run for 180 000
// ticks, checking after every tick that no float of the run state is NaN or infinite and no
// counter runs away; two soaks give the same rows and the same digest of the whole run state.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int RELOAD_GAMES = 8;
// Resident memory over the last half of the loads may wander a little (allocator, driver caches),
// never by a load's worth.
constexpr long RELOAD_RSS_SLACK_KIB = 4 * 1024;

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
                const Screenshot s = takeScreenshot("");
                return s.ok() && newGameButtonIn(s);
            },
            timeoutS);
    }
};

} // namespace

TEST_F(ReloadSoak, EightNewGamesKeepTexturesListsAndMemoryFlat)
{
    const std::string diagPath = diag.file("loads.txt");
    game = spawnProgram(builtProgram("velbrant"), {}, generatedTree(),
                        {"XDG_RUNTIME_DIR=" + runtime.path, "VELBRANT_DIAG_FILE=" + diagPath});
    ASSERT_TRUE(waitForWindow("Velbrant", 60000)) << capturedErr(game);
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
    // game after the menu grows most); over the last half it stays level. A file's staging buffer
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

namespace {

struct SoakSummary {
    long long ticks = -1, runs = -1, largestValue = -1;
    char digest[65] = "", largestCounter[128] = "";
};

// "velbrant-sim: soak: ticks=N runs=R digest=HEX largest-counter=NAME:VALUE"; ticks -1 if absent.
SoakSummary parseSummary(const std::string& err)
{
    SoakSummary s;
    const size_t at = err.find("velbrant-sim: soak: ");
    if (at != std::string::npos)
        std::sscanf(err.c_str() + at, "velbrant-sim: soak: ticks=%lld runs=%lld digest=%64s largest-counter=%127[^:]:%lld",
                    &s.ticks, &s.runs, s.digest, s.largestCounter, &s.largestValue);
    return s;
}

CommandResult soak(const std::string& tree, const std::string& extra)
{
    return runCommand("'" + builtProgram("velbrant-sim") + "' --data '" + tree + "' --autopilot --soak " + extra, ".");
}

// The CSV fields that are numbers never read as "nan" or "inf" in any spelling.
bool hasNonFiniteText(const std::string& csv)
{
    std::string lower = csv;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

} // namespace

TEST(SoakSim, OneHourOfRunsStaysFiniteBoundedAndRepeatable)
{
    const CommandResult first = soak(generatedTree(), "--ticks 180000 --every 50");
    ASSERT_EQ(first.status, 0) << first.err;
    const SoakSummary a = parseSummary(first.err);
    EXPECT_EQ(a.ticks, 180000) << first.err;
    // A run of the generated route takes under six minutes: an hour holds many of them.
    EXPECT_GE(a.runs, 5) << first.err;
    EXPECT_LT(a.largestValue, 1000000) << a.largestCounter;
    EXPECT_FALSE(hasNonFiniteText(first.out));
    // Header, one row every 50 ticks and the last tick.
    size_t rows = 0;
    for (char c : first.out)
        rows += c == '\n';
    EXPECT_EQ(rows, 2u + 180000u / 50u);

    const CommandResult second = soak(generatedTree(), "--ticks 180000 --every 50");
    ASSERT_EQ(second.status, 0) << second.err;
    const SoakSummary b = parseSummary(second.err);
    EXPECT_STREQ(b.digest, a.digest);
    EXPECT_EQ(b.runs, a.runs);
    EXPECT_TRUE(second.out == first.out) << "the two soaks' rows differ";
}

TEST(SoakSim, BothBusesFinishRunAfterRun)
{
    // A shorter soak of the other bus: its runs end and restart just as well.
    const CommandResult r = soak(generatedTree(), "--bus Urbino12 --ticks 60000 --every 1000");
    ASSERT_EQ(r.status, 0) << r.err;
    const SoakSummary s = parseSummary(r.err);
    EXPECT_EQ(s.ticks, 60000);
    EXPECT_GE(s.runs, 2) << r.err;
}

