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

TEST(GlyphCells, SetZeroMapsCodes32To127OntoCells0To95)
{
    EXPECT_EQ(glyphCellOf(' ', 0), 0);
    EXPECT_EQ(glyphCellOf('A', 0), 33);
    EXPECT_EQ(glyphCellOf('b', 0), 66);
    EXPECT_EQ(glyphCellOf(127, 0), 95);
}

TEST(GlyphCells, SetOneUsesTheCells128FurtherOn)
{
    EXPECT_EQ(glyphCellOf(' ', 1), 128);
    EXPECT_EQ(glyphCellOf('A', 1), 161);
    EXPECT_EQ(glyphCellOf('b', 1), 194);
    EXPECT_EQ(glyphCellOf(127, 1), 223);
}

TEST(GlyphCells, CodesOutsideTheSetHaveNoGlyph)
{
    EXPECT_EQ(glyphCellOf(0, 0), -1);
    EXPECT_EQ(glyphCellOf(31, 0), -1);
    EXPECT_EQ(glyphCellOf(128, 0), -1);
    EXPECT_EQ(glyphCellOf(0xB3, 1), -1);  // a Polish letter in the code page
    EXPECT_EQ(glyphCellOf(255, 1), -1);
}

TEST(GlyphCells, OnlySetsZeroAndOneExist)
{
    EXPECT_EQ(glyphCellOf('A', 2), -1);
    EXPECT_EQ(glyphCellOf('A', -1), -1);
    EXPECT_EQ(glyphCellOf('A', 1000), -1);
}

TEST(GlyphCells, CellRowsCountFromTheTopOfThePicture)
{
    // Cell 33: row 2, column 1.
    GlyphCell a = glyphCellCoords(33);
    EXPECT_FLOAT_EQ(a.s0, 0.0625f);
    EXPECT_FLOAT_EQ(a.s1, 0.125f);
    EXPECT_FLOAT_EQ(a.t0, 0.8125f);
    EXPECT_FLOAT_EQ(a.t1, 0.875f);
    // Cell 66: row 4, column 2.
    GlyphCell b = glyphCellCoords(66);
    EXPECT_FLOAT_EQ(b.s0, 0.125f);
    EXPECT_FLOAT_EQ(b.t1, 0.75f);
    EXPECT_FLOAT_EQ(b.t0, 0.6875f);
}

TEST(GlyphCells, CornerCellsTouchThePictureEdges)
{
    GlyphCell first = glyphCellCoords(0);
    EXPECT_FLOAT_EQ(first.s0, 0.0f);
    EXPECT_FLOAT_EQ(first.t1, 1.0f);
    EXPECT_FLOAT_EQ(first.t0, 0.9375f);
    GlyphCell last = glyphCellCoords(255);
    EXPECT_FLOAT_EQ(last.s1, 1.0f);
    EXPECT_NEAR(last.t0, 0.0f, 1e-6f);
    // The second set starts in the lower half of the picture.
    EXPECT_FLOAT_EQ(glyphCellCoords(128).t1, 0.5f);
}

TEST(GlyphPen, GlyphsAdvanceElevenUnitsAndOverlapByFive)
{
    EXPECT_EQ(glyphPenX(0, 0), 0);
    EXPECT_EQ(glyphPenX(0, 1), 11);
    EXPECT_EQ(glyphPenX(100, 3), 133);
    EXPECT_EQ(glyphPenX(0, 0) + FONT_GLYPH_SIZE - glyphPenX(0, 1), 5);
}

TEST(FontFormat, FormatsLikePrintf)
{
    char out[FONT_TEXT_MAX];
    EXPECT_EQ(format(out, "%3.0fKM/H", 0.3f * 222.0f), 7);
    EXPECT_STREQ(out, " 67KM/H");
    format(out, "punishment:%3.0f", 12.0);
    EXPECT_STREQ(out, "punishment: 12");
}

TEST(FontFormat, ZeroWithPrecisionZeroPrintsNoDigit)
{
    char out[FONT_TEXT_MAX];
    format(out, "fps=%2.0i", 0);
    EXPECT_STREQ(out, "fps=  ");
    format(out, "fps=%2.0i", 50);
    EXPECT_STREQ(out, "fps=50");
}

TEST(FontFormat, LongTextIsCutAtTheBufferAndNeverOverruns)
{
    struct Guarded {
        char text[FONT_TEXT_MAX];
        char guard[16];
    } g;
    std::memset(g.guard, 0x5A, sizeof g.guard);
    const std::string longText(1000, 'x');
    EXPECT_EQ(format(g.text, "%s", longText.c_str()), FONT_TEXT_MAX - 1);
    EXPECT_EQ(std::strlen(g.text), static_cast<size_t>(FONT_TEXT_MAX - 1));
    for (char c : g.guard)
        EXPECT_EQ(c, 0x5A);
}

TEST(FontFormat, BoundaryLengthsFitOrAreCutByOne)
{
    char out[FONT_TEXT_MAX];
    const std::string fits(FONT_TEXT_MAX - 1, 'y');
    EXPECT_EQ(format(out, "%s", fits.c_str()), FONT_TEXT_MAX - 1);
    EXPECT_EQ(std::string(out), fits);
    const std::string oneOver(FONT_TEXT_MAX, 'y');
    EXPECT_EQ(format(out, "%s", oneOver.c_str()), FONT_TEXT_MAX - 1);
    EXPECT_EQ(out[FONT_TEXT_MAX - 2], 'y');
    EXPECT_EQ(out[FONT_TEXT_MAX - 1], '\0');
}

TEST(FontFormat, EmptyAndMissingFormatsGiveEmptyText)
{
    char out[FONT_TEXT_MAX];
    out[0] = 'q';
    EXPECT_EQ(format(out, ""), 0);
    EXPECT_STREQ(out, "");
    out[0] = 'q';
    EXPECT_EQ(format(out, nullptr), 0);
    EXPECT_STREQ(out, "");
}

TEST(FontDrawable, CharactersWithoutAGlyphAreDropped)
{
    char out[FONT_TEXT_MAX];
    EXPECT_EQ(keepDrawable("A\x01" "b\xb3\xff" "c\x7f", 0, out), 4);
    EXPECT_STREQ(out, "Abc\x7f");
    EXPECT_EQ(keepDrawable("\x80\x9f\x1f", 1, out), 0);
    EXPECT_STREQ(out, "");
}

TEST(FontDrawable, AnUnknownSetDrawsNothing)
{
    char out[FONT_TEXT_MAX];
    EXPECT_EQ(keepDrawable("Abc", 2, out), 0);
    EXPECT_EQ(keepDrawable("Abc", -1, out), 0);
    EXPECT_EQ(keepDrawable(nullptr, 0, out), 0);
}

TEST(FontDrawable, KeepsAtMostTheBufferLessItsTerminator)
{
    char out[FONT_TEXT_MAX];
    const std::string longText(600, 'z');
    EXPECT_EQ(keepDrawable(longText.c_str(), 0, out), FONT_TEXT_MAX - 1);
    EXPECT_EQ(out[FONT_TEXT_MAX - 1], '\0');
}
