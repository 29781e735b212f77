// Velbrant: a city-bus driving game. "velbrant S" or "velbrant V" starts straight into a run.
#include "app/shell.h"

int main(int argc, char** argv)
{
    return runGame(argc > 1 ? argv[1] : "");
}
