// The menu's drawing on a real GL context: which picture lands where for a given menu state.
// Every TEX_MENU slot gets a flat colour of its own, so a pixel tells which slot was drawn there.
#include "assets/ids.h"
#include "assets/load.h"
#include "assets/source_file.h"
#include "flow/menu.h"
#include "tests/support/gl_context_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace {

constexpr int W = 320, H = 240;

int slotColour(int slot, int k)
{
    const int c[3] = {30 + 16 * slot, 230 - 12 * slot, 60 + 8 * (slot % 4)};
    return c[k];
}

// Centres of the four buttons once slid in (offset 1.5), top to bottom.
constexpr float BUTTON_X = -0.4f;
constexpr float BUTTON_Y[4] = {0.25f, 0.10f, -0.05f, -0.20f};

class MenuDraw : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!openRenderTestContext(W, H))
            return;
        for (int slot = 0; slot < 13; ++slot)
            texMenu[slot] = makeTexture(2, [slot](int, int, uint8_t* rgb) {
                for (int k = 0; k < 3; ++k)
                    rgb[k] = static_cast<uint8_t>(slotColour(slot, k));
            });
        buildMenuLists();
    }

    void SetUp() override
    {
        SKIP_WITHOUT_CONTEXT(W, H);
        resetMenuState();
        menuState.buttonsOffset = 1.5f;
        // The fixed state the game sets up before the first menu frame.
        glViewport(0, 0, W, H);
        glDepthFunc(GL_LEQUAL);
        for (GLenum cap : {GL_DEPTH_TEST, GL_TEXTURE_2D, GL_CULL_FACE})
            glEnable(cap);
        glColor3f(1.0f, 1.0f, 1.0f);
    }

    static ReadPixels draw(uint8_t introFrame = 0, uint8_t exitFade = 0)
    {
        for (GLenum matrix : {GL_PROJECTION, GL_MODELVIEW})
            glMatrixMode(matrix), glLoadIdentity();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        MenuFrameDraw frame;
        frame.introFrame = introFrame, frame.exitFade = exitFade;
        drawMenu(frame);
        return readBackBuffer();
    }

    // The slot at a point of the menu's screen space (-1..1, y up), at a fade level.
    static void expectSlot(const ReadPixels& p, float x, float y, int slot, float level = 1.0f)
    {
        const uint8_t* px = p.at(std::min(W - 1, static_cast<int>((x + 1.0f) * 0.5f * W)),
                                 std::min(H - 1, static_cast<int>((y + 1.0f) * 0.5f * H)));
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(px[k], slotColour(slot, k) * level, 3.0)
                << "at (" << x << ", " << y << ") want slot " << slot;
    }
};

TEST_F(MenuDraw, ButtonsShowTheCursorItemSelectedOverTheBackgroundAndFollowTheirOffset)
{
    for (int32_t cursor = 0; cursor <= MENU_ITEM_BACK; ++cursor) {  // the back button: none selected
        menuState.menuCursor = cursor;
        const ReadPixels p = draw();
        for (int item = 0; item < 4; ++item)
            expectSlot(p, BUTTON_X, BUTTON_Y[item], MENU_SLOT_BUTTONS + 2 * item + (item == cursor ? 0 : 1));
        // The background between the buttons and where the back button stands off the screen.
        for (float x : {0.9f, BUTTON_X, -0.9f})
            expectSlot(p, x, x == BUTTON_X ? 0.175f : x, MENU_SLOT_BACKGROUND);
    }
    menuState.buttonsOffset = 0.24f;  // where a panel leaves them: off the screen
    ReadPixels p = draw();
    for (float y : BUTTON_Y)
        expectSlot(p, -0.99f, y, MENU_SLOT_BACKGROUND);
    menuState.buttonsOffset = 1.0f;  // half way: the new-game button reaches x = -0.26
    p = draw();
    expectSlot(p, -0.5f, BUTTON_Y[0], MENU_SLOT_BUTTONS + 1);
    expectSlot(p, -0.2f, BUTTON_Y[0], MENU_SLOT_BACKGROUND);
}

