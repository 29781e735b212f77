#include "app/shell.h"
#include "platform/platform.h"
#include "render/font.h"
#include "sound/sound.h"

// Runs once, after the main loop has ended: the shutdown steps, with the GL context still current.
void runTeardown()
{
    platformRestoreDisplayMode();
    if (platformHasContext())
        killFont();
    shutdownSound();
    platformDestroyWindow();
}
