// The load sequence of a run, and the menu's fixed quads.
#pragma once

// Loads everything a run needs (texture lists, models, display lists, parameters, font, stops,
// radio). Needs the GL context. Runs at every new game.
void loadAssets();
// Compiles the menu's quads (lists 22 to 27). Needs the GL context.
void buildMenuLists();
