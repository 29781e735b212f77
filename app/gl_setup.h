// What runs while the window is created: the start-up loading, the fixed GL state every frame
// relies on, the one light, the display-mode switch; and the viewport for a new window size.
#pragma once

void initGL();
void setupLighting();
void changeDisplayMode();
void resizeViewport(int width, int height);
