// The long lane: eight new games keep textures, display lists and memory flat; an hour of the autopilot
// stays finite, bounded and repeatable, and the other bus finishes run after run.
#include "tests/support/desktop.h"
#include "tests/support/menu_screen.h"
#include "tests/support/test_util.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct LoadLine { int load = 0; long textures = -1, lists = -1, rss = -1; };

std::vector<LoadLine> readDiagnostics(const std::string& path)
{
    std::vector<LoadLine> lines;
    std::istringstream in(readFile(path));
    LoadLine l;
    for (std::string line; std::getline(in, line);)
        if (std::sscanf(line.c_str(), "load=%d textures=%ld lists=%ld rss=%ld", &l.load, &l.textures,
                        &l.lists, &l.rss) == 4)
            lines.push_back(l);
    return lines;
}

struct SoakSummary {
    long long ticks = -1, runs = -1, largestValue = -1;
    char digest[65] = "", largestCounter[128] = "";
};

// Reads "soak: ticks=N runs=R digest=HEX largest-counter=NAME:VALUE" off stderr (ticks -1 if absent).
CommandResult soak(const std::string& extra, SoakSummary* s)
{
    const std::string sim = "'" + builtProgram("velbrant-sim") + "' --data '" + generatedTree() + "'";
    const CommandResult r = runCommand(sim + " --autopilot --soak " + extra);
    const size_t at = r.err.find("velbrant-sim: soak: ");
    if (at != std::string::npos)
        std::sscanf(r.err.c_str() + at,
                    "velbrant-sim: soak: ticks=%lld runs=%lld digest=%64s largest-counter=%127[^:]:%lld",
                    &s->ticks, &s->runs, s->digest, s->largestCounter, &s->largestValue);
    return r;
}

} // namespace

TEST(ReloadSoak, EightNewGamesKeepTexturesListsAndMemoryFlat)
{
    SKIP_WITHOUT_DISPLAY();
    constexpr int GAMES = 8;
    TempDir diag;
    const std::string diagPath = diag.file("loads.txt");
    Spawned game = startGame(generatedTree(), {}, {"VELBRANT_DIAG_FILE=" + diagPath});
    struct Stop { Spawned& g; ~Stop() { stopProgram(g); } } stopAtEnd{game};
    auto menu = [&](double s) {
        return waitUntil(s, [] { return newGameButtonIn(takeScreenshot("")); }, &game);
    };
    ASSERT_TRUE(waitForWindow("Velbrant", 60000)) << capturedErr(game);
    ASSERT_TRUE(menu(45.0)) << capturedErr(game);  // the opening fade, then the buttons
    for (int i = 1; i <= GAMES; ++i) {
        auto loaded = [&] { return static_cast<int>(readDiagnostics(diagPath).size()) >= i; };
        // Enter again if the menu still stands: a key pressed while the buttons still slide in
        // is not taken.
        bool ok = false;
        for (int attempt = 0; attempt < 8 && !ok; ++attempt) {
            pause(300);
            pressKey("Return");
            ok = waitUntil(2.0, loaded, &game) || (!menu(0.5) && waitUntil(60.0, loaded, &game));
        }
        ASSERT_TRUE(ok) << "load " << i << " never finished\n" << capturedErr(game);
        pause(800);  // a few ticks of the run
        pressKey("Escape");
        ASSERT_TRUE(menu(20.0)) << "no menu after game " << i << "\n" << capturedErr(game);
    }
    EXPECT_EQ(endWith(game, SIGTERM, 15000), 0) << capturedErr(game);
    const std::vector<LoadLine> loads = readDiagnostics(diagPath);
    ASSERT_EQ(loads.size(), static_cast<size_t>(GAMES));
    ASSERT_GT(loads[0].textures * loads[0].lists * loads[0].rss, 0);
    for (const LoadLine& l : loads) {
        EXPECT_EQ(l.textures, loads[0].textures) << "load " << l.load;
        EXPECT_EQ(l.lists, loads[0].lists) << "load " << l.load;
    }
    // The first loads still fill caches; a buffer or texture kept per load would add megabytes.
    EXPECT_LT(loads.back().rss - loads[GAMES / 2 - 1].rss, 4 * 1024)
        << "resident KiB grew over the last half";
}

TEST(SoakSim, OneHourOfRunsStaysFiniteBoundedAndRepeatableAndTheOtherBusFinishesToo)
{
    SoakSummary a, b, other;
    const CommandResult first = soak("--ticks 180000 --every 50", &a),
                        second = soak("--ticks 180000 --every 50", &b);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(a.ticks, 180000) << first.err;
    EXPECT_GE(a.runs, 5) << "a run takes under six minutes";
    EXPECT_LT(a.largestValue, 1000000) << a.largestCounter;
    std::string lower = first.out;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(lower.find("nan"), std::string::npos) << lower;
    EXPECT_EQ(lower.find("inf"), std::string::npos) << lower;
    EXPECT_EQ(std::count(first.out.begin(), first.out.end(), '\n'), 2 + 180000 / 50)
        << "header, rows, last tick";
    EXPECT_STREQ(b.digest, a.digest);
    EXPECT_TRUE(second.out == first.out) << "the two soaks' rows differ";
    const CommandResult r = soak("--bus Urbino12 --ticks 60000 --every 1000", &other);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(other.ticks, 60000);
    EXPECT_GE(other.runs, 2) << r.err;
}
