// The run frame, drawn from the run state the tick left: the main view and the mirrors (each a
// full pass over the scene into its own viewport), the dashboard and texts in the main view, the
// swap. Advances nothing of the run; the frame dispatcher steps and rates before it draws.
// The only state kept is wheelSpin, which lives for the process and is never reset.
#pragma once

// Wheel rotation in degrees, shared by all wheels; every pass turns it again.
extern float wheelSpin;

void drawRunFrame();
// The whole picture of the run frame, without the flush and the swap.
void drawRunFramePicture();
// One viewport pass v (0 main, 1 left mirror, 2 right mirror) over the current run state,
// without the swap. The main pass ends with the dashboard and texts.
void drawViewPass(int v);
