#include "render/route_cull.h"
#include "assets/ids.h"
#include "assets/route_pieces.h"

#include <GL/gl.h>

#include <cmath>

FrameSwitches frameSwitches;

namespace {

// A box this much larger than its triangles is still tested: the test rounds differently from
// the rasteriser's clipping, and a piece wrongly left out would be a hole.
constexpr double CULL_MARGIN = 0.05;

// The six planes of the view volume, a x + b y + c z + d >= 0 inside, from clip = P x MV.
void viewPlanes(const GLdouble p[16], const GLdouble m[16], double planes[6][4])
{
    GLdouble c[16];
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

// A cube round the eye that holds the whole view volume: the corners of the far plane are the
// farthest points of it. Pieces outside the cube are left out before the finer test, so a big
// town costs a few comparisons a piece. False when the projection is not a perspective one.
struct ViewCube {
    float minX, minY, minZ, maxX, maxY, maxZ;
};

bool viewCube(const GLdouble p[16], const GLdouble m[16], ViewCube* cube)
{
    if (p[11] != -1.0 || p[10] == -1.0 || p[0] == 0.0 || p[5] == 0.0)
        return false;
    const double zFar = p[14] / (p[10] + 1.0);
    const double reach = std::fabs(zFar) * std::sqrt(1.0 + 1.0 / (p[0] * p[0]) + 1.0 / (p[5] * p[5]));
    // The modelview turns and shifts only: the eye in world coordinates is -R^T t.
    double eye[3];
    for (int j = 0; j < 3; ++j)
        eye[j] = -(m[j * 4] * m[12] + m[j * 4 + 1] * m[13] + m[j * 4 + 2] * m[14]);
    const double r = reach + 1.0;
    *cube = {static_cast<float>(eye[0] - r), static_cast<float>(eye[1] - r), static_cast<float>(eye[2] - r),
             static_cast<float>(eye[0] + r), static_cast<float>(eye[1] + r), static_cast<float>(eye[2] + r)};
    return true;
}

bool outsideCube(const ViewCube& c, const RoutePiece& piece)
{
    return piece.maxX < c.minX || piece.minX > c.maxX || piece.maxZ < c.minZ || piece.minZ > c.maxZ ||
           piece.maxY < c.minY || piece.minY > c.maxY;
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
    GLdouble p[16], m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    double planes[6][4];
    viewPlanes(p, m, planes);
    ViewCube cube{};
    const bool haveCube = viewCube(p, m, &cube);
    for (int32_t n = 0; n < t.pieceCount; ++n) {
        if (haveCube && outsideCube(cube, t.pieces[n]))
            continue;
        if (boxOutside(planes, t.pieces[n]))
            continue;
        glCallList(LIST_ROUTE_PIECE_FIRST + static_cast<uint32_t>(n));
        ++frameSwitches.piecesCalled;
    }
}
