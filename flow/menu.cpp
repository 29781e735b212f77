#include "flow/menu.h"
#include "platform/window.h"

#include <GL/gl.h>

uint8_t returnToMenu = 0;
uint8_t newGameArmed = 1;
uint8_t newGameReady = 0;
uint8_t restartMenuMusic = 1;
uint8_t introActive = 1;

void menuFrame()
{
    glClearColor(0.1f, 0.1f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
    platformSwapBuffers();
}
