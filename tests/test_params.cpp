// The bus, mission and stop readers on good, boundary and hostile text, from memory and from
// the game's own paths.
#include "core/game.h"
#include "assets/model.h"
#include "assets/params.h"
#include "assets/tokens.h"
#include "sim/state.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int32_t parseBus(const std::string& text, VehicleParameters* p, BusGeometry* g)
{
    return parseBusParameters(text.data(), text.size(), p, g);
}

int32_t parseMission(const std::string& text, MissionParameters* m)
{
    return parseMissionParameters(text.data(), text.size(), m);
}

int32_t parseStopText(const std::string& text, RouteTable* t)
{
    return parseStops(text.data(), text.size(), t);
}

// Runs a test body in a fresh working directory, with the state and the fakes reset.
class InDataTree : public ::testing::Test {
protected:
    TempDir dir;
    std::string previous;
    void SetUp() override
    {
        resetAllRunState();
        fakeSysReset();
        quitRequested = 0;
        shutdownRequested = 0;
        exitStatus = 0;
        char buffer[4096];
        previous = getcwd(buffer, sizeof buffer) ? buffer : ".";
        ASSERT_EQ(chdir(dir.path.c_str()), 0);
    }
    void TearDown() override
    {
        EXPECT_EQ(chdir(previous.c_str()), 0);
        quitRequested = 0;
        shutdownRequested = 0;
        exitStatus = 0;
    }
};

}  // namespace

TEST(MissionReader, TheExampleFile)
{
    MissionParameters m{};
    EXPECT_EQ(parseMission("10\n20\n90\n150\n6\n30\n5\n-8\n", &m), 8);
    EXPECT_EQ(m.busX, 10.0f);
    EXPECT_EQ(m.busZ, 20.0f);
    EXPECT_EQ(m.busHeading, 90.0f);
    EXPECT_EQ(m.fuel, 150.0f);
    EXPECT_EQ(m.clockHours, 6.0f);
    EXPECT_EQ(m.clockMinutes, 30.0f);
    EXPECT_EQ(m.fuelPointX, 5.0f);
    EXPECT_EQ(m.fuelPointZ, -8.0f);
}

