#include "tools/data/content_text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

const char* const FONT_FILES[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
};

FT_Library library = nullptr;
FT_Face faces[3] = {nullptr, nullptr, nullptr};

FT_Face faceFor(TextFace which)
{
    if (!library && FT_Init_FreeType(&library) != 0)
        throw std::runtime_error("cannot start FreeType");
    FT_Face& face = faces[which];
    if (!face && FT_New_Face(library, FONT_FILES[which], 0, &face) != 0)
        throw std::runtime_error(std::string("cannot open font ") + FONT_FILES[which] +
                                 " (install fonts-dejavu-core)");
    return face;
}

std::vector<uint32_t> decodeUtf8(const std::string& s)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const uint8_t c = static_cast<uint8_t>(s[i]);
        uint32_t cp = c;
        int extra = 0;
        if (c >= 0xF0) {
            cp = c & 0x07;
            extra = 3;
        } else if (c >= 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else if (c >= 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        }
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<uint8_t>(s[i]) & 0x3F);
        out.push_back(cp);
    }
    return out;
}

// Walks the glyphs of a string; draw is null when only measuring. Returns the advance in pixels.
int layout(const std::string& utf8, int pixelSize, TextFace which, Picture* draw, int x, int baseline, Rgb colour)
{
    FT_Face face = faceFor(which);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
    long pen = 0;  // 26.6 fixed point
    for (uint32_t cp : decodeUtf8(utf8)) {
        if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot g = face->glyph;
        if (draw) {
            const int gx = x + static_cast<int>(pen >> 6) + g->bitmap_left;
            const int gy = baseline - g->bitmap_top;
            for (unsigned row = 0; row < g->bitmap.rows; ++row)
                for (unsigned col = 0; col < g->bitmap.width; ++col) {
                    const uint8_t a = g->bitmap.buffer[row * g->bitmap.pitch + col];
                    if (a)
                        blendPixel(*draw, gx + static_cast<int>(col), gy + static_cast<int>(row), colour, a / 255.0f);
                }
        }
        pen += g->advance.x;
    }
    return static_cast<int>(pen >> 6);
}

}  // namespace

int textWidth(const std::string& utf8, int pixelSize, TextFace face)
{
    return layout(utf8, pixelSize, face, nullptr, 0, 0, Rgb{0, 0, 0});
}

void drawText(Picture& p, const std::string& utf8, int x, int baseline, int pixelSize, Rgb colour, TextFace face)
{
    layout(utf8, pixelSize, face, &p, x, baseline, colour);
}

void drawTextCentred(Picture& p, const std::string& utf8, int cx, int baseline, int pixelSize, Rgb colour,
                     TextFace face)
{
    drawText(p, utf8, cx - textWidth(utf8, pixelSize, face) / 2, baseline, pixelSize, colour, face);
}
