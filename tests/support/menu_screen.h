// Where the main menu's pieces stand on a screenshot, and the selected buttons' amber.
#pragma once

#include "tests/support/desktop.h"

// A rectangle in the menu's screen space (-1..1 both ways, y up).
struct Area { float x0, x1, y0, y1; };

void meanOf(const Screenshot& s, const Area& a, double out[3]);
double meanLevel(const Screenshot& s, const Area& a);

// Share of the area in the selected buttons' amber.
double amberShare(const Screenshot& s, const Area& a);

// Where the buttons rest once they have slid in (offset 1.5).
constexpr Area NEW_GAME_BUTTON{-0.60f, 0.15f, 0.22f, 0.28f};
constexpr Area EXIT_BUTTON{-0.60f, 0.0f, -0.23f, -0.17f};

inline bool newGameButtonIn(const Screenshot& s) { return amberShare(s, NEW_GAME_BUTTON) > 0.5; }
inline bool exitButtonSelected(const Screenshot& s) { return amberShare(s, EXIT_BUTTON) > 0.5; }
