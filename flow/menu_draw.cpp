// Draws the menu from menuState and runs one menu frame. The pictures are the TEX_MENU slots on
// the fixed quads 22 to 27; every quad lies at the same depth, so later ones cover earlier ones.
#include "flow/menu.h"

#include "assets/ids.h"
#include "assets/load.h"
#include "assets/source_file.h"
#include "flow/load.h"
#include "platform/platform.h"
#include "render/font.h"
#include "render/font_layout.h"

#include <GL/gl.h>

#include <cstdio>

namespace {

constexpr uint32_t MENU_BUTTON_LISTS[MENU_BUTTON_COUNT] = {
    LIST_MENU_NOWAGRA, LIST_MENU_AUTOBUSY, LIST_MENU_OGRZE, LIST_MENU_WYJSCIE};

void drawPicture(int slot, uint32_t list)
{
    glBindTexture(GL_TEXTURE_2D, texMenu[slot]);
    glCallList(list);
}

// The fade picture sets the colour that the rest of the frame is drawn with.
void drawFadePicture()
{
    const MenuState& m = menuState;
    const int slot = (m.fadePicture >= 0 && m.fadePicture < 20) ? m.fadePicture : MENU_SLOT_BACKGROUND;
    glBindTexture(GL_TEXTURE_2D, texMenu[slot]);
    glColor3f(m.fadeLevel, m.fadeLevel, m.fadeLevel);
    glCallList(LIST_SCREEN_QUAD);
}

void drawPanel(int slot)
{
    glPushMatrix();
    glTranslatef(-menuState.panelOffset, 0.0f, 0.0f);
    drawPicture(slot, LIST_MENU_PANEL);
    glPopMatrix();
}

// Where the source lines sit on the about panel, in the font's 640 x 480 text space with the panel
// standing: the attribution in the free strip along the bottom, the route in the title bar.
constexpr float ABOUT_TEXT_LEFT = 1.13f;  // the panel quad's left edge is at x 1.1, before its offset
constexpr int ABOUT_ATTRIBUTION_Y = 51;
constexpr int ABOUT_ROUTE_Y = 308;
constexpr int ABOUT_ROUTE_INDENT = 150;
constexpr int ABOUT_ROUTE_MAX_CHARACTERS = 37;

// The imported route's line, name and attribution, moving with the panel.
void drawTreeSource()
{
    // The menu kills the font on return from a run; the picture stays loaded.
    if (fontBase == 0)
        buildFont();
    const int x = static_cast<int>((ABOUT_TEXT_LEFT - menuState.panelOffset + 1.0f) * FONT_TEXT_WIDTH * 0.5f);
    printText(x, ABOUT_ATTRIBUTION_Y, 0, "%s", treeSource.attribution);
    char route[2 * TREE_SOURCE_TEXT_SIZE + 16];
    std::snprintf(route, sizeof route, "Linia %s: %s", treeSource.line, treeSource.name);
    route[ABOUT_ROUTE_MAX_CHARACTERS] = '\0';
    printText(x + ABOUT_ROUTE_INDENT, ABOUT_ROUTE_Y, 0, "%s", route);
}

} // namespace

void drawMenu(const MenuFrameDraw& frame)
{
    const MenuState& m = menuState;
    if (frame.introFrame) {
        drawFadePicture();
        return;
    }
    drawPicture(MENU_SLOT_BACKGROUND, LIST_SCREEN_QUAD);
    if (frame.exitFade)
        drawFadePicture();

    glPushMatrix();
    glTranslatef(m.buttonsOffset, 0.0f, 0.0f);
    for (int32_t item = 0; item < MENU_BUTTON_COUNT; ++item) {
        const int selected = (item == m.menuCursor) ? 0 : 1;
        drawPicture(MENU_SLOT_BUTTONS + 2 * item + selected, MENU_BUTTON_LISTS[item]);
    }
    glPopMatrix();

    // Drawn every frame; at offset 0 it lies off the screen.
    glPushMatrix();
    glTranslatef(m.backButtonOffset, -0.7f, 0.0f);
    drawPicture(MENU_SLOT_BACK_BUTTON, LIST_MENU_WYJSCIE);
    glPopMatrix();

    if (m.showAboutPanel) {
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        glTranslatef(0.0f, -0.0004f, 0.0f);
        glMatrixMode(GL_MODELVIEW);
        drawPanel(MENU_SLOT_ABOUT_PANEL);
        glMatrixMode(GL_TEXTURE);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        if (treeSource.present)
            drawTreeSource();
    }
    if (m.showBusesPanel)
        drawPanel(MENU_SLOT_BUSES_PANEL);
    if (m.showNewGamePanel)
        drawPanel(MENU_SLOT_NEW_GAME_PANEL);
}

void menuFrame()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    const MenuFrameDraw frame = menuTick(MenuActions{loadAssets, killFont});

    // A new game's load ran inside the tick; draw in the modelview matrix whatever it left.
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_LIGHTING);
    drawMenu(frame);
    glEnable(GL_LIGHTING);
    glFlush();
    platformSwapBuffers();
}
