// A hidden window with a GL compatibility context for the drawing tests, and reading back what
// was drawn. One context per test process; drawing tests skip when none can be made.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Opens (once) a hidden width x height double-buffered, depth-buffered context, offscreen (EGL)
// when there is no display; false if none.
bool openRenderTestContext(int width, int height);
#define SKIP_WITHOUT_CONTEXT(width, height)   \
    if (!openRenderTestContext(width, height)) \
    GTEST_SKIP() << "no GL context"

struct ReadPixels {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // row 0 at the bottom, as GL counts
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    // Pixels of [x0,x1) x [y0,y1) within tolerance of (r, g, b); all() when every one is.
    int count(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance = 8) const;
    bool all(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance = 8) const
    {
        return count(x0, y0, x1, y1, r, g, b, tolerance) == (x1 - x0) * (y1 - y0);
    }
};
// The back buffer as drawn so far (before the swap).
ReadPixels readBackBuffer();

// What body draws, compiled into display list id.
template <typename Body>
void compileList(uint32_t id, Body body)
{
    glNewList(id, GL_COMPILE);
    body();
    glEndList();
}
// A new nearest-filtered RGB texture of side x side texels, each coloured by texel(x, y, rgb).
GLuint makeTexture(int side, const std::function<void(int x, int y, uint8_t* rgb)>& texel);
