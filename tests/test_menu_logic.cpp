// The menu over ticks without a window: keys through keyState, load and font release counted, sound recorded.
#include "core/game.h"
#include "core/keys.h"
#include "flow/menu.h"
#include "platform/platform.h"
#include "platform/null/null_platform.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <tuple>
#include <string>
#include <vector>

namespace {

int loadCount = 0, fontDropCount = 0;
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
        inGame = quitRequested = shutdownRequested = 0, loadCount = fontDropCount = 0;
        sndRecordReset(); sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT); auto& music = soundStreams[STREAM_MENU_MUSIC];
        music = sndOpenStream("Dane/Menu/muzyka.wav", SND_LOOPING);
        sndStopStream(music);
        musicStop = sndRecordTake().back();  // "StreamStop(<id>)"
        musicPlay = "StreamPlay(20," + musicStop.substr(11, musicStop.size() - 12) + ")";
    }
    void TearDown() override { soundStreams[STREAM_MENU_MUSIC] = nullptr; }

    MenuFrameDraw tick() { return menuTick(countingActions); }
    // Runs ticks until the condition holds; the number of ticks it took (limit + 1 if never).
    template <typename Condition> int ticksUntil(Condition done, int limit = 2000)
    {
        for (int n = 1; n <= limit; ++n)
            if (tick(), done()) return n;
        return limit + 1;
    }
    void idle(int n) { ticksUntil([] { return false; }, n); }
    // The opening fade and the buttons sliding in: the idle main menu.
    void reachIdleMenu()
    {
        ticksUntil([] { return introActive == 0; });
        ticksUntil([] { return menuState.buttonsEntering == 0.0f; });
        ASSERT_EQ(menuState.menuBusy, 0);
    }
    // Key down for one tick (which acts), then up for one tick; Enter: only the tick that acts.
    MenuFrameDraw tap(uint8_t key, int times = 1)
    {
        MenuFrameDraw acted{};
        for (int k = 0; k < times; ++k) {
            keyState[key] = 1; acted = tick(); keyState[key] = 0;
            if (key != VK_RETURN) tick();
        }
        return acted;
    }
    std::string musicPlay, musicStop;
};

// Exit is chosen in the first ticks of the opening; it fades out only once the opening has ended.
TEST_F(MenuLogic, OpeningFadeWithMusicAtTick402ThenTheExitFadeFor200Ticks)
{
    int musicTick = 0, endTick = 0;
    for (int n = 1; n <= 700 && endTick == 0; ++n) {
        keyState[VK_DOWN] = n == 1 || n == 3 || n == 5; keyState[VK_RETURN] = n == 7;
        EXPECT_EQ(tick().introFrame, 1) << n;
        if (countOf(sndRecordTake(), musicPlay) > 0) {
            EXPECT_EQ(musicTick, 0) << "music started twice";
            musicTick = n;
            EXPECT_EQ(menuState.fadePicture, MENU_SLOT_BACKGROUND);
        }
        EXPECT_TRUE(n != 200 || menuState.fadeLevel > 0.98f) << "the logo at its brightest";
        EXPECT_TRUE(n >= 400 || menuState.fadePicture == MENU_SLOT_LOGO) << n;
        endTick = introActive == 0 ? n : 0;
    }
    EXPECT_TRUE(musicTick == 402 && endTick == 604) << musicTick << " " << endTick;
    EXPECT_TRUE(menuState.fadeLevel == 0.995f && menuState.fadeRising == 0 && menuState.cmdExit == 1);
    float last = menuState.fadeLevel;
    int n = 0;
    for (; shutdownRequested == 0 && n < 400; ++n) {
        const MenuFrameDraw f = tick();
        EXPECT_TRUE(f.introFrame == 0 && f.exitFade == 1 && menuState.fadeLevel < last) << n;
        last = menuState.fadeLevel;
    }
    EXPECT_EQ(n, 200);
    EXPECT_TRUE(quitRequested == 1 && menuState.fadeLevel <= 0.0f && menuState.cmdExit == 1)
        << "exit never cleared";
    shutdownRequested = quitRequested = 0; tick();
    EXPECT_EQ(shutdownRequested, 0) << "frames after the request change nothing more";
}

