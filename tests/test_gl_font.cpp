// The bitmap font on a real GL context: where printed glyphs land, what hostile text draws, and
// that building and deleting the font never touches the model lists.
#include "render/font.h"
#include "assets/ids.h"
#include "tests/support/gl_context_render.h"

#include <gtest/gtest.h>

#include <array>

namespace {

constexpr int W = 640, H = 480;
constexpr uint32_t MODEL_LIST_LAST = 40;

// Cell k of the test font picture is filled with one colour: red k, green 255 - k, blue 77.
class GlFont : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!openRenderTestContext(W, H))
            return;
        // Stand-ins for the models and menu quads: each covers the whole text space with the
        // texel of cell 255, a colour no glyph of either set shows.
        for (uint32_t id = 1; id <= MODEL_LIST_LAST; ++id)
            compileList(id, [] {
                glBegin(GL_QUADS);
                glTexCoord2f(0.99f, 0.01f);
                glVertex2i(-2000, -2000), glVertex2i(2000, -2000);
                glVertex2i(2000, 2000), glVertex2i(-2000, 2000);
                glEnd();
            });
        texFont[0] = makeTexture(256, [](int x, int y, uint8_t* px) {
            const int k = (15 - y / 16) * 16 + x / 16;  // texture rows from the bottom, cells from the top
            px[0] = static_cast<uint8_t>(k), px[1] = static_cast<uint8_t>(255 - k), px[2] = 77;
        });
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }

    void SetUp() override
    {
        SKIP_WITHOUT_CONTEXT(W, H);
        killFont();
        buildFont();
        glViewport(0, 0, W, H);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    static bool isCell(const ReadPixels& p, int x, int y, int k)
    {
        return p.all(x, y, x + 1, y + 1, k, 255 - k, 77, 0);
    }
    static int lit(const ReadPixels& p) { return p.width * p.height - p.count(0, 0, W, H, 0, 0, 0, 0); }
};

// The glyph-less character between the two draws nothing and does not advance.
TEST_F(GlFont, GlyphsLandInTheirCellsOfEitherSetOverlapByFiveUnitsAndHostileTextDrawsNothing)
{
    printText(0, 0, 0, "A\xb3" "b");
    ReadPixels p = readBackBuffer();
    // From x 11 the second glyph lies over the first.
    for (const auto& c : {std::array<int, 3>{0, 0, 33}, {5, 8, 33}, {10, 15, 33}, {11, 8, 66}, {26, 15, 66}})
        EXPECT_TRUE(isCell(p, c[0], c[1], c[2])) << c[0] << "," << c[1];
    EXPECT_EQ(lit(p), 27 * 16);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    printText(0, 0, 1, "Ab");  // the second set uses the lower half of the picture
    p = readBackBuffer();
    EXPECT_TRUE(isCell(p, 5, 8, 161));
    EXPECT_TRUE(isCell(p, 20, 8, 194));
    // Text space stays 640 x 480 whatever the viewport: at half size a glyph covers 8 x 8 pixels.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, 320, 240);
    printText(320, 240, 0, "A");
    p = readBackBuffer();
    EXPECT_TRUE(isCell(p, 160, 120, 33));
    EXPECT_TRUE(isCell(p, 167, 127, 33));
    EXPECT_EQ(lit(p), 8 * 8);
}

TEST_F(GlFont, BuildMakes256ListsClearOfTheModelsAndKillDeletesOnlyThem)
{
    EXPECT_GT(fontBase, MODEL_LIST_LAST);
    const uint32_t base = fontBase;
    for (uint32_t k = 0; k < 256; ++k)
        EXPECT_TRUE(glIsList(base + k)) << k;
    killFont();
    EXPECT_EQ(fontBase, 0u);
    EXPECT_FALSE(glIsList(base));
    EXPECT_FALSE(glIsList(base + 255));
    killFont();  // with no font
    for (uint32_t id = 1; id <= MODEL_LIST_LAST; ++id)
        EXPECT_TRUE(glIsList(id)) << id;
    printText(0, 0, 0, "Ab");
    EXPECT_EQ(lit(readBackBuffer()), 0) << "printing with no font draws nothing";
}

} // namespace
