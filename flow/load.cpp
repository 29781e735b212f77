#include "flow/load.h"

#include "assets/load.h"
#include "core/game.h"
#include "core/options.h"
#include "flow/diagnostics.h"
#include "render/font.h"
#include "sound/radio.h"

void loadAssets()
{
    loadRunFiles();
    if (game.quitRequested)
        return;
    loadRunGraphics();
    if (game.quitRequested)
        return;
    buildFont();
    scanRadioFolder(options.mp3Folder);
    diagnosticsAfterLoad();
}