// The panels open with the cursor held on back, and back closes them in tick 105.
TEST_F(MenuLogic, PanelsTheCursorAndTheExitFromTheIdleMenu)
{
    reachIdleMenu();
    for (int item : {MENU_ITEM_BUSES, MENU_ITEM_ABOUT}) {
        SCOPED_TRACE(item);
        tap(VK_DOWN, item); tap(VK_RETURN);
        EXPECT_EQ(menuState.showBusesPanel, item == MENU_ITEM_BUSES ? 1 : 0);
        EXPECT_EQ(menuState.showAboutPanel, item == MENU_ITEM_ABOUT ? 1 : 0);
        EXPECT_EQ(1 + ticksUntil([] { return menuState.cmdBuses + menuState.cmdAbout == 0; }), 105);
        tap(VK_UP); tap(VK_DOWN);
        EXPECT_EQ(menuState.menuCursor, MENU_ITEM_BACK) << "held on back while open";
        tap(VK_RETURN);
        EXPECT_TRUE(menuState.cmdBack == 1 && menuState.menuCursor == 0 && menuState.menuCursorLimit == 4);
        EXPECT_EQ(1 + ticksUntil([] { return menuState.cmdBack == 0; }), 105);
        EXPECT_TRUE(menuState.backButtonOffset <= 0.0f && std::fabs(menuState.panelOffset) < 1e-4f &&
                    menuState.buttonsOffset >= 1.495f && menuState.menuBusy == 0);
        const float buttons = menuState.buttonsOffset;
        idle(10);
        EXPECT_EQ(menuState.buttonsOffset, buttons) << "buttons-in completed in the same tick: they stay";
    }
    keyState[VK_ESCAPE] = keyState[VK_DOWN] = 1;  // Escape is not read in the menu
    idle(30);
    EXPECT_EQ(menuState.menuCursor, 1) << "held: one step only";
    keyState[VK_DOWN] = 0; tick(); tap(VK_UP, 5);
    EXPECT_EQ(menuState.menuCursor, 0) << "no wrap past new game";
    tap(VK_DOWN, 4);
    EXPECT_EQ(menuState.menuCursor, 3) << "no wrap past exit";
    EXPECT_EQ(quitRequested + shutdownRequested + inGame, 0);
    EXPECT_EQ(tap(VK_RETURN).exitFade, 1);
    EXPECT_EQ(ticksUntil([] { return shutdownRequested == 1; }), 199);
    EXPECT_LE(menuState.buttonsOffset, 0.0f) << "the buttons left the screen on the way";
}

TEST_F(MenuLogic, NewGameLoadsOnceInTick106AndTheReturnRestartsMusicAndSlidesButtonsIn106Ticks)
{
    reachIdleMenu();
    tap(VK_DOWN); tap(VK_UP); tap(VK_RETURN);  // the cursor is kept over the run
    EXPECT_EQ(menuState.showNewGamePanel, 1);
    idle(104);
    EXPECT_EQ(loadCount + inGame, 0);
    sndRecordTake(); tick();  // tick 106
    EXPECT_TRUE(loadCount == 1 && inGame == 1);
    EXPECT_EQ(menuState.showNewGamePanel + newGameArmed + newGameReady + menuState.cmdNewGame, 0);
    EXPECT_TRUE(menuState.panelOffset == 0.0f && restartMenuMusic == 1);
    EXPECT_NEAR(menuState.buttonsOffset, 0.228f, 1e-4f);
    EXPECT_EQ(countOf(sndRecordTake(), musicStop), 1);
    tick();
    EXPECT_EQ(loadCount, 1) << "extra menu frames cannot load a second time";
    sndRecordTake(); inGame = 0; returnToMenu = 1;  // what Escape in the run leaves behind
    EXPECT_EQ(tick().introFrame, 0);
    std::vector<std::string> expected{musicPlay};
    for (int channel = 0; channel <= 11; ++channel)
        expected.push_back("StopSound(" + std::to_string(channel) + ")");
    EXPECT_EQ(sndRecordTake(), expected);
    EXPECT_TRUE(restartMenuMusic == 0 && newGameArmed == 1 && menuState.menuBusy == 1 && fontDropCount == 1);
    EXPECT_EQ(1 + ticksUntil([] { return returnToMenu == 0; }), 106);
    EXPECT_EQ(fontDropCount, 106) << "on every tick of the return";
    EXPECT_TRUE(sndRecordTake().empty());
    EXPECT_TRUE(menuState.menuBusy == 0 && menuState.buttonsOffset >= 1.495f && menuState.menuCursor == 0);
    tap(VK_RETURN); ticksUntil([] { return inGame == 1; });
    EXPECT_EQ(loadCount, 2) << "a second game loads again";
}

TEST_F(MenuLogic, UnknownMotionsClosedGatesPanelOutAndEnterWhileTheButtonsSlide)
{
    const MenuState before = menuState;
    for (int motion : {-1, 2, 3, 8, 99}) menuMotion(motion);
    EXPECT_EQ(std::memcmp(&before, &menuState, sizeof before), 0);
    menuState.motionGate[MENU_MOTION_PANEL_IN] = 0; menuMotion(MENU_MOTION_PANEL_IN);
    EXPECT_EQ(menuState.panelOffset, 0.0f);
    menuMotion(MENU_MOTION_BUTTONS_OUT);  // already at its target
    EXPECT_EQ(menuState.buttonsOffset, 0.0f);
    menuState.panelOffset = 0.01f;
    menuState.showAboutPanel = menuState.showBusesPanel = menuState.showNewGamePanel = 1;
    menuMotion(MENU_MOTION_PANEL_OUT);
    EXPECT_EQ(std::make_tuple(menuState.showAboutPanel, menuState.showBusesPanel, menuState.showNewGamePanel),
              std::make_tuple(0, 0, 1));
    SetUp(); ticksUntil([] { return introActive == 0; });  // Enter while the buttons slide: only if held
    idle(20); tap(VK_RETURN); tick();
    EXPECT_EQ(menuState.cmdNewGame, 0);
    keyState[VK_RETURN] = 1;  // held through the rest of the slide: acts on the first tick after it
    ticksUntil([] { return menuState.buttonsEntering == 0.0f; });
    EXPECT_EQ(menuState.cmdNewGame, 0);
    tick();
    EXPECT_EQ(menuState.cmdNewGame, 1);
    menuState.cmdNewGame = 0; tick();
    EXPECT_EQ(menuState.cmdNewGame, 0) << "once only while it stays held";
}

} // namespace
