#include "assets/ids.h"
#include "assets/textures.h"

uint32_t texRoute[200];
uint32_t texBus[100];
uint32_t texCar[100];
uint32_t texFont[1];
uint32_t texMenu[20];
uint32_t texGauges[100];
uint32_t texTimetable[100];

uint32_t* textureGroupTable(int group)
{
    switch (group) {
    case TEX_ROUTE: return texRoute;
    case TEX_BUS: return texBus;
    case TEX_CAR: return texCar;
    case TEX_FONT: return texFont;
    case TEX_MENU: return texMenu;
    case TEX_GAUGES: return texGauges;
    case TEX_TIMETABLE: return texTimetable;
    default: return nullptr;
    }
}

int textureGroupSize(int group)
{
    switch (group) {
    case TEX_ROUTE: return 200;
    case TEX_FONT: return 1;
    case TEX_MENU: return 20;
    case TEX_BUS: case TEX_CAR: case TEX_GAUGES: case TEX_TIMETABLE: return 100;
    default: return 0;
    }
}

void loadTextureList(const char*, int) {}
void loadTexture(const char*, int, int) {}
