// The new-game load: everything a run needs, in order. Fills nothing of its own.
#pragma once

// The run files (assets/load.h), the graphics, the font's lists, the radio's folder and the load
// diagnostics. Needs the GL context. Runs at every new game; after a shutdown request the rest
// is skipped.
void loadAssets();
