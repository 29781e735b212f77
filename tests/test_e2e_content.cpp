// The generated content: the same bytes on every run, a tree the checker calls playable, models
// built where the game turns and places them, textures a period card can hold in both qualities,
// and the game's views under X showing a street: sky above, road below, the cab from the driver's
// seat, the buses' liveries and the second car. Screenshots stay in the build's screenshots folder.
#include "assets/bmp.h"
#include "assets/model.h"
#include "tests/support/desktop.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;

namespace {

void pause(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::map<std::string, std::string> treeFiles(const std::string& root)
{
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file())
            out[fs::relative(e.path(), root).string()] = readFile(e.path().string());
    return out;
}

Model& scratchModel()
{
    static Model m;  // too big for the stack
    return m;
}

const Model& load(const std::string& relPath)
{
    Model& m = scratchModel();
    m.triangleCount = 0;
    EXPECT_TRUE(loadModelQuiet(m, (generatedTree() + "/" + relPath).c_str(), nullptr)) << relPath;
    return m;
}

struct Bounds {
    float lo[3] = {1e9f, 1e9f, 1e9f};
    float hi[3] = {-1e9f, -1e9f, -1e9f};
    void add(const float* v)
    {
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], v[k]);
            hi[k] = std::max(hi[k], v[k]);
        }
    }
    float mid(int k) const { return (lo[k] + hi[k]) * 0.5f; }
};

Bounds boundsOf(const Model& m, int first, int last)
{
    Bounds b;
    for (int i = first; i <= last && i < m.triangleCount; ++i)
        for (int v = 0; v < 3; ++v)
            b.add(&m.vertices[i][v * 3]);
    return b;
}

std::vector<std::string> listEntries(const std::string& relPath)
{
    std::ifstream in(generatedTree() + "/" + relPath);
    int n = 0;
    in >> n;
    std::vector<std::string> out(static_cast<size_t>(std::max(n, 0)));
    for (std::string& s : out)
        in >> s;
    return out;
}

bool powerOfTwo(int v)
{
    return v > 0 && (v & (v - 1)) == 0;
}

const char* const BUSES[] = {"Dane/Autobusy/Volvo7000/", "Dane/Autobusy/Urbino12/"};

}  // namespace

TEST(GeneratedContent, TwoRunsWriteTheSameBytes)
{
    TempDir a, b;
    ASSERT_EQ(runCommand("'" + builtProgram("velbrant-data") + "' '" + a.path + "'").status, 0);
    ASSERT_EQ(runCommand("'" + builtProgram("velbrant-data") + "' '" + b.path + "'").status, 0);
    const auto fa = treeFiles(a.path), fb = treeFiles(b.path);
    ASSERT_EQ(fa.size(), fb.size());
    size_t bytes = 0;
    for (const auto& [name, content] : fa) {
        ASSERT_TRUE(fb.count(name)) << name;
        EXPECT_TRUE(content == fb.at(name)) << name << " differs between runs";
        bytes += content.size();
    }
    EXPECT_LT(bytes, 60u * 1024u * 1024u) << "the tree stays moderate";
}

TEST(GeneratedContent, CheckerCallsTheTreePlayable)
{
    const CommandResult r = runCommand("'" + builtProgram("velbrant-check") + "' '" + generatedTree() + "'");
    EXPECT_EQ(r.status, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("playable"), std::string::npos) << r.out;
}

TEST(GeneratedContent, TexturesArePowersOfTwoUpTo512AndTheLowQualityIsHalfSize)
{
    std::vector<std::pair<std::string, std::string>> pairs = {
        {"Dane/Trasy/Test/TeksturyW.tex", "Dane/Trasy/Test/TeksturyN.tex"},
        {"Dane/Pojazdy/F125/TeksturyW.tex", "Dane/Pojazdy/F125/TeksturyN.tex"}};
    for (const char* bus : BUSES)
        pairs.push_back({std::string(bus) + "TeksturyW.tex", std::string(bus) + "TeksturyN.tex"});
    for (const auto& [wList, nList] : pairs) {
        const auto full = listEntries(wList), half = listEntries(nList);
        ASSERT_FALSE(full.empty()) << wList;
        ASSERT_EQ(full.size(), half.size()) << wList;
        for (size_t i = 0; i < full.size(); ++i) {
            ImageRecord* w = loadBmpImageQuiet((generatedTree() + "/" + full[i]).c_str(), nullptr, 0);
            ImageRecord* n = loadBmpImageQuiet((generatedTree() + "/" + half[i]).c_str(), nullptr, 0);
            ASSERT_TRUE(w && n) << full[i];
            EXPECT_TRUE(powerOfTwo(w->width) && powerOfTwo(w->height) && w->width <= 512 && w->height <= 512)
                << full[i] << " " << w->width << "x" << w->height;
            EXPECT_EQ(n->width * 2, w->width) << half[i];
            EXPECT_EQ(n->height * 2, w->height) << half[i];
            freeImage(w);
            freeImage(n);
        }
    }
}

