// The video driver choice, and the game's picture scaled into its window (Okno 1 and 2, Alt+Enter).
#include "platform/sdl/present.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A display that is not there yet (a desktop session still starting) gets about a second.
constexpr int VIDEO_ATTEMPTS = 6;
constexpr int VIDEO_RETRY_MS = 200;
bool playerChoseDriver = false;

PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;

GLuint framebuffer = 0;
GLuint buffers[2] = {0, 0};  // colour, depth
int pictureWidth = 0;
int pictureHeight = 0;
bool drawnIntoWindow = false;  // the frame being drawn goes to the window, not the framebuffer

template <typename F>
bool load(F* f, const char* name, const char* suffix)
{
    *f = reinterpret_cast<F>(SDL_GL_GetProcAddress((std::string(name) + suffix).c_str()));
    return *f != nullptr;
}

// The framebuffer calls, from the core names or the older extension's.
bool loadFramebufferCalls()
{
    const char* suffix = "";
    if (!SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object")) {
        if (!SDL_GL_ExtensionSupported("GL_EXT_framebuffer_object") || !SDL_GL_ExtensionSupported("GL_EXT_framebuffer_blit"))
            return false;
        suffix = "EXT";
    }
    return load(&genFramebuffers, "glGenFramebuffers", suffix) &&
           load(&deleteFramebuffers, "glDeleteFramebuffers", suffix) &&
           load(&bindFramebuffer, "glBindFramebuffer", suffix) &&
           load(&framebufferRenderbuffer, "glFramebufferRenderbuffer", suffix) &&
           load(&checkFramebufferStatus, "glCheckFramebufferStatus", suffix) &&
           load(&genRenderbuffers, "glGenRenderbuffers", suffix) &&
           load(&deleteRenderbuffers, "glDeleteRenderbuffers", suffix) &&
           load(&bindRenderbuffer, "glBindRenderbuffer", suffix) &&
           load(&renderbufferStorage, "glRenderbufferStorage", suffix) &&
           load(&blitFramebuffer, "glBlitFramebuffer", suffix);
}

void clearRect(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    glScissor(x, y, w, h);
    glClear(GL_COLOR_BUFFER_BIT);
}

// The picture scaled into the window's drawable, aspect kept, black bars round it.
void scaleIntoWindow(int dw, int dh)
{
    // The largest picture of the game's aspect that fits, centred.
    int w = dw, h = dh;
    if (static_cast<long long>(dw) * pictureHeight > static_cast<long long>(dh) * pictureWidth)
        w = static_cast<int>(static_cast<long long>(dh) * pictureWidth / pictureHeight);
    else
        h = static_cast<int>(static_cast<long long>(dw) * pictureHeight / pictureWidth);
    const int x = (dw - w) / 2, y = (dh - h) / 2;

    bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The game's own clear colour and scissor stay as it left them.
    GLfloat clearColour[4];
    GLint scissorBox[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    glGetIntegerv(GL_SCISSOR_BOX, scissorBox);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    clearRect(0, 0, x, dh);
    clearRect(x + w, 0, dw - x - w, dh);
    clearRect(x, 0, w, y);
    clearRect(x, y + h, w, dh - y - h);
    glDisable(GL_SCISSOR_TEST);
    if (w > 0 && h > 0)
        blitFramebuffer(0, 0, pictureWidth, pictureHeight, x, y, x + w, y + h, GL_COLOR_BUFFER_BIT,
                        w == pictureWidth && h == pictureHeight ? GL_NEAREST : GL_LINEAR);
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

} // namespace

bool presentStartVideo()
{
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    playerChoseDriver = chosen && chosen[0];
    // Left to itself SDL would go on to drivers that draw nowhere when the display does not answer.
    if (!playerChoseDriver)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    for (int attempt = 1;; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
            return true;
        if (attempt == VIDEO_ATTEMPTS)
            return false;
        SDL_Delay(VIDEO_RETRY_MS);
    }
}

bool presentDriverShowsWindows()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver)
        return false;
    return playerChoseDriver || std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0;
}

bool presentStart(int width, int height)
{
    if (framebuffer)
        return true;
    if (width <= 0 || height <= 0 || !loadFramebufferCalls())
        return false;
    // The depth buffer as deep as the window's, so the picture is the one the window would show.
    int depthBits = 16;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    genRenderbuffers(2, buffers);
    bindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    bindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    renderbufferStorage(GL_RENDERBUFFER, depthBits > 16 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16, width, height);
    bindRenderbuffer(GL_RENDERBUFFER, 0);
    genFramebuffers(1, &framebuffer);
    bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    if (checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::fprintf(stderr, "SDL: no offscreen framebuffer; the picture is not scaled\n");
        presentStop();
        return false;
    }
    pictureWidth = width;
    pictureHeight = height;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

bool presentActive()
{
    return framebuffer != 0;
}

void presentSwap(SDL_Window* window)
{
    int dw = 0, dh = 0;
    SDL_GL_GetDrawableSize(window, &dw, &dh);
    if (!drawnIntoWindow)
        scaleIntoWindow(dw, dh);
    SDL_GL_SwapWindow(window);
    // A window of exactly the picture's size needs no scaling: the next frame is drawn straight
    // into it, which spares a software renderer a copy of every pixel. Should the window change
    // size meanwhile, that one frame shows unscaled and the next is scaled again.
    drawnIntoWindow = dw == pictureWidth && dh == pictureHeight;
    bindFramebuffer(GL_FRAMEBUFFER, drawnIntoWindow ? 0 : framebuffer);
}

void presentStop()
{
    if (!framebuffer && !buffers[0])
        return;
    bindFramebuffer(GL_FRAMEBUFFER, 0);
    deleteFramebuffers(1, &framebuffer);
    deleteRenderbuffers(2, buffers);
    framebuffer = 0;
    buffers[0] = buffers[1] = 0;
    drawnIntoWindow = false;
}

void presentFullscreen(SDL_Window* window, bool full, int width, int height)
{
    if (full) {
        // Borderless over the whole display as well: without a window manager nobody else
        // would make the window as large as the screen.
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) == 0) {
            SDL_SetWindowBordered(window, SDL_FALSE);
            SDL_SetWindowPosition(window, bounds.x, bounds.y);
            SDL_SetWindowSize(window, bounds.w, bounds.h);
        }
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowResizable(window, SDL_TRUE);
        SDL_SetWindowSize(window, width, height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}
