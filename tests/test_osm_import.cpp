// The route importer on the hand-made extract of hard cases and its broken variants, and on the
// cut of the real town: chaining, stops, the crossing, buildings, bad input, the same bytes.
#include "support/test_util.h"
#include "tools/osm/osm_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

const std::string HARD_CASES = readFile(std::string(VELBRANT_SOURCE_DIR) + "/tests/data/osm/hard-cases.osm");

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

OsmPlan planOf(const std::string& text, int firstStop = 0, int lastStop = 0)
{
    OsmExtract ex;
    return importPlan(OsmSource{"", text.data(), text.size(), "osm"}, OsmOptions{100, firstStop, lastStop, 360}, ex);
}

bool hasProblem(const OsmPlan& plan, const std::string& text)
{
    for (const std::string& p : plan.problems)
        if (p == text)
            return true;
    return false;
}

}  // namespace

TEST(OsmImport, ChainsUnorderedReversedWaysRoundTheRoundabout)
{
    OsmExtract ex;
    const OsmSource source{"", HARD_CASES.data(), HARD_CASES.size(), "osm"};
    importPlan(source, OsmOptions{100, 0, 0, 360}, ex);
    const OsmRelation route{100, {}, {{'w', 101, ""}, {'w', 103, ""}, {'w', 102, ""}, {'w', 104, ""}, {'w', 105, ""}}};
    const OsmChain chain = chainRoute(route, ex, projectionAt(50.0, 20.0), 1);
    EXPECT_EQ(chain.nodes, (std::vector<int64_t>{1, 2, 3, 12, 11, 21, 20, 30, 31, 33}));
}

TEST(OsmImport, BridgesAGapOverAShortRoad)
{
    const OsmPlan plan = planOf(HARD_CASES);
    EXPECT_TRUE(hasProblem(plan, "gap of 7 m after way 104 (before way 105) bridged over the road"));
}

TEST(OsmImport, ReportsAOneWayStreetDrivenAgainst)
{
    const OsmPlan plan = planOf(replaced(HARD_CASES, "\"oneway\" v=\"yes\"", "\"oneway\" v=\"-1\""));
    EXPECT_TRUE(hasProblem(plan, "one-way conflict on way 104"));
}

TEST(OsmImport, TakesStopsOfBothTaggingSchemesInRouteOrder)
{
    const OsmPlan plan = planOf(HARD_CASES);
    EXPECT_EQ(plan.stopNames, (std::vector<std::string>{"Alpha", "Delta", "Beta", "Gamma"}));
}

TEST(OsmImport, KeepsOnlyTheChosenSectionOfStops)
{
    const OsmPlan plan = planOf(HARD_CASES, 2, 3);
    EXPECT_EQ(plan.stopNames, (std::vector<std::string>{"Delta", "Beta"}));
}

TEST(OsmImport, PutsTheLightsAtTheSignalledJunction)
{
    const OsmPlan plan = planOf(HARD_CASES);
    const P2 signal = project(plan.projection, 50.0, 20.0 + 455.0 / (111195.0 * std::cos(50.0 * 3.14159265 / 180.0)));
    EXPECT_LT(std::hypot(plan.crossing.x - signal.x, plan.crossing.z - signal.z), 1.0f);
}

TEST(OsmImport, KeepsTheCourtyardOfAMultipolygonBuilding)
{
    const OsmPlan plan = planOf(HARD_CASES);
    const auto courtyard = std::find_if(plan.buildings.begin(), plan.buildings.end(),
                                        [](const OsmBuilding& b) { return b.holes.size() == 1; });
    ASSERT_NE(courtyard, plan.buildings.end());
    EXPECT_EQ(courtyard->height, 12.0f);
}

TEST(OsmImport, TakesABuildingsHeightFromItsLevels)
{
    const OsmPlan plan = planOf(HARD_CASES);
    const auto levels = std::find_if(plan.buildings.begin(), plan.buildings.end(),
                                     [](const OsmBuilding& b) { return b.holes.empty(); });
    ASSERT_NE(levels, plan.buildings.end());
    EXPECT_FLOAT_EQ(levels->height, 4 * 3.2f + 1.0f);
}

TEST(OsmImport, WritesTheSameFiniteBytesOnEveryRun)
{
    TempDir root;
    const std::string pbf = std::string(VELBRANT_SOURCE_DIR) + "/tests/data/osm/monaco-bus2.osm.pbf";
    const OsmSource source{pbf, nullptr, 0, ""};
    importRoute(source, OsmOptions{2211942, 0, 0, 360}, root.file("a"));
    importRoute(source, OsmOptions{2211942, 0, 0, 360}, root.file("b"));
    const CommandResult diff = runCommand("diff -r a b", root.path);
    EXPECT_EQ(diff.status, 0) << diff.out;
    EXPECT_EQ(readFile(root.file("a/Dane/Trasy/Test/Plansza.qx")).find("nan"), std::string::npos);
}

struct BadInput {
    const char* name;
    std::string text;
    int64_t relation;
    const char* message;
};

void PrintTo(const BadInput& input, std::ostream* os)
{
    *os << input.name;
}

