// The menu as a state machine over ticks, without a window: keys pressed through keyState, the
// load and the font release counted, the sound calls taken from the recording library.
#include "core/game.h"
#include "core/keys.h"
#include "flow/menu.h"
#include "platform/platform.h"
#include "platform/null/null_platform.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

int loadCount = 0;
int fontDropCount = 0;
const MenuActions countingActions{[] { ++loadCount; }, [] { ++fontDropCount; }};

class MenuLogic : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMenuState();
        std::memset(keyState, 0, sizeof keyState);
        inGame = 0;
        quitRequested = 0;
        shutdownRequested = 0;
        loadCount = 0;
        fontDropCount = 0;
        fsoundRecordReset();
        FSOUND_Init(44100, 32, 0);
        soundStreams[STREAM_MENU_MUSIC] = FSOUND_Stream_Open("Dane/Menu/muzyka.wav", FSOUND_LOOP_NORMAL, 0, 0);
        musicPlay = "StreamPlay(20," + handleText() + ")";
        musicStop = "StreamStop(" + handleText() + ")";
        fsoundRecordTake();
    }

    void TearDown() override { soundStreams[STREAM_MENU_MUSIC] = nullptr; }

    static std::string handleText()
    {
        FSOUND_Stream_Stop(soundStreams[STREAM_MENU_MUSIC]);
        const std::string call = fsoundRecordTake().back();  // "StreamStop(<id>)"
        return call.substr(11, call.size() - 12);
    }

    MenuFrameDraw tick() { return menuTick(countingActions); }

    // Runs ticks until the condition holds; the number of ticks it took (limit + 1 if never).
    template <typename Condition>
    int ticksUntil(Condition done, int limit = 2000)
    {
        for (int n = 1; n <= limit; ++n) {
            tick();
            if (done())
                return n;
        }
        return limit + 1;
    }

    // The opening fade and the buttons sliding in: the idle main menu.
    void reachIdleMenu()
    {
        ticksUntil([] { return introActive == 0; });
        ticksUntil([] { return menuState.buttonsEntering == 0.0f; });
        ASSERT_EQ(menuState.menuBusy, 0);
    }

    // Key down for one tick (which acts), then up for one tick.
    void tap(uint8_t key)
    {
        keyState[key] = 1;
        tick();
        keyState[key] = 0;
        tick();
    }

    // Enter held for one tick: the tick that starts the command.
    void enterTick()
    {
        keyState[VK_RETURN] = 1;
        tick();
        keyState[VK_RETURN] = 0;
    }

    static int countOf(const std::vector<std::string>& calls, const std::string& call)
    {
        return static_cast<int>(std::count(calls.begin(), calls.end(), call));
    }

    std::string musicPlay;
    std::string musicStop;
};

bool sameState(const MenuState& a, const MenuState& b)
{
    return a.menuCursor == b.menuCursor && a.menuCursorMin == b.menuCursorMin &&
           a.menuCursorLimit == b.menuCursorLimit && a.cmdNewGame == b.cmdNewGame && a.cmdBuses == b.cmdBuses &&
           a.cmdAbout == b.cmdAbout && a.cmdExit == b.cmdExit && a.cmdBack == b.cmdBack && a.menuBusy == b.menuBusy &&
           a.showNewGamePanel == b.showNewGamePanel && a.showAboutPanel == b.showAboutPanel &&
           a.showBusesPanel == b.showBusesPanel && a.fadeLevel == b.fadeLevel && a.fadeRising == b.fadeRising &&
           a.fadePicture == b.fadePicture && a.buttonsOffset == b.buttonsOffset &&
           a.backButtonOffset == b.backButtonOffset && a.panelOffset == b.panelOffset &&
           a.motionGate == b.motionGate && a.buttonsEntering == b.buttonsEntering;
}

// --- Opening fade and buttons ---

