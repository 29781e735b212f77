// The menu over ticks without a window: keys through keyState, load and font release counted, sound recorded.
#include "core/game.h"
#include "core/keys.h"
#include "flow/menu.h"
#include "platform/null/null_platform.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <tuple>
#include <string>
#include <vector>

namespace {

int loadCount = 0;
int fontDropCount = 0;
const MenuActions countingActions{[] { ++loadCount; }, [] { ++fontDropCount; }};

int countOf(const std::vector<std::string>& calls, const std::string& call)
{
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

class MenuLogic : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMenuState();
        std::memset(keyState, 0, sizeof keyState);
        game.inGame = 0;
        game.quitRequested = 0;
        game.shutdownRequested = 0;
        loadCount = 0;
        fontDropCount = 0;
        sndRecordReset();
        sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT);
        auto& music = soundStreams[STREAM_MENU_MUSIC];
        music = sndOpenStream("Dane/Menu/muzyka.wav", SND_LOOPING);
        sndStopStream(music);
        musicStop = sndRecordTake().back();  // "StreamStop(<id>)"
        musicPlay = "StreamPlay(20," + musicStop.substr(11, musicStop.size() - 12) + ")";
    }

    MenuFrameDraw tick() { return menuTick(countingActions); }
    // Runs ticks until the condition holds; the number of ticks it took (limit + 1 if never).
    template <typename Condition> int ticksUntil(Condition done, int limit = 2000)
    {
        for (int n = 1; n <= limit; ++n) {
            tick();
            if (done())
                return n;
        }
        return limit + 1;
    }
    void idle(int n) { ticksUntil([] { return false; }, n); }
    void reachIdleMenu()
    {
        ticksUntil([] { return menuState.introActive == 0; });
        ticksUntil([] { return menuState.buttonsEntering == 0; });
    }
    // Key down for one tick (which acts), then up for one tick; Enter: only the tick that acts.
    MenuFrameDraw tap(uint8_t key, int times = 1)
    {
        MenuFrameDraw acted{};
        for (int k = 0; k < times; ++k) {
            keyState[key] = 1;
            acted = tick();
            keyState[key] = 0;
            if (key != VK_RETURN)
                tick();
        }
        return acted;
    }
    // One tick of the opening in which exit is chosen: down on ticks 1, 3 and 5, Enter on tick 7.
    MenuFrameDraw openingTickChoosingExit(int n)
    {
        keyState[VK_DOWN] = n == 1 || n == 3 || n == 5;
        keyState[VK_RETURN] = n == 7;
        return tick();
    }
    void openPanel(int item)
    {
        reachIdleMenu();
        tap(VK_DOWN, item);
        tap(VK_RETURN);
        panelTicks = 1 + ticksUntil([] { return menuState.cmdBuses == 0 && menuState.cmdAbout == 0; });
    }
    // New game chosen from the idle menu (the cursor moved away and back is kept over the run).
    void chooseNewGame()
    {
        reachIdleMenu();
        tap(VK_DOWN);
        tap(VK_UP);
        tap(VK_RETURN);
    }
    // A game loaded, then Escape in the run leaves what it leaves, then the first menu tick.
    MenuFrameDraw returnFromARun()
    {
        chooseNewGame();
        ticksUntil([] { return game.inGame == 1; });
        sndRecordTake();
        game.inGame = 0;
        game.returnToMenu = 1;
        return tick();
    }
    std::string musicPlay, musicStop;
    int panelTicks = 0;
};

TEST_F(MenuLogic, TheOpeningRuns604TicksStartingTheMusicOnceAtTick402)
{
    int musicTick = 0;
    int endTick = 0;
    for (int n = 1; n <= 700 && endTick == 0; ++n) {
        EXPECT_EQ(openingTickChoosingExit(n).introFrame, 1) << n;
        if (countOf(sndRecordTake(), musicPlay) > 0) {
            musicTick = n;
            EXPECT_EQ(menuState.fadePicture, MENU_SLOT_BACKGROUND);
        }
        if (n == 200)
            EXPECT_GT(menuState.fadeLevel, 0.98f) << "the logo at its brightest";
        if (n < 400)
            EXPECT_EQ(menuState.fadePicture, MENU_SLOT_LOGO) << n;
        endTick = menuState.introActive == 0 ? n : 0;
    }
    EXPECT_EQ(std::make_tuple(musicTick, endTick), std::make_tuple(402, 604));
}

