#include "core/game.h"
#include "core/keys.h"

uint8_t keyState[256];
uint8_t inGame = 0;
uint8_t escapeQuits = 0;
uint8_t busChoice = 1;
uint8_t returnToMenu = 0;
std::string currentDir;

uint8_t quitRequested = 0;
uint8_t shutdownRequested = 0;
int exitStatus = 0;

void shutdownApp()
{
    shutdownRequested = 1;
    quitRequested = 1;
}

void markFailure()
{
    if (exitStatus == 0)
        exitStatus = 1;
}