std::string manyStops()
{
    std::string text = "<osm version=\"0.6\">\n";
    std::string way = "<way id=\"1\"><tag k=\"highway\" v=\"primary\"/>", rel = "<relation id=\"100\">";
    for (int i = 0; i < 102; ++i) {
        const std::string id = std::to_string(i + 1);
        text += "<node id=\"" + id + "\" lat=\"50\" lon=\"" + std::to_string(20.0 + i * 0.0005) + "\"/>\n";
        text += "<node id=\"" + std::to_string(i + 1001) + "\" lat=\"49.99995\" lon=\"" + std::to_string(20.0 + i * 0.0005) +
                "\"><tag k=\"highway\" v=\"bus_stop\"/><tag k=\"name\" v=\"S" + id + "\"/></node>\n";
        way += "<nd ref=\"" + id + "\"/>";
        rel += "<member type=\"node\" ref=\"" + std::to_string(i + 1001) + "\" role=\"\"/>";
    }
    return text + way + "</way>\n" + rel +
           "<member type=\"way\" ref=\"1\" role=\"\"/><tag k=\"type\" v=\"route\"/><tag k=\"route\" v=\"bus\"/></relation></osm>\n";
}

class OsmBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(OsmBadInput, IsRefusedWithItsMessageLeavingTheFolderUntouched)
{
    TempDir parent;
    const fs::path dir = fs::path(parent.path) / "tree";  // made by the file written into it
    writeFile((dir / "mine.txt").string(), "kept");
    const std::string& text = GetParam().text;
    std::string message;
    try {
        importRoute(OsmSource{"", text.data(), text.size(), "osm"}, OsmOptions{GetParam().relation, 0, 0, 360}, dir.string());
    } catch (const std::exception& e) {
        message = e.what();
    }
    EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
    EXPECT_EQ(readFile((dir / "mine.txt").string()), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(parent.path), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Osm, OsmBadInput,
    ::testing::Values(
        BadInput{"absent", HARD_CASES, 999, "relation 999 is not a bus route of the file"},
        BadInput{"tram", HARD_CASES, 400, "relation 400 is not a bus route of the file"},
        BadInput{"missing", replaced(HARD_CASES, "ref=\"105\" role", "ref=\"999\" role"), 100,
                 "way 999 of relation 100 is missing from the extract"},
        BadInput{"oneStop", replaced(replaced(replaced(HARD_CASES, "ref=\"53\" role", "ref=\"1\" role"), "ref=\"52\" role", "ref=\"1\" role"),
                                     "ref=\"54\" role", "ref=\"1\" role"), 100, "relation 100 has 1 stops on its road; a run needs at least two"},
        BadInput{"manyStops", manyStops(), 100, "import a section with --stops 1-100"},
        BadInput{"truncated", HARD_CASES.substr(0, HARD_CASES.size() / 2), 100, "cannot read the map file"},
        BadInput{"antimeridian", replaced(replaced(HARD_CASES, "lat=\"50.0000000\" lon=\"20.0000000\"", "lat=\"50\" lon=\"179.9\""),
                                          "lon=\"20.0020986\"", "lon=\"-179.9\""), 100, "crosses the antimeridian"},
        BadInput{"farApart", replaced(HARD_CASES, "lon=\"20.0020986\"", "lon=\"40.0020986\""), 100,
                 "more than the flat world's 50 km"},
        BadInput{"pole", replaced(HARD_CASES, "lat=\"50.0000000\" lon=\"20.0000000\"", "lat=\"85\" lon=\"20\""), 100, "too near a pole"},
        BadInput{"noName", replaced(HARD_CASES, "v=\"Beta\"", "v=\" \""), 100, "stop node 52 of relation 100 has no name"},
        BadInput{"zeroLength", replaced(HARD_CASES, "<nd ref=\"31\"/>\n    <nd ref=\"33\"/>", "<nd ref=\"31\"/>\n    <nd ref=\"31\"/>"),
                 100, "way 105 has zero length"},
        BadInput{"selfCrossing", replaced(HARD_CASES, "<nd ref=\"1\"/>\n    <nd ref=\"2\"/>", "<nd ref=\"1\"/><nd ref=\"3\"/><nd ref=\"12\"/><nd ref=\"64\"/><nd ref=\"2\"/>"),
                 100, "way 101 crosses itself"},
        BadInput{"gap", replaced(HARD_CASES, "<nd ref=\"31\"/>\n    <nd ref=\"33\"/>", "<nd ref=\"73\"/>\n    <nd ref=\"33\"/>"), 100,
                 "after way 104 (before way 105): no short drivable road bridges it"},
        BadInput{"leftHand", replaced(HARD_CASES, "<tag k=\"ref\" v=\"7\"/>", "<tag k=\"driving_side\" v=\"left\"/>"), 100,
                 "drives on the left"}),
    [](const ::testing::TestParamInfo<BadInput>& info) { return std::string(info.param.name); });

// Found by fuzzing: a bridge that drives back the way it came turns the road straight round, where
// a rounded corner once flung the road millions of metres away and the lane's normals cancelled.
TEST(OsmImport, ARoadThatTurnsStraightBackStaysWhereItsWaysAre)
{
    const std::string text = readFile(std::string(VELBRANT_SOURCE_DIR) + "/tests/data/osm/turn-back.opl");
    OsmExtract ex;
    const OsmPlan plan = importPlan(OsmSource{"", text.data(), text.size(), "opl"}, OsmOptions{100, 0, 0, 360}, ex);
    int astray = 0;
    for (const RoutePoint& p : plan.lane.points)
        astray += !(std::hypot(p.x, p.z) < 1000.0f);
    EXPECT_EQ(astray, 0) << "lane points not finite or over 1 km from the route's origin";
}
