// The data generator's content groups. Each writes its files under dir (the folder that will be
// the game's working directory: dir/Opcje.ini, dir/Dane/...). Everything is made from code and
// fixed seeds, so two runs write the same bytes.
#pragma once

#include "tools/common/route_layout.h"

#include <string>
#include <vector>

void genOptions(const std::string& dir);       // Opcje.ini: full screen scaled (Okno=2), 640x480x32
void genRouteFiles(const std::string& dir);    // stops, both bus parameter files, the mission
void genBusParameters(const std::string& dir); // both bus parameter files
// The stop file and the mission file of any route (model coordinates, as route_layout gives them).
void writeRunFiles(const std::string& dir, const std::vector<RouteStop>& stops, const RouteStart& start,
                   const RoutePoint& fuel);
void genScenery(const std::string& dir);       // route scene, sky, traffic lamps, their textures and lists
void genBuses(const std::string& dir);         // both buses: models, textures, lists
void genCar(const std::string& dir);           // the second car
void genBoards(const std::string& dir);        // gauge panel and timetable board
void writeSky(const std::string& path, int tex);  // the sky sphere round the viewer
void genMenuPictures(const std::string& dir);  // the 13 menu pictures
void genFontPicture(const std::string& dir);   // the bitmap font picture
void genSounds(const std::string& dir);        // effect samples and the menu music
void genRadio(const std::string& dir);         // the radio's MP3 tracks
// Everything a tree holds besides its route and options: buses, car, boards, menu, font, sounds, radio.
void genRouteFreeContent(const std::string& dir);

// The desktop icon, size x size pixels, as a PNG at path (not part of the game's tree).
void writeIcon(const std::string& path, int size);
