// Inside the SDL layer only: which video driver the game takes, and the scaled presentation.
// With Okno 1 and 2 the game draws at its own size into an offscreen framebuffer; each swap scales
// that picture into the window, aspect kept, black bars round it.
#pragma once

#include <SDL.h>

// Starts SDL's video on a driver that shows windows on a desktop (x11, then wayland) unless the
// player named one in SDL_VIDEODRIVER. A display that refuses is asked again for about a second.
bool presentStartVideo();
// True when the running driver puts windows on a real display (or is the player's own choice).
bool presentDriverShowsWindows();

// Makes the offscreen framebuffer of the game's size and binds it; the context must be current.
// True when scaling is on (also when it already was); false when the GL has no framebuffer objects.
bool presentStart(int width, int height);
bool presentActive();
// Scales the picture into the window's drawable, swaps, and binds the framebuffer again.
void presentSwap(SDL_Window* window);
// Deletes the framebuffer (context current); drawing goes to the window again.
void presentStop();

// Full screen at the desktop's own resolution (no mode switch), or a decorated, resizable,
// centred window of the game's size.
void presentFullscreen(SDL_Window* window, bool full, int width, int height);