TEST_F(MenuLogic, ExitChosenDuringTheOpeningFadesOutFor200TicksAfterIt)
{
    for (int n = 1; menuState.introActive == 1 && n <= 700; ++n) openingTickChoosingExit(n);
    EXPECT_EQ(std::make_tuple(menuState.fadeLevel, menuState.fadeRising, menuState.cmdExit),
              std::make_tuple(0.995f, 0, 1));
    float last = menuState.fadeLevel;
    int n = 0;
    for (; game.shutdownRequested == 0 && n < 400; ++n) {
        const MenuFrameDraw f = tick();
        EXPECT_EQ(std::make_tuple(f.introFrame, f.exitFade), std::make_tuple(0, 1)) << n;
        EXPECT_LT(menuState.fadeLevel, last) << n;
        last = menuState.fadeLevel;
    }
    EXPECT_EQ(n, 200);
    EXPECT_EQ(std::make_tuple(game.quitRequested, menuState.cmdExit),
              std::make_tuple(1, 1)) << "exit never cleared";
    EXPECT_LE(menuState.fadeLevel, 0.0f);
    game.shutdownRequested = 0;
    game.quitRequested = 0;
    tick();
    EXPECT_EQ(game.shutdownRequested, 0) << "frames after the request change nothing more";
}

TEST_F(MenuLogic, BusesAndAboutOpenTheirPanelIn105Ticks)
{
    for (int item : {MENU_ITEM_BUSES, MENU_ITEM_ABOUT}) {
        openPanel(item);
        EXPECT_EQ(menuState.showBusesPanel, item == MENU_ITEM_BUSES ? 1 : 0) << item;
        EXPECT_EQ(menuState.showAboutPanel, item == MENU_ITEM_ABOUT ? 1 : 0) << item;
        EXPECT_EQ(panelTicks, 105) << item;
        tap(VK_RETURN);
        ticksUntil([] { return menuState.cmdBack == 0; });
    }
}

TEST_F(MenuLogic, TheCursorIsHeldOnBackWhileAPanelIsOpen)
{
    openPanel(MENU_ITEM_ABOUT);
    tap(VK_UP);
    tap(VK_DOWN);
    EXPECT_EQ(menuState.menuCursor, MENU_ITEM_BACK);
}

TEST_F(MenuLogic, BackClosesThePanelIn105TicksAndTheButtonsStayIn)
{
    openPanel(MENU_ITEM_BUSES);
    tap(VK_RETURN);
    EXPECT_EQ(std::make_tuple(menuState.cmdBack, menuState.menuCursor, menuState.menuCursorLimit),
              std::make_tuple(1, 0, 4));
    EXPECT_EQ(ticksUntil([] { return menuState.cmdBack == 0; }), 104) << "105 with the tick that acted";
    EXPECT_LE(menuState.backButtonOffset, 0.0f);
    EXPECT_NEAR(menuState.panelOffset, 0.0f, 1e-4f);
    EXPECT_GE(menuState.buttonsOffset, 1.495f);
    EXPECT_EQ(menuState.menuBusy, 0);
    const float buttons = menuState.buttonsOffset;
    idle(10);
    EXPECT_EQ(menuState.buttonsOffset, buttons) << "buttons-in completed in the same tick: they stay";
}

TEST_F(MenuLogic, AHeldKeyStepsTheCursorOnceAndEscapeIsNotRead)
{
    reachIdleMenu();
    keyState[VK_ESCAPE] = 1;
    keyState[VK_DOWN] = 1;
    idle(30);
    EXPECT_EQ(menuState.menuCursor, 1);
    EXPECT_EQ(std::make_tuple(game.quitRequested, game.shutdownRequested, game.inGame), std::make_tuple(0, 0, 0));
}

TEST_F(MenuLogic, TheCursorDoesNotWrapPastNewGameOrExit)
{
    reachIdleMenu();
    tap(VK_UP, 5);
    EXPECT_EQ(menuState.menuCursor, 0);
    tap(VK_DOWN, 4);
    EXPECT_EQ(menuState.menuCursor, 3);
}

TEST_F(MenuLogic, ExitFromTheIdleMenuFadesOutIn199TicksTakingTheButtonsAway)
{
    reachIdleMenu();
    tap(VK_DOWN, 3);
    EXPECT_EQ(tap(VK_RETURN).exitFade, 1);
    EXPECT_EQ(ticksUntil([] { return game.shutdownRequested == 1; }), 199);
    EXPECT_LE(menuState.buttonsOffset, 0.0f);
}

