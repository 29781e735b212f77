// The bitmap font on a real GL context: where printed glyphs land, what hostile text draws, and
// that building and deleting the font never touches the model lists.
#include "render/font.h"
#include "assets/ids.h"
#include "tests/support/gl_context_render.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

constexpr int W = 640;
constexpr int H = 480;
constexpr uint32_t MODEL_LIST_LAST = 40;

// Cell k of the test font picture is filled with one colour: red k, green 255 - k, blue 77.
std::array<uint8_t, 3> cellColour(int k)
{
    return {static_cast<uint8_t>(k), static_cast<uint8_t>(255 - k), 77};
}

GLuint makeCellFontTexture()
{
    std::vector<uint8_t> pixels(256 * 256 * 3);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) {
            // Texture rows start at the bottom; cell rows count from the top.
            const int k = (15 - y / 16) * 16 + x / 16;
            const auto c = cellColour(k);
            for (int i = 0; i < 3; ++i)
                pixels[(static_cast<size_t>(y) * 256 + x) * 3 + i] = c[i];
        }
    GLuint tex = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 256, 256, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return tex;
}

// Stand-ins for the models and menu quads: each covers the whole text space with the texel of
// cell 255, a colour no glyph of either set shows.
void compileModelLists()
{
    for (uint32_t id = 1; id <= MODEL_LIST_LAST; ++id) {
        glNewList(id, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(0.99f, 0.01f);
        glVertex2i(-2000, -2000);
        glVertex2i(2000, -2000);
        glVertex2i(2000, 2000);
        glVertex2i(-2000, 2000);
        glEnd();
        glEndList();
    }
}

class GlFont : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        haveContext = openRenderTestContext(W, H);
        if (!haveContext)
            return;
        compileModelLists();
        texFont[0] = makeCellFontTexture();
    }

    void SetUp() override
    {
        if (!haveContext)
            GTEST_SKIP() << "no GL context";
        killFont();
        buildFont();
        ASSERT_NE(fontBase, 0u);
        glViewport(0, 0, W, H);
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1.0f, 1.0f, 1.0f);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    static bool isCell(const ReadPixels& p, int x, int y, int k)
    {
        const auto c = cellColour(k);
        const uint8_t* px = p.at(x, y);
        return px[0] == c[0] && px[1] == c[1] && px[2] == c[2];
    }

    static int strayPixels(const ReadPixels& p)
    {
        const auto c = cellColour(255);
        return p.count(0, 0, p.width, p.height, c[0], c[1], c[2], 0);
    }

    static int litPixels(const ReadPixels& p)
    {
        return p.width * p.height - p.count(0, 0, p.width, p.height, 0, 0, 0, 0);
    }

    static bool haveContext;
};

bool GlFont::haveContext = false;

TEST_F(GlFont, TwoGlyphsLandInTheirCellsAndOverlapByFiveUnits)
{
    printText(0, 0, 0, "Ab");
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(isCell(p, 0, 0, 33));
    EXPECT_TRUE(isCell(p, 5, 8, 33));
    EXPECT_TRUE(isCell(p, 10, 15, 33));
    // From x 11 the second glyph is drawn over the first.
    EXPECT_TRUE(isCell(p, 11, 8, 66));
    EXPECT_TRUE(isCell(p, 15, 8, 66));
    EXPECT_TRUE(isCell(p, 26, 15, 66));
    EXPECT_TRUE(p.all(27, 0, 60, 16, 0, 0, 0, 0));
    EXPECT_TRUE(p.all(0, 16, 60, 40, 0, 0, 0, 0));
    EXPECT_EQ(litPixels(p), 27 * 16);
}

TEST_F(GlFont, TheSecondSetUsesTheLowerHalfOfThePicture)
{
    printText(0, 0, 1, "Ab");
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(isCell(p, 5, 8, 161));
    EXPECT_TRUE(isCell(p, 20, 8, 194));
}

TEST_F(GlFont, TextSpaceStaysSixForty480WhateverTheViewport)
{
    glViewport(0, 0, 320, 240);
    printText(320, 240, 0, "A");
    ReadPixels p = readBackBuffer();
    // Half-size viewport: the glyph at the middle of text space covers 8 x 8 pixels.
    EXPECT_TRUE(isCell(p, 160, 120, 33));
    EXPECT_TRUE(isCell(p, 167, 127, 33));
    EXPECT_EQ(litPixels(p), 8 * 8);
}

TEST_F(GlFont, DroppedCharactersDoNotAdvanceThePen)
{
    printText(0, 0, 0, "A\xb3" "b");
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(isCell(p, 11, 8, 66));
    EXPECT_EQ(litPixels(p), 27 * 16);
    EXPECT_EQ(strayPixels(p), 0);
}

TEST_F(GlFont, BuildMakes256ListsClearOfTheModels)
{
    EXPECT_GT(fontBase, MODEL_LIST_LAST);
    for (uint32_t k = 0; k < 256; ++k)
        EXPECT_TRUE(glIsList(fontBase + k)) << k;
}

TEST_F(GlFont, KillDeletesTheSetAndForgetsIt)
{
    const uint32_t base = fontBase;
    killFont();
    EXPECT_EQ(fontBase, 0u);
    EXPECT_FALSE(glIsList(base));
    EXPECT_FALSE(glIsList(base + 255));
    for (uint32_t id = 1; id <= MODEL_LIST_LAST; ++id)
        EXPECT_TRUE(glIsList(id)) << id;
}

TEST_F(GlFont, CharactersWithoutAGlyphDrawNothingAndCallNoOtherList)
{
    printText(0, 0, 0, "\x01\x1f\x80\xb3\xff");
    printText(0, 100, 1, "%c%c", 0x9c, 0xb9);
    ReadPixels p = readBackBuffer();
    EXPECT_EQ(litPixels(p), 0);
    EXPECT_EQ(strayPixels(p), 0);
}

TEST_F(GlFont, KillWithNoFontLeavesTheModelListsAlone)
{
    killFont();
    killFont();
    for (uint32_t id = 1; id <= MODEL_LIST_LAST; ++id)
        EXPECT_TRUE(glIsList(id)) << id;
}

TEST_F(GlFont, PrintingWithNoFontDrawsNothing)
{
    killFont();
    printText(0, 0, 0, "Ab");
    ReadPixels p = readBackBuffer();
    EXPECT_EQ(litPixels(p), 0);
    EXPECT_EQ(strayPixels(p), 0);
}

} // namespace
