// The program's entry steps and main loop, kept apart from main() so tests can drive them.
#pragma once

#include "platform/platform.h"

// Sets game.inGame, game.escapeQuits and game.busChoice from the first character of the command line.
void applyCommandLetter(char first);
// The window procedure: keys into keyState, size into the viewport, close into quit.
void windowProc(const PlatformEvent& event);
// After each tick: releases of keys tapped since the last tick take effect now.
void keysAfterTick();
// The whole program: start-up, main loop, teardown. Returns the exit status.
int runGame(const char* commandLine);
// Tear-down steps, run once by the main loop after it ends (app/teardown.cpp).
void runTeardown();
