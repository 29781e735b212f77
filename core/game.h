// What every subsystem reads about the game as a whole: the game state, the bus chosen, the
// working directory and the shutdown request. All of it lives for the whole process.
#pragma once

#include <cstdint>
#include <string>

// Game state: 0 the menu, 1 a run. Set from the command line, changed by the menu and Escape.
extern uint8_t inGame;
// 1: Escape in a run ends the program (started with S or V); 0: Escape returns to the menu.
extern uint8_t escapeQuits;
// 1: the "Volvo7000" bus, 0: the "Urbino12" bus. Fixed at start.
extern uint8_t busChoice;
// Set by Escape when a run has just been left for the menu; the menu clears it on its return.
extern uint8_t returnToMenu;

// The working directory at start.
extern std::string currentDir;

// --- Orderly shutdown. ---
// shutdownApp may be called anywhere (inside a tick, the load sequence, window creation). It only
// records the request: the real teardown (display mode, font lists, sound, context, window) runs
// once, when the main loop ends. Code that runs on after a request takes the cheapest way out.
void shutdownApp();
// 1 once shutdownApp or the window's close request has asked the loop to end.
extern uint8_t quitRequested;
// 1 once shutdownApp itself was called (teardown needed); a close request only quits.
extern uint8_t shutdownRequested;
// The process's exit status; failures (second copy, unreadable texture list, no GL context,
// unreadable run file) set it non-zero so a failure never looks like success to the shell.
extern int exitStatus;
// Records a failure: the exit status becomes 1 (kept if already set).
void markFailure();
