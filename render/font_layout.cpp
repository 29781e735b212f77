#include "render/font_layout.h"

#include <cstdio>

GlyphCell glyphCellCoords(int cell)
{
    const float cx = static_cast<float>(cell % FONT_GRID) / static_cast<float>(FONT_GRID);
    const float cy = static_cast<float>(cell / FONT_GRID) / static_cast<float>(FONT_GRID);
    return GlyphCell{cx, 1.0f - cy - FONT_CELL, cx + FONT_CELL, 1.0f - cy};
}

int glyphCellOf(unsigned char code, int set)
{
    if (set < 0 || set >= FONT_SET_COUNT)
        return -1;
    if (set == 0 && code == FONT_COPYRIGHT_CODE)
        return FONT_COPYRIGHT_CELL;
    if (code < FONT_FIRST_CODE || code > FONT_LAST_CODE)
        return -1;
    return code - FONT_FIRST_CODE + FONT_SET_STRIDE * set;
}

int formatFontText(char (&out)[FONT_TEXT_MAX], const char* format, va_list args)
{
    out[0] = '\0';
    if (!format)
        return 0;
    const int wanted = std::vsnprintf(out, FONT_TEXT_MAX, format, args);
    if (wanted < 0) {
        out[0] = '\0';
        return 0;
    }
    return wanted < FONT_TEXT_MAX ? wanted : FONT_TEXT_MAX - 1;
}

int keepDrawable(const char* text, int set, char (&out)[FONT_TEXT_MAX])
{
    int kept = 0;
    for (int i = 0; text && text[i] != '\0' && kept < FONT_TEXT_MAX - 1; ++i) {
        if (glyphCellOf(static_cast<unsigned char>(text[i]), set) >= 0)
            out[kept++] = text[i];
    }
    out[kept] = '\0';
    return kept;
}
