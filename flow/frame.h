// The frame dispatcher: one tick of whichever state the game is in. A run tick steps the
// simulation, rates it, then draws; the menu tick runs the menu. Keeps no state of its own.
#pragma once

// The GL-free half of a run tick: the simulation step, then the rating the texts show. The
// headless driver calls it in place of the whole tick.
void stepRunTick();
// One tick of the game.
void frameTick();