TEST_F(MenuDraw, PanelsCoverTheButtonsWithTheBackButtonAndDrawInOrderWithTheNewGamePanelOnTop)
{
    menuState.showAboutPanel = 1, menuState.panelOffset = 1.995f, menuState.backButtonOffset = 1.26f;
    const ReadPixels p = draw();
    // The panel covers x -0.895..0.905, y -0.8..0.4, over the buttons.
    const float at[][3] = {{0.0f, 0.0f, MENU_SLOT_ABOUT_PANEL}, {-0.85f, 0.35f, MENU_SLOT_ABOUT_PANEL},
                           {0.85f, -0.75f, MENU_SLOT_ABOUT_PANEL}, {0.95f, 0.0f, MENU_SLOT_BACKGROUND},
                           {0.0f, 0.45f, MENU_SLOT_BACKGROUND}, {-0.6f, -0.9f, MENU_SLOT_BACK_BUTTON}};
    for (const auto& a : at)
        expectSlot(p, a[0], a[1], static_cast<int>(a[2]));
    menuState.buttonsOffset = 0.0f;
    menuState.panelOffset = 2.0f;
    menuState.showBusesPanel = 1;
    expectSlot(draw(), 0.0f, 0.0f, MENU_SLOT_BUSES_PANEL);
    menuState.showNewGamePanel = 1;
    expectSlot(draw(), 0.0f, 0.0f, MENU_SLOT_NEW_GAME_PANEL);
    // The about panel's texture shift leaves the texture matrix as it was.
    GLfloat texture[16];
    glGetFloatv(GL_TEXTURE_MATRIX, texture);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(texture[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
}

// The opening draws only its fade picture at its level (the buttons would be on the screen); the
// exit fade darkens everything drawn after it.
TEST_F(MenuDraw, OpeningAndExitFadesDrawAtTheirLevel)
{
    menuState.fadePicture = MENU_SLOT_LOGO;
    menuState.fadeLevel = 0.5f;
    ReadPixels p = draw(1);
    for (float y : BUTTON_Y)
        expectSlot(p, BUTTON_X, y, MENU_SLOT_LOGO, 0.5f);
    expectSlot(p, -0.99f, -0.99f, MENU_SLOT_LOGO, 0.5f);
    expectSlot(p, 0.99f, 0.99f, MENU_SLOT_LOGO, 0.5f);
    menuState.fadePicture = MENU_SLOT_BACKGROUND;
    p = draw(0, 1);
    expectSlot(p, 0.9f, 0.9f, MENU_SLOT_BACKGROUND, 0.5f);
    expectSlot(p, BUTTON_X, BUTTON_Y[0], MENU_SLOT_BUTTONS, 0.5f);
    expectSlot(p, BUTTON_X, BUTTON_Y[3], MENU_SLOT_BUTTONS + 7, 0.5f);
}

TEST_F(MenuDraw, TheMenuFrameDrawsInScreenSpaceWhateverMatricesTheRunLeft)
{
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(100.0f, 50.0f, 0.0f);
    menuState.introActive = 0;
    menuState.buttonsEntering = 0;
    menuFrame();  // the test context has no game window, so the picture stays in the back buffer
    const ReadPixels p = readBackBuffer();
    expectSlot(p, 0.9f, 0.9f, MENU_SLOT_BACKGROUND);
    expectSlot(p, BUTTON_X, BUTTON_Y[0], MENU_SLOT_BUTTONS);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

} // namespace

// An imported tree's about panel writes its attribution along the bottom strip with the font, the
// copyright sign from its own cell; without the source file the strip shows the panel. Font cell k
// is coloured (k, 255 - k, 77); the text starts at x 43, y 51 of the 640 x 480 text space.
TEST_F(MenuDraw, TheAboutPanelShowsAnImportedTreesAttribution)
{
    texFont[0] = makeTexture(256, [](int x, int y, uint8_t* px) {
        const int k = (15 - y / 16) * 16 + x / 16;  // texture rows from the bottom, cells from the top
        px[0] = static_cast<uint8_t>(k);
        px[1] = static_cast<uint8_t>(255 - k);
        px[2] = 77;
    });
    menuState.showAboutPanel = 1;
    menuState.panelOffset = 1.995f;
    std::snprintf(treeSource.attribution, sizeof treeSource.attribution, "M\xa9");
    treeSource.present = 1;
    const ReadPixels p = draw();
    const auto colour = [](const ReadPixels& r, int x, int y) {
        return std::make_tuple(int{r.at(x, y)[0]}, int{r.at(x, y)[1]}, int{r.at(x, y)[2]});
    };
    EXPECT_EQ(colour(p, 24, 29), std::make_tuple(45, 210, 77)) << "M, cell 45";
    EXPECT_EQ(colour(p, 33, 29), std::make_tuple(127, 128, 77)) << "the copyright sign, cell 127";
    treeSource.present = 0;
    const int panel = MENU_SLOT_ABOUT_PANEL;
    EXPECT_EQ(colour(draw(), 24, 29), std::make_tuple(slotColour(panel, 0), slotColour(panel, 1), slotColour(panel, 2)));
}
