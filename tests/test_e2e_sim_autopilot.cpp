// The headless driver on the generated data tree: the autopilot finishes the route with a
// verdict, deterministically, and its recorded keys replay the same run; a plain key script.
#include "assets/params.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> splitCsv(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

std::string sim(const std::string& arguments)
{
    return "'" + builtProgram("velbrant-sim") + "' --data '" + generatedTree() + "' " + arguments;
}

int column(const std::vector<std::string>& header, const std::string& name)
{
    for (size_t i = 0; i < header.size(); ++i)
        if (header[i] == name)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

TEST(HeadlessDriver, AutopilotFinishesTheRouteDeterministicallyAndReplays)
{
    TempDir work;
    const CommandResult first = runCommand(sim("--autopilot --every 100 --keys-out '" + work.file("keys.txt") + "'"));
    ASSERT_EQ(first.status, 0) << first.err;
    const std::vector<std::string> rows = lines(first.out);
    ASSERT_GT(rows.size(), 10u);
    const std::vector<std::string> header = splitCsv(rows.front());
    const std::vector<std::string> last = splitCsv(rows.back());
    ASSERT_EQ(header.size(), last.size());
    const char* const expected[] = {"tick", "speed", "kmh",   "heading",  "x",       "z",     "gear",
                                    "engine", "fuel", "doors", "sounds",  "stop",    "onboard", "penalty",
                                    "finished", "verdict", "clock", "lights", "carx", "carz"};
    for (size_t i = 0; i < sizeof expected / sizeof expected[0]; ++i)
        EXPECT_EQ(header[i], expected[i]);
    EXPECT_EQ(last[column(header, "finished")], "1");
    EXPECT_FALSE(last[column(header, "verdict")].empty());
    EXPECT_EQ(last[column(header, "speed")], "0.00000");
    RouteTable stops{};
    ASSERT_TRUE(readStopsFile((generatedTree() + "/Dane/Rozklady/128/Przystanki.roz").c_str(), &stops));
    EXPECT_EQ(std::stoi(last[column(header, "stop")]), stops.stopCount - 1);
    // A careful driver: never above 65 km/h.
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(std::stod(splitCsv(rows[i])[column(header, "kmh")]), 65.0) << rows[i];

    const CommandResult second = runCommand(sim("--autopilot --every 100"));
    ASSERT_EQ(second.status, 0);
    EXPECT_EQ(second.out, first.out) << "two runs, same output";

    const CommandResult replay = runCommand(sim("--every 100 '" + work.file("keys.txt") + "'"));
    ASSERT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(replay.out, first.out) << "the recorded keys replay the same run";
}

TEST(HeadlessDriver, ThrottleAndBrakeScriptRisesThroughTheBandsAndStops)
{
    TempDir work;
    writeFile(work.file("drive.txt"),
              "# start, forward gear, ten seconds of throttle, brake\n"
              "0 40 s\n41 42 q\n42 542 Up\n542 800 Down   # hold the brake\n");
    const CommandResult a = runCommand(sim("'" + work.file("drive.txt") + "'"));
    ASSERT_EQ(a.status, 0) << a.err;
    const std::vector<std::string> rows = lines(a.out);
    ASSERT_EQ(rows.size(), 801u) << "header and ticks 0..799";
    const std::vector<std::string> header = splitCsv(rows.front());
    const int speed = column(header, "speed");
    const int freq = column(header, "freq");
    ASSERT_GE(freq, 0);
    double top = 0.0;
    int drops = 0;
    int previous = 0;
    for (int t = 42; t < 542; ++t) {
        const std::vector<std::string> row = splitCsv(rows[t + 1]);
        top = std::max(top, std::stod(row[speed]));
        const int f = std::stoi(row[freq]);
        drops += f < previous ? 1 : 0;
        previous = f;
    }
    EXPECT_GT(top, 0.16) << "into the third band";
    EXPECT_GE(drops, 2) << "the engine pitch drops at each band";
    EXPECT_EQ(splitCsv(rows.back())[speed], "0.00000");
    const CommandResult b = runCommand(sim("'" + work.file("drive.txt") + "'"));
    EXPECT_EQ(a.out, b.out);
    // The same script on standard input.
    const CommandResult c = runCommand(sim("- < '" + work.file("drive.txt") + "'"));
    EXPECT_EQ(a.out, c.out);
}

TEST(HeadlessDriver, RejectsUnknownKeysAndBadArguments)
{
    TempDir work;
    writeFile(work.file("bad.txt"), "0 10 Shift_L\n");
    const CommandResult bad = runCommand(sim("'" + work.file("bad.txt") + "'"));
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.err.find("Shift_L"), std::string::npos);
    EXPECT_EQ(runCommand(sim("--every 0 -")).status, 2);
    EXPECT_EQ(runCommand(sim("")).status, 2);
    const CommandResult noData =
        runCommand("'" + builtProgram("velbrant-sim") + "' --ticks 5 -  < /dev/null", work.path);
    EXPECT_NE(noData.status, 0) << "no run files in an empty folder";
    EXPECT_NE(noData.err.find("Parametry.busa"), std::string::npos);
}