TEST_F(MenuLogic, OpeningFadeStartsMusicAtTick402AndEndsAtTick604)
{
    int musicTick = 0;
    int endTick = 0;
    for (int n = 1; n <= 700 && endTick == 0; ++n) {
        const MenuFrameDraw frame = tick();
        EXPECT_EQ(frame.introFrame, 1) << "tick " << n;
        const std::vector<std::string> calls = fsoundRecordTake();
        if (countOf(calls, musicPlay) > 0) {
            EXPECT_EQ(musicTick, 0) << "music started twice";
            musicTick = n;
            EXPECT_EQ(menuState.fadePicture, MENU_SLOT_BACKGROUND);
        }
        if (n == 200) {
            EXPECT_GT(menuState.fadeLevel, 0.98f);  // the logo at its brightest
        }
        if (n < 400) {
            EXPECT_EQ(menuState.fadePicture, MENU_SLOT_LOGO) << "tick " << n;
        }
        if (introActive == 0)
            endTick = n;
    }
    EXPECT_EQ(musicTick, 402);
    EXPECT_EQ(endTick, 604);
    EXPECT_FLOAT_EQ(menuState.fadeLevel, 0.995f);
    EXPECT_EQ(menuState.fadeRising, 0);
    // The first frame after the opening draws the menu itself.
    EXPECT_EQ(tick().introFrame, 0);
}

TEST_F(MenuLogic, ButtonsSlideInFor125TicksAfterTheOpening)
{
    ticksUntil([] { return introActive == 0; });
    EXPECT_FLOAT_EQ(menuState.buttonsOffset, 0.0f);
    const int n = ticksUntil([] { return menuState.buttonsEntering == 0.0f; });
    EXPECT_EQ(n, 125);
    EXPECT_GE(menuState.buttonsOffset, 1.495f);
    EXPECT_EQ(menuState.menuBusy, 0);
    EXPECT_EQ(menuState.motionGate[MENU_MOTION_BUTTONS_IN], 0);
    // Finished: further frames leave the buttons alone.
    const float where = menuState.buttonsOffset;
    tick();
    EXPECT_EQ(menuState.buttonsOffset, where);
}

TEST_F(MenuLogic, ExitChosenDuringTheOpeningFadesOutWhenTheOpeningEnds)
{
    tap(VK_DOWN);
    tap(VK_DOWN);
    tap(VK_DOWN);
    enterTick();
    EXPECT_EQ(menuState.cmdExit, 1);
    ticksUntil([] { return introActive == 0; });
    EXPECT_FLOAT_EQ(menuState.fadeLevel, 0.995f);  // nothing faded during the opening
    EXPECT_EQ(tick().exitFade, 1);
    EXPECT_LT(menuState.fadeLevel, 0.995f);
    EXPECT_EQ(ticksUntil([] { return shutdownRequested == 1; }), 199);
}

// Buttons in and buttons out both run in the first frame after the opening; out starts from 0,
// so it completes at once and ends the command that asked for it.
TEST_F(MenuLogic, NewGameChosenDuringTheOpeningIsUsedUpInItsFirstFrame)
{
    for (int n = 0; n < 100; ++n)
        tick();
    enterTick();
    EXPECT_EQ(menuState.cmdNewGame, 1);
    EXPECT_FLOAT_EQ(menuState.panelOffset, 0.0f);  // nothing moves during the fade
    ticksUntil([] { return introActive == 0; });
    tick();
    EXPECT_EQ(menuState.cmdNewGame, 0);
    EXPECT_EQ(menuState.showNewGamePanel, 1);
    EXPECT_FLOAT_EQ(menuState.panelOffset, 0.019f);  // one step, still off the screen
    // The buttons then slide in from 0 as usual and a second Enter starts the game.
    EXPECT_EQ(ticksUntil([] { return menuState.buttonsEntering == 0.0f; }), 125);
    enterTick();
    ticksUntil([] { return inGame == 1; });
    EXPECT_EQ(loadCount, 1);
}

