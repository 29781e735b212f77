#include "render/route_cull.h"
#include "assets/ids.h"
#include "assets/route_pieces.h"

#include <GL/gl.h>

FrameSwitches frameSwitches;

namespace {

// A box this much larger than its triangles is still tested: the test rounds differently from
// the rasteriser's clipping, and a piece wrongly left out would be a hole.
constexpr double CULL_MARGIN = 0.05;

// The six planes of the view volume, a x + b y + c z + d >= 0 inside, from clip = P x MV.
void viewPlanes(double planes[6][4])
{
    GLdouble p[16], m[16], c[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += p[k * 4 + row] * m[col * 4 + k];
            c[col * 4 + row] = sum;
        }
    // Rows 0, 1, 2 of clip against row 3 (w): -w <= x, y, z <= w.
    for (int n = 0; n < 6; ++n) {
        const int axis = n / 2;
        const double sign = n % 2 == 0 ? 1.0 : -1.0;
        for (int col = 0; col < 4; ++col)
            planes[n][col] = c[col * 4 + 3] + sign * c[col * 4 + axis];
    }
}

bool boxOutside(const double planes[6][4], const RoutePiece& piece)
{
    for (int n = 0; n < 6; ++n) {
        const double* q = planes[n];
        // The corner farthest along the plane's normal.
        const double x = q[0] >= 0.0 ? piece.maxX + CULL_MARGIN : piece.minX - CULL_MARGIN;
        const double y = q[1] >= 0.0 ? piece.maxY + CULL_MARGIN : piece.minY - CULL_MARGIN;
        const double z = q[2] >= 0.0 ? piece.maxZ + CULL_MARGIN : piece.minZ - CULL_MARGIN;
        if (q[0] * x + q[1] * y + q[2] * z + q[3] < 0.0)
            return true;
    }
    return false;
}

} // namespace

void callRoutePieces()
{
    const RoutePieceTable& t = routePieces;
    if (frameSwitches.plainOrder == 1) {
        glCallList(LIST_PLANSZA);
        frameSwitches.piecesCalled += t.pieceCount;
        return;
    }
    double planes[6][4];
    viewPlanes(planes);
    for (int32_t n = 0; n < t.pieceCount; ++n) {
        if (boxOutside(planes, t.pieces[n]))
            continue;
        glCallList(LIST_ROUTE_PIECE_FIRST + static_cast<uint32_t>(n));
        ++frameSwitches.piecesCalled;
    }
}
