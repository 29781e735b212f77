// The run frame: one simulation step, then the main view, the mirrors, the dashboard, the swap.
#pragma once

void drawRunFrame();
