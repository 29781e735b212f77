// Whether the mirrors' pictures leave part of their rectangles undrawn: a sky that is only a dome,
// the edge of the ground. The main view holds those rectangles back, so such a gap would show an
// earlier frame; the run frame then draws itself again the plain way.
#pragma once

// Counts, after the mirror passes, the pixels of their viewports that still hold the cleared
// depth. True when any did, or when the driver cannot count.
bool mirrorsLeaveGaps(int passes);
