// The bitmap font picture "Dane/czcionka.gfx": a 16 x 16 grid of white glyphs on black (black is
// the colour key, so only the glyphs show). Cells 0..95 hold codes 32..127 in the regular face,
// cells 128..223 the same codes in bold for the headings, cell FONT_COPYRIGHT_CELL the copyright
// sign; cell k sits in row k / 16 from the top.
//
// The game draws a cell as a 16 x 16 square and moves on 11 units, so each glyph is a monospaced
// letter squeezed into the left 11/16 of its cell, with the baseline low in the cell.
#include "render/font_layout.h"
#include "tools/data/gen.h"
#include "tools/data/glyphs.h"
#include "tools/data/writers.h"

namespace {

constexpr int FONT_PICTURE_SIZE = 512;
constexpr int FONT_PICTURE_CELL = FONT_PICTURE_SIZE / 16;           // 32 pixels
constexpr int FONT_PICTURE_ADVANCE = FONT_PICTURE_CELL * 11 / 16;           // 22 pixels: the game's pen step
constexpr int FONT_BASELINE = 24;                           // from the cell's top
constexpr int FONT_EM_HEIGHT = 28;
constexpr int FONT_EM_WIDTH = 36;                            // the mono face advances 0.6 em: 22 pixels
constexpr int FONT_BOLD_CELL_OFFSET = 128;
// Edge pixels fainter than this become key black: with the alpha test a faint fringe would
// otherwise draw as a dark opaque halo.
constexpr int FONT_COVERAGE_FLOOR = 48;

void drawCell(Picture& picture, int cell, uint32_t code, int face)
{
    const GlyphBitmap glyph = renderGlyph(code, face, FONT_EM_WIDTH, FONT_EM_HEIGHT);
    const int cellX = (cell % 16) * FONT_PICTURE_CELL;
    const int cellY = (cell / 16) * FONT_PICTURE_CELL;
    // Centre the ink in the advance, as the mono face itself does at its natural width.
    const int penX = (FONT_PICTURE_ADVANCE - glyph.advance) / 2;
    for (int row = 0; row < glyph.height; ++row) {
        const int y = FONT_BASELINE - glyph.top + row;
        if (y < 0 || y >= FONT_PICTURE_CELL)
            continue;  // stays inside its own cell
        for (int col = 0; col < glyph.width; ++col) {
            const int x = penX + glyph.left + col;
            if (x < 0 || x >= FONT_PICTURE_CELL - 1)
                continue;
            const int c = glyph.coverage[static_cast<size_t>(row) * glyph.width + col];
            if (c < FONT_COVERAGE_FLOOR)
                continue;
            const uint8_t v = static_cast<uint8_t>(c);
            picture.set(cellX + x, cellY + y, v, v, v);
        }
    }
}

} // namespace

void genFontPicture(const std::string& dir)
{
    Picture picture(FONT_PICTURE_SIZE, FONT_PICTURE_SIZE, 0, 0, 0);
    // Space (32) and DEL (127) stay empty.
    for (uint32_t code = 33; code < 127; ++code) {
        drawCell(picture, static_cast<int>(code) - 32, code, GLYPH_FACE_MONO);
        drawCell(picture, static_cast<int>(code) - 32 + FONT_BOLD_CELL_OFFSET, code, GLYPH_FACE_MONO_BOLD);
    }
    drawCell(picture, FONT_COPYRIGHT_CELL, 0xA9, GLYPH_FACE_MONO);  // U+00A9, the same sign
    writeBmp(dir + "/Dane/czcionka.gfx", picture);
}