TEST(GeneratedContent, EveryTextureIndexNamesAnImageOfItsList)
{
    const size_t route = listEntries("Dane/Trasy/Test/TeksturyW.tex").size();
    for (const char* f : {"Plansza.qx", "Niebo.qx", "ZoltyA.qx", "ZoltyB.qx", "CzerwonyA.qx", "CzerwonyB.qx",
                          "ZielonyA.qx", "ZielonyB.qx"}) {
        const Model& m = load(std::string("Dane/Trasy/Test/") + f);
        EXPECT_GT(m.triangleCount, 0) << f;
        EXPECT_LE(m.triangleCount, MAX_MODEL_TRIANGLES) << f;
        for (int i = 0; i < m.triangleCount; ++i)
            ASSERT_TRUE(m.textureIndex[i] >= 0 && static_cast<size_t>(m.textureIndex[i]) < route) << f << " " << i;
    }
    for (const char* bus : BUSES) {
        const size_t n = listEntries(std::string(bus) + "TeksturyW.tex").size();
        for (const char* f : {"ModelZew.qx", "ModelWew.qx", "Swiatlostop.qx", "Swiatlowsteczne.qx", "SwiatlokierL.qx",
                              "SwiatlokierP.qx", "Swiatlodrogowe.qx", "KoloprzednieL.qx", "KoloprzednieP.qx",
                              "Kolatylnie.qx", "Standrzwi.qx", "DrzwiA.qx", "DrzwiB.qx"}) {
            const Model& m = load(std::string(bus) + f);
            EXPECT_GT(m.triangleCount, 0) << bus << f;
            for (int i = 0; i < m.triangleCount; ++i)
                ASSERT_TRUE(m.textureIndex[i] >= 0 && static_cast<size_t>(m.textureIndex[i]) < n) << bus << f << " " << i;
        }
    }
}

// The renderer turns the parts about fixed points; the models must be built round them.
TEST(GeneratedContent, BusPartsSitOnTheRenderersPivots)
{
    for (const char* bus : BUSES) {
        const std::string b(bus);
        {
            const Model& wew = load(b + "ModelWew.qx");
            ASSERT_GE(wew.triangleCount, 7) << "wheel, needle, two unused and the cab";
            const Bounds wheel = boundsOf(wew, 0, 1);
            EXPECT_NEAR(wheel.mid(0), -0.79f, 0.01f) << b;
            EXPECT_NEAR(wheel.mid(1), 0.9f, 0.01f) << b;
            const Bounds needle = boundsOf(wew, 2, 3);
            EXPECT_LT(needle.lo[0], -0.91f) << "the needle reaches out from its pivot";
            EXPECT_GT(needle.hi[0], -0.91f);
            EXPECT_LT(needle.lo[1], 1.01f);
            EXPECT_GT(needle.hi[1], 1.01f);
            // The cab eye (bus frame z = -5, model z = -1) sees the needle in front of the wheel.
            EXPECT_GT(needle.lo[2], wheel.hi[2]) << b;
        }
        for (const auto& [file, x] : {std::make_pair("KoloprzednieL.qx", -1.3f), std::make_pair("KoloprzednieP.qx", 1.3f)}) {
            const Bounds w = boundsOf(load(b + file), 0, 9999);
            EXPECT_NEAR(w.mid(1), 0.45f, 0.01f) << file;
            EXPECT_NEAR(w.mid(2), -4.55f, 0.01f) << file;
            EXPECT_NEAR(w.lo[1], 0.0f, 0.02f) << file << " touches the road";
            EXPECT_LT(std::fabs(w.mid(0) - x), 0.2f) << file;
        }
        const Bounds rear = boundsOf(load(b + "Kolatylnie.qx"), 0, 9999);
        EXPECT_NEAR(rear.mid(1), 0.45f, 0.01f);
        EXPECT_NEAR(rear.mid(2), 0.7f, 0.01f);
        const Bounds a = boundsOf(load(b + "DrzwiA.qx"), 0, 9999);
        const Bounds bb = boundsOf(load(b + "DrzwiB.qx"), 0, 9999);
        EXPECT_NEAR(a.lo[2], -0.31f, 0.01f) << "leaf A reaches back from the hinge";
        EXPECT_NEAR(bb.hi[2], -0.31f, 0.01f) << "leaf B reaches forward from the hinge";
        EXPECT_NEAR(a.mid(0), 1.5f, 0.03f);
        EXPECT_NEAR(bb.mid(0), 1.5f, 0.03f);
        // The body: from the front camera's z = -7 back to about +5 in the bus frame (+4 in the file).
        const Bounds body = boundsOf(load(b + "ModelZew.qx"), 0, 9999);
        EXPECT_GT(body.lo[2], -7.4f + 4.0f);
        EXPECT_LT(body.lo[2], -6.8f + 4.0f);
        EXPECT_LT(body.hi[1], 4.0f) << "the roof camera stays above the roof";
        EXPECT_EQ(load(b + "Standrzwi.qx").triangleCount, 6) << "one lamp of two triangles per door";
    }
}

