// A hidden window with a GL compatibility context for the drawing tests, and reading back what
// was drawn. One context per test process; drawing tests skip when none can be made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Opens (once) a hidden width x height window with an RGBA, double-buffered, depth-buffered
// compatibility context and makes it current. False when no context is available.
bool openRenderTestContext(int width, int height);
void closeRenderTestContext();

struct ReadPixels {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;  // row 0 at the bottom, as GL counts
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    // Whether every pixel of [x0,x1) x [y0,y1) is within tolerance of (r, g, b).
    bool all(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance = 8) const;
    // Number of pixels of the rectangle within tolerance of (r, g, b).
    int count(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance = 8) const;
};
// The back buffer as drawn so far (before the swap).
ReadPixels readBackBuffer();
// The front buffer (after the swap).
ReadPixels readFrontBuffer();
