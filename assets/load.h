// The load steps of a run, the menu's pictures and the menu's fixed quads; the new-game sequence
// that runs them is flow/load.h. Everything they fill (texture groups, model records, display
// lists, run values) lives for the process and is refilled at every new game. Once a shutdown has
// been requested (an unreadable texture list or run file) the remaining steps are skipped: the
// program is ending.
#pragma once

// The GL-free part, shared with the headless driver: the reset for a new run, then the bus
// parameter, mission and stop files.
void loadRunFiles();
// The GL part: the five texture lists, the models and their display lists, the font picture.
// Needs the GL context.
void loadRunGraphics();

// The 13 menu pictures, slot i of TEX_MENU taking menuImageFiles[i].
constexpr int MENU_IMAGE_COUNT = 13;
extern const char* const menuImageFiles[MENU_IMAGE_COUNT];
// Loads them into TEX_MENU; with an imported tree's source file (assets/source_file.h) also the
// font picture, for the about panel. Needs the GL context.
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