TEST(GeneratedTree, RunFilesReadBackThroughTheGameReaders)
{
    const std::string root = generatedTree() + "/Dane/";
    VehicleParameters volvo{};
    VehicleParameters urbino{};
    BusGeometry volvoGeometry{};
    BusGeometry urbinoGeometry{};
    ASSERT_TRUE(readBusParametersFile((root + "Autobusy/Volvo7000/Parametry.busa").c_str(), &volvo, &volvoGeometry));
    ASSERT_TRUE(readBusParametersFile((root + "Autobusy/Urbino12/Parametry.busa").c_str(), &urbino, &urbinoGeometry));
    for (const VehicleParameters* p : {&volvo, &urbino}) {
        EXPECT_GT(p->topSpeed, 0.293f) << "speeding must be possible";
        EXPECT_GT(p->accelStep, 0.0f);
        EXPECT_GT(p->brakeStep, p->accelStep);
        EXPECT_GT(p->fuelCapacity, 100.0f);
    }
    EXPECT_NE(volvo.topSpeed, urbino.topSpeed);
    EXPECT_NE(volvo.accelStep, urbino.accelStep);
    EXPECT_NE(volvo.brakeStep, urbino.brakeStep);
    EXPECT_NE(volvo.fuelCapacity, urbino.fuelCapacity);
    EXPECT_NE(volvoGeometry.rearWheelsZ, urbinoGeometry.rearWheelsZ);
    EXPECT_NE(volvoGeometry.door2LeafAZ, urbinoGeometry.door2LeafAZ);
    for (const BusGeometry* g : {&volvoGeometry, &urbinoGeometry}) {
        EXPECT_LT(g->door1LeafAZ, g->door1LeafBZ);
        EXPECT_LT(g->door1LeafBZ, g->door2LeafAZ);
        EXPECT_LT(g->door2LeafBZ, g->door3LeafAZ);
    }

    MissionParameters m{};
    ASSERT_TRUE(readMissionParametersFile((root + "Rozklady/128/Parametry.misji").c_str(), &m));
    EXPECT_GT(m.fuel, 0.0f);
    EXPECT_LT(m.fuel, volvo.fuelCapacity);
    EXPECT_GE(m.clockHours, 0.0f);
    EXPECT_LT(m.clockHours, 24.0f);
    EXPECT_LT(m.clockMinutes, 60.0f);

    RouteTable t{};
    ASSERT_TRUE(readStopsFile((root + "Rozklady/128/Przystanki.roz").c_str(), &t));
    EXPECT_GE(t.stopCount, 8);
    // The first stop lies ahead of the start, not within reach of it.
    const float dx = m.busX - t.stopX[0];
    const float dz = m.busZ + t.stopZ[0];
    EXPECT_GT(dx * dx + dz * dz, 25.0f * 25.0f);
}
