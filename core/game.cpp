#include "core/game.h"
#include "core/keys.h"

#include <cstdio>

uint8_t keyState[256];
GameState game;

void setCurrentDir(const char* dir)
{
    std::snprintf(game.currentDir, sizeof game.currentDir, "%s", dir);
}

void shutdownApp()
{
    game.shutdownRequested = 1;
    game.quitRequested = 1;
}

void markFailure()
{
    if (game.exitStatus == 0)
        game.exitStatus = 1;
}
