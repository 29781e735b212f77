// The route model compiled into display lists by cells of a square grid over the ground, each
// with the box that holds its triangles, so a view can call only the pieces it can see.
// A piece is a run of consecutive triangles of the file that lie in one cell: the pieces in
// their order draw exactly what the whole model in file order draws, and leaving out a piece
// whose box lies outside a view changes no pixel of it.
// The table is static and lives for the whole process; every load rebuilds it and its lists.
#pragma once

#include "assets/ids.h"

#include <cstdint>

// Side of a cell in world units: a view of 440 units sees a few dozen cells, not the town.
constexpr float ROUTE_CELL_SIZE = 50.0f;

struct RoutePiece {
    float minX, minY, minZ;  // world coordinates, as the route model holds them
    float maxX, maxY, maxZ;
    int32_t first, count;    // triangles [first, first + count) of the route record
};

struct RoutePieceTable {
    RoutePiece pieces[ROUTE_PIECE_MAX];
    int32_t pieceCount;   // lists LIST_ROUTE_PIECE_FIRST .. + pieceCount - 1 hold the pieces
    int32_t listsMade;    // lists defined by the loads so far, to free the ones no longer used
};
extern RoutePieceTable routePieces;

// Cuts the route record into pieces (no GL): a new piece where the cell changes; past
// ROUTE_PIECE_MAX pieces the last one takes the rest.
void cutRoutePieces();
// Cuts and compiles the pieces. Needs the GL context and the route texture group.
void compileRoutePieces();
