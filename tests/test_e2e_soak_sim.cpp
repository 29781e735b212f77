// One simulated hour on the generated route: the headless driver's autopilot drives run after run
// (Escape to the menu and a new game after each final stop) for 180 000 ticks, checking after
// every tick that no float of the run state is NaN or infinite and no counter runs away. Two
// soaks give the same rows and the same digest of the whole run state.
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

namespace {

struct SoakSummary {
    bool found = false;
    long long ticks = -1;
    long long runs = -1;
    std::string digest;
    std::string largestCounter;
    long long largestValue = -1;
};

// "velbrant-sim: soak: ticks=N runs=R digest=HEX largest-counter=NAME:VALUE"
SoakSummary parseSummary(const std::string& err)
{
    SoakSummary s;
    const std::string marker = "velbrant-sim: soak: ticks=";
    const size_t at = err.find(marker);
    if (at == std::string::npos)
        return s;
    std::istringstream line(err.substr(at + marker.size()));
    std::string word;
    line >> s.ticks;
    while (line >> word) {
        if (word.rfind("runs=", 0) == 0) {
            s.runs = std::atoll(word.c_str() + 5);
        } else if (word.rfind("digest=", 0) == 0) {
            s.digest = word.substr(7);
        } else if (word.rfind("largest-counter=", 0) == 0) {
            const std::string rest = word.substr(16);
            const size_t colon = rest.rfind(':');
            s.largestCounter = rest.substr(0, colon);
            s.largestValue = std::atoll(rest.c_str() + colon + 1);
            break;
        }
    }
    s.found = true;
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
    ASSERT_TRUE(a.found) << first.err;
    EXPECT_EQ(a.ticks, 180000);
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
    EXPECT_EQ(b.digest, a.digest);
    EXPECT_EQ(b.runs, a.runs);
    EXPECT_TRUE(second.out == first.out) << "the two soaks' rows differ";
}

TEST(SoakSim, BothBusesFinishRunAfterRun)
{
    // A shorter soak of the other bus: its runs end and restart just as well.
    const CommandResult r = soak(generatedTree(), "--bus Urbino12 --ticks 60000 --every 1000");
    ASSERT_EQ(r.status, 0) << r.err;
    const SoakSummary s = parseSummary(r.err);
    ASSERT_TRUE(s.found) << r.err;
    EXPECT_EQ(s.ticks, 60000);
    EXPECT_GE(s.runs, 2) << r.err;
}

TEST(SoakSim, AnInfiniteValueInTheRunStateEndsTheSoak)
{
    // A stop so far away that its distance overflows the float: the check must see it.
    TempDir copy;
    std::filesystem::copy(generatedTree(), copy.path, std::filesystem::copy_options::recursive);
    writeFile(copy.file("Dane/Rozklady/128/Przystanki.roz"), "2\n3e38 0\n0 0\n");
    const CommandResult r = soak(copy.path, "--ticks 1000 --every 100");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("stops.stopDistance is out of range"), std::string::npos) << r.err;
}

TEST(SoakSim, SoakNeedsTheAutopilot)
{
    const CommandResult r = runCommand("'" + builtProgram("velbrant-sim") + "' --soak -", ".");
    EXPECT_EQ(r.status, 2);
}
