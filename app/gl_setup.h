// What runs while the window is created: the start-up loading, the fixed GL state every frame
// relies on, the one light, the display-mode switch; and the viewport for a new window size.
#pragma once

void initGL();
// The GL state every frame relies on, set once: depth, blending as the options ask, texturing,
// culling, colour material.
void setFixedGLState();
void setupLighting();
void changeDisplayMode();
void resizeViewport(int width, int height);
