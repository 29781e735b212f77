// The font's bounded formatting and which characters it can draw, without GL.
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

TEST(FontFormat, NoFormatAndTheBufferBound)
{
    char out[FONT_TEXT_MAX];
    EXPECT_EQ(format(out, nullptr), 0);
    EXPECT_STREQ(out, "");
    const std::string fits(FONT_TEXT_MAX - 1, 'y');
    EXPECT_EQ(format(out, "%s", fits.c_str()), FONT_TEXT_MAX - 1);
    EXPECT_EQ(std::string(out), fits);
    EXPECT_EQ(format(out, "%s", std::string(1000, 'x').c_str()), FONT_TEXT_MAX - 1);
    EXPECT_EQ(std::string(out), std::string(FONT_TEXT_MAX - 1, 'x'));
}

// Codes 32..127 of sets 0 and 1 have glyphs (where their cells lie: the GL font test).
TEST(FontDrawable, CharactersWithoutAGlyphAreDroppedUpToTheBuffer)
{
    const struct { const char* text; int set; const char* kept; } rows[] = {
        {"\x1f A\x01" "b\xb3\xff\x7f\x80", 0, " Ab\x7f"}, {"\x1f A\x7f\x80\x9f", 1, " A\x7f"},
        {"(\xa9)", 0, "(\xa9)"}, {"(\xa9)", 1, "()"}, {"Abc", 2, ""}, {"Abc", -1, ""}, {"Abc", 1000, ""}, {nullptr, 0, ""},
    };
    char out[FONT_TEXT_MAX];
    for (const auto& r : rows) {
        EXPECT_EQ(keepDrawable(r.text, r.set, out), static_cast<int>(std::strlen(r.kept))) << r.set;
        EXPECT_STREQ(out, r.kept) << r.set;
    }
    EXPECT_EQ(keepDrawable(std::string(600, 'z').c_str(), 0, out), FONT_TEXT_MAX - 1);
    EXPECT_EQ(out[FONT_TEXT_MAX - 1], '\0');
}
