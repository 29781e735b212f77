// Cutting the route record into pieces by ground cells and compiling one list per piece.
#include "assets/route_pieces.h"
#include "assets/ids.h"
#include "assets/model.h"

#include <GL/gl.h>

#include <cmath>

RoutePieceTable routePieces;

namespace {

// The cell of a triangle: the one its first vertex stands in (any rule will do, as long as the
// box grows with every triangle the piece takes).
void cellOf(const float* v, int32_t* cellX, int32_t* cellZ)
{
    *cellX = static_cast<int32_t>(std::floor(v[0] / ROUTE_CELL_SIZE));
    *cellZ = static_cast<int32_t>(std::floor(v[2] / ROUTE_CELL_SIZE));
}

void growBox(RoutePiece& piece, const float* v)
{
    for (int k = 0; k < 9; k += 3) {
        piece.minX = std::fmin(piece.minX, v[k]);
        piece.maxX = std::fmax(piece.maxX, v[k]);
        piece.minY = std::fmin(piece.minY, v[k + 1]);
        piece.maxY = std::fmax(piece.maxY, v[k + 1]);
        piece.minZ = std::fmin(piece.minZ, v[k + 2]);
        piece.maxZ = std::fmax(piece.maxZ, v[k + 2]);
    }
}

} // namespace

void cutRoutePieces()
{
    RoutePieceTable& t = routePieces;
    t.pieceCount = 0;
    const Model& route = modelPlansza;
    const int32_t count = route.triangleCount < route.capacity ? route.triangleCount : route.capacity;
    int32_t lastX = 0, lastZ = 0;
    for (int32_t i = 0; i < count; ++i) {
        const float* v = route.vertices[i];
        int32_t cellX = 0, cellZ = 0;
        cellOf(v, &cellX, &cellZ);
        const bool sameCell = t.pieceCount > 0 && cellX == lastX && cellZ == lastZ;
        if (!sameCell && t.pieceCount < ROUTE_PIECE_MAX) {
            RoutePiece& fresh = t.pieces[t.pieceCount++];
            fresh = {v[0], v[1], v[2], v[0], v[1], v[2], i, 0};
        }
        lastX = cellX;
        lastZ = cellZ;
        RoutePiece& piece = t.pieces[t.pieceCount - 1];
        growBox(piece, v);
        ++piece.count;
    }
}

void compileRoutePieces()
{
    cutRoutePieces();
    RoutePieceTable& t = routePieces;
    const Model& route = modelPlansza;
    for (int32_t n = 0; n < t.pieceCount; ++n) {
        const RoutePiece& piece = t.pieces[n];
        glNewList(LIST_ROUTE_PIECE_FIRST + static_cast<uint32_t>(n), GL_COMPILE);
        emitTriangles(route, TEX_ROUTE, piece.first, piece.first + piece.count);
        glEndList();
    }
    // The whole route in file order is every piece in turn.
    glNewList(LIST_PLANSZA, GL_COMPILE);
    for (int32_t n = 0; n < t.pieceCount; ++n)
        glCallList(LIST_ROUTE_PIECE_FIRST + static_cast<uint32_t>(n));
    glEndList();
    if (t.listsMade > t.pieceCount)
        glDeleteLists(LIST_ROUTE_PIECE_FIRST + static_cast<uint32_t>(t.pieceCount), t.listsMade - t.pieceCount);
    t.listsMade = t.pieceCount;
}
