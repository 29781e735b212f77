// Text rendered with FreeType into the generator's pictures, from the DejaVu fonts of the system
// (/usr/share/fonts/truetype/dejavu). Texts are UTF-8, so the Polish letters come from their
// Unicode code points; a byte sequence that is not UTF-8 draws the replacement character.
// The faces are opened on first use and kept until the generator ends.
#pragma once

#include "tools/data/writers.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int GLYPH_FACE_SANS = 0;
constexpr int GLYPH_FACE_SANS_BOLD = 1;
constexpr int GLYPH_FACE_MONO = 2;
constexpr int GLYPH_FACE_MONO_BOLD = 3;
constexpr int GLYPH_FACE_COUNT = 4;

struct TextStyle {
    int face = GLYPH_FACE_SANS;
    int pixelHeight = 16;      // the em size in pixels, vertically
    float widthScale = 1.0f;   // glyphs are widthScale times as wide: for pictures that the game
                               // stretches on screen, so the letters end up with their own shape
    uint8_t r = 255, g = 255, b = 255;
};

// One rendered glyph: 8-bit coverage, row 0 at the top; left and top place it against the pen
// (top is the distance from the baseline up to row 0); advance in whole pixels.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

// Code points of a UTF-8 text; a malformed sequence gives U+FFFD and resynchronises.
std::vector<uint32_t> decodeUtf8(const std::string& text);

GlyphBitmap renderGlyph(uint32_t codePoint, int face, int pixelWidth, int pixelHeight);

// Width of a line in pixels (sum of the advances).
int textWidth(const std::string& text, const TextStyle& style);
// Draws a line with its pen starting at (x, baselineY), blending the colour by coverage.
void drawText(Picture& picture, int x, int baselineY, const std::string& text, const TextStyle& style);
// As drawText, centred on centreX.
void drawTextCentred(Picture& picture, int centreX, int baselineY, const std::string& text, const TextStyle& style);
// Words wrapped to maxWidth, lineHeight apart; "\n" starts a new paragraph (an extra half line).
// Returns the baseline below the last line drawn.
int drawWrapped(Picture& picture, int x, int baselineY, int maxWidth, int lineHeight, const std::string& text,
                const TextStyle& style);
