#include "app/gl_setup.h"
#include "core/game.h"
#include "core/options.h"
#include "assets/load.h"
#include "flow/load.h"
#include "platform/platform.h"
#include "sound/sound.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

const GLfloat MATERIAL_AMBIENT_DIFFUSE[4] = {0.75f, 0.75f, 0.75f, 1.0f};
const GLfloat AMBIENT_BRIGHT[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat AMBIENT_DIM[4] = {0.2f, 0.2f, 0.2f, 1.0f};
const GLfloat LIGHT_DIFFUSE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat LIGHT_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat MATERIAL_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const GLfloat light0Position[4] = {0.0f, 0.0f, 0.0f, 0.0f};
constexpr GLfloat MATERIAL_SHININESS = 32.0f;

} // namespace

void initGL()
{
    initSound();
    if (game.inGame == 0) {
        loadMenuImages();
        buildMenuLists();
    } else {
        loadAssets();
    }
    // A failure during loading has asked for the shutdown: nothing more to set up.
    if (game.shutdownRequested)
        return;
    platformShowCursor(false);
    setFixedGLState();
    setupLighting();
    changeDisplayMode();
}

void setFixedGLState()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glShadeModel(GL_FLAT);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    if (options.alphaFunc == 0) {
        glAlphaFunc(GL_GREATER, 0.5f);
        glEnable(GL_ALPHA_TEST);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
}

void setupLighting()
{
    glEnable(GL_LIGHTING);
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, MATERIAL_AMBIENT_DIFFUSE);
    const GLfloat* ambient = options.clearSky == 1 ? AMBIENT_BRIGHT : AMBIENT_DIM;
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, LIGHT_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_SPECULAR, LIGHT_SPECULAR);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, light0Position);
    glPopMatrix();
    glEnable(GL_LIGHT0);
    glMaterialfv(GL_FRONT, GL_SPECULAR, MATERIAL_SPECULAR);
    glMaterialf(GL_FRONT, GL_SHININESS, MATERIAL_SHININESS);
}

void changeDisplayMode()
{
    // A scaled picture leaves the desktop in its own mode.
    if (options.windowMode == 1 || options.windowMode == 2)
        return;
    const int count = platformDisplayModeCount();
    for (int i = 0; i < count; ++i) {
        DisplayMode mode;
        if (!platformGetDisplayMode(i, &mode))
            return;
        if (mode.bits != options.screenBits || mode.width != options.screenWidth || mode.height != options.screenHeight)
            continue;
        if (platformTestDisplayMode(mode) == 0 && platformApplyDisplayMode(mode) == 0)
            return;
        platformMessageBox("B\xb3\xb9" "d zmiany rozdzielczo\x9c" "ci!", "B\xb3\xb9" "d");
    }
}

void resizeViewport(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 0.1, 440.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
