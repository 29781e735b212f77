// The frame dispatcher: one tick of whichever state the game is in.
#pragma once

void frameTick();
