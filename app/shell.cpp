#include "app/shell.h"
#include "core/game.h"
#include "core/keys.h"
#include "app/gl_setup.h"
#include "core/options.h"
#include "app/tick_schedule.h"
#include "flow/diagnostics.h"
#include "flow/frame.h"
#include "platform/platform.h"

#include <unistd.h>

#include <array>
#include <climits>
#include <cstdint>
#include <string>

namespace {

const char* const APP_NAME = "Velbrant";
TickSchedule schedule;
// A key pressed and released between two ticks (a quick tap during a slow frame) would never
// be seen down by the game; its release waits for the next tick instead. Likewise a held key
// let go and pressed again between two ticks would never be seen up, and the menu's latches
// would take the two presses as one; the new press waits for the next tick.
std::array<uint8_t, 256> downSinceTick{};
std::array<uint8_t, 256> releaseAfterTick{};
std::array<uint8_t, 256> upSinceTick{};
std::array<uint8_t, 256> pressAfterTick{};
std::array<uint8_t, 256> tapAfterTick{};  // the waiting press has been let go again

void onCreate()
{
    if (!platformAcquireInstanceLock("QX.exe")) {
        platformMessageBox("Program ten jest ju\xbf uruchomiony!", "B\xb3\xb9" "d");
        markFailure();
        shutdownApp();
        return;
    }
    initGL();
}

// Sleeps away most of the wait for the next tick instead of spinning a whole core; the
// tick rule itself is unchanged.
void idleUntil(int64_t now)
{
    const int64_t remaining = schedule.nextTickTime - now;
    if (schedule.counterFrequency > 0 && remaining > schedule.counterFrequency / 500)  // more than 2 ms
        platformSleepMs(1);
}

void mainLoop()
{
    PlatformEvent event{};
    for (;;) {
        if (game.quitRequested)
            return;
        if (platformPollEvent(&event)) {
            if (event.type == PLATFORM_EVENT_QUIT)
                return;
            windowProc(event);
            continue;
        }
        const int64_t counterNow = platformCounter();
        if (tickDue(schedule, counterNow)) {
            frameTick();
            keysAfterTick();
            diagnosticsAfterTick();
            tickScheduleAdvance(&schedule, counterNow);
        } else {
            idleUntil(counterNow);
        }
    }
}

} // namespace

void applyCommandLetter(char first)
{
    if (first == 'S') {
        game.inGame = 1;
        game.escapeQuits = 1;
        game.busChoice = 0;
    } else if (first == 'V') {
        game.inGame = 1;
        game.escapeQuits = 1;
        game.busChoice = 1;
    } else {
        game.inGame = 0;
        game.escapeQuits = 0;
        game.busChoice = 1;
    }
}

void windowProc(const PlatformEvent& event)
{
    switch (event.type) {
    case PLATFORM_EVENT_SIZE:
        resizeViewport(event.width, event.height);
        break;
    case PLATFORM_EVENT_CLOSE:
        game.quitRequested = 1;
        break;
    case PLATFORM_EVENT_KEY_DOWN:
        if (event.key < 256) {
            const size_t vk = event.key;
            // An auto-repeat of a key already down is no new press: marking it pressed since the
            // tick would hold its release back a tick.
            if (event.repeat && keyState[vk])
                break;
            if (upSinceTick[vk]) {
                pressAfterTick[vk] = 1;
                tapAfterTick[vk] = 0;
            } else {
                keyState[vk] = 1;
                downSinceTick[vk] = 1;
                releaseAfterTick[vk] = 0;
            }
        }
        break;
    case PLATFORM_EVENT_KEY_UP:
        if (event.key < 256) {
            const size_t vk = event.key;
            if (pressAfterTick[vk]) {
                tapAfterTick[vk] = 1;
            } else if (downSinceTick[vk]) {
                releaseAfterTick[vk] = 1;
            } else if (keyState[vk]) {
                keyState[vk] = 0;
                upSinceTick[vk] = 1;
            }
        }
        break;
    default:
        break;  // system keys (Alt held, F10) and everything else
    }
}

void keysAfterTick()
{
    for (size_t vk = 0; vk < releaseAfterTick.size(); ++vk) {
        if (releaseAfterTick[vk])
            keyState[vk] = 0;
        const uint8_t pressNow = pressAfterTick[vk];
        releaseAfterTick[vk] = pressNow ? tapAfterTick[vk] : 0;
        downSinceTick[vk] = pressNow;
        if (pressNow)
            keyState[vk] = 1;
        upSinceTick[vk] = 0;
        pressAfterTick[vk] = 0;
        tapAfterTick[vk] = 0;
    }
}

int runGame(const char* commandLine)
{
    applyCommandLetter(commandLine ? commandLine[0] : '\0');
    tickScheduleStart(&schedule, platformCounterFrequency(), platformCounter());
    char cwd[PATH_MAX];
    setCurrentDir(getcwd(cwd, sizeof cwd) ? cwd : ".");
    readOptions();
    platformSetWindowMode(options.windowMode);
    if (!platformCreateWindow(APP_NAME, options.screenWidth, options.screenHeight, options.screenBits)) {
        platformMessageBox("Nie mog\xea utworzy\xe6 okna z kontekstem OpenGL.", "B\xb3\xb9" "d");
        return 1;
    }
    onCreate();
    // A refused copy ends without showing its window: shown and raised, it would take the
    // keyboard from the copy that runs.
    if (!game.quitRequested)
        platformShowWindow();
    mainLoop();
    runTeardown();
    return game.exitStatus;
}
