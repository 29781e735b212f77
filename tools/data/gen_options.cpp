// The options file of a new tree: full screen scaled, the radio reading the tree's own tracks.
#include "tools/data/gen.h"
#include "tools/data/writers.h"

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
