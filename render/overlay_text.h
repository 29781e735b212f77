// The texts of a run frame's overlay: the dashboard line, the info overlay, the end-of-run panel,
// the penalty line, the pause notice and the controls help, formatted from the run state.
// No GL and no rating of its own: the figures are those of the tick's rateFrame (sim/rating.h);
// the dashboard prints the lines in order. Keeps no state between frames.
#pragma once

#include "render/font_layout.h"

#include <cstdint>

// The colour a line is printed in.
constexpr uint8_t OVERLAY_COLOUR_DASHBOARD = 0;  // glColor3ub (151, 179, 228)
constexpr uint8_t OVERLAY_COLOUR_WHITE = 1;      // glColor3f (1, 1, 1)
constexpr uint8_t OVERLAY_COLOUR_GREEN = 2;      // glColor3f (0, 1, 0)

// Room for every group at once (10 + 15 + 4 + 1 + 1 + 23 lines).
constexpr int OVERLAY_LINE_MAX = 64;

struct OverlayLine {
    int32_t x, y;   // text space
    int32_t set;    // glyph set
    uint8_t colour;
    char text[FONT_TEXT_MAX];
};

struct OverlayTexts {
    OverlayLine lines[OVERLAY_LINE_MAX];
    int32_t count;
};

// This frame's lines in drawing order, from the run state.
void buildOverlayTexts(OverlayTexts& out);
