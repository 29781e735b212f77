// The load steps of a run (files, then graphics) and the menu's pictures and quads.
#include "assets/load.h"

#include "core/game.h"
#include "core/options.h"
#include "assets/ids.h"
#include "assets/model.h"
#include "assets/params.h"
#include "assets/path_files.h"
#include "assets/source_file.h"
#include "assets/textures.h"
#include "sim/state.h"

#include <GL/gl.h>

#include <cstdio>

const char* const menuImageFiles[MENU_IMAGE_COUNT] = {
    "Dane/Menu/logo.gfx",          "Dane/Menu/tlo.gfx",          "Dane/Menu/nowagra_gora.gfx",
    "Dane/Menu/nowagra_dol.gfx",   "Dane/Menu/autobusy_gora.gfx", "Dane/Menu/autobusy_dol.gfx",
    "Dane/Menu/ogrze_gora.gfx",    "Dane/Menu/ogrze_dol.gfx",    "Dane/Menu/wyjscie_gora.gfx",
    "Dane/Menu/wyjscie_dol.gfx",   "Dane/Menu/ogrze.gfx",        "Dane/Menu/autobusy.gfx",
    "Dane/Menu/nowagra.gfx",
};

const char* const FONT_IMAGE_FILE = "Dane/czcionka.gfx";
const char* const GAUGES_TEXTURE_LIST = "Dane/Wskazniki/Tekstury.tex";
const char* const TIMETABLE_TEXTURE_LIST = "Dane/Rozklady/128/Tekstury.tex";

const MenuQuad menuQuads[MENU_QUAD_COUNT] = {
    {LIST_SCREEN_QUAD, -1.0f, 1.0f, -1.0f, 1.0f},
    {LIST_MENU_NOWAGRA, -2.18f, -1.26f, 0.2f, 0.3f},
    {LIST_MENU_AUTOBUSY, -2.18f, -1.26f, 0.05f, 0.15f},
    {LIST_MENU_OGRZE, -2.18f, -1.5f, -0.1f, 0.0f},
    {LIST_MENU_WYJSCIE, -2.18f, -1.44f, -0.25f, -0.15f},
    {LIST_MENU_PANEL, 1.1f, 2.9f, -0.8f, 0.4f},
};

namespace {

// An unreadable texture list or run file has asked the program to end; what is left to load
// would never be seen.
bool shuttingDown()
{
    return game.quitRequested != 0;
}

} // namespace

void loadRunFiles()
{
    resetForNewRun();
    loadBusParameters();
    if (shuttingDown())
        return;
    loadMissionParameters();
    if (shuttingDown())
        return;
    loadStops();
    loadCarPath();
}

void loadRunGraphics()
{
    // Textures before models, models before their lists: a list copies its group's names.
    const char* const lists[5] = {options.routeTextureList, options.busTextureList, options.carTextureList, GAUGES_TEXTURE_LIST,
                                  TIMETABLE_TEXTURE_LIST};
    const int groups[5] = {TEX_ROUTE, TEX_BUS, TEX_CAR, TEX_GAUGES, TEX_TIMETABLE};
    for (int i = 0; i < 5; ++i) {
        loadTextureList(lists[i], groups[i]);
        if (shuttingDown())
            return;
    }

    char path[256];
    for (const ModelFile& file : modelFiles) {
        if (file.inBusFolder) {
            std::snprintf(path, sizeof path, "%s%s", busFolder(), file.name);
            loadModel(*file.model, path);
        } else {
            loadModel(*file.model, file.name);
        }
    }
    compileModelLists();
    loadTexture(FONT_IMAGE_FILE, 0, TEX_FONT);
}

void loadMenuImages()
{
    for (int i = 0; i < MENU_IMAGE_COUNT; ++i)
        loadTexture(menuImageFiles[i], i, TEX_MENU);
    // An imported tree's about panel writes its attribution with the font.
    loadTreeSource();
    if (treeSource.present)
        loadTexture(FONT_IMAGE_FILE, 0, TEX_FONT);
}

void buildMenuLists()
{
    for (const MenuQuad& q : menuQuads) {
        glNewList(q.list, GL_COMPILE);
        // Two counter-clockwise triangles seen from +z, each with its own begin/end.
        glBegin(GL_TRIANGLES);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(q.x0, q.y1, -1.0f);
        glTexCoord2f(0.0f, 0.0f);
        glVertex3f(q.x0, q.y0, -1.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(q.x1, q.y0, -1.0f);
        glEnd();
        glBegin(GL_TRIANGLES);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(q.x0, q.y1, -1.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex3f(q.x1, q.y0, -1.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex3f(q.x1, q.y1, -1.0f);
        glEnd();
        glEndList();
    }
}
