#include "render/scene.h"
#include "platform/window.h"
#include "sim/sim.h"

#include <GL/gl.h>

void drawRunFrame()
{
    simulationStep();
    glClearColor(0.2f, 0.5f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
    platformSwapBuffers();
}
