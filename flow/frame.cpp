#include "flow/frame.h"
#include "app/app.h"
#include "flow/menu.h"
#include "render/scene.h"

void frameTick()
{
    if (inGame != 0) {
        drawRunFrame();
        return;
    }
    menuFrame();
}
