// The game's views under X showing a street: sky above, road below, the cab from the driver's
// seat, the buses' liveries and the second car, at the depot, a stop and the crossing; a run
// started from the command line ends on Escape. Screenshots stay in the build's screenshots folder.
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Place {
    std::string name;
    float worldX, worldZ, heading;
};

std::vector<Place> places()
{
    std::ifstream mission(generatedTree() + "/Dane/Rozklady/128/Parametry.misji");
    float x = 0, z = 0, h = 0;
    mission >> x >> z >> h;
    std::ifstream stopsFile(generatedTree() + "/Dane/Rozklady/128/Przystanki.roz");
    int n = 0;
    stopsFile >> n;
    std::vector<std::pair<float, float>> stops(static_cast<size_t>(n));
    for (auto& s : stops)
        stopsFile >> s.first >> s.second;
    std::vector<Place> out{{"depot", x, z, h}};
    // Stop 4 (west side, heading north) and the approach to the crossing on the east side.
    if (n > 4)
        out.push_back({"stop5", stops[4].first, -stops[4].second, 180.0f});
    out.push_back({"crossing", x, z + 148.0f, h});
    return out;
}

void writeMission(const std::string& tree, const Place& p)
{
    std::ifstream in(tree + "/Dane/Rozklady/128/Parametry.misji");
    std::vector<std::string> v;
    for (std::string s; in >> s;)
        v.push_back(s);
    ASSERT_EQ(v.size(), 8u);
    std::ostringstream out;
    out << p.worldX << "\n" << p.worldZ << "\n" << p.heading << "\n";
    for (size_t i = 3; i < 8; ++i)
        out << v[i] << "\n";
    writeFile(tree + "/Dane/Rozklady/128/Parametry.misji", out.str());
}

struct Rgbd {
    double r, g, b;
};

Rgbd meanOf(const Screenshot& s, double fx0, double fy0, double fx1, double fy1)
{
    double m[3];
    s.mean(static_cast<int>(fx0 * s.width), static_cast<int>(fy0 * s.height), static_cast<int>(fx1 * s.width),
           static_cast<int>(fy1 * s.height), m);
    return Rgbd{m[0], m[1], m[2]};
}

long pixelsNear(const Screenshot& s, int r, int g, int b, int tolerance)
{
    long n = 0;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            const uint8_t* p = s.at(x, y);
            if (std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance && std::abs(p[2] - b) <= tolerance)
                ++n;
        }
    return n;
}

struct Views : ::testing::Test {
    TempDir dir, runtime;
    Spawned game;
    void SetUp() override
    {
        if (!haveDisplay())
            GTEST_SKIP() << "no X display";
    }
    void TearDown() override { stopProgram(game); }

    std::map<std::string, Screenshot> capture(const std::string& letter, const Place& p)
    {
        const std::string tree = dir.path + "/tree-" + letter + "-" + p.name;
        fs::copy(generatedTree(), tree, fs::copy_options::recursive);
        writeMission(tree, p);
        game = spawnProgram(builtProgram("velbrant"), {letter}, tree, {"XDG_RUNTIME_DIR=" + runtime.path});
        EXPECT_TRUE(waitForWindow("Velbrant", 15000)) << capturedErr(game);
        // The run's load is done inside window creation; then the first run frames light the screen.
        EXPECT_TRUE(waitForPicture("", 20.0, [](const Screenshot& s) { return s.litFraction(0, 0, s.width, s.height) > 0.2; }));
        pause(500);
        std::map<std::string, Screenshot> shots;
        const std::string prefix = screenshotDir() + "/content-" + letter + "-" + p.name + "-";
        shots["F1"] = takeScreenshot(prefix + "F1.png");
        for (const char* key : {"F2", "F3", "F4", "F5", "F6"}) {
            pressKey(key);
            pause(500);
            shots[key] = takeScreenshot(prefix + key + ".png");
        }
        pressKey("F1");
        pressKey("l");
        pause(300);  // seen released, so the second press counts as one more
        pressKey("l");
        pause(500);
        shots["mirrors"] = takeScreenshot(prefix + "mirrors.png");
        pressKey("Escape");
        EXPECT_EQ(waitForExit(game, 10000), 0) << "a run from the command line ends on Escape\n" << capturedErr(game);
        stopProgram(game);
        return shots;
    }
};

}  // namespace

TEST_F(Views, SkyAboveRoadBelowTheCabAndTheLiveriesAtTheDepotAStopAndTheCrossing)
{
    std::map<std::string, std::map<std::string, Screenshot>> all;
    for (const char* letter : {"V", "S"})
        for (const Place& p : places()) {
            if (std::string(letter) == "S" && p.name != "depot")
                continue;
            const auto shots = capture(letter, p);
            const std::string where = std::string(letter) + " " + p.name;
            all[where] = shots;
            for (const auto& [view, s] : shots)
                ASSERT_TRUE(s.ok()) << where << " " << view;
            // Sky above the horizon in the outside views: blue over red (the band under the panel).
            for (const char* view : {"F2", "F3", "F5"}) {
                const Rgbd sky = meanOf(shots.at(view), 0.3, 0.1, 0.7, 0.16);
                EXPECT_GT(sky.b, sky.r + 10) << where << " " << view << " sky";
            }
            // Road below in the bumper view: grey asphalt, neither green nor blue.
            const Rgbd road = meanOf(shots.at("F3"), 0.35, 0.75, 0.65, 0.95);
            EXPECT_LT(std::fabs(road.r - road.b), 20) << where << " road";
            EXPECT_GT(road.r, 40) << where;
            EXPECT_LT(road.r, 140) << where;
            // The cab: the driver looks over a dark dashboard, through the windscreen at the street.
            const Rgbd dash = meanOf(shots.at("F1"), 0.3, 0.8, 0.9, 0.95);
            EXPECT_LT(dash.r, 60) << where << " dashboard";
            const Rgbd ahead = meanOf(shots.at("F1"), 0.35, 0.15, 0.65, 0.6);
            EXPECT_GT(ahead.r + ahead.g + ahead.b, 3 * 80) << where << " windscreen view";
        }
    const auto& volvo = all.at("V depot");
    const auto& urbino = all.at("S depot");
    // From behind: the red bus and the white-and-green one.
    const Rgbd v = meanOf(volvo.at("F2"), 0.42, 0.55, 0.58, 0.8);
    const Rgbd u = meanOf(urbino.at("F2"), 0.42, 0.55, 0.58, 0.8);
    EXPECT_GT(v.r, v.g + 40) << "Volvo7000 is red";
    EXPECT_GT(u.g, v.g + 40) << "Urbino12 is light";
    // The second car starts beside the depot; its blue paint is in the picture from behind.
    EXPECT_GT(pixelsNear(volvo.at("F2"), 112, 146, 186, 18) + pixelsNear(volvo.at("F5"), 112, 146, 186, 18), 100)
        << "the second car is in view";
}
