#include "tools/data/gen.h"

void genRouteFreeContent(const std::string& dir)
{
    genBuses(dir);
    genCar(dir);
    genBoards(dir);
    genMenuPictures(dir);
    genFontPicture(dir);
    genSounds(dir);
    genRadio(dir);
}
