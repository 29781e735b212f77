// What every subsystem reads about the game as a whole: the game state, the bus chosen, the
// working directory and the shutdown request. All of it lives for the whole process.
#pragma once

#include <cstdint>
#include <string>

constexpr int GAME_DIR_SIZE = 4096;

// The game as a whole. Set at start, changed by the menu, Escape and the shutdown request.
// Lives for the process.
struct GameState {
    // 0 the menu, 1 a run. Set from the command line, changed by the menu and Escape.
    uint8_t inGame = 0;
    // 1: Escape in a run ends the program (started with S or V); 0: Escape returns to the menu.
    uint8_t escapeQuits = 0;
    // 1: the "Volvo7000" bus, 0: the "Urbino12" bus. Fixed at start.
    uint8_t busChoice = 1;
    // Set by Escape when a run has just been left for the menu; the menu clears it on its return.
    uint8_t returnToMenu = 0;
    // 1 once shutdownApp or the window's close request has asked the loop to end.
    uint8_t quitRequested = 0;
    // 1 once shutdownApp itself was called (teardown needed); a close request only quits.
    uint8_t shutdownRequested = 0;
    // The process's exit status; failures (second copy, unreadable texture list, no GL context,
    // unreadable run file) set it non-zero so a failure never looks like success to the shell.
    int exitStatus = 0;
    // The working directory at start (a longer one is cut; getcwd gives none longer).
    char currentDir[GAME_DIR_SIZE] = {};
};

extern GameState game;

// Sets game.currentDir.
void setCurrentDir(const char* dir);

// --- Orderly shutdown. ---
// shutdownApp may be called anywhere (inside a tick, the load sequence, window creation). It only
// records the request: the real teardown (display mode, font lists, sound, context, window) runs
// once, when the main loop ends. Code that runs on after a request takes the cheapest way out.
void shutdownApp();
// Records a failure: the exit status becomes 1 (kept if already set).
void markFailure();
