// The window, its event queue, the GL context, the counter, display modes and the
// single-instance lock, on SDL2 and POSIX.
#include "platform/platform.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/present.h"
#include "platform/services/instance_lock.h"

#include <SDL.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <malloc.h>
#include <string>
#include <unistd.h>

namespace {

// The backend's state: the window from platformCreateWindow to platformDestroyWindow, the rest
// for the process.
struct SdlWindowState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool modeChanged = false;
    std::deque<PlatformEvent> pending;
    volatile sig_atomic_t signalled = 0;  // written by the signal handler
    bool closeSent = false;
    int lockFd = -1;
    int windowMode = 0;
    int gameWidth = 0;
    int gameHeight = 0;
    SDL_DisplayMode testedMode{};
};

SdlWindowState sdl;

void onSignal(int)
{
    sdl.signalled = 1;
}

// A software GL driver takes and frees blocks of megabytes for every frame it draws. With the
// C library's defaults the top of the heap is handed back to the system after each frame and
// faulted in again page by page in the next: a third of the game thread's time at 1024 x 768.
// Freed memory up to these sizes stays with the process instead.
constexpr int HEAP_KEEP_BYTES = 256 << 20;
constexpr int HEAP_MMAP_FROM_BYTES = 32 << 20;

void keepDriverHeap()
{
    mallopt(M_TRIM_THRESHOLD, HEAP_KEEP_BYTES);
    mallopt(M_MMAP_THRESHOLD, HEAP_MMAP_FROM_BYTES);
}

bool ensureVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Keep the desktop's compositor and screen saver as they are while the game runs windowed.
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    return presentStartVideo();
}

// Alt+Enter: full screen at the desktop's resolution <-> a window, the picture scaled from now on.
// Leaving a switched mode gives the desktop its own mode back.
void toggleFullscreen()
{
    if (!sdl.window || !presentStart(sdl.gameWidth, sdl.gameHeight))
        return;
    const bool full = (SDL_GetWindowFlags(sdl.window) & SDL_WINDOW_FULLSCREEN) != 0;
    sdl.modeChanged = false;
    presentFullscreen(sdl.window, !full, sdl.gameWidth, sdl.gameHeight);
}

// The first mode the display lists with this size, depth and rate.
bool findSdlMode(int display, const DisplayMode& mode, SDL_DisplayMode* found)
{
    const int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        if (SDL_GetDisplayMode(display, i, found) == 0 && found->w == mode.width && found->h == mode.height &&
            static_cast<int>(SDL_BYTESPERPIXEL(found->format)) * 8 == mode.bits && found->refresh_rate == mode.refreshRate)
            return true;
    }
    return false;
}

// Turns one SDL event into a platform event; false for events the game ignores.
bool translate(const SDL_Event& e, PlatformEvent* msg)
{
    switch (e.type) {
    case SDL_QUIT:
        *msg = {PLATFORM_EVENT_CLOSE, 0, 0, 0, 0};
        return true;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            if (presentActive())
                return false;  // the game keeps drawing at its own size
            *msg = {PLATFORM_EVENT_SIZE, 0, e.window.data1, e.window.data2, 0};
            return true;
        }
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
            *msg = {PLATFORM_EVENT_CLOSE, 0, 0, 0, 0};
            return true;
        }
        return false;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        uint32_t vk = platformVirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode);
        if (vk == 0)
            return false;
        if (e.type == SDL_KEYDOWN && vk == VK_RETURN && (e.key.keysym.mod & KMOD_ALT) != 0) {
            if (!e.key.repeat)
                toggleFullscreen();
            return false;
        }
        if (e.type == SDL_KEYUP) {
            *msg = {PLATFORM_EVENT_KEY_UP, vk, 0, 0, 0};  // always, Alt held or not
            return true;
        }
        // Alt held, Alt itself and F10 are system keys: they never reach the key table.
        bool system = (e.key.keysym.mod & KMOD_ALT) != 0 || vk == VK_ALT || vk == VK_F10;
        const uint8_t repeat = e.key.repeat ? 1 : 0;
        *msg = {system ? PLATFORM_EVENT_SYSTEM_KEY_DOWN : PLATFORM_EVENT_KEY_DOWN, vk, 0, 0, repeat};
        return true;
    }
    default:
        return false;
    }
}

