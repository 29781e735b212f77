// The bitmap font: 256 display lists over the 16 x 16 glyph picture (texFont[0]), and the one text
// primitive. The lists exist from buildFont (every load) to killFont (return to the menu, exit).
#pragma once

#include <cstdint>

extern uint32_t fontBase;  // first of the font's 256 lists; 0 while no font is built

// Compiles the 256 glyph quads; a set still built is deleted first.
void buildFont();
// Deletes the font's lists if they exist, then forgets them.
void killFont();
// printf-style text at (x, y) of the 640 x 480 text space, glyph set 0 (normal) or 1 (headings).
// The caller sets the colour and switches lighting off; matrices and depth test are kept.
// Characters without a glyph in the set draw nothing; with no font built nothing is drawn.
void printText(int x, int y, int set, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 4, 5)))
#endif
    ;
