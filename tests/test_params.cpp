// The bus, mission and stop readers on good, boundary and hostile text, and their shared number reader.
#include "core/game.h"
#include "assets/model.h"
#include "assets/params.h"
#include "assets/params_check.h"
#include "assets/tokens.h"
#include "sim/state.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <tuple>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One of the two value readers over `text`, every field first -9; the count and the fields in
// file order.
std::pair<int32_t, std::vector<float>> readValues(bool bus, const std::string& text)
{
    struct { VehicleParameters p; BusGeometry g; } b;
    MissionParameters m;
    static_assert(sizeof b == 13 * sizeof(float) && sizeof m == 8 * sizeof(float), "plain float records");
    float v[13];
    std::fill_n(v, 13, -9.0f);
    std::memcpy(&b, v, sizeof b), std::memcpy(&m, v, sizeof m);
    const int32_t n = bus ? parseBusParameters(text.data(), text.size(), &b.p, &b.g)
                          : parseMissionParameters(text.data(), text.size(), &m);
    std::memcpy(v, bus ? static_cast<void*>(&b) : &m, bus ? sizeof b : sizeof m);
    return {n, std::vector<float>(v, v + (bus ? 13 : 8))};
}

}  // namespace

TEST(ValueReaders, BusMissionAndStopFilesReadInOrderUntilTheTextEndsOrAValueFailsHeldToTheTable)
{
    struct Row { bool bus; std::string text; int32_t count; std::vector<float> want; };
    const float _ = -9.0f;
    const Row rows[] = {
        {false, "10\n20\n90\n150\n6\n30\n5\n-8\n", 8, {10, 20, 90, 150, 6, 30, 5, -8}},
        {false, "10 20\n90", 3, {10, 20, 90, _, _, _, _, _}},
        {false, "", 0, {_, _, _, _, _, _, _, _}},
        {false, "1,5\n20\n30\n", 1, {1, _, _, _, _, _, _, _}},  // a decimal comma stops everything after it
        {true, "1 2 3 4 5 6 7 8 9 10 11 12", 12, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, _}},
        {true, "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", 13, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
        {true, std::string("0.5\0 0.1", 8), 1, {0.5f, _, _, _, _, _, _, _, _, _, _, _, _}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(readValues(r.bus, r.text), std::make_pair(r.count, r.want));
    }
    VehicleParameters p{};
    BusGeometry g{};
    EXPECT_EQ(parseBusParameters(nullptr, 10, &p, &g), 0);
    // x, z: the first stops; -9 untouched. 101 stops fill the table and no more.
    std::string big = "101\n";
    for (int i = 0; i < 101; ++i)
        big += std::to_string(i) + " " + std::to_string(-i) + "\n";
    struct StopRow { std::string text; int32_t result, count; std::vector<float> x, z; };
    const StopRow stopRows[] = {
        {big, 1 + 2 * MAX_STOPS, MAX_STOPS, {0, 1}, {0, -1}},
        {"2\n3 -4\n7.5 12\n", 5, 2, {3, 7.5f, -9}, {-4, 12, -9}},
        {"0\n1 2\n", 1, 0, {-9}, {-9}},
        {"-1\n1 2\n", 1, 0, {-9}, {-9}},
        {"2147483647999\n1 2", 3, MAX_STOPS, {1, -9}, {2, -9}},
        {"3\n1 1\n2 x 3 3\n", 4, 3, {1, 2, -9}, {1, -9, -9}},  // the count is taken as read
        {"seven", 0, 7, {-9}, {-9}},                          // a count that fails leaves the old one
        {"2.5 1", 3, 2, {0.5f, -9}, {1, -9}},                 // %d stops at the point, %f takes the rest
    };
    for (const StopRow& r : stopRows) {
        SCOPED_TRACE(r.text);
        static RouteTable t;
        for (int i = 0; i < MAX_STOPS; ++i)
            t.stopX[i] = t.stopZ[i] = -9.0f;
        t.stopCount = 7;
        t.fuelPointX = 55.0f;  // lies right after the arrays: must survive
        EXPECT_EQ(parseStops(r.text.data(), r.text.size(), &t), r.result);
        EXPECT_EQ(t.stopCount, r.count);
        EXPECT_EQ(std::vector<float>(t.stopX, t.stopX + r.x.size()), r.x);
        EXPECT_EQ(std::vector<float>(t.stopZ, t.stopZ + r.z.size()), r.z);
        EXPECT_EQ(t.fuelPointX, 55.0f);
    }
}

// One "%f" for every reader: each form as a lone value, then a 7 after it. A number that is not
// finite keeps its field and the reading goes on; a form that is no number stops it there.
TEST(NumberReader, FormsOfTheCLocaleInEveryReaderAndLocale)
{
    struct Row { const char* text; int result; float value; };  // result: SCAN_OK, _NOT_FINITE or _MISMATCH
    const int OK = SCAN_OK, INF = SCAN_NOT_FINITE, NO = SCAN_MISMATCH;
    const Row rows[] = {
        {" +1.5", OK, 1.5f}, {"\t-.25", OK, -0.25f}, {"3e2", OK, 300}, {"7.", OK, 7}, {"-1E-2", OK, -0.01f},
        {"0x1p3", OK, 8}, {"-0X.8P1", OK, -1}, {"1e-50", OK, 0}, {"1e-400", OK, 0}, {"1e-40", OK, 1e-40f},
        {"1e39", INF, 0}, {"-3e400", INF, 0}, {"inf", INF, 0}, {"-Infinity", INF, 0}, {"nan", INF, 0},
        {"0x1p200", INF, 0}, {"infin", NO, 0}, {"0x", NO, 0}, {"1e+", NO, 0}, {"--1", NO, 0}, {"- 1", NO, 0},
        {",5", NO, 0},
    };
    static ModelWithStorage<MAX_MODEL_TRIANGLES> model;
    auto runAll = [&](const char* locale) {
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(r.text) + locale);
            const std::string text = std::string(r.text) + " 7";
            const float kept = r.result == OK ? r.value : -9.0f, next = r.result == NO ? -9.0f : 7.0f;
            const auto mission = readValues(false, text);
            EXPECT_EQ(mission.first, r.result == NO ? 0 : 2);
            EXPECT_EQ(mission.second, (std::vector<float>{kept, next, -9, -9, -9, -9, -9, -9}));
            model.vertices[0][0] = model.vertices[0][1] = -9.0f;
            const std::string qx = "1\nl\n" + text + " 0 0 0 0 0 0 0 0 0 0 0 0 0 1\n";
            parseModel(model, qx.data(), qx.size(), nullptr);
            EXPECT_EQ(model.vertices[0][0], kept);
            EXPECT_EQ(model.vertices[0][1], next);
        }
    };
    runAll(" (C)");
    // A comma-decimal locale (the set-up script installs one) must not change a thing.
    if (!std::setlocale(LC_ALL, "pl_PL.UTF-8"))
        GTEST_SKIP() << "no pl_PL.UTF-8 locale installed";
    EXPECT_EQ(std::atof("1,5"), 1.5) << "the locale really uses a decimal comma";
    runAll(" (pl_PL)");
    std::setlocale(LC_ALL, "C");
}


