// The generated content: the same bytes every run, models round the game's pivots, textures it can hold.
#include "assets/bmp.h"
#include "assets/bus_pivots.h"
#include "assets/model.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

struct Bounds {
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    float mid(int k) const { return (lo[k] + hi[k]) * 0.5f; }
};

Bounds bounds(const std::string& relPath, int first = 0, int last = 1 << 30, int* count = nullptr)
{
    static ModelWithStorage<MAX_MODEL_TRIANGLES> m;  // too big for the stack
    m.triangleCount = 0;
    EXPECT_TRUE(loadModelQuiet(m, (generatedTree() + "/" + relPath).c_str(), nullptr)) << relPath;
    Bounds b;
    for (int i = first; i <= last && i < m.triangleCount; ++i)
        for (int v = 0; v < 9; ++v) {
            b.lo[v % 3] = std::min(b.lo[v % 3], m.vertices[i][v]);
            b.hi[v % 3] = std::max(b.hi[v % 3], m.vertices[i][v]);
        }
    if (count)
        *count = m.triangleCount;
    return b;
}

std::vector<std::string> listEntries(const std::string& relPath)
{
    std::ifstream in(generatedTree() + "/" + relPath);
    std::vector<std::string> out;
    int n = 0;
    for (in >> n; n-- > 0 && in;)
        in >> out.emplace_back();
    return out;
}

const char* const BUSES[] = {"Dane/Autobusy/Volvo7000/", "Dane/Autobusy/Urbino12/"};

} // namespace

TEST(GeneratedContent, ASecondRunWritesTheSameBytesAndTexturesFitBothQualities)
{
    TempDir again;
    ASSERT_EQ(runCommand("'" + builtProgram("velbrant-data") + "' '" + again.path + "'").status, 0);
    size_t bytes = 0, files = 0;
    for (const auto& e : fs::recursive_directory_iterator(generatedTree()))
        if (e.is_regular_file()) {
            const std::string rel = fs::relative(e.path(), generatedTree()).string(),
                              content = readFile(e.path().string());
            EXPECT_TRUE(content == readFile(again.file(rel))) << rel << " differs between runs";
            bytes += content.size();
            ++files;
        }
    for (const auto& e : fs::recursive_directory_iterator(again.path))
        files -= e.is_regular_file();
    EXPECT_EQ(files, 0) << "the same files";
    EXPECT_LT(bytes, 60u << 20) << "a moderate tree";
    for (const std::string d : {"Dane/Trasy/Test/", "Dane/Pojazdy/F125/", BUSES[0], BUSES[1]}) {
        const auto full = listEntries(d + "TeksturyW.tex"), half = listEntries(d + "TeksturyN.tex");
        ASSERT_FALSE(full.empty()) << d;
        ASSERT_EQ(full.size(), half.size()) << d;
        for (size_t i = 0; i < full.size(); ++i) {
            ImageRecord* w = loadBmpImageQuiet((generatedTree() + "/" + full[i]).c_str(), nullptr, 0);
            ImageRecord* n = loadBmpImageQuiet((generatedTree() + "/" + half[i]).c_str(), nullptr, 0);
            ASSERT_NE(w, nullptr) << full[i];
            ASSERT_NE(n, nullptr) << half[i];
            for (int side : {w->width, w->height}) {
                EXPECT_GT(side, 0) << full[i];
                EXPECT_EQ(side & (side - 1), 0) << full[i] << " " << side << " is no power of two";
                EXPECT_LE(side, 512) << full[i];
            }
            EXPECT_EQ(std::make_tuple(n->width * 2, n->height * 2),
                      std::make_tuple(w->width, w->height)) << half[i];
            freeImage(w);
            freeImage(n);
        }
    }
}

// The renderer turns the parts about fixed points; the models must be built round them.
TEST(GeneratedContent, BusPartsSitOnTheRenderersPivots)
{
    for (const std::string b : BUSES) {
        SCOPED_TRACE(b);
        int count = 0;
        const Bounds wheel = bounds(b + "ModelWew.qx", 0, 1, &count),
                     needle = bounds(b + "ModelWew.qx", 2, 3);
        ASSERT_GE(count, 7) << "wheel, needle, two unused and the cab";
        EXPECT_NEAR(wheel.mid(0), BUS_STEERING_PIVOT_X, 0.01f);
        EXPECT_NEAR(wheel.mid(1), BUS_STEERING_PIVOT_Y, 0.01f);
        EXPECT_LT(needle.lo[0], BUS_NEEDLE_PIVOT_X);
        EXPECT_GT(needle.hi[0], BUS_NEEDLE_PIVOT_X);
        EXPECT_LT(needle.lo[1], BUS_NEEDLE_PIVOT_Y);
        EXPECT_GT(needle.hi[1], BUS_NEEDLE_PIVOT_Y);
        // The cab eye (bus frame z = -5, model z = -1) sees the needle in front of the wheel.
        EXPECT_GT(needle.lo[2], wheel.hi[2]);
        for (const auto& [file, x, z] : {std::make_tuple("KoloprzednieL.qx", -BUS_WHEEL_HUB_X, BUS_FRONT_HUB_Z),
                                         std::make_tuple("KoloprzednieP.qx", BUS_WHEEL_HUB_X, BUS_FRONT_HUB_Z),
                                         std::make_tuple("Kolatylnie.qx", 0.0f, BUS_REAR_HUB_Z)}) {
            const Bounds w = bounds(b + file);
            EXPECT_NEAR(w.mid(1), BUS_WHEEL_HUB_Y, 0.01f) << file;
            EXPECT_NEAR(w.mid(2), z, 0.01f) << file;
            if (x == 0.0f)
                continue;  // the rear pair: its middle is the axle
            EXPECT_NEAR(w.lo[1], 0.0f, 0.02f) << file;
            EXPECT_NEAR(w.mid(0), x, 0.2f) << file;
        }
        const Bounds a = bounds(b + "DrzwiA.qx"), bb = bounds(b + "DrzwiB.qx");
        EXPECT_NEAR(a.lo[2], BUS_DOOR_HINGE_Z, 0.01f) << "leaf A reaches back from the hinge, B forward";
        EXPECT_NEAR(bb.hi[2], BUS_DOOR_HINGE_Z, 0.01f);
        EXPECT_NEAR(a.mid(0), BUS_DOOR_HINGE_X, 0.03f) << "on the right";
        EXPECT_NEAR(bb.mid(0), BUS_DOOR_HINGE_X, 0.03f);
        // The body: from the front camera's z = -7 back to about +5 in the bus frame (shifted in the file).
        const Bounds body = bounds(b + "ModelZew.qx");
        EXPECT_NEAR(body.lo[2], -7.1f - BUS_MODEL_Z, 0.3f);
        EXPECT_LT(body.hi[1], 4.0f) << "the roof camera stays above the roof";
        bounds(b + "Standrzwi.qx", 0, 0, &count);
        EXPECT_EQ(count, 6) << "one lamp of two triangles per door";
    }
}
