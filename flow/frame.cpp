#include "flow/frame.h"

#include "core/game.h"
#include "flow/menu.h"
#include "render/scene.h"

void frameTick()
{
    if (game.inGame != 0) {
        stepRunTick();
        drawRunFrame();
        return;
    }
    menuFrame();
}