// A missing file in the game's own paths, from a fresh working directory.
TEST(GameReaders, AMissingFileIsAFailureNamingItAndUnreadableExplicitPathsFail)
{
    struct Case { void (*load)(); const char* path; };
    const Case cases[] = {{loadBusParameters, "Dane/Autobusy/Volvo7000/Parametry.busa"},
                          {loadMissionParameters, "Dane/Rozklady/128/Parametry.misji"},
                          {loadStops, "Dane/Rozklady/128/Przystanki.roz"}};
    TempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path);
    resetAllRunState();
    fakeSysReset();
    game.busChoice = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        fakeMessages.clear();
        game.quitRequested = game.shutdownRequested = game.exitStatus = 0;
        engine.fuel = 33.0f;
        route.stopCount = 4;
        c.load();
        ASSERT_EQ(fakeMessages.size(), 1u);
        EXPECT_NE(fakeMessages[0].text.find(c.path), std::string::npos) << fakeMessages[0].text;
        EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
        EXPECT_EQ(std::make_tuple(game.exitStatus, game.quitRequested, game.shutdownRequested), std::make_tuple(1, 1, 1));
        EXPECT_EQ(std::make_tuple(engine.fuel, route.stopCount), std::make_tuple(33.0f, 4)) << "nothing read";
    }
    std::filesystem::current_path(previous);
    // Explicit paths, and ones that cannot be read.
    writeFile(dir.file("a.roz"), "1\n4 5\n");
    writeFile(dir.file("huge.roz"), "1\n4 5\n");
    ASSERT_EQ(truncate(dir.file("huge.roz").c_str(), (64 << 20) + 1), 0);  // larger than any data file
    ASSERT_EQ(mkfifo(dir.file("pipe.roz").c_str(), 0600), 0);               // refused, not waited on
    RouteTable t{};
    EXPECT_TRUE(readStopsFile(dir.file("a.roz").c_str(), &t));
    EXPECT_EQ(t.stopZ[0], 5.0f);
    for (const std::string& bad : {dir.file("missing.roz"), dir.path, dir.file("pipe.roz"),
                                   dir.file("huge.roz")})
        EXPECT_FALSE(readStopsFile(bad.c_str(), &t)) << bad;
    EXPECT_FALSE(readStopsFile(nullptr, &t));
    MissionParameters m{};
    EXPECT_FALSE(readMissionParametersFile(dir.file("none").c_str(), &m));
}

// What the checker and the game print: a bad number's own line, a stop count against its pairs.
TEST(RunFileChecks, EachProblemNamesItsLineOrItsFigures)
{
    using Check = void (*)(const char*, size_t, ParamsProblems*);
    const struct { Check check; const char* text; std::vector<std::string> want; } cases[] = {
        {checkBusParametersText, "0,36\r\n0.001\r\n", {"bad number at line 1"}},
        {checkBusParametersText, "", {"only 0 of 13 values"}},
        {checkStopsText, "1\n1 2\n3 4\n", {"count 1 but 2 stop pairs: the game drops the stops past the count"}},
        {checkStopsText, "2\n1 2\n3 x\n", {"bad number at line 3"}},
        {checkStopsText, "101",
         {"count 101 out of range (0..100)", "count 100 but 0 stop pairs: the game reads stops that are not there"}},
    };
    for (const auto& c : cases) {
        ParamsProblems problems;
        problems.count = -5;
        c.check(c.text, std::strlen(c.text), &problems);
        EXPECT_EQ(std::vector<std::string>(problems.messages, problems.messages + std::max(problems.count, 0)), c.want)
            << c.text;
    }
}
