// The font's arithmetic: which cell of the 16 x 16 glyph picture a character uses, where that cell
// lies in texture space, and how a text is formatted and cut to the printable characters.
// Pure functions, no GL and no state.
#pragma once

#include <cstdarg>
#include <cstdint>

constexpr int FONT_LIST_COUNT = 256;     // one display list per cell
constexpr int FONT_GRID = 16;            // cells per row and per column
constexpr float FONT_CELL = 0.0625f;     // a cell's side in texture coordinates
constexpr int FONT_GLYPH_SIZE = 16;      // a glyph's side in text-space units
constexpr int FONT_ADVANCE = 11;         // pen advance per character, in text-space units
constexpr int FONT_TEXT_MAX = 256;       // formatting buffer, terminator included
constexpr int FONT_FIRST_CODE = 32;      // first character code of a glyph set
constexpr int FONT_LAST_CODE = 127;      // last character code of a glyph set
constexpr int FONT_SET_STRIDE = 128;     // cells between set 0 and set 1
constexpr int FONT_SET_COUNT = 2;
// Set 0 also draws the copyright sign (Windows-1250 0xA9, for the map attribution), from the
// last cell of its block, which no code 32..127 uses.
constexpr unsigned char FONT_COPYRIGHT_CODE = 0xA9;
constexpr int FONT_COPYRIGHT_CELL = 127;
constexpr int FONT_TEXT_WIDTH = 640;     // the text space, whatever the window size
constexpr int FONT_TEXT_HEIGHT = 480;

// Texture rectangle of one cell: (s0, t0) its lower-left, (s1, t1) its upper-right corner.
// Cell k sits in row k / 16 counted from the top of the picture and column k % 16.
struct GlyphCell {
    float s0, t0, s1, t1;
};
GlyphCell glyphCellCoords(int cell);

// The cell a character code draws in a glyph set, or -1 when it has no glyph there
// (codes outside 32..127 but set 0's copyright sign, sets other than 0 and 1).
int glyphCellOf(unsigned char code, int set);

// Lower-left x of the index-th character of a text starting at x.
constexpr int glyphPenX(int x, int index) { return x + FONT_ADVANCE * index; }

// printf-style formatting into a 256-character buffer: a longer text is cut, never overruns.
// Returns the length of what the buffer holds (0 after a formatting error).
int formatFontText(char (&out)[FONT_TEXT_MAX], const char* format, va_list args);

// Copies the characters of text that have a glyph in the set into out (room for
// FONT_TEXT_MAX characters, terminated); the rest draw nothing and are dropped.
// Returns the number kept.
int keepDrawable(const char* text, int set, char (&out)[FONT_TEXT_MAX]);
