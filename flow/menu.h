// The main menu: opening fade, sliding buttons, information panels, new game, exit fade.
#pragma once

#include <cstdint>

// Flags shared with the frame dispatcher and the run (all live for the process).
extern uint8_t returnToMenu;
extern uint8_t newGameArmed;
extern uint8_t newGameReady;
extern uint8_t restartMenuMusic;
extern uint8_t introActive;

// One menu tick: input, animation, drawing, swap.
void menuFrame();
