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

TEST(GeneratedContent, ASecondRunWritesTheSameBytes)
{
    TempDir again;
    ASSERT_EQ(runCommand("'" + builtProgram("velbrant-data") + "' '" + again.path + "'").status, 0);
    const auto fa = treeFiles(generatedTree()), fb = treeFiles(again.path);
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