// The same for about: the panel stays off the screen with the cursor held on back, and the
// next Enter (back) puts the main menu right in one tick.
TEST_F(MenuLogic, AboutChosenDuringTheOpeningLeavesBackForTheNextEnter)
{
    tap(VK_DOWN);
    tap(VK_DOWN);
    enterTick();
    ticksUntil([] { return introActive == 0; });
    ticksUntil([] { return menuState.buttonsEntering == 0.0f; });
    tick();
    EXPECT_EQ(menuState.menuCursor, MENU_ITEM_BACK);
    EXPECT_LT(menuState.panelOffset, 0.1f);  // off the screen
    enterTick();
    EXPECT_EQ(menuState.cmdBack, 0);
    EXPECT_EQ(menuState.showAboutPanel, 0);
    EXPECT_EQ(menuState.menuCursor, 0);
    EXPECT_EQ(menuState.menuCursorLimit, 4);
    EXPECT_GE(menuState.buttonsOffset, 1.495f);
    tap(VK_DOWN);
    EXPECT_EQ(menuState.menuCursor, 1);
}

TEST_F(MenuLogic, EnterWhileButtonsSlideIsIgnoredUnlessStillHeld)
{
    ticksUntil([] { return introActive == 0; });
    for (int n = 0; n < 20; ++n)
        tick();
    tap(VK_RETURN);
    EXPECT_EQ(menuState.cmdNewGame, 0);
    // Held through the rest of the slide: acts on the first tick after it.
    keyState[VK_RETURN] = 1;
    ticksUntil([] { return menuState.buttonsEntering == 0.0f; });
    EXPECT_EQ(menuState.cmdNewGame, 0);
    tick();
    EXPECT_EQ(menuState.cmdNewGame, 1);
    // And once only while it stays held.
    menuState.cmdNewGame = 0;
    tick();
    EXPECT_EQ(menuState.cmdNewGame, 0);
}

TEST_F(MenuLogic, EscapeIsNotReadInTheMenu)
{
    reachIdleMenu();
    const MenuState before = menuState;
    keyState[VK_ESCAPE] = 1;
    for (int n = 0; n < 50; ++n)
        tick();
    EXPECT_TRUE(sameState(before, menuState));
    EXPECT_EQ(quitRequested, 0);
    EXPECT_EQ(inGame, 0);
}

// --- Cursor ---

TEST_F(MenuLogic, CursorMovesOncePerPressAndStaysInBounds)
{
    reachIdleMenu();
    keyState[VK_DOWN] = 1;
    for (int n = 0; n < 30; ++n)
        tick();
    EXPECT_EQ(menuState.menuCursor, 1);  // held: one step only
    keyState[VK_DOWN] = 0;
    tick();
    tap(VK_DOWN);
    tap(VK_DOWN);
    EXPECT_EQ(menuState.menuCursor, 3);
    tap(VK_DOWN);
    EXPECT_EQ(menuState.menuCursor, 3);  // no wrap past exit
    for (int n = 0; n < 5; ++n)
        tap(VK_UP);
    EXPECT_EQ(menuState.menuCursor, 0);  // no wrap past new game
}

TEST_F(MenuLogic, CursorMovesDuringTheOpeningToo)
{
    tap(VK_DOWN);
    tap(VK_DOWN);
    EXPECT_EQ(menuState.menuCursor, 2);
    EXPECT_EQ(introActive, 1);
}

