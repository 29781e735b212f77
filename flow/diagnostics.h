// Diagnostics for the soak tests and the benchmarks: with VELBRANT_DIAG_FILE=path set, every
// finished load appends one line "load=N textures=T lists=L rss=K" to that file: the live GL
// texture names and display lists, and the resident memory in KiB; and every new figure of the
// clock's frame counter appends "fps=N", the ticks of the second before. Without the variable
// they do nothing.
// Keeps only the load count, for the process.
#pragma once

// Called once at the end of each asset load, with the GL context current.
void diagnosticsAfterLoad();

// Called after every tick of the main loop.
void diagnosticsAfterTick();