TEST(MissionReader, FewerValuesLeaveTheRest)
{
    MissionParameters m{1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(parseMission("10 20\n90", &m), 3);
    EXPECT_EQ(m.busHeading, 90.0f);
    EXPECT_EQ(m.fuel, 4.0f);
    EXPECT_EQ(m.fuelPointZ, 8.0f);
    EXPECT_EQ(parseMission("", &m), 0);
}

TEST(MissionReader, ADecimalCommaStopsEverythingAfterIt)
{
    MissionParameters m{1, 2, 3, 4, 5, 6, 7, 8};
    // "1,5" reads 1, then the comma fails and so does every later field.
    EXPECT_EQ(parseMission("1,5\n20\n30\n", &m), 1);
    EXPECT_EQ(m.busX, 1.0f);
    EXPECT_EQ(m.busZ, 2.0f);
    EXPECT_EQ(m.busHeading, 3.0f);
}

// One "%f" for every reader: each form as a lone value, then a 7 after it. A number that is not
// finite keeps its field and the reading goes on; a form that is no number stops it there.
TEST(NumberReader, FormsOfTheCLocaleInEveryReaderAndLocale)
{
    struct Row {
        const char* text;
        int result;  // SCAN_OK, SCAN_NOT_FINITE or SCAN_MISMATCH
        float value;
    };
    const Row rows[] = {
        {" +1.5", SCAN_OK, 1.5f},         {"\t-.25", SCAN_OK, -0.25f},    {"3e2", SCAN_OK, 300.0f},
        {"7.", SCAN_OK, 7.0f},            {"-1E-2", SCAN_OK, -0.01f},      {"0x1p3", SCAN_OK, 8.0f},
        {"-0X.8P1", SCAN_OK, -1.0f},      {"1e-50", SCAN_OK, 0.0f},        {"1e-400", SCAN_OK, 0.0f},
        {"1e-40", SCAN_OK, 1e-40f},       {"1e39", SCAN_NOT_FINITE, 0},    {"-3e400", SCAN_NOT_FINITE, 0},
        {"inf", SCAN_NOT_FINITE, 0},      {"-Infinity", SCAN_NOT_FINITE, 0}, {"nan", SCAN_NOT_FINITE, 0},
        {"0x1p200", SCAN_NOT_FINITE, 0},  {"infin", SCAN_MISMATCH, 0},     {"0x", SCAN_MISMATCH, 0},
        {"1e+", SCAN_MISMATCH, 0},        {"--1", SCAN_MISMATCH, 0},       {"- 1", SCAN_MISMATCH, 0},
        {",5", SCAN_MISMATCH, 0},
    };
    static Model model;
    auto runAll = [&](const char* locale) {
        for (const Row& r : rows) {
            const std::string text = std::string(r.text) + " 7";
            TextCursor c = textCursor(text.data(), text.size());
            float v = -9.0f;
            EXPECT_EQ(scanFloat(c, v), r.result) << r.text << locale;
            EXPECT_EQ(v, r.result == SCAN_OK ? r.value : -9.0f) << r.text << locale;
            const float kept = r.result == SCAN_OK ? r.value : -9.0f, next = r.result == SCAN_MISMATCH ? -9.0f : 7.0f;
            MissionParameters m{-9, -9, -9, -9, -9, -9, -9, -9};
            EXPECT_EQ(parseMission(text, &m), r.result == SCAN_MISMATCH ? 0 : 2) << r.text << locale;
            EXPECT_EQ(m.busX, kept) << r.text << locale;
            EXPECT_EQ(m.busZ, next) << r.text << locale;
            model.vertices[0][0] = model.vertices[0][1] = -9.0f;
            const std::string qx = "1\nl\n" + text + " 0 0 0 0 0 0 0 0 0 0 0 0 0 1\n";
            parseModel(model, qx.data(), qx.size(), nullptr);
            EXPECT_EQ(model.vertices[0][0], kept) << r.text << locale;
            EXPECT_EQ(model.vertices[0][1], next) << r.text << locale;
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

TEST(BusReader, ThirteenValuesOnOneLine)
{
    VehicleParameters p{};
    BusGeometry g{};
    EXPECT_EQ(parseBus("0.3 0.0004 0.002 250 0.1 0.2 0.85 -6 -5 -1 0 3 4", &p, &g), 13);
    EXPECT_FLOAT_EQ(p.topSpeed, 0.3f);
    EXPECT_FLOAT_EQ(p.accelStep, 0.0004f);
    EXPECT_FLOAT_EQ(p.brakeStep, 0.002f);
    EXPECT_FLOAT_EQ(p.fuelCapacity, 250.0f);
    EXPECT_FLOAT_EQ(g.frontLeftWheelZ, 0.1f);
    EXPECT_FLOAT_EQ(g.frontRightWheelZ, 0.2f);
    EXPECT_FLOAT_EQ(g.rearWheelsZ, 0.85f);
    EXPECT_FLOAT_EQ(g.door1LeafAZ, -6.0f);
    EXPECT_FLOAT_EQ(g.door3LeafBZ, 4.0f);
}

TEST(BusReader, ExtraValuesAreIgnoredAndTooFewLeaveTheRest)
{
    VehicleParameters p{};
    BusGeometry g{};
    g.door3LeafBZ = 42.0f;
    EXPECT_EQ(parseBus("1 2 3 4 5 6 7 8 9 10 11 12", &p, &g), 12);
    EXPECT_EQ(g.door3LeafAZ, 12.0f);
    EXPECT_EQ(g.door3LeafBZ, 42.0f);
    EXPECT_EQ(parseBus("1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", &p, &g), 13);
    EXPECT_EQ(g.door3LeafBZ, 13.0f);
}

TEST(BusReader, GarbageAndEmbeddedZeroBytesStopTheRead)
{
    VehicleParameters p{7, 7, 7, 7};
    BusGeometry g{};
    const std::string text("0.5\0 0.1", 8);
    EXPECT_EQ(parseBus(text, &p, &g), 1);
    EXPECT_EQ(p.topSpeed, 0.5f);
    EXPECT_EQ(p.accelStep, 7.0f);
    EXPECT_EQ(parseBusParameters(nullptr, 10, &p, &g), 0);
}

TEST(StopReader, TheExampleFile)
{
    RouteTable t{};
    EXPECT_EQ(parseStopText("2\n3 -4\n7.5 12\n", &t), 5);
    EXPECT_EQ(t.stopCount, 2);
    EXPECT_EQ(t.stopX[0], 3.0f);
    EXPECT_EQ(t.stopZ[0], -4.0f);
    EXPECT_EQ(t.stopX[1], 7.5f);
    EXPECT_EQ(t.stopZ[1], 12.0f);
}

TEST(StopReader, CountZeroReadsNoPairs)
{
    RouteTable t{};
    t.stopX[0] = 99.0f;
    EXPECT_EQ(parseStopText("0\n1 2\n", &t), 1);
    EXPECT_EQ(t.stopCount, 0);
    EXPECT_EQ(t.stopX[0], 99.0f);
}

TEST(StopReader, CountAboveTheTableReadsAtMostOneHundred)
{
    std::string text = "101\n";
    for (int i = 0; i < 101; ++i)
        text += std::to_string(i) + " " + std::to_string(-i) + "\n";
    RouteTable t{};
    t.fuelPointX = 55.0f;  // lies right after the arrays: must survive
    EXPECT_EQ(parseStopText(text, &t), 1 + 2 * MAX_STOPS);
    EXPECT_EQ(t.stopCount, MAX_STOPS);
    EXPECT_EQ(t.stopX[99], 99.0f);
    EXPECT_EQ(t.stopZ[99], -99.0f);
    EXPECT_EQ(t.fuelPointX, 55.0f);
    EXPECT_EQ(parseStopText("2147483647999\n1 2", &t), 3);
    EXPECT_EQ(t.stopCount, MAX_STOPS);
}

TEST(StopReader, NegativeCountMeansNone)
{
    RouteTable t{};
    EXPECT_EQ(parseStopText("-1\n1 2\n", &t), 1);
    EXPECT_EQ(t.stopCount, 0);
}

TEST(StopReader, ShortOrBrokenPairsLeaveTheRestOfTheTable)
{
    RouteTable t{};
    t.stopZ[1] = 5.0f;
    t.stopX[2] = 6.0f;
    EXPECT_EQ(parseStopText("3\n1 1\n2 x 3 3\n", &t), 4);
    EXPECT_EQ(t.stopCount, 3) << "the count is taken as read";
    EXPECT_EQ(t.stopX[1], 2.0f);
    EXPECT_EQ(t.stopZ[1], 5.0f);
    EXPECT_EQ(t.stopX[2], 6.0f);
    RouteTable u{};
    u.stopCount = 7;
    EXPECT_EQ(parseStopText("seven", &u), 0);
    EXPECT_EQ(u.stopCount, 7) << "a count that fails to convert leaves the old one";
    EXPECT_EQ(parseStopText("2.5 1", &u), 3);
    EXPECT_EQ(u.stopCount, 2);
    EXPECT_EQ(u.stopX[0], 0.5f) << "%d stops at the point, %f takes the rest";
}

using GameReaders = InDataTree;

TEST_F(GameReaders, BusChoiceZeroReadsTheUrbinoFile)
{
    writeFile("Dane/Autobusy/Urbino12/Parametry.busa", "0.25\n0.001\n0.003\n300\n1\n2\n3\n4\n5\n6\n7\n8\n9\n");
    writeFile("Dane/Autobusy/Volvo7000/Parametry.busa", "0.5\n");
    busChoice = 0;
    loadBusParameters();
    busChoice = 1;
    EXPECT_FLOAT_EQ(vehicleParams.topSpeed, 0.25f);
    EXPECT_FLOAT_EQ(busGeometry.door3LeafBZ, 9.0f);
    loadBusParameters();
    EXPECT_FLOAT_EQ(vehicleParams.topSpeed, 0.5f);
    EXPECT_FLOAT_EQ(vehicleParams.accelStep, 0.001f) << "the rest stays as it was";
    EXPECT_TRUE(fakeMessages.empty());
    EXPECT_EQ(exitStatus, 0);
}

TEST_F(GameReaders, TheMissionFileFillsTheRunState)
{
    writeFile("Dane/Rozklady/128/Parametry.misji", "10\n20\n90\n150\n6\n30\n5\n-8\n");
    loadMissionParameters();
    EXPECT_EQ(vehicle.busX, 10.0f);
    EXPECT_EQ(vehicle.busZ, 20.0f);
    EXPECT_EQ(vehicle.busHeading, 90.0f);
    EXPECT_EQ(engine.fuel, 150.0f);
    EXPECT_EQ(gameClock.clockHours, 6.0f);
    EXPECT_EQ(gameClock.clockMinutes, 30.0f);
    EXPECT_EQ(route.fuelPointX, 5.0f);
    EXPECT_EQ(route.fuelPointZ, -8.0f) << "world Z 8";
}

TEST_F(GameReaders, TheStopFileFillsTheTable)
{
    writeFile("Dane/Rozklady/128/Przystanki.roz", "2\n3 -4\n7.5 12\n");
    route.fuelPointX = 3.0f;
    loadStops();
    EXPECT_EQ(route.stopCount, 2);
    EXPECT_EQ(route.stopX[1], 7.5f);
    EXPECT_EQ(route.fuelPointX, 3.0f) << "the stop file leaves the refuelling point alone";
}

TEST_F(GameReaders, AMissingFileIsAFailureNamingIt)
{
    struct Case {
        void (*load)();
        const char* path;
    };
    const Case cases[] = {{loadBusParameters, "Dane/Autobusy/Volvo7000/Parametry.busa"},
                          {loadMissionParameters, "Dane/Rozklady/128/Parametry.misji"},
                          {loadStops, "Dane/Rozklady/128/Przystanki.roz"}};
    busChoice = 1;
    for (const Case& c : cases) {
        fakeMessages.clear();
        quitRequested = 0;
        exitStatus = 0;
        engine.fuel = 33.0f;
        route.stopCount = 4;
        c.load();
        ASSERT_EQ(fakeMessages.size(), 1u) << c.path;
        EXPECT_NE(fakeMessages[0].text.find(c.path), std::string::npos) << fakeMessages[0].text;
        EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
        EXPECT_EQ(exitStatus, 1);
        EXPECT_EQ(quitRequested, 1);
        EXPECT_EQ(shutdownRequested, 1);
        EXPECT_EQ(engine.fuel, 33.0f) << "nothing read";
        EXPECT_EQ(route.stopCount, 4);
    }
}

TEST(FileReaders, ExplicitPathsAndUnreadableOnes)
{
    TempDir dir;
    writeFile(dir.file("a.roz"), "1\n4 5\n");
    RouteTable t{};
    EXPECT_TRUE(readStopsFile(dir.file("a.roz").c_str(), &t));
    EXPECT_EQ(t.stopZ[0], 5.0f);
    EXPECT_FALSE(readStopsFile(dir.file("missing.roz").c_str(), &t));
    EXPECT_FALSE(readStopsFile(dir.path.c_str(), &t)) << "a folder cannot be read";
    ASSERT_EQ(mkfifo(dir.file("pipe.roz").c_str(), 0600), 0);
    EXPECT_FALSE(readStopsFile(dir.file("pipe.roz").c_str(), &t)) << "a pipe is refused, not waited on";
    writeFile(dir.file("huge.roz"), "1\n4 5\n");
    ASSERT_EQ(truncate(dir.file("huge.roz").c_str(), (64 << 20) + 1), 0);
    EXPECT_FALSE(readStopsFile(dir.file("huge.roz").c_str(), &t)) << "larger than any data file";
    EXPECT_FALSE(readStopsFile(nullptr, &t));
    MissionParameters m{};
    EXPECT_FALSE(readMissionParametersFile(dir.file("none").c_str(), &m));
}