TEST_F(MenuLogic, EachItemSetsItsCommand)
{
    reachIdleMenu();
    struct Case {
        int32_t item;
        uint8_t MenuState::*flag;
    };
    const Case cases[] = {{MENU_ITEM_NEW_GAME, &MenuState::cmdNewGame},
                          {MENU_ITEM_BUSES, &MenuState::cmdBuses},
                          {MENU_ITEM_ABOUT, &MenuState::cmdAbout},
                          {MENU_ITEM_EXIT, &MenuState::cmdExit}};
    for (const Case& c : cases) {
        const MenuState idle = menuState;
        menuState.menuCursor = c.item;
        menuInput();
        keyState[VK_RETURN] = 1;
        menuInput();
        keyState[VK_RETURN] = 0;
        menuInput();
        EXPECT_EQ(menuState.*c.flag, 1) << "item " << c.item;
        const int set = menuState.cmdNewGame + menuState.cmdBuses + menuState.cmdAbout + menuState.cmdExit +
                        menuState.cmdBack;
        EXPECT_EQ(set, 1) << "item " << c.item;
        menuState = idle;
    }
}

// --- Panels ---

TEST_F(MenuLogic, AboutPanelOpensInTick105AndHoldsTheCursorOnBack)
{
    reachIdleMenu();
    tap(VK_DOWN);
    tap(VK_DOWN);
    ASSERT_EQ(menuState.menuCursor, MENU_ITEM_ABOUT);
    enterTick();
    EXPECT_EQ(menuState.showAboutPanel, 1);
    EXPECT_EQ(menuState.showBusesPanel, 0);
    EXPECT_EQ(menuState.menuBusy, 1);
    const int n = 1 + ticksUntil([] { return menuState.cmdAbout == 0; });
    EXPECT_EQ(n, 105);
    EXPECT_GE(menuState.backButtonOffset, 1.25f);
    EXPECT_NEAR(menuState.panelOffset, 1.995f, 1e-4f);
    EXPECT_NEAR(menuState.buttonsOffset, 0.24f, 1e-4f);
    EXPECT_EQ(menuState.menuBusy, 0);
    EXPECT_EQ(menuState.menuCursorMin, 4);
    EXPECT_EQ(menuState.menuCursorLimit, 5);

    // Open: everything stands still and the cursor is held on back.
    const float panel = menuState.panelOffset;
    tick();
    EXPECT_EQ(menuState.menuCursor, MENU_ITEM_BACK);
    tap(VK_UP);
    tap(VK_DOWN);
    tap(VK_DOWN);
    EXPECT_EQ(menuState.menuCursor, MENU_ITEM_BACK);
    EXPECT_EQ(menuState.panelOffset, panel);
    EXPECT_EQ(menuState.showAboutPanel, 1);
}

TEST_F(MenuLogic, BackClosesThePanelInTick105AndBringsTheButtons)
{
    reachIdleMenu();
    tap(VK_DOWN);
    ASSERT_EQ(menuState.menuCursor, MENU_ITEM_BUSES);
    enterTick();
    EXPECT_EQ(menuState.showBusesPanel, 1);
    EXPECT_EQ(menuState.showAboutPanel, 0);
    ticksUntil([] { return menuState.cmdBuses == 0; });
    tick();
    enterTick();
    EXPECT_EQ(menuState.cmdBack, 1);
    EXPECT_EQ(menuState.menuCursor, 0);
    EXPECT_EQ(menuState.menuCursorLimit, 4);
    const int n = 1 + ticksUntil([] { return menuState.cmdBack == 0; });
    EXPECT_EQ(n, 105);
    EXPECT_LE(menuState.backButtonOffset, 0.0f);
    EXPECT_NEAR(menuState.panelOffset, 0.0f, 1e-4f);
    EXPECT_GE(menuState.buttonsOffset, 1.495f);
    EXPECT_EQ(menuState.menuBusy, 0);
    // Buttons-in completed in the same tick, so the buttons stay where they are.
    EXPECT_EQ(menuState.motionGate[MENU_MOTION_BUTTONS_IN], 0);
    const float buttons = menuState.buttonsOffset;
    for (int k = 0; k < 10; ++k)
        tick();
    EXPECT_EQ(menuState.buttonsOffset, buttons);
    // The main menu works again.
    tap(VK_DOWN);
    EXPECT_EQ(menuState.menuCursor, 1);
}

