// Whether the mirrors' pictures leave part of their rectangles undrawn: a sky that is only a dome,
// the edge of the ground. The main view holds those rectangles back, so such a gap would show an
// earlier frame; the run frame then draws itself again with the main view whole under the
// mirrors, as the plain frame has it. Gaps come in stretches of road, so the frames after one
// with gaps draw the main view whole from the start, until a frame finds none.
#pragma once

#include <cstdint>

// What the last run frame found; lives for the process.
struct MirrorGapState {
    uint8_t seenLastFrame;  // 1: the last frame's mirrors left gaps
};
extern MirrorGapState mirrorGaps;

// Counts, after the mirror passes, the pixels of their viewports that still hold the cleared
// depth. True when any did, or when the driver cannot count.
bool mirrorsLeaveGaps(int passes);
