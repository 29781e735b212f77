#include "tools/data/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cmath>
#include <stdexcept>

namespace {

const char* const GLYPH_FONT_FILES[GLYPH_FACE_COUNT] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
};

constexpr uint32_t GLYPH_REPLACEMENT = 0xFFFD;

// The library and its faces, opened once and closed when the generator exits.
struct FontLibrary {
    FT_Library library = nullptr;
    std::array<FT_Face, GLYPH_FACE_COUNT> faces{};

    FontLibrary()
    {
        if (FT_Init_FreeType(&library) != 0)
            throw std::runtime_error("FreeType cannot start");
    }
    ~FontLibrary()
    {
        for (FT_Face face : faces)
            if (face)
                FT_Done_Face(face);
        FT_Done_FreeType(library);
    }
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    FT_Face face(int index)
    {
        if (index < 0 || index >= GLYPH_FACE_COUNT)
            index = GLYPH_FACE_SANS;
        if (!faces[index] && FT_New_Face(library, GLYPH_FONT_FILES[index], 0, &faces[index]) != 0) {
            faces[index] = nullptr;
            throw std::runtime_error(std::string("cannot open font ") + GLYPH_FONT_FILES[index]);
        }
        return faces[index];
    }
};

FontLibrary& fonts()
{
    static FontLibrary instance;
    return instance;
}

int styleWidth(const TextStyle& style)
{
    const int w = static_cast<int>(std::lround(style.pixelHeight * style.widthScale));
    return w > 0 ? w : 1;
}

uint8_t blend(uint8_t under, uint8_t over, int coverage)
{
    return static_cast<uint8_t>((under * (255 - coverage) + over * coverage + 127) / 255);
}

void blitGlyph(Picture& picture, const GlyphBitmap& glyph, int penX, int baselineY, const TextStyle& style)
{
    for (int row = 0; row < glyph.height; ++row) {
        const int y = baselineY - glyph.top + row;
        if (y < 0 || y >= picture.height)
            continue;
        for (int col = 0; col < glyph.width; ++col) {
            const int x = penX + glyph.left + col;
            if (x < 0 || x >= picture.width)
                continue;
            const int c = glyph.coverage[static_cast<size_t>(row) * glyph.width + col];
            if (c == 0)
                continue;
            uint8_t* p = picture.at(x, y);
            p[0] = blend(p[0], style.r, c);
            p[1] = blend(p[1], style.g, c);
            p[2] = blend(p[2], style.b, c);
        }
    }
}

std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    for (char ch : line) {
        if (ch == ' ') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += ch;
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

} // namespace

std::vector<uint32_t> decodeUtf8(const std::string& text)
{
    std::vector<uint32_t> out;
    size_t i = 0;
    while (i < text.size()) {
        const uint8_t lead = static_cast<uint8_t>(text[i]);
        int extra = 0;
        uint32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            out.push_back(GLYPH_REPLACEMENT);
            ++i;
            continue;
        }
        bool good = true;
        for (int k = 1; good && k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<uint8_t>(text[i + k]) & 0xC0) != 0x80)
                good = false;
            else
                cp = (cp << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
        }
        if (!good || cp > 0x10FFFF) {
            out.push_back(GLYPH_REPLACEMENT);
            ++i;  // resynchronise on the next byte
            continue;
        }
        out.push_back(cp);
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

GlyphBitmap renderGlyph(uint32_t codePoint, int faceIndex, int pixelWidth, int pixelHeight)
{
    FT_Face face = fonts().face(faceIndex);
    if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(pixelWidth), static_cast<FT_UInt>(pixelHeight)) != 0)
        throw std::runtime_error("font size not accepted");
    FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0)
        index = FT_Get_Char_Index(face, GLYPH_REPLACEMENT);
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 || FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0)
        throw std::runtime_error("glyph not rendered");
    const FT_GlyphSlot slot = face->glyph;
    GlyphBitmap glyph;
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.height = static_cast<int>(slot->bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.height);
    for (int row = 0; row < glyph.height; ++row)
        for (int col = 0; col < glyph.width; ++col)
            glyph.coverage[static_cast<size_t>(row) * glyph.width + col] =
                slot->bitmap.buffer[row * slot->bitmap.pitch + col];
    return glyph;
}

int textWidth(const std::string& text, const TextStyle& style)
{
    int width = 0;
    for (uint32_t cp : decodeUtf8(text))
        width += renderGlyph(cp, style.face, styleWidth(style), style.pixelHeight).advance;
    return width;
}

void drawText(Picture& picture, int x, int baselineY, const std::string& text, const TextStyle& style)
{
    int pen = x;
    for (uint32_t cp : decodeUtf8(text)) {
        const GlyphBitmap glyph = renderGlyph(cp, style.face, styleWidth(style), style.pixelHeight);
        blitGlyph(picture, glyph, pen, baselineY, style);
        pen += glyph.advance;
    }
}

void drawTextCentred(Picture& picture, int centreX, int baselineY, const std::string& text, const TextStyle& style)
{
    drawText(picture, centreX - textWidth(text, style) / 2, baselineY, text, style);
}

int drawWrapped(Picture& picture, int x, int baselineY, int maxWidth, int lineHeight, const std::string& text,
                const TextStyle& style)
{
    const int spaceWidth = textWidth(" ", style);
    int y = baselineY;
    size_t start = 0;
    bool firstParagraph = true;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (!firstParagraph)
            y += lineHeight / 2;
        firstParagraph = false;
        std::string line;
        int lineWidth = 0;
        for (const std::string& word : splitWords(text.substr(start, end - start))) {
            const int w = textWidth(word, style);
            if (!line.empty() && lineWidth + spaceWidth + w > maxWidth) {
                drawText(picture, x, y, line, style);
                y += lineHeight;
                line.clear();
                lineWidth = 0;
            }
            if (!line.empty()) {
                line += ' ';
                lineWidth += spaceWidth;
            }
            line += word;
            lineWidth += w;
        }
        if (!line.empty()) {
            drawText(picture, x, y, line, style);
            y += lineHeight;
        }
        start = end + 1;
    }
    return y;
}