TEST_F(MenuLogic, PanelsCanBeOpenedAgainAfterBack)
{
    reachIdleMenu();
    for (int round = 0; round < 3; ++round) {
        tap(VK_DOWN);
        tap(VK_DOWN);
        enterTick();
        ticksUntil([] { return menuState.cmdAbout == 0; });
        EXPECT_NEAR(menuState.panelOffset, 1.995f, 1e-3f) << "round " << round;
        tick();
        enterTick();
        ticksUntil([] { return menuState.cmdBack == 0; });
        EXPECT_GE(menuState.buttonsOffset, 1.495f) << "round " << round;
        EXPECT_NEAR(menuState.panelOffset, 0.0f, 1e-3f) << "round " << round;
    }
}

// --- New game and the return from a run ---

TEST_F(MenuLogic, NewGameLoadsOnceInTick106)
{
    reachIdleMenu();
    enterTick();
    EXPECT_EQ(menuState.showNewGamePanel, 1);
    for (int n = 2; n <= 105; ++n)
        tick();
    EXPECT_EQ(loadCount, 0);
    EXPECT_EQ(inGame, 0);
    fsoundRecordTake();
    tick();  // tick 106
    EXPECT_EQ(loadCount, 1);
    EXPECT_EQ(inGame, 1);
    EXPECT_EQ(menuState.showNewGamePanel, 0);
    EXPECT_FLOAT_EQ(menuState.panelOffset, 0.0f);
    EXPECT_EQ(newGameArmed, 0);
    EXPECT_EQ(newGameReady, 0);
    EXPECT_EQ(restartMenuMusic, 1);
    EXPECT_EQ(menuState.cmdNewGame, 0);
    EXPECT_NEAR(menuState.buttonsOffset, 0.228f, 1e-4f);
    EXPECT_EQ(countOf(fsoundRecordTake(), musicStop), 1);
    // Extra menu frames cannot load a second time.
    tick();
    EXPECT_EQ(loadCount, 1);
}

TEST_F(MenuLogic, ReturnFromRunRestartsMusicOnceAndSlidesButtonsIn106Ticks)
{
    reachIdleMenu();
    tap(VK_DOWN);  // the cursor is kept over the run
    tap(VK_UP);
    enterTick();
    ticksUntil([] { return inGame == 1; });
    fsoundRecordTake();

    // What Escape in the run leaves behind.
    inGame = 0;
    returnToMenu = 1;
    const MenuFrameDraw first = tick();
    EXPECT_EQ(first.introFrame, 0);
    std::vector<std::string> calls = fsoundRecordTake();
    std::vector<std::string> expected{musicPlay};
    for (int channel = 0; channel <= 11; ++channel)
        expected.push_back("StopSound(" + std::to_string(channel) + ")");
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(restartMenuMusic, 0);
    EXPECT_EQ(newGameArmed, 1);
    EXPECT_EQ(menuState.menuBusy, 1);
    EXPECT_EQ(fontDropCount, 1);

    const int n = 1 + ticksUntil([] { return returnToMenu == 0; });
    EXPECT_EQ(n, 106);
    EXPECT_EQ(fontDropCount, 106);  // on every tick of the return
    EXPECT_TRUE(fsoundRecordTake().empty());
    EXPECT_EQ(menuState.menuBusy, 0);
    EXPECT_GE(menuState.buttonsOffset, 1.495f);
    EXPECT_EQ(menuState.menuCursor, 0);

    // A second game loads again.
    enterTick();
    ticksUntil([] { return inGame == 1; });
    EXPECT_EQ(loadCount, 2);
}

TEST_F(MenuLogic, EnterDuringTheReturnIsIgnored)
{
    reachIdleMenu();
    enterTick();
    ticksUntil([] { return inGame == 1; });
    inGame = 0;
    returnToMenu = 1;
    for (int n = 0; n < 50; ++n)
        tick();
    tap(VK_RETURN);
    EXPECT_EQ(menuState.cmdNewGame, 0);
    ticksUntil([] { return returnToMenu == 0; });
    EXPECT_EQ(loadCount, 1);
}

