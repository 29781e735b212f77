#include "tests/support/gl_context_render.h"

#include <SDL2/SDL.h>
#include <GL/gl.h>

#include <cstdlib>

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
int windowWidth = 0;
int windowHeight = 0;

bool near(int value, int want, int tolerance)
{
    return std::abs(value - want) <= tolerance;
}

ReadPixels readBuffer(GLenum buffer)
{
    ReadPixels p;
    if (!context)
        return p;
    p.width = windowWidth;
    p.height = windowHeight;
    p.rgb.assign(static_cast<size_t>(p.width) * p.height * 3, 0);
    glFinish();
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, p.width, p.height, GL_RGB, GL_UNSIGNED_BYTE, p.rgb.data());
    return p;
}

} // namespace

bool openRenderTestContext(int width, int height)
{
    if (context)
        return width == windowWidth && height == windowHeight;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    window = SDL_CreateWindow("render test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (!context) {
        SDL_DestroyWindow(window);
        window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    windowWidth = width;
    windowHeight = height;
    return true;
}

void closeRenderTestContext()
{
    if (context) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

ReadPixels readBackBuffer()
{
    return readBuffer(GL_BACK);
}

ReadPixels readFrontBuffer()
{
    return readBuffer(GL_FRONT);
}

bool ReadPixels::all(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance) const
{
    return count(x0, y0, x1, y1, r, g, b, tolerance) == (x1 - x0) * (y1 - y0);
}

int ReadPixels::count(int x0, int y0, int x1, int y1, int r, int g, int b, int tolerance) const
{
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* px = at(x, y);
            if (near(px[0], r, tolerance) && near(px[1], g, tolerance) && near(px[2], b, tolerance))
                ++n;
        }
    return n;
}
