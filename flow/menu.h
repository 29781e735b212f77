// The main menu: opening fade, sliding buttons, information panels, new game, exit fade.
//
// The menu is two halves. menu_logic.cpp is the state machine (keys, fades, motions, commands)
// and makes no GL call, so it runs in a test over scripted ticks. menu_draw.cpp draws the
// pictures from that state and owns menuFrame. All state below lives for the whole process; a
// return from a run keeps it (only the opening fade is not run again).
#pragma once

#include <array>
#include <cstdint>

// Menu items, by cursor position.
constexpr int32_t MENU_ITEM_NEW_GAME = 0;
constexpr int32_t MENU_ITEM_BUSES = 1;
constexpr int32_t MENU_ITEM_ABOUT = 2;
constexpr int32_t MENU_ITEM_EXIT = 3;
constexpr int32_t MENU_ITEM_BACK = 4;  // only while a panel is open
constexpr int32_t MENU_BUTTON_COUNT = 4;

// Slots of the menu pictures in TEX_MENU.
constexpr int MENU_SLOT_LOGO = 0;
constexpr int MENU_SLOT_BACKGROUND = 1;
constexpr int MENU_SLOT_BUTTONS = 2;  // item i: selected 2 + 2i, not selected 3 + 2i
constexpr int MENU_SLOT_BACK_BUTTON = 8;
constexpr int MENU_SLOT_ABOUT_PANEL = 10;
constexpr int MENU_SLOT_BUSES_PANEL = 11;
constexpr int MENU_SLOT_NEW_GAME_PANEL = 12;

// Motions: one offset moved by a fixed step per tick while its gate is open.
constexpr int MENU_MOTION_BUTTONS_IN = 0;
constexpr int MENU_MOTION_BUTTONS_OUT = 1;
constexpr int MENU_MOTION_BACK_IN = 4;
constexpr int MENU_MOTION_BACK_OUT = 5;
constexpr int MENU_MOTION_PANEL_IN = 6;
constexpr int MENU_MOTION_PANEL_OUT = 7;
constexpr int MENU_MOTION_COUNT = 8;

constexpr float MENU_FADE_STEP = 0.005f;
constexpr int MENU_FADE_OPENING = 0;
constexpr int MENU_FADE_EXIT = 1;

struct MenuState {
    // Shared with the frame dispatcher and the run.
    uint8_t newGameArmed = 1;      // 1: a game may be loaded
    uint8_t newGameReady = 0;      // set when the new-game panel has slid fully in
    uint8_t restartMenuMusic = 1;  // 1: start the menu music again on the next return
    uint8_t introActive = 1;       // 1 while the opening fade runs
    int32_t menuCursor = 0;
    int32_t menuCursorMin = 0;    // the cursor stays in [min, limit)
    int32_t menuCursorLimit = 4;
    uint8_t downLatch = 0;
    uint8_t upLatch = 0;
    uint8_t enterLatch = 0;
    // Commands set by Enter, cleared when a motion completes; cmdExit is never cleared.
    uint8_t cmdNewGame = 0;
    uint8_t cmdBuses = 0;
    uint8_t cmdAbout = 0;
    uint8_t cmdExit = 0;
    uint8_t cmdBack = 0;
    uint8_t menuBusy = 0;  // 1 while a command is animated; Enter is ignored meanwhile
    uint8_t showNewGamePanel = 0;
    uint8_t showAboutPanel = 0;
    uint8_t showBusesPanel = 0;
    float fadeLevel = 0.0f;
    uint8_t fadeRising = 1;
    int32_t fadePicture = MENU_SLOT_LOGO;
    float buttonsOffset = 0.0f;
    float backButtonOffset = 0.0f;
    float panelOffset = 0.0f;
    std::array<uint8_t, MENU_MOTION_COUNT> motionGate{1, 1, 1, 1, 1, 1, 1, 1};
    uint8_t buttonsEntering = 1;  // 1: motion 0 runs every frame
};

extern MenuState menuState;

// What the logic asks of the GL side at the transitions. The game passes loadAssets and killFont;
// tests pass counters. A null entry is skipped.
struct MenuActions {
    void (*loadGame)();
    void (*dropFont)();
};

// What the drawing of one frame needs besides menuState.
struct MenuFrameDraw {
    uint8_t introFrame = 0;  // the opening fade ran: draw the fade picture only
    uint8_t exitFade = 0;    // the exit fade ran: draw the fade picture over the background
};

// Back to the state at program start (game.returnToMenu too). For tests and tools.
void resetMenuState();

// Up, Down and Enter from keyState: the cursor and the command flags.
void menuInput();
// One step of a fade (MENU_FADE_OPENING or MENU_FADE_EXIT); the picture is drawn from the state.
void menuFade(int mode);
// One step of a motion (0, 1, 4, 5, 6 or 7); other numbers do nothing.
void menuMotion(int motion);
// The logic of one menu frame: input, the opening fade or the commands in their order, with the
// new-game and return transitions.
MenuFrameDraw menuTick(const MenuActions& actions);

// Draws one frame's pictures from menuState (GL). Needs the menu pictures and quads.
void drawMenu(const MenuFrameDraw& frame);
// One menu tick: input, animation, drawing, swap.
void menuFrame();
