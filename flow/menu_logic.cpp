// The menu's state machine: keys, fades, motions and commands. No GL here; the drawing reads
// menuState afterwards.
#include "flow/menu.h"

#include "core/game.h"
#include "core/keys.h"
#include "platform/platform.h"
#include "sound/sound.h"

MenuState menuState;

namespace {

// Which offset a motion moves, its signed step and its target.
struct MenuMotionSpec {
    float MenuState::*offset;
    float step;
    float target;
    uint8_t valid;
};

constexpr MenuMotionSpec MENU_MOTIONS[MENU_MOTION_COUNT] = {
    {&MenuState::buttonsOffset, 0.012f, 1.495f, 1},    // 0 buttons in
    {&MenuState::buttonsOffset, -0.012f, 0.0f, 1},     // 1 buttons out
    {nullptr, 0.0f, 0.0f, 0},
    {nullptr, 0.0f, 0.0f, 0},
    {&MenuState::backButtonOffset, 0.012f, 1.25f, 1},  // 4 back button in
    {&MenuState::backButtonOffset, -0.012f, 0.0f, 1},  // 5 back button out
    {&MenuState::panelOffset, 0.019f, 2.0f, 1},        // 6 panel in
    {&MenuState::panelOffset, -0.019f, 0.0f, 1},       // 7 panel out
};

void completeMotion(int motion)
{
    MenuState& m = menuState;
    const uint8_t newGameWasSet = m.cmdNewGame;
    for (int i = 0; i < MENU_MOTION_COUNT; ++i)
        m.motionGate[i] = (i == motion) ? 0 : 1;
    m.cmdNewGame = 0;
    m.cmdBuses = 0;
    m.cmdAbout = 0;
    m.cmdBack = 0;
    m.menuBusy = 0;
    switch (motion) {
    case MENU_MOTION_BUTTONS_IN:
        m.buttonsEntering = 0;
        game.returnToMenu = 0;
        break;
    case MENU_MOTION_PANEL_IN:
        if (newGameWasSet)
            menuState.newGameReady = 1;
        break;
    case MENU_MOTION_PANEL_OUT:
        m.showAboutPanel = 0;
        m.showBusesPanel = 0;
        break;
    default:
        break;
    }
}

void startMenuMusic()
{
    sndPlayStream(CHANNEL_MENU_MUSIC, soundStreams[STREAM_MENU_MUSIC]);
}

// The item under the cursor gets its command.
void setCommandOfCursor()
{
    MenuState& m = menuState;
    switch (m.menuCursor) {
    case MENU_ITEM_NEW_GAME: m.cmdNewGame = 1; break;
    case MENU_ITEM_BUSES: m.cmdBuses = 1; break;
    case MENU_ITEM_ABOUT: m.cmdAbout = 1; break;
    case MENU_ITEM_EXIT: m.cmdExit = 1; break;
    case MENU_ITEM_BACK: m.cmdBack = 1; break;
    default: break;
    }
}

void openPanel(uint8_t about)
{
    MenuState& m = menuState;
    m.menuBusy = 1;
    m.showAboutPanel = about;
    m.showBusesPanel = about ? 0 : 1;
    menuMotion(MENU_MOTION_PANEL_IN);
    menuMotion(MENU_MOTION_BACK_IN);
    menuMotion(MENU_MOTION_BUTTONS_OUT);
    m.menuCursorLimit = 5;
    m.menuCursorMin = 4;
}

void startNewGame(const MenuActions& actions)
{
    MenuState& m = menuState;
    menuState.newGameArmed = 0;
    menuState.newGameReady = 0;
    if (actions.loadGame)
        actions.loadGame();
    game.inGame = 1;
    m.showNewGamePanel = 0;
    m.panelOffset = 0.0f;
    sndStopStream(soundStreams[STREAM_MENU_MUSIC]);
    menuState.restartMenuMusic = 1;
}

void returnFromRun(const MenuActions& actions)
{
    MenuState& m = menuState;
    if (actions.dropFont)
        actions.dropFont();
    if (menuState.restartMenuMusic == 1) {
        menuState.restartMenuMusic = 0;
        startMenuMusic();
        // The vehicle's effects and idle loop; the air brake on 12 and the throttle loop on 13 go on.
        for (int channel = 0; channel <= 11; ++channel)
            sndStopChannel(channel);
    }
    m.menuBusy = 1;
    menuState.newGameArmed = 1;
    menuState.newGameReady = 0;
    m.showNewGamePanel = 0;
    menuMotion(MENU_MOTION_BUTTONS_IN);
}

} // namespace

void resetMenuState()
{
    menuState = MenuState{};
    game.returnToMenu = 0;
}

