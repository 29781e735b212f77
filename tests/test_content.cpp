// The generated content: the same bytes on every run, models
// built where the game turns and places them, textures a period card can hold in both qualities.
#include "assets/bmp.h"
#include "assets/model.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

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

