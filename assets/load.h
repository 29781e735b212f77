// The load sequence of a run, the menu's pictures and the menu's fixed quads.
// Everything it fills (texture groups, model records, display lists, run values) lives for the
// process and is refilled at every new game.
#pragma once

// Loads everything a run needs (texture lists, models, display lists, parameters, font, stops,
// radio), in that order. Needs the GL context. Runs at every new game. Once a shutdown has been
// requested (an unreadable texture list or run file) the remaining steps are skipped: the program is ending.
void loadAssets();

// The 13 menu pictures, slot i of TEX_MENU taking menuImageFiles[i].
constexpr int MENU_IMAGE_COUNT = 13;
extern const char* const menuImageFiles[MENU_IMAGE_COUNT];
// Loads them into TEX_MENU. Needs the GL context.
void loadMenuImages();

// The font picture, loaded into slot 0 of TEX_FONT.
extern const char* const FONT_IMAGE_FILE;
// The two fixed texture lists (the other three come from the options).
extern const char* const GAUGES_TEXTURE_LIST;
extern const char* const TIMETABLE_TEXTURE_LIST;

// Compiles the menu's quads (lists 22 to 27). Needs the GL context.
void buildMenuLists();

// One menu quad: a rectangle at z = -1 from (x0, y0) to (x1, y1), textured over its whole area.
struct MenuQuad {
    unsigned list;
    float x0, x1, y0, y1;
};
constexpr int MENU_QUAD_COUNT = 6;
extern const MenuQuad menuQuads[MENU_QUAD_COUNT];
