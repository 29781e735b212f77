// Calling the route's pieces that a view can see: each pass tests every piece's box against
// the view volume of the matrices set at the call, far plane included (first against a cube round
// the eye, which leaves out most of a big town in a few comparisons), and calls the pieces that
// meet it in their order. The switch draws the whole route and the frame's items in the
// order of the plain frame, the picture every faster order must match.
#pragma once

#include <cstdint>

// Set by tests and benchmarks; lives for the whole process.
struct FrameSwitches {
    uint8_t plainOrder;   // 1: every route piece and every item of a pass in the plain order
    int32_t piecesCalled; // route pieces called since the last reset, to see what culling leaves
};
extern FrameSwitches frameSwitches;

// The route's pieces under the current projection and modelview matrices.
void callRoutePieces();
