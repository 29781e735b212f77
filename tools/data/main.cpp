// velbrant-data DIR: writes a complete, playable data tree into DIR.
// velbrant-data --icon SIZE FILE: writes the desktop icon, SIZE x SIZE pixels, as a PNG.
#include "tools/data/gen.h"
#include "tools/data/writers.h"

#include "platform/null/null_platform.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

void genOptions(const std::string& dir)
{
    writeTextFile(dir + "/Opcje.ini",
                  "[Opcje]\r\n"
                  "Rozdzielczosc=3\r\n"
                  "JakoscTekstur=1\r\n"
                  "Mipmaping=0\r\n"
                  "KartaDzwiekowa=0\r\n"
                  "Zachmurzenie=0\r\n"
                  "AlphaFunc=0\r\n"
                  "Joystick=0\r\n"
                  "FolderMp3=Dane/Radio/\r\n"
                  "Okno=2\r\n");
    makeDirs(dir + "/Dane/Radio", true);
}

int main(int argc, char** argv)
{
    fakeMessagesToStderr = 1;
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        const int size = std::atoi(argv[2]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "velbrant-data: icon size must be 16 to 1024\n");
            return 2;
        }
        try {
            writeIcon(argv[3], size);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velbrant-data: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    // An option we do not know is a mistake, not a folder to fill ("./-x" names such a folder).
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: velbrant-data DIR\n  writes the game's Opcje.ini and Dane/ tree into DIR\n"
                             "       velbrant-data --icon SIZE FILE\n  writes the desktop icon as a SIZE x SIZE PNG\n");
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    const std::string dir = argv[1];
    try {
        makeDirs(dir, true);
        genOptions(dir);
        genRouteFiles(dir);
        genScenery(dir);
        genBuses(dir);
        genCar(dir);
        genBoards(dir);
        genMenuPictures(dir);
        genFontPicture(dir);
        genSounds(dir);
        genRadio(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velbrant-data: %s\n", e.what());
        return 1;
    }
    return 0;
}