// Okno 1: a decorated, resizable window, centred; Okno 2: full screen at the desktop's resolution.
SDL_Window* createScaledWindow(const char* title, int width, int height)
{
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (sdl.windowMode == 1)
        return SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags | SDL_WINDOW_RESIZABLE);
    SDL_Rect bounds{0, 0, width, height};
    SDL_GetDisplayBounds(0, &bounds);
    return SDL_CreateWindow(title, bounds.x, bounds.y, bounds.w, bounds.h,
                            flags | SDL_WINDOW_BORDERLESS | SDL_WINDOW_FULLSCREEN_DESKTOP);
}

} // namespace

bool platformCreateWindow(const char* title, int width, int height, int bits)
{
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    keepDriverHeap();
    if (!ensureVideo()) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    if (bits == 16) {
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    } else {
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    }
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    sdl.gameWidth = width;
    sdl.gameHeight = height;
    if (sdl.windowMode == 1 || sdl.windowMode == 2)
        sdl.window = createScaledWindow(title, width, height);
    else
        sdl.window = SDL_CreateWindow(title, 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
    if (sdl.window && !presentDriverShowsWindows())
        SDL_SetError("the video driver \"%s\" shows no window on a display", SDL_GetCurrentVideoDriver());
    if (!sdl.window || !presentDriverShowsWindows()) {
        if (sdl.window)
            SDL_DestroyWindow(sdl.window);
        sdl.window = nullptr;
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        return false;
    }
    sdl.context = SDL_GL_CreateContext(sdl.window);
    if (!sdl.context) {
        std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
        SDL_DestroyWindow(sdl.window);
        sdl.window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(sdl.window, sdl.context);
    SDL_GL_SetSwapInterval(0);  // the game paces itself at 50 ticks a second
    int w = width, h = height;
    if (!((sdl.windowMode == 1 || sdl.windowMode == 2) && presentStart(width, height)))
        SDL_GL_GetDrawableSize(sdl.window, &w, &h);
    sdl.pending.push_back({PLATFORM_EVENT_SIZE, 0, w, h, 0});
    return true;
}

void platformSetWindowMode(int mode)
{
    sdl.windowMode = mode;
}

void platformShowWindow()
{
    if (!sdl.window)
        return;
    SDL_ShowWindow(sdl.window);
    SDL_RaiseWindow(sdl.window);
}

bool platformHasContext()
{
    return sdl.context != nullptr;
}

void platformDestroyWindow()
{
    platformRestoreDisplayMode();
    if (sdl.context) {
        presentStop();
        SDL_GL_MakeCurrent(sdl.window, nullptr);
        SDL_GL_DeleteContext(sdl.context);
        sdl.context = nullptr;
    }
    if (sdl.window) {
        SDL_DestroyWindow(sdl.window);
        sdl.window = nullptr;
    }
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool platformPollEvent(PlatformEvent* msg)
{
    if (sdl.signalled && !sdl.closeSent) {
        sdl.closeSent = true;
        *msg = {PLATFORM_EVENT_CLOSE, 0, 0, 0, 0};
        return true;
    }
    if (!sdl.pending.empty()) {
        *msg = sdl.pending.front();
        sdl.pending.pop_front();
        return true;
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (translate(e, msg))
            return true;
    }
    return false;
}

void platformSwapBuffers()
{
    if (sdl.window && sdl.context && presentActive())
        presentSwap(sdl.window);
    else if (sdl.window && sdl.context)
        SDL_GL_SwapWindow(sdl.window);
}

void platformShowCursor(bool show)
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void platformSleepMs(int ms)
{
    SDL_Delay(static_cast<Uint32>(ms > 0 ? ms : 0));
}

int64_t platformCounterFrequency()
{
    return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

int64_t platformCounter()
{
    return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int platformDisplayModeCount()
{
    if (!ensureVideo())
        return 0;
    int display = sdl.window ? SDL_GetWindowDisplayIndex(sdl.window) : 0;
    int n = SDL_GetNumDisplayModes(display < 0 ? 0 : display);
    return n < 0 ? 0 : n;
}

bool platformGetDisplayMode(int index, DisplayMode* mode)
{
    int display = sdl.window ? SDL_GetWindowDisplayIndex(sdl.window) : 0;
    SDL_DisplayMode m;
    if (SDL_GetDisplayMode(display < 0 ? 0 : display, index, &m) != 0)
        return false;
    // A 24-bit colour mode is stored in 32-bit pixels; that is what a depth of 32 asks for.
    mode->bits = static_cast<int>(SDL_BYTESPERPIXEL(m.format)) * 8;
    mode->width = m.w;
    mode->height = m.h;
    mode->refreshRate = m.refresh_rate;
    return true;
}

int platformTestDisplayMode(const DisplayMode& mode)
{
    // SDL cannot test a mode without setting it: the test switches to the listed mode, depth
    // included, and sees that the display took it. A mode that passes stays for the apply.
    if (!sdl.window)
        return -1;
    const int display = std::max(SDL_GetWindowDisplayIndex(sdl.window), 0);
    SDL_DisplayMode wanted, now;
    if (!findSdlMode(display, mode, &wanted))
        return -1;
    if (SDL_SetWindowDisplayMode(sdl.window, &wanted) == 0 && SDL_SetWindowFullscreen(sdl.window, SDL_WINDOW_FULLSCREEN) == 0 &&
        SDL_GetCurrentDisplayMode(display, &now) == 0 && now.w == wanted.w && now.h == wanted.h &&
        SDL_BYTESPERPIXEL(now.format) == SDL_BYTESPERPIXEL(wanted.format)) {
        sdl.modeChanged = true;
        sdl.testedMode = wanted;
        return 0;
    }
    SDL_SetWindowFullscreen(sdl.window, 0);
    sdl.modeChanged = false;
    return -1;
}

int platformApplyDisplayMode(const DisplayMode& mode)
{
    if (sdl.modeChanged && sdl.testedMode.w == mode.width && sdl.testedMode.h == mode.height &&
        static_cast<int>(SDL_BYTESPERPIXEL(sdl.testedMode.format)) * 8 == mode.bits && sdl.testedMode.refresh_rate == mode.refreshRate)
        return 0;  // the test has set it already
    return platformTestDisplayMode(mode);
}

void platformRestoreDisplayMode()
{
    if (sdl.window && sdl.modeChanged) {
        SDL_SetWindowFullscreen(sdl.window, 0);
        sdl.modeChanged = false;
    }
}

bool platformAcquireInstanceLock(const char* name)
{
    if (sdl.lockFd >= 0)
        return true;
    // The shared /tmp only without a runtime folder; the player's cache folder when the file
    // found there is not the player's own.
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    std::string cache;
    if (cacheHome && cacheHome[0])
        cache = cacheHome;
    else if (home && home[0])
        cache = std::string(home) + "/.cache";
    const int fd = takeInstanceLock(name, static_cast<uint32_t>(getuid()), std::getenv("XDG_RUNTIME_DIR"), "/tmp",
                                    cache.c_str());
    if (fd == INSTANCE_LOCK_HELD)
        return false;
    // held until the process ends, the kernel releasing it even after a crash; with no place
    // for a lock at all, better to run than to refuse
    sdl.lockFd = fd;
    return true;
}
