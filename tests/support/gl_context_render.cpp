#include "tests/support/gl_context_render.h"

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <cstdlib>

namespace {
SDL_GLContext context = nullptr;
int windowWidth = 0, windowHeight = 0;
} // namespace

bool openRenderTestContext(int width, int height)
{
    if (context)
        return width == windowWidth && height == windowHeight;
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    for (SDL_GLattr a : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE})
        SDL_GL_SetAttribute(a, 8);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    // Kept for the whole process: the tests end with it.
    SDL_Window* window =
        SDL_CreateWindow("render test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context)
        return false;
    SDL_GL_MakeCurrent(window, context);
    windowWidth = width, windowHeight = height;
    return true;
}

ReadPixels readBackBuffer()
{
    ReadPixels p;
    if (!context)
        return p;
    p.width = windowWidth, p.height = windowHeight;
    p.rgb.assign(static_cast<size_t>(p.width) * p.height * 3, 0);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, p.width, p.height, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
    return p;
}

int ReadPixels::count(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance) const
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* px = at(x, y);
            n += std::abs(px[0] - r) <= tolerance && std::abs(px[1] - g) <= tolerance &&
                std::abs(px[2] - b) <= tolerance;
        }
    return n;
}

GLuint makeTexture(int side, const std::function<void(int x, int y, uint8_t* rgb)>& texel)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(side) * side * 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            texel(x, y, &pixels[(static_cast<size_t>(y) * side + x) * 3]);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, side, side, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return name;
}
