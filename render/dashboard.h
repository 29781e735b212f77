// The flat overlay of the main view: the gauge panel with the stop arrow and the timetable board,
// then the frame's texts. Drawn once per frame after the main view's scene, never in a mirror.
// Keeps no state; the texts' lines live in a static buffer rebuilt every frame.
#pragma once

#include "render/overlay_text.h"

// The gauge panel (list 31), the stop arrow (list 32, green at a stop, red elsewhere) turned by
// stopBearing + busHeading, and the timetable board (list 33) while it is shown.
void drawGaugePanel();
// Prints the lines in order with lighting off; leaves the colour white.
void drawOverlayTexts(const OverlayTexts& texts);
// Both, as the run frame's last drawing step. Only draws: the run tick rates the driving
// (rateFrame) before it, and the texts show what that gave.
void drawDashboard();