void menuInput()
{
    MenuState& m = menuState;
    if (keyState[VK_DOWN] && m.downLatch == 0) {
        m.downLatch = 1;
        m.menuCursor += 1;
    }
    if (keyState[VK_UP]) {
        if (m.upLatch == 0) {
            m.upLatch = 1;
            m.menuCursor -= 1;
        }
    } else {
        m.upLatch = 0;
    }
    if (!keyState[VK_DOWN])
        m.downLatch = 0;

    if (m.menuCursor < m.menuCursorMin)
        m.menuCursor = m.menuCursorMin;
    if (m.menuCursor >= m.menuCursorLimit)
        m.menuCursor = m.menuCursorLimit - 1;

    if (keyState[VK_RETURN]) {
        // While busy the latch stays open, so a held Enter acts when the animation ends.
        if (m.enterLatch == 0 && m.menuBusy == 0) {
            m.enterLatch = 1;
            setCommandOfCursor();
        }
    } else {
        m.enterLatch = 0;
    }
}

void menuFade(int mode)
{
    MenuState& m = menuState;
    if (mode == MENU_FADE_OPENING) {
        bool fallNow = false;
        if (m.fadeLevel < 1.0f && m.fadeRising == 1) {
            m.fadeLevel += MENU_FADE_STEP;
            if (m.fadeLevel >= 1.0f) {
                m.fadeRising = 0;
                if (m.fadePicture == MENU_SLOT_BACKGROUND) {
                    m.fadeLevel = 1.0f;
                    menuState.introActive = 0;
                    fallNow = true;
                }
            }
        }
        if (!fallNow && m.fadeLevel <= 0.0f)
            return;
        if (m.fadeRising == 0) {
            m.fadeLevel -= MENU_FADE_STEP;
            if (m.fadeLevel <= 0.0f) {
                // The logo has gone: the background rises with the music.
                m.fadeRising = 1;
                m.fadePicture = MENU_SLOT_BACKGROUND;
                startMenuMusic();
            }
        }
    } else if (mode == MENU_FADE_EXIT) {
        if (m.fadeLevel > 0.0f && m.fadeRising == 0) {
            m.fadeLevel -= MENU_FADE_STEP;
            if (m.fadeLevel <= 0.0f) {
                m.fadeRising = 1;
                m.fadePicture = MENU_SLOT_BACKGROUND;
                // Only records the request; the teardown runs when the main loop ends.
                shutdownApp();
            }
        }
    }
}

void menuMotion(int motion)
{
    if (motion < 0 || motion >= MENU_MOTION_COUNT || !MENU_MOTIONS[motion].valid)
        return;
    const MenuMotionSpec& spec = MENU_MOTIONS[motion];
    MenuState& m = menuState;
    if (m.motionGate[motion] != 1)
        return;
    float& offset = m.*(spec.offset);
    const bool rising = spec.step > 0.0f;
    if (rising ? !(offset < spec.target) : !(offset > spec.target))
        return;
    offset = offset + spec.step;
    if (rising ? offset >= spec.target : offset <= spec.target)
        completeMotion(motion);
}

MenuFrameDraw menuTick(const MenuActions& actions)
{
    MenuState& m = menuState;
    MenuFrameDraw frame;
    menuInput();
    if (menuState.introActive == 1) {
        menuFade(MENU_FADE_OPENING);
        frame.introFrame = 1;
        return frame;
    }
    // Each flag is read before its command's calls: a command whose flag one of its own
    // motions clears still finishes its list in this frame.
    if (m.cmdExit) {
        m.menuBusy = 1;
        menuFade(MENU_FADE_EXIT);
        frame.exitFade = 1;
        menuMotion(MENU_MOTION_BUTTONS_OUT);
    }
    if (m.buttonsEntering == 1) {
        m.menuBusy = 1;
        menuMotion(MENU_MOTION_BUTTONS_IN);
    }
    if (m.cmdNewGame) {
        m.menuBusy = 1;
        m.showNewGamePanel = 1;
        m.showAboutPanel = 0;
        m.showBusesPanel = 0;
        menuMotion(MENU_MOTION_PANEL_IN);
        menuMotion(MENU_MOTION_BUTTONS_OUT);
        if (menuState.newGameArmed == 1 && menuState.newGameReady == 1)
            startNewGame(actions);
    }
    if (game.returnToMenu)
        returnFromRun(actions);
    if (m.cmdAbout)
        openPanel(1);
    if (m.cmdBuses)
        openPanel(0);
    if (m.cmdBack) {
        m.menuBusy = 1;
        menuMotion(MENU_MOTION_BACK_OUT);
        menuMotion(MENU_MOTION_PANEL_OUT);
        menuMotion(MENU_MOTION_BUTTONS_IN);
        m.menuCursor = 0;
        m.menuCursorLimit = 4;
        m.menuCursorMin = 0;
    }
    return frame;
}
