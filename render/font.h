// The bitmap font: 256 display lists over the 16 x 16 glyph picture, and the one text primitive.
#pragma once

#include <cstdint>

extern uint32_t fontBase;  // first of the font's 256 lists; 0 while no font is built

void buildFont();
// Deletes the font's lists if they exist, then forgets them.
void killFont();
// printf-style text at (x, y) of the 640 x 480 text space, glyph set 0 (normal) or 1 (headings).
void printText(int x, int y, int set, const char* format, ...);