TEST(GeneratedContent, GaugeArrowTurnsAboutItsPivotAndThePanelLeavesItUncovered)
{
    const Model& m = load("Dane/Wskazniki/Wskazniki.qx");
    ASSERT_GE(m.triangleCount, 5);
    const Bounds arrow = boundsOf(m, 4, m.triangleCount - 1);
    EXPECT_LT(arrow.lo[0], 0.3f);
    EXPECT_GT(arrow.hi[0], 0.3f);
    EXPECT_LT(arrow.lo[1], 3.175f);
    EXPECT_GT(arrow.hi[1], 3.175f);
    // However the arrow turns it stays inside this circle; no panel triangle reaches into it.
    float reach = 0;
    for (int i = 4; i < m.triangleCount; ++i)
        for (int v = 0; v < 3; ++v)
            reach = std::max(reach, std::hypot(m.vertices[i][v * 3] - 0.3f, m.vertices[i][v * 3 + 1] - 3.175f));
    const Bounds panel0 = boundsOf(m, 0, 1), panel1 = boundsOf(m, 2, 3);
    for (const Bounds& p : {panel0, panel1}) {
        const float nx = std::clamp(0.3f, p.lo[0], p.hi[0]), ny = std::clamp(3.175f, p.lo[1], p.hi[1]);
        EXPECT_GT(std::hypot(nx - 0.3f, ny - 3.175f), reach);
    }
}

// ---------------------------------------------------------------- the game's views

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
        pause(4000);
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
        pressKey("r");
        pause(400);
        shots["timetable"] = takeScreenshot(prefix + "timetable.png");
        stopProgram(game);
        return shots;
    }
};

}  // namespace

TEST_F(Views, EveryViewShowsSkyAboveAndRoadBelowAtTheDepotAStopAndTheCrossing)
{
    for (const char* letter : {"V", "S"})
        for (const Place& p : places()) {
            if (std::string(letter) == "S" && p.name == "crossing")
                continue;
            const auto shots = capture(letter, p);
            const std::string where = std::string(letter) + " " + p.name;
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
}

TEST_F(Views, TheBusesWearTheirLiveriesAndTheCarPassesTheDepot)
{
    const Place depot = places().front();
    const auto volvo = capture("V", depot);
    const auto urbino = capture("S", depot);
    // From behind: the red bus and the white-and-green one.
    const Rgbd v = meanOf(volvo.at("F2"), 0.42, 0.55, 0.58, 0.8);
    const Rgbd u = meanOf(urbino.at("F2"), 0.42, 0.55, 0.58, 0.8);
    EXPECT_GT(v.r, v.g + 40) << "Volvo7000 is red";
    EXPECT_GT(u.g, v.g + 40) << "Urbino12 is light";
    // The second car starts beside the depot; its blue paint is in the picture from behind.
    EXPECT_GT(pixelsNear(volvo.at("F2"), 112, 146, 186, 18) + pixelsNear(volvo.at("F5"), 112, 146, 186, 18), 100)
        << "the second car is in view";
}
