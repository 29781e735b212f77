// A route imported from the town extract kept with the tests, through the real programs: the
// checker takes the tree, the autopilot serves every stop, and the game draws the town at the
// start, before a stop and before the crossing (the bus put there by the mission file).
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>
#include <vector>

namespace {

constexpr const char* ROUTE = "2211942";

struct Point { float x, z; };

// A count, then that many points of `stride` numbers: x and model z in a run file; in a model (a
// label line first) a triangle's first vertex, x y z.
std::vector<Point> readPoints(const std::string& path, int stride, bool model = false)
{
    std::ifstream in(path);
    int count = 0;
    in >> count;
    std::string label;
    if (model) {
        std::getline(in, label);
        std::getline(in, label);
    }
    std::vector<Point> points;
    for (int i = 0; i < count && in; ++i) {
        std::vector<float> v(static_cast<size_t>(stride));
        for (float& f : v)
            in >> f;
        points.push_back({v[0], v[model ? 2 : 1]});
    }
    return points;
}

// The mission file's start moved onto the lane `back` metres before the lane point nearest `target`,
// facing along the lane. The lane and the file hold model z, the start world Z (its negative).
void startBefore(const std::string& tree, const Point& target, float back)
{
    const std::vector<Point> lane = readPoints(tree + "/Dane/Rozklady/128/Pas.trasy", 2);
    size_t i = 0;
    for (size_t k = 1; k < lane.size(); ++k)
        if (std::hypot(lane[k].x - target.x, lane[k].z - target.z) < std::hypot(lane[i].x - target.x, lane[i].z - target.z))
            i = k;
    for (float gone = 0.0f; i > 0 && gone < back; --i)
        gone += std::hypot(lane[i].x - lane[i - 1].x, lane[i].z - lane[i - 1].z);
    const float dx = lane[i + 1].x - lane[i].x;
    const float dz = lane[i + 1].z - lane[i].z;
    const float heading = std::atan2(dx, -dz) * 57.29578f;
    std::ifstream old(tree + "/Dane/Rozklady/128/Parametry.misji");
    float values[8] = {};
    for (float& v : values)
        old >> v;
    std::ostringstream mission;
    mission << lane[i].x << "\n" << -lane[i].z << "\n" << heading << "\n";
    for (int k = 3; k < 8; ++k)
        mission << values[k] << "\n";
    writeFile(tree + "/Dane/Rozklady/128/Parametry.misji", mission.str());
}

// Colours (in steps of 32) in the view above the dashboard: sky and one flat colour give a few.
size_t coloursAboveDashboard(const Screenshot& s)
{
    std::set<int> colours;
    s.each(0, 0, s.width, s.height * 55 / 100,
           [&](const uint8_t* p) { colours.insert((p[0] / 32) * 64 + (p[1] / 32) * 8 + p[2] / 32); });
    return colours.size();
}

struct ImportedRoute : ::testing::Test {
    TempDir dir;
    std::string tree;
    void SetUp() override
    {
        tree = dir.file("town");
        const std::string extract = std::string(VELBRANT_SOURCE_DIR) + "/tests/data/osm/monaco-bus2.osm.pbf";
        const CommandResult r = runCommand("'" + builtProgram("velbrant-data") + "' --osm '" + extract +
                                           "' --route " + ROUTE + " '" + tree + "'");
        ASSERT_EQ(r.status, 0) << r.err;
    }
};

}  // namespace

TEST_F(ImportedRoute, TheCheckerFindsItPlayable)
{
    const CommandResult r = runCommand("'" + builtProgram("velbrant-check") + "' '" + tree + "'");
    EXPECT_EQ(r.status, 0) << r.out;
}

TEST_F(ImportedRoute, TheAutopilotServesEveryStopAndGetsAVerdict)
{
    const size_t stops = readPoints(tree + "/Dane/Rozklady/128/Przystanki.roz", 2).size();
    const CommandResult r =
        runCommand("'" + builtProgram("velbrant-sim") + "' --data '" + tree + "' --autopilot --every 1000000");
    ASSERT_EQ(r.status, 0) << r.err;
    // tick,speed,kmh,heading,x,z,gear,engine,fuel,doors,sounds,stop,onboard,penalty,finished,verdict,...
    // (the sounds are quoted but hold no comma)
    std::istringstream last(r.out.substr(r.out.rfind('\n', r.out.size() - 2) + 1));
    std::vector<std::string> cells;
    for (std::string cell; cells.size() < 16 && std::getline(last, cell, ',');)
        cells.push_back(cell);
    ASSERT_EQ(cells.size(), 16u) << r.out;
    EXPECT_EQ(cells[11], std::to_string(stops - 1)) << "the final stop";
    EXPECT_EQ(cells[14], "1") << "finished";
    EXPECT_FALSE(cells[15].empty()) << "a verdict";
}

// Start, a little before the second stop, before the crossing: each a real start of the game.
TEST_F(ImportedRoute, TheGameDrawsTheTownAtTheStartAStopAndTheCrossing)
{
    SKIP_WITHOUT_DISPLAY();
    const std::vector<Point> stops = readPoints(tree + "/Dane/Rozklady/128/Przystanki.roz", 2);
    const std::vector<Point> lamp = readPoints(tree + "/Dane/Trasy/Test/ZielonyA.qx", 16, true);
    ASSERT_GT(stops.size(), 1u);
    // Where, and how far back along the lane the bus stands (0: the start as imported).
    const std::vector<std::tuple<std::string, Point, float>> places = {
        {"start", {0, 0}, 0.0f}, {"stop", stops[1], 25.0f}, {"crossing", lamp.empty() ? stops[1] : lamp[0], 12.0f}};
    for (const auto& [name, place, back] : places) {
        if (back > 0.0f)
            startBefore(tree, place, back);
        Spawned game = startGame(tree, {"V"});
        const std::string path = screenshotDir() + "/osm-" + name + ".png";
        Screenshot shot;
        const bool drawn = waitForPicture(path, 60.0, [](const Screenshot& s) {
            return s.ok() && s.litFraction(0, 0, s.width, s.height / 2) > 0.9;
        }, &shot);
        pause(1500);
        shot = takeScreenshot(path);
        stopProgram(game);
        EXPECT_TRUE(drawn) << name;
        EXPECT_GT(coloursAboveDashboard(shot), 40u) << name << ": " << path;
    }
}
