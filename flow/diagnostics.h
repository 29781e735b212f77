// Load diagnostics for the soak tests: with VELBRANT_DIAG_FILE=path set, every finished load
// appends one line "load=N textures=T lists=L rss=K" to that file: the live GL texture names and
// display lists, and the resident memory in KiB. Without the variable it does nothing.
// Keeps only the load count, for the process.
#pragma once

// Called once at the end of each asset load, with the GL context current.
void diagnosticsAfterLoad();
