// The viewport passes of the run frame: where each view sits on the screen, its projection and its
// camera. Pure arithmetic over the run state, no GL; the scene drawing applies the result.
#pragma once

#include "sim/state.h"

#include <cstdint>

constexpr int VIEW_MAIN = 0;
constexpr int VIEW_LEFT_MIRROR = 1;
constexpr int VIEW_RIGHT_MIRROR = 2;
constexpr int VIEW_PASS_MAX = 3;

// Everything a pass sets before it draws the scene.
struct ViewPass {
    int32_t x, y, width, height;        // glViewport
    double fovy, aspect, zNear, zFar;   // gluPerspective
    double eyeX, eyeY, eyeZ;            // gluLookAt, up (0, 1, 0)
    double centreX, centreY, centreZ;
    float offsetZ;                      // translation along Z after the look-at
};

// Number of passes to draw: the run's viewportCount kept within the three views there are.
int viewPassCount(const ViewState& viewState);

// Pass v (VIEW_MAIN, VIEW_LEFT_MIRROR, VIEW_RIGHT_MIRROR) on a screen of width x height.
ViewPass viewPassFor(int v, int32_t width, int32_t height, const VehicleState& bus,
                     const ViewState& viewState);
