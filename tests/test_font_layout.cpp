// The font's cell and advance arithmetic and its bounded formatting, without GL.
#include "render/font_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

int format(char (&out)[FONT_TEXT_MAX], const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    const int n = formatFontText(out, fmt, args);
    va_end(args);
    return n;
}

} // namespace

TEST(GlyphCells, CodesOfEachSetAndWhereTheirCellsLie)
{
    // Set 0 maps codes 32..127 onto cells 0..95, set 1 onto the cells 128 further on.
    const int rows[][3] = {{' ', 0, 0},   {'A', 0, 33},  {'b', 0, 66}, {127, 0, 95},  {' ', 1, 128},
                           {'A', 1, 161}, {127, 1, 223}, {0, 0, -1},   {31, 0, -1},   {128, 0, -1},
                           {0xB3, 1, -1}, {255, 1, -1},  {'A', 2, -1}, {'A', -1, -1}, {'A', 1000, -1}};
    for (const auto& r : rows)
        EXPECT_EQ(glyphCellOf(r[0], r[1]), r[2]) << r[0] << " in set " << r[1];
    // Cell rows count from the top of the picture, 16 cells a row.
    const float cells[][5] = {{33, 0.0625f, 0.125f, 0.8125f, 0.875f}, {66, 0.125f, 0.1875f, 0.6875f, 0.75f},
                              {0, 0.0f, 0.0625f, 0.9375f, 1.0f},     {255, 0.9375f, 1.0f, 0.0f, 0.0625f},
                              {128, 0.0f, 0.0625f, 0.4375f, 0.5f}};
    for (const auto& c : cells) {
        const GlyphCell g = glyphCellCoords(static_cast<int>(c[0]));
        EXPECT_NEAR(g.s0, c[1], 1e-6f) << c[0];
        EXPECT_NEAR(g.s1, c[2], 1e-6f) << c[0];
        EXPECT_NEAR(g.t0, c[3], 1e-6f) << c[0];
        EXPECT_NEAR(g.t1, c[4], 1e-6f) << c[0];
    }
    // Glyphs advance eleven units and overlap by five.
    EXPECT_EQ(glyphPenX(100, 3), 133);
    EXPECT_EQ(glyphPenX(0, 0) + FONT_GLYPH_SIZE - glyphPenX(0, 1), 5);
}

TEST(FontFormat, PrintfFormsAndTheBufferBound)
{
    char out[FONT_TEXT_MAX];
    EXPECT_EQ(format(out, "%3.0fKM/H", 0.3f * 222.0f), 7);
    EXPECT_STREQ(out, " 67KM/H");
    format(out, "fps=%2.0i", 0);
    EXPECT_STREQ(out, "fps=  ") << "zero with precision zero prints no digit";
    EXPECT_EQ(format(out, nullptr), 0);
    EXPECT_STREQ(out, "");
    const std::string fits(FONT_TEXT_MAX - 1, 'y');
    EXPECT_EQ(format(out, "%s", fits.c_str()), FONT_TEXT_MAX - 1);
    EXPECT_EQ(std::string(out), fits);
    struct Guarded {
        char text[FONT_TEXT_MAX];
        char guard[16];
    } g;
    std::memset(g.guard, 0x5A, sizeof g.guard);
    EXPECT_EQ(format(g.text, "%s", std::string(1000, 'x').c_str()), FONT_TEXT_MAX - 1);
    EXPECT_EQ(std::strlen(g.text), static_cast<size_t>(FONT_TEXT_MAX - 1));
    for (char c : g.guard)
        EXPECT_EQ(c, 0x5A);
}

TEST(FontDrawable, CharactersWithoutAGlyphAreDroppedUpToTheBuffer)
{
    char out[FONT_TEXT_MAX];
    EXPECT_EQ(keepDrawable("A\x01" "b\xb3\xff" "c\x7f", 0, out), 4);
    EXPECT_STREQ(out, "Abc\x7f");
    EXPECT_EQ(keepDrawable("\x80\x9f\x1f", 1, out), 0);
    EXPECT_EQ(keepDrawable("Abc", 2, out), 0);
    EXPECT_EQ(keepDrawable(nullptr, 0, out), 0);
    EXPECT_EQ(keepDrawable(std::string(600, 'z').c_str(), 0, out), FONT_TEXT_MAX - 1);
    EXPECT_EQ(out[FONT_TEXT_MAX - 1], '\0');
}