// --- Exit ---

TEST_F(MenuLogic, ExitFadesFor200TicksThenRequestsTheShutdown)
{
    reachIdleMenu();
    for (int k = 0; k < 3; ++k)
        tap(VK_DOWN);
    ASSERT_EQ(menuState.menuCursor, MENU_ITEM_EXIT);
    keyState[VK_RETURN] = 1;
    MenuFrameDraw frame = tick();
    keyState[VK_RETURN] = 0;
    EXPECT_EQ(frame.exitFade, 1);
    float last = menuState.fadeLevel;
    int n = 1;
    while (shutdownRequested == 0 && n < 400) {
        frame = tick();
        ++n;
        EXPECT_EQ(frame.exitFade, 1);
        EXPECT_LT(menuState.fadeLevel, last);
        last = menuState.fadeLevel;
    }
    EXPECT_EQ(n, 200);
    EXPECT_EQ(quitRequested, 1);
    EXPECT_LE(menuState.fadeLevel, 0.0f);
    EXPECT_EQ(menuState.cmdExit, 1);  // never cleared
    // The buttons left the screen on the way.
    EXPECT_LE(menuState.buttonsOffset, 0.0f);
    // Frames after the request change nothing more.
    shutdownRequested = 0;
    quitRequested = 0;
    tick();
    EXPECT_EQ(shutdownRequested, 0);
}

// --- Motions ---

TEST_F(MenuLogic, UnknownMotionsAndClosedGatesDoNothing)
{
    const MenuState before = menuState;
    for (int motion : {-1, 2, 3, 8, 99})
        menuMotion(motion);
    EXPECT_TRUE(sameState(before, menuState));

    menuState.motionGate[MENU_MOTION_PANEL_IN] = 0;
    menuMotion(MENU_MOTION_PANEL_IN);
    EXPECT_EQ(menuState.panelOffset, 0.0f);
    // Out motions do not move an offset that is already at its target.
    menuMotion(MENU_MOTION_BUTTONS_OUT);
    EXPECT_EQ(menuState.buttonsOffset, 0.0f);
}

TEST_F(MenuLogic, CompletionClosesOwnGateOpensOthersAndClearsCommands)
{
    menuState.motionGate.fill(0);
    menuState.motionGate[MENU_MOTION_BACK_IN] = 1;
    menuState.backButtonOffset = 1.245f;
    menuState.cmdAbout = 1;
    menuState.cmdBack = 1;
    menuState.cmdExit = 1;
    menuState.menuBusy = 1;
    menuMotion(MENU_MOTION_BACK_IN);
    for (int motion = 0; motion < MENU_MOTION_COUNT; ++motion)
        EXPECT_EQ(menuState.motionGate[motion], motion == MENU_MOTION_BACK_IN ? 0 : 1) << motion;
    EXPECT_EQ(menuState.cmdAbout, 0);
    EXPECT_EQ(menuState.cmdBack, 0);
    EXPECT_EQ(menuState.cmdExit, 1);
    EXPECT_EQ(menuState.menuBusy, 0);
    EXPECT_EQ(newGameReady, 0);  // only the panel motion of a new game makes it ready
}

TEST_F(MenuLogic, PanelOutHidesPanelsWhenItCompletes)
{
    menuState.panelOffset = 0.01f;
    menuState.showAboutPanel = 1;
    menuState.showBusesPanel = 1;
    menuState.showNewGamePanel = 1;
    menuMotion(MENU_MOTION_PANEL_OUT);
    EXPECT_EQ(menuState.showAboutPanel, 0);
    EXPECT_EQ(menuState.showBusesPanel, 0);
    EXPECT_EQ(menuState.showNewGamePanel, 1);
}

} // namespace
