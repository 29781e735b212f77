// The bus, mission and stop readers on good, boundary and hostile text, from memory and from
// the game's own paths.
#include "core/game.h"
#include "assets/params.h"
#include "sim/state.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
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

TEST(MissionReader, NonFiniteValuesCountAsFailures)
{
    for (const char* text : {"nan 1 2", "inf 1 2", "1e99 1 2", "-nan 1"}) {
        MissionParameters m{1, 2, 3, 4, 5, 6, 7, 8};
        EXPECT_EQ(parseMission(text, &m), 0) << text;
        EXPECT_EQ(m.busX, 1.0f) << text;
    }
}

TEST(MissionReader, NumberSyntaxAsScanfTakesIt)
{
    MissionParameters m{};
    EXPECT_EQ(parseMission(" +1.5\t-.25\r\n3e2 7. 0x 9", &m), 5);
    EXPECT_EQ(m.busX, 1.5f);
    EXPECT_EQ(m.busZ, -0.25f);
    EXPECT_EQ(m.busHeading, 300.0f);
    EXPECT_EQ(m.fuel, 7.0f);
    EXPECT_EQ(m.clockHours, 0.0f) << "the 0 of 0x";
    EXPECT_EQ(m.clockMinutes, 0.0f) << "x fails";
    MissionParameters n{9, 9, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(parseMission("--1 2", &n), 0);
    EXPECT_EQ(parseMission("- 1", &n), 0);
    EXPECT_EQ(n.busX, 9.0f);
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

TEST(ParamsLocale, ReadsAPointWhateverTheUsersLocale)
{
    TempDir locales;
    const CommandResult made =
        runCommand("localedef -i pl_PL -f UTF-8 '" + locales.path + "/pl_PL.UTF-8' >/dev/null 2>&1");
    if (made.status != 0)
        GTEST_SKIP() << "no localedef with pl_PL sources here";
    setenv("LOCPATH", locales.path.c_str(), 1);
    const char* set = std::setlocale(LC_ALL, "pl_PL.UTF-8");
    if (set == nullptr) {
        unsetenv("LOCPATH");
        GTEST_SKIP() << "the generated locale did not load";
    }
    ASSERT_EQ(std::atof("1,5"), 1.5) << "the locale really uses a decimal comma";
    MissionParameters m{};
    EXPECT_EQ(parseMission("1.5 2.25", &m), 2);
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
    EXPECT_EQ(m.busX, 1.5f);
    EXPECT_EQ(m.busZ, 2.25f);
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
    EXPECT_FALSE(readStopsFile(nullptr, &t));
    MissionParameters m{};
    EXPECT_FALSE(readMissionParametersFile(dir.file("none").c_str(), &m));
}