TEST_F(MenuLogic, NewGameLoadsOnceInTick106)
{
    chooseNewGame();
    EXPECT_EQ(menuState.showNewGamePanel, 1);
    idle(104);
    EXPECT_EQ(std::make_tuple(loadCount, game.inGame), std::make_tuple(0, 0));
    sndRecordTake();
    tick();
    EXPECT_EQ(std::make_tuple(loadCount, game.inGame), std::make_tuple(1, 1));
    EXPECT_EQ(std::make_tuple(menuState.showNewGamePanel, menuState.newGameArmed, menuState.newGameReady, menuState.cmdNewGame),
              std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(std::make_tuple(menuState.panelOffset, menuState.restartMenuMusic), std::make_tuple(0.0f, 1));
    EXPECT_NEAR(menuState.buttonsOffset, 0.228f, 1e-4f);
    EXPECT_EQ(countOf(sndRecordTake(), musicStop), 1);
    tick();
    EXPECT_EQ(loadCount, 1) << "extra menu frames cannot load a second time";
}

TEST_F(MenuLogic, TheReturnFromARunRestartsTheMusicAndStopsTheChannels)
{
    EXPECT_EQ(returnFromARun().introFrame, 0);
    std::vector<std::string> expected{musicPlay};
    for (int channel = 0; channel <= 11; ++channel)
        expected.push_back("StopSound(" + std::to_string(channel) + ")");
    EXPECT_EQ(sndRecordTake(), expected);
    EXPECT_EQ(std::make_tuple(menuState.restartMenuMusic, menuState.newGameArmed, menuState.menuBusy, fontDropCount),
              std::make_tuple(0, 1, 1, 1));
}

TEST_F(MenuLogic, TheReturnSlidesTheButtonsInOver106TicksDroppingTheFontsEachTick)
{
    returnFromARun();
    sndRecordTake();
    EXPECT_EQ(ticksUntil([] { return game.returnToMenu == 0; }), 105) << "106 with the first";
    EXPECT_EQ(fontDropCount, 106);
    EXPECT_TRUE(sndRecordTake().empty());
    EXPECT_EQ(std::make_tuple(menuState.menuBusy, menuState.menuCursor), std::make_tuple(0, 0));
    EXPECT_GE(menuState.buttonsOffset, 1.495f);
}

TEST_F(MenuLogic, UnknownMotionsChangeNothing)
{
    const MenuState before = menuState;
    for (int motion : {-1, 2, 3, 8, 99}) menuMotion(motion);
    EXPECT_EQ(std::memcmp(&before, &menuState, sizeof before), 0);
}

TEST_F(MenuLogic, AClosedGateStopsItsMotion)
{
    menuState.motionGate[MENU_MOTION_PANEL_IN] = 0;
    menuMotion(MENU_MOTION_PANEL_IN);
    EXPECT_EQ(menuState.panelOffset, 0.0f);
}

TEST_F(MenuLogic, AMotionAtItsTargetStaysThere)
{
    menuMotion(MENU_MOTION_BUTTONS_OUT);
    EXPECT_EQ(menuState.buttonsOffset, 0.0f);
}

TEST_F(MenuLogic, PanelOutClosesTheAboutAndBusesPanelsButNotNewGame)
{
    menuState.panelOffset = 0.01f;
    menuState.showAboutPanel = 1;
    menuState.showBusesPanel = 1;
    menuState.showNewGamePanel = 1;
    menuMotion(MENU_MOTION_PANEL_OUT);
    EXPECT_EQ(std::make_tuple(menuState.showAboutPanel, menuState.showBusesPanel, menuState.showNewGamePanel),
              std::make_tuple(0, 0, 1));
}

TEST_F(MenuLogic, EnterWhileTheButtonsSlideActsOnlyIfHeldPastTheSlideAndOnce)
{
    ticksUntil([] { return menuState.introActive == 0; });
    idle(20);
    tap(VK_RETURN);
    tick();
    EXPECT_EQ(menuState.cmdNewGame, 0) << "a tap during the slide";
    keyState[VK_RETURN] = 1;  // held through the rest of the slide: acts on the first tick after it
    ticksUntil([] { return menuState.buttonsEntering == 0; });
    EXPECT_EQ(menuState.cmdNewGame, 0);
    tick();
    EXPECT_EQ(menuState.cmdNewGame, 1);
    menuState.cmdNewGame = 0;
    tick();
    EXPECT_EQ(menuState.cmdNewGame, 0) << "once only while it stays held";
}

} // namespace
