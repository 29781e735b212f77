// Fixed display-list ids and texture groups, used by number for the whole process.
#pragma once

#include <cstdint>

// Display lists compiled from the model files at every load.
constexpr uint32_t LIST_PLANSZA = 1;
constexpr uint32_t LIST_STEERING_WHEEL = 2;
constexpr uint32_t LIST_ZEW = 3;
constexpr uint32_t LIST_NIEBO = 4;
constexpr uint32_t LIST_SPEED_NEEDLE = 5;
constexpr uint32_t LIST_KIER_P = 6;
constexpr uint32_t LIST_KIER_L = 7;
constexpr uint32_t LIST_DROGOWE = 9;
constexpr uint32_t LIST_STOP = 10;
constexpr uint32_t LIST_WSTECZNE = 11;
constexpr uint32_t LIST_KOLA_TYLNE = 12;
constexpr uint32_t LIST_KOLO_P = 13;
constexpr uint32_t LIST_KOLO_L = 14;
constexpr uint32_t LIST_F125 = 15;
constexpr uint32_t LIST_ZOLTY_A = 16;
constexpr uint32_t LIST_CZERWONY_A = 17;
constexpr uint32_t LIST_ZIELONY_A = 18;
constexpr uint32_t LIST_ZOLTY_B = 19;
constexpr uint32_t LIST_CZERWONY_B = 20;
constexpr uint32_t LIST_ZIELONY_B = 21;
// The menu's fixed quads, built once at start when the game opens in the menu.
constexpr uint32_t LIST_SCREEN_QUAD = 22;
constexpr uint32_t LIST_MENU_NOWAGRA = 23;
constexpr uint32_t LIST_MENU_AUTOBUSY = 24;
constexpr uint32_t LIST_MENU_OGRZE = 25;
constexpr uint32_t LIST_MENU_WYJSCIE = 26;
constexpr uint32_t LIST_MENU_PANEL = 27;
// Each door set runs in door order: door d+1's list is the set's first + d.
constexpr uint32_t LIST_STANDRZWI_1 = 28;
constexpr uint32_t LIST_STANDRZWI_2 = 29;
constexpr uint32_t LIST_STANDRZWI_3 = 30;
constexpr uint32_t LIST_WSKAZNIKI = 31;
constexpr uint32_t LIST_STOP_ARROW = 32;
constexpr uint32_t LIST_ROZKLAD = 33;
constexpr uint32_t LIST_WEW = 34;
constexpr uint32_t LIST_DRZWI_A1 = 35;
constexpr uint32_t LIST_DRZWI_A2 = 36;
constexpr uint32_t LIST_DRZWI_A3 = 37;
constexpr uint32_t LIST_DRZWI_B1 = 38;
constexpr uint32_t LIST_DRZWI_B2 = 39;
constexpr uint32_t LIST_DRZWI_B3 = 40;
// The route model in pieces by ground cells (assets/route_pieces.h): piece n is list FIRST + n.
// Far above the fixed ids and the font's lists, which the driver hands out from the bottom.
constexpr uint32_t LIST_ROUTE_PIECE_FIRST = 1000;
constexpr int32_t ROUTE_PIECE_MAX = 32768;  // runs of one cell in file order: a town of 16 routes

// Texture groups: fixed tables of GL texture names, addressed by group and slot; 0 = none.
constexpr int TEX_ROUTE = 0;
constexpr int TEX_BUS = 1;
constexpr int TEX_CAR = 2;
constexpr int TEX_FONT = 3;
constexpr int TEX_MENU = 4;
constexpr int TEX_GAUGES = 5;
constexpr int TEX_TIMETABLE = 6;
constexpr int TEXTURE_GROUP_COUNT = 7;

extern uint32_t texRoute[200];
extern uint32_t texBus[100];
extern uint32_t texCar[100];
extern uint32_t texFont[1];
extern uint32_t texMenu[20];
extern uint32_t texGauges[100];
extern uint32_t texTimetable[100];

// The table of a group and its number of slots (0 and nullptr for an unknown group).
uint32_t* textureGroupTable(int group);
int textureGroupSize(int group);
