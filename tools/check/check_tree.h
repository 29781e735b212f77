// velbrant-check's walk over a data tree: every file the game reads, through the game's own
// readers, for both buses and for the texture quality the options choose (the other quality's
// lists are checked as optional content).
#pragma once

#include "tools/check/report.h"

#include <string>

// Checks the tree whose root (the game's working directory) is the current directory.
void checkTree(CheckReport& report);

// The smallest triangle count a model needs for what the game draws from it, and why.
struct ModelNeed {
    int32_t minimum;
    const char* why;
};
ModelNeed modelNeed(const char* fileName);
