// The two buses. Each is one style record over the same construction: a body of side walls with
// wheel arches and door openings, a raked front and a flat rear, a roof; a saloon with
// see-through windows, seats and poles; the cab with the dashboard, speedometer and wheel; lamps,
// wheels and door leaves placed where the game draws them (tools/common/bus_designs.h).
#include "tools/common/bus_designs.h"
#include "tools/data/content_bus.h"
#include "tools/data/gen.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr float MODEL_Z_SHIFT = -BUS_MODEL_Z;  // the body models are drawn at BUS_MODEL_Z
constexpr float REAR_CORNER = 0.15f;

Vec3 bodyPoint(float x, float y, float z)
{
    return v3(x, y, z + MODEL_Z_SHIFT);
}

float sideS(const BusLayout& l, float z)
{
    return (z - l.style.frontZ) / (l.style.rearZ - l.style.frontZ);
}

// Lower edge of the side wall at z: the skirt, or the wheel arch.
float wallBottom(const BusLayout& l, float z)
{
    float y = BUS_SKIRT_Y;
    for (float axle : {l.frontAxleZ, l.rearAxleZ}) {
        const float dz = z - axle;
        if (std::fabs(dz) < BUS_ARCH_RADIUS)
            y = std::max(y, BUS_WHEEL_HUB_Y + std::sqrt(BUS_ARCH_RADIUS * BUS_ARCH_RADIUS - dz * dz));
    }
    return y;
}

bool inSpan(const std::vector<Span>& spans, float z)
{
    for (const Span& s : spans)
        if (z > s.z0 && z < s.z1)
            return true;
    return false;
}

// Breakpoints along the side: wall start and end, the arch samples and the door edges.
std::vector<float> sideBreaks(const BusLayout& l, bool withDoors, float z0, float z1)
{
    std::vector<float> b{z0, z1};
    for (float axle : {l.frontAxleZ, l.rearAxleZ})
        for (int i = 0; i <= 10; ++i)
            b.push_back(axle - BUS_ARCH_RADIUS + 2 * BUS_ARCH_RADIUS * i / 10.0f);
    if (withDoors)
        for (const Span& d : l.doors) {
            b.push_back(d.z0);
            b.push_back(d.z1);
        }
    std::sort(b.begin(), b.end());
    std::vector<float> out;
    for (float z : b)
        if (z >= z0 && z <= z1 && (out.empty() || z - out.back() > 0.01f))
            out.push_back(z);
    return out;
}

void splitPanes(std::vector<Span>& out, float z0, float z1)
{
    if (z1 - z0 < 0.4f)
        return;
    const int n = static_cast<int>(std::ceil((z1 - z0) / 1.7f));
    const float w = (z1 - z0) / n;
    for (int i = 0; i < n; ++i)
        out.push_back(Span{z0 + i * w + (i ? 0.05f : 0.0f), z0 + (i + 1) * w - (i + 1 < n ? 0.05f : 0.0f)});
}

// ---------------------------------------------------------------- exterior

void sideWall(ModelBuilder& m, const BusLayout& l, float sx, int tex, float x, bool outward, float yTop,
              bool arches)
{
    const bool right = sx > 0;
    const float frontTop = busFrontZAt(l, yTop) + l.style.corner;
    const std::vector<float> b = sideBreaks(l, right, l.sideZ0, l.sideZ1);
    const Vec3 facing = v3(outward ? sx : -sx, 0, 0);
    for (size_t i = 0; i + 1 < b.size(); ++i) {
        const float za = b[i], zb = b[i + 1], zm = (za + zb) * 0.5f;
        float ya = arches ? wallBottom(l, za) : BUS_FLOOR_Y;
        float yb = arches ? wallBottom(l, zb) : BUS_FLOOR_Y;
        if (right && inSpan(l.doors, zm))
            ya = yb = BUS_DOOR_TOP;
        const float zaTop = i == 0 ? std::max(za, frontTop) : za;
        auto uv = [&](float z, float y) { return Uv{sideS(l, z), y / BUS_TEX_HEIGHT}; };
        faceQuad(m, bodyPoint(x, ya, za), bodyPoint(x, yb, zb), bodyPoint(x, yTop, zb), bodyPoint(x, yTop, zaTop),
                 uv(za, ya), uv(zb, yb), uv(zb, yTop), uv(zaTop, yTop), facing, tex);
    }
}

void archWells(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const float W = BUS_HALF_WIDTH, inner = W - 0.57f;
    for (float sx : {-1.0f, 1.0f})
        for (float axle : {l.frontAxleZ, l.rearAxleZ}) {
            const float top = BUS_WHEEL_HUB_Y + BUS_ARCH_RADIUS;
            faceQuad(m, bodyPoint(sx * inner, BUS_SKIRT_Y, axle - BUS_ARCH_RADIUS),
                     bodyPoint(sx * inner, BUS_SKIRT_Y, axle + BUS_ARCH_RADIUS),
                     bodyPoint(sx * inner, top, axle + BUS_ARCH_RADIUS), bodyPoint(sx * inner, top, axle - BUS_ARCH_RADIUS),
                     Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(sx, 0, 0), t.archWell);
            // The arch's roof, following the curve, seen from below and outside.
            const int n = 8;
            for (int i = 0; i < n; ++i) {
                const float a0 = PI * i / n, a1 = PI * (i + 1) / n;
                const float z0 = axle - std::cos(a0) * BUS_ARCH_RADIUS, y0 = BUS_WHEEL_HUB_Y + std::sin(a0) * BUS_ARCH_RADIUS;
                const float z1 = axle - std::cos(a1) * BUS_ARCH_RADIUS, y1 = BUS_WHEEL_HUB_Y + std::sin(a1) * BUS_ARCH_RADIUS;
                const float mid = (a0 + a1) * 0.5f;
                faceQuad(m, bodyPoint(sx * inner, y0, z0), bodyPoint(sx * W, y0, z0), bodyPoint(sx * W, y1, z1),
                         bodyPoint(sx * inner, y1, z1), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1},
                         v3(0, -std::sin(mid), std::cos(mid)), t.archWell);
            }
        }
}

// The plan outline at height y (8 corners, clockwise seen from above, starting front left).
std::vector<P2> planOutline(const BusLayout& l, float y, float inset)
{
    const float W = BUS_HALF_WIDTH - inset, c = l.style.corner;
    const float zf = busFrontZAt(l, y) + inset, zr = l.style.rearZ - inset;
    return {{-(W - c), zf}, {W - c, zf}, {W, zf + c}, {W, zr - REAR_CORNER}, {W - REAR_CORNER, zr},
            {-(W - REAR_CORNER), zr}, {-W, zr - REAR_CORNER}, {-W, zf + c}};
}

void buildExterior(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const BusStyle& s = l.style;
    const float W = BUS_HALF_WIDTH, c = s.corner;
    sideWall(m, l, 1.0f, t.sideRight, W, true, BUS_EAVES_Y, true);
    sideWall(m, l, -1.0f, t.sideLeft, -W, true, BUS_EAVES_Y, true);
    archWells(m, l, t);

    // Front face: seen from ahead, so its picture runs from the bus's right to its left.
    auto frontUv = [&](float x, float y) { return Uv{(W - x) / (2 * W), y / BUS_TEX_HEIGHT}; };
    const float yb = BUS_SKIRT_Y, yt = BUS_EAVES_Y;
    faceQuad(m, bodyPoint(-(W - c), yb, busFrontZAt(l, yb)), bodyPoint(W - c, yb, busFrontZAt(l, yb)),
             bodyPoint(W - c, yt, busFrontZAt(l, yt)), bodyPoint(-(W - c), yt, busFrontZAt(l, yt)), frontUv(-(W - c), yb),
             frontUv(W - c, yb), frontUv(W - c, yt), frontUv(-(W - c), yt), v3(0, 0, -1), t.front);
    for (float sx : {-1.0f, 1.0f}) {
        faceQuad(m, bodyPoint(sx * (W - c), yb, busFrontZAt(l, yb)), bodyPoint(sx * W, yb, busFrontZAt(l, yb) + c),
                 bodyPoint(sx * W, yt, busFrontZAt(l, yt) + c), bodyPoint(sx * (W - c), yt, busFrontZAt(l, yt)),
                 frontUv(sx * (W - c), yb), frontUv(sx * W, yb), frontUv(sx * W, yt), frontUv(sx * (W - c), yt),
                 v3(sx, 0, -1), t.front);
        // Rear corners.
        const float zr = s.rearZ;
        faceQuad(m, bodyPoint(sx * W, yb, zr - REAR_CORNER), bodyPoint(sx * (W - REAR_CORNER), yb, zr),
                 bodyPoint(sx * (W - REAR_CORNER), yt, zr), bodyPoint(sx * W, yt, zr - REAR_CORNER), Uv{0.99f, 0.2f},
                 Uv{1, 0.2f}, Uv{1, 0.9f}, Uv{0.99f, 0.9f}, v3(sx, 0, 1), sx > 0 ? t.sideRight : t.sideLeft);
    }
    // Rear face: seen from behind, its picture runs left to right with the bus's x.
    auto rearUv = [&](float x, float y) { return Uv{(x + W) / (2 * W), y / BUS_TEX_HEIGHT}; };
    const float xr = W - REAR_CORNER;
    faceQuad(m, bodyPoint(-xr, yb, s.rearZ), bodyPoint(xr, yb, s.rearZ), bodyPoint(xr, yt, s.rearZ),
             bodyPoint(-xr, yt, s.rearZ), rearUv(-xr, yb), rearUv(xr, yb), rearUv(xr, yt), rearUv(-xr, yt), v3(0, 0, 1),
             t.rear);

    // Roof: a band from the eaves up to an inset lid.
    const std::vector<P2> eaves = planOutline(l, BUS_EAVES_Y, 0.0f);
    const std::vector<P2> lid = planOutline(l, BUS_EAVES_Y, 0.2f);
    float cx = 0, cz = 0;
    for (const P2& p : lid) {
        cx += p.x / lid.size();
        cz += p.z / lid.size();
    }
    for (size_t i = 0; i < eaves.size(); ++i) {
        const size_t j = (i + 1) % eaves.size();
        const Vec3 a = bodyPoint(eaves[i].x, BUS_EAVES_Y, eaves[i].z), b = bodyPoint(eaves[j].x, BUS_EAVES_Y, eaves[j].z);
        const Vec3 d = bodyPoint(lid[i].x, s.roofY, lid[i].z), e = bodyPoint(lid[j].x, s.roofY, lid[j].z);
        const float mx = (eaves[i].x + eaves[j].x) * 0.5f - cx, mz = (eaves[i].z + eaves[j].z) * 0.5f - cz;
        faceQuad(m, a, b, e, d, Uv{0, 0}, Uv{1, 0}, Uv{1, 0.3f}, Uv{0, 0.3f}, v3(mx, 1.0f, mz), t.roof);
        faceTri(m, bodyPoint(cx, s.roofY, cz), d, e, Uv{0.5f, 0.5f}, Uv{lid[i].x / 3, lid[i].z / 3},
                Uv{lid[j].x / 3, lid[j].z / 3}, v3(0, 1, 0), t.roof);
    }
    if (s.roofPod) {
        texturedBox(m, bodyPoint(-1.0f, s.roofY - 0.02f, -2.6f), bodyPoint(1.0f, s.roofY + 0.32f, 0.9f),
                    BoxTextures{{t.podSide, t.podSide, t.roof, -1, t.podSide, t.podSide}});
    } else {
        for (float z : {-3.5f, 1.5f})
            texturedBox(m, bodyPoint(-0.45f, s.roofY - 0.02f, z), bodyPoint(0.45f, s.roofY + 0.08f, z + 0.9f),
                        BoxTextures{{t.greyPlastic, t.greyPlastic, t.greyPlastic, -1, t.greyPlastic, t.greyPlastic}});
    }

    // Bumpers.
    const float zf = busFrontZAt(l, BUS_SKIRT_Y);
    texturedBox(m, bodyPoint(-(W - c) + 0.02f, 0.28f, zf - 0.06f), bodyPoint(W - c - 0.02f, 0.56f, zf + 0.05f),
                BoxTextures{{t.blackPlastic, t.blackPlastic, t.blackPlastic, -1, -1, t.blackPlastic}});
    texturedBox(m, bodyPoint(-(W - REAR_CORNER), 0.28f, s.rearZ - 0.05f), bodyPoint(W - REAR_CORNER, 0.56f, s.rearZ + 0.06f),
                BoxTextures{{t.blackPlastic, t.blackPlastic, t.blackPlastic, -1, t.blackPlastic, -1}});

    // Mirrors on arms from the roof's front corners; the heads stand ahead of the mirror cameras.
    for (float sx : {-1.0f, 1.0f}) {
        const float headLow = sx < 0 ? 1.3f : 1.72f, headHigh = sx < 0 ? 1.92f : 2.34f;
        const Vec3 lo = bodyPoint(sx < 0 ? -1.93f : 1.67f, headLow, -7.34f);
        const Vec3 hi = bodyPoint(sx < 0 ? -1.67f : 1.93f, headHigh, -7.2f);
        texturedBox(m, lo, hi, BoxTextures{{t.blackPlastic, t.blackPlastic, t.blackPlastic, t.blackPlastic,
                                            t.mirrorGlass, t.blackPlastic}});
        cylinderBetween(m, bodyPoint(sx * (W - 0.15f), BUS_EAVES_Y - 0.05f, busFrontZAt(l, BUS_EAVES_Y) + 0.1f),
                        bodyPoint(sx * 1.8f, headHigh - 0.02f, -7.27f), 0.03f, 4, t.blackPlastic);
    }
}

// ---------------------------------------------------------------- interior

// A flat wall cut into a grid of cells between the lengths `as` along it and the heights `ys`,
// less the cell in the middle (the hole); corner(a, y) places a grid point, uv(a, y) maps it.
template <class Corner, class Map>
void wallAroundHole(ModelBuilder& m, const float (&as)[4], const float (&ys)[4], Corner corner, Map uv, Vec3 facing,
                    int tex)
{
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1)
                faceQuad(m, corner(as[i], ys[j]), corner(as[i + 1], ys[j]), corner(as[i + 1], ys[j + 1]),
                         corner(as[i], ys[j + 1]), uv(as[i], ys[j]), uv(as[i + 1], ys[j]), uv(as[i + 1], ys[j + 1]),
                         uv(as[i], ys[j + 1]), facing, tex);
}

std::vector<float> sortedLevels(std::vector<float> v)
{
    std::sort(v.begin(), v.end());
    std::vector<float> out;
    for (float x : v)
        if (out.empty() || x - out.back() > 0.01f)
            out.push_back(x);
    return out;
}

// A saloon side wall facing in, floor to ceiling, open in the doorways and cut round its windows.
// Every strip is split at the same heights, so neighbouring cells share whole edges.
void saloonWall(ModelBuilder& m, const BusLayout& l, float sx, int tex)
{
    const bool right = sx > 0;
    const float x = sx * BUS_INNER_X, y0 = BUS_FLOOR_Y, y1 = BUS_CEILING_Y;
    const std::vector<WallHole> holes = sideWallHoles(l, right);
    std::vector<float> zs{l.sideZ0, l.sideZ1};
    std::vector<float> ys{y0, y1};
    if (right) {
        ys.push_back(BUS_DOOR_TOP);
        for (const Span& d : l.doors) {
            zs.push_back(d.z0);
            zs.push_back(d.z1);
        }
    }
    for (const WallHole& h : holes) {
        zs.push_back(h.a0);
        zs.push_back(h.a1);
        ys.push_back(h.y0);
        ys.push_back(h.y1);
    }
    zs = sortedLevels(zs);
    ys = sortedLevels(ys);
    const float frontTop = busFrontZAt(l, y1) + l.style.corner;
    auto uv = [&](float z, float y) { return Uv{sideS(l, z), y / BUS_TEX_HEIGHT}; };
    for (size_t i = 0; i + 1 < zs.size(); ++i) {
        const float za = zs[i], zb = zs[i + 1], zm = (za + zb) * 0.5f;
        const bool doorway = right && inSpan(l.doors, zm);
        const WallHole* hole = nullptr;
        for (const WallHole& h : holes)
            if (zm > h.a0 && zm < h.a1)
                hole = &h;
        // The first strip's front edge leans back with the front face.
        auto front = [&](float y) {
            return i == 0 ? za + (std::max(za, frontTop) - za) * (y - y0) / (y1 - y0) : za;
        };
        for (size_t j = 0; j + 1 < ys.size(); ++j) {
            const float ya = ys[j], yb = ys[j + 1];
            if ((doorway && yb <= BUS_DOOR_TOP + 0.001f) || (hole && ya >= hole->y0 - 0.001f && yb <= hole->y1 + 0.001f))
                continue;
            faceQuad(m, bodyPoint(x, ya, front(ya)), bodyPoint(x, ya, zb), bodyPoint(x, yb, zb), bodyPoint(x, yb, front(yb)),
                     uv(front(ya), ya), uv(zb, ya), uv(zb, yb), uv(front(yb), yb), v3(-sx, 0, 0), tex);
        }
    }
}


void seatRow(ModelBuilder& m, const BusTextures& t, float x0, float x1, float z, float floorY)
{
    // Facing forward: cushion from z to z + 0.45, backrest behind it.
    const float cushionY = floorY + 0.45f;
    texturedBox(m, bodyPoint(x0, cushionY - 0.1f, z), bodyPoint(x1, cushionY, z + 0.45f),
                BoxTextures{{t.seatShell, t.seatShell, t.seat, -1, -1, t.seat}});
    texturedBox(m, bodyPoint(x0, floorY, z + 0.08f), bodyPoint(x1, cushionY - 0.1f, z + 0.4f),
                BoxTextures{{t.seatShell, t.seatShell, -1, -1, t.seatShell, t.seatShell}});
    texturedBox(m, bodyPoint(x0, cushionY, z + 0.4f), bodyPoint(x1, cushionY + 0.62f, z + 0.5f),
                BoxTextures{{t.seatShell, t.seatShell, t.seatShell, -1, t.seat, t.seat}});
}

// Triangles 0-1: the steering wheel, facing the driver, round its pivot; 2-3 the speedometer
// needle; 4-5 never drawn. The renderer turns them by their triangle numbers.
void cabInstruments(ModelBuilder& m, const BusTextures& t)
{
    const float wz = -6.74f, wr = 0.23f;
    const float px = BUS_STEERING_PIVOT_X, py = BUS_STEERING_PIVOT_Y;
    faceQuad(m, bodyPoint(px - wr, py - wr, wz), bodyPoint(px + wr, py - wr, wz), bodyPoint(px + wr, py + wr, wz),
             bodyPoint(px - wr, py + wr, wz), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 0, 1), t.steeringWheel);
    // Triangles 2-3: the speedometer needle, pointing at 0 km/h (left) from its pivot.
    const float nx = BUS_NEEDLE_PIVOT_X, ny = BUS_NEEDLE_PIVOT_Y, nz = -6.645f;
    faceQuad(m, bodyPoint(nx - 0.115f, ny - 0.006f, nz), bodyPoint(nx + 0.02f, ny - 0.01f, nz),
             bodyPoint(nx + 0.02f, ny + 0.01f, nz), bodyPoint(nx - 0.115f, ny + 0.006f, nz), Uv{0, 0}, Uv{1, 0}, Uv{1, 1},
             Uv{0, 1}, v3(0, 0, 1), t.needle);
    // Triangles 4-5 are never drawn; keep them as empty points at the needle's pivot.
    for (int i = 0; i < 2; ++i)
        m.tri(bodyPoint(nx, ny, nz), bodyPoint(nx, ny, nz), bodyPoint(nx, ny, nz), Uv{0, 0}, Uv{0, 0}, Uv{0, 0}, t.needle);
}

// From triangle 6 on: the cab and the saloon. The dial behind the needle first.
void speedometerDial(ModelBuilder& m, const BusTextures& t)
{
    const float nx = BUS_NEEDLE_PIVOT_X, ny = BUS_NEEDLE_PIVOT_Y;
    const float dz = -6.66f, dr = 0.14f;
    faceQuad(m, bodyPoint(nx - dr, ny - dr, dz), bodyPoint(nx + dr, ny - dr, dz), bodyPoint(nx + dr, ny + dr, dz),
             bodyPoint(nx - dr, ny + dr, dz), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 0, 1), t.dial);
}

// The dashboard, the steering column, the driver's seat and partition.
void cabFurniture(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const float X = BUS_INNER_X;
    const float px = BUS_STEERING_PIVOT_X, py = BUS_STEERING_PIVOT_Y;
    // Dashboard: a matte black face behind the wheel, its top under the windscreen.
    const float dashBack = busFrontZAt(l, BUS_WINDSCREEN_BOTTOM) + 0.03f, dashFace = -6.78f;
    const float dashY = BUS_WINDSCREEN_BOTTOM - 0.01f;
    faceQuad(m, bodyPoint(-X, BUS_FLOOR_Y, dashFace), bodyPoint(0.1f, BUS_FLOOR_Y, dashFace),
             bodyPoint(0.1f, dashY, dashFace), bodyPoint(-X, dashY, dashFace), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1},
             v3(0, 0, 1), t.dash);
    faceQuad(m, bodyPoint(-X, dashY, dashFace), bodyPoint(0.1f, dashY, dashFace), bodyPoint(0.1f, dashY, dashBack),
             bodyPoint(-X, dashY, dashBack), Uv{0, 0}, Uv{1, 0}, Uv{1, 0.1f}, Uv{0, 0.1f}, v3(0, 1, 0), t.blackPlastic);
    faceQuad(m, bodyPoint(0.1f, BUS_FLOOR_Y, dashFace), bodyPoint(0.1f, BUS_FLOOR_Y, dashBack),
             bodyPoint(0.1f, dashY, dashBack), bodyPoint(0.1f, dashY, dashFace), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1},
             v3(1, 0, 0), t.blackPlastic);
    // Steering column and the driver's seat and partition.
    texturedBox(m, bodyPoint(px - 0.04f, BUS_FLOOR_Y, -6.78f), bodyPoint(px + 0.04f, py - 0.05f, -6.75f),
                allFaces(t.blackPlastic));
    seatRow(m, t, -1.1f, -0.45f, -4.85f, BUS_FLOOR_Y + 0.05f);
    texturedBox(m, bodyPoint(-X, BUS_FLOOR_Y, -4.2f), bodyPoint(-0.3f, 1.75f, -4.14f), allFaces(t.greyPlastic));
}

void floorAndCeiling(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const float X = BUS_INNER_X;
    const float zFront = busFrontZAt(l, BUS_FLOOR_Y) + 0.04f;
    const float zRear = l.style.rearZ - 0.05f;
    faceQuad(m, bodyPoint(-X, BUS_FLOOR_Y, zFront), bodyPoint(X, BUS_FLOOR_Y, zFront), bodyPoint(X, BUS_FLOOR_Y, zRear),
             bodyPoint(-X, BUS_FLOOR_Y, zRear), Uv{0, 0}, Uv{2, 0}, Uv{2, 8}, Uv{0, 8}, v3(0, 1, 0), t.floor);
    const float zCeilFront = busFrontZAt(l, BUS_CEILING_Y) + 0.04f;
    faceQuad(m, bodyPoint(-X, BUS_CEILING_Y, zCeilFront), bodyPoint(X, BUS_CEILING_Y, zCeilFront),
             bodyPoint(X, BUS_CEILING_Y, zRear), bodyPoint(-X, BUS_CEILING_Y, zRear), Uv{0, 0}, Uv{1, 0}, Uv{1, 6},
             Uv{0, 6}, v3(0, -1, 0), t.ceiling);
}

// Walls facing in, with the same window places as the outside.
void saloonWalls(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const BusStyle& s = l.style;
    const float X = BUS_INNER_X;
    const float zRear = s.rearZ - 0.05f;
    saloonWall(m, l, 1.0f, t.wallRight);
    saloonWall(m, l, -1.0f, t.wallLeft);
    auto capUv = [&](float x, float y) { return Uv{(x + BUS_HALF_WIDTH) / (2 * BUS_HALF_WIDTH), y / BUS_TEX_HEIGHT}; };
    const float y0 = BUS_FLOOR_Y, y1 = BUS_CEILING_Y;
    // The windscreen and the rear window are holes in the end walls, not keyed texels over them:
    // the windscreen fills most of the cab view.
    const WallHole screen = windscreenHole(l), back = rearWindowHole();
    wallAroundHole(m, {-X, screen.a0, screen.a1, X}, {y0, screen.y0, screen.y1, y1},
                   [&](float x, float y) { return bodyPoint(x, y, busFrontZAt(l, y) + 0.04f); }, capUv, v3(0, 0, 1),
                   t.wallFront);
    wallAroundHole(m, {-X, back.a0, back.a1, X}, {y0, back.y0, back.y1, y1},
                   [&](float x, float y) { return bodyPoint(x, y, zRear); }, capUv, v3(0, 0, -1), t.wallRear);
    // Side walls' front strips between the wall and the front face (the chamfer).
    for (float sx : {-1.0f, 1.0f}) {
        const float za = busFrontZAt(l, y0) + 0.04f, zb = l.sideZ0;
        faceQuad(m, bodyPoint(sx * X, y0, za), bodyPoint(sx * X, y0, zb), bodyPoint(sx * X, y1, zb + s.rake),
                 bodyPoint(sx * X, y1, busFrontZAt(l, y1) + 0.04f), Uv{0, 0}, Uv{0.01f, 0}, Uv{0.01f, 0.9f},
                 Uv{0, 0.9f}, v3(-sx, 0, 0), t.greyPlastic);
    }
}

// Wheel housings inside.
void wheelHousings(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const float X = BUS_INNER_X;
    for (float sx : {-1.0f, 1.0f})
        for (float axle : {l.frontAxleZ, l.rearAxleZ}) {
            if (sx < 0 && axle == l.frontAxleZ)
                continue;  // the driver's floor covers it
            const float a = sx > 0 ? X - 0.5f : -X, b = sx > 0 ? X : -X + 0.5f;
            texturedBox(m, bodyPoint(a, BUS_FLOOR_Y, axle - BUS_ARCH_RADIUS), bodyPoint(b, 1.12f, axle + BUS_ARCH_RADIUS),
                        BoxTextures{{sx < 0 ? t.greyPlastic : -1, sx > 0 ? t.greyPlastic : -1, t.greyPlastic, -1,
                                     t.greyPlastic, t.greyPlastic}});
        }
}

void saloonSeats(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const BusStyle& s = l.style;
    const float X = BUS_INNER_X;
    // Seats: pairs along both sides facing forward, raised over the wheel housings, a rear bench.
    for (float sx : {-1.0f, 1.0f}) {
        for (float z = -3.7f; z < s.rearZ - 1.3f; z += 0.85f) {
            bool blocked = false, raised = false;
            for (const Span& d : l.doors)
                if (sx > 0 && z + 0.55f > d.z0 - 0.2f && z < d.z1 + 0.2f)
                    blocked = true;
            for (float axle : {l.frontAxleZ, l.rearAxleZ})
                if (z + 0.5f > axle - BUS_ARCH_RADIUS && z < axle + BUS_ARCH_RADIUS)
                    raised = true;
            if (sx > 0 && z < l.frontAxleZ + BUS_ARCH_RADIUS + 0.1f)
                blocked = true;
            if (blocked)
                continue;
            const float floorY = raised ? 1.12f : BUS_FLOOR_Y;
            if (sx < 0)
                seatRow(m, t, -X + 0.04f, -0.5f, z, floorY);
            else
                seatRow(m, t, 0.5f, X - 0.04f, z, floorY);
            // A pole at the aisle end of every second row.
            if (static_cast<int>(std::lround((z + 3.7f) / 0.85f)) % 2 == 0)
                cylinderY(m, sx * 0.47f, z + MODEL_Z_SHIFT + 0.5f, floorY + 0.45f, BUS_CEILING_Y, 0.025f, 6, t.pole);
        }
    }
    seatRow(m, t, -X + 0.04f, X - 0.04f, s.rearZ - 0.65f, BUS_FLOOR_Y + 0.3f);
}

void saloonPoles(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    const BusStyle& s = l.style;
    const float X = BUS_INNER_X;
    // Poles beside every door and the ceiling rails.
    for (const Span& d : l.doors)
        for (float z : {d.z0 - 0.08f, d.z1 + 0.08f})
            cylinderY(m, X - 0.12f, z + MODEL_Z_SHIFT, BUS_FLOOR_Y, BUS_CEILING_Y, 0.025f, 6, t.pole);
    for (float sx : {-1.0f, 1.0f})
        cylinderBetween(m, bodyPoint(sx * 0.5f, 2.38f, -4.0f), bodyPoint(sx * 0.5f, 2.38f, s.rearZ - 0.5f), 0.022f, 6,
                        t.pole);
}

void buildInterior(ModelBuilder& m, const BusLayout& l, const BusTextures& t)
{
    cabInstruments(m, t);
    speedometerDial(m, t);
    cabFurniture(m, l, t);
    floorAndCeiling(m, l, t);
    saloonWalls(m, l, t);
    wheelHousings(m, l, t);
    saloonSeats(m, l, t);
    saloonPoles(m, l, t);
}

// ---------------------------------------------------------------- small models

void lampQuadZ(ModelBuilder& m, float x0, float x1, float y0, float y1, float z, float facingZ, int tex)
{
    faceQuad(m, bodyPoint(x0, y0, z), bodyPoint(x1, y0, z), bodyPoint(x1, y1, z), bodyPoint(x0, y1, z), Uv{0, 0},
             Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 0, facingZ), tex);
}

void buildLamps(const std::string& folder, const BusLayout& l, const BusTextures& t)
{
    const BusStyle& s = l.style;
    const float W = BUS_HALF_WIDTH, c = s.corner;
    const float zFront = busFrontZAt(l, 0.7f) - 0.02f, zRear = s.rearZ + 0.02f;
    ModelBuilder head, brake, reverse, left, right;
    for (float sx : {-1.0f, 1.0f}) {
        const float hx = sx * (W - c - 0.45f);
        lampQuadZ(head, hx - 0.22f, hx + 0.22f, 0.58f, 0.8f, zFront, -1, t.lampHead);
        ModelBuilder& ind = sx < 0 ? left : right;
        const float ix = sx * (W - c - 0.1f);
        lampQuadZ(ind, ix - 0.1f, ix + 0.1f, 0.58f, 0.8f, zFront, -1, t.lampIndicator);
        lampQuadZ(ind, sx * 1.18f - 0.14f, sx * 1.18f + 0.14f, 1.0f, 1.18f, zRear, 1, t.lampIndicator);
        // Side repeater behind the front wheel.
        const float rz = l.frontAxleZ + 0.9f;
        faceQuad(ind, bodyPoint(sx * (W + 0.02f), 0.78f, rz), bodyPoint(sx * (W + 0.02f), 0.78f, rz + 0.18f),
                 bodyPoint(sx * (W + 0.02f), 0.88f, rz + 0.18f), bodyPoint(sx * (W + 0.02f), 0.88f, rz), Uv{0, 0},
                 Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(sx, 0, 0), t.lampIndicator);
        lampQuadZ(brake, sx * 1.18f - 0.14f, sx * 1.18f + 0.14f, 1.2f, 1.5f, zRear, 1, t.lampBrake);
        lampQuadZ(reverse, sx * 1.18f - 0.14f, sx * 1.18f + 0.14f, 0.85f, 0.98f, zRear, 1, t.lampReverse);
    }
    // A third brake lamp high up in the middle.
    lampQuadZ(brake, -0.3f, 0.3f, 2.62f, 2.7f, zRear, 1, t.lampBrake);
    head.write(folder + "Swiatlodrogowe.qx", "headlights");
    brake.write(folder + "Swiatlostop.qx", "brake lamps");
    reverse.write(folder + "Swiatlowsteczne.qx", "reversing lamps");
    left.write(folder + "SwiatlokierL.qx", "left indicators");
    right.write(folder + "SwiatlokierP.qx", "right indicators");

    // Door-state lamps on the dashboard, right of the wheel: two triangles per door.
    ModelBuilder doorLamps;
    for (int d = 0; d < 3; ++d) {
        const float x = -0.42f + d * 0.12f;
        lampQuadZ(doorLamps, x, x + 0.09f, 1.02f, 1.11f, -6.775f, 1, t.doorLamp[d]);
    }
    doorLamps.write(folder + "Standrzwi.qx", "door lamps 1 2 3");
}

void buildWheels(const std::string& folder, const BusTextures& t)
{
    // Centred where the renderer spins and steers them (bus_designs.h).
    ModelBuilder fl, fr, rear;
    cylinderX(fl, v3(-1.22f, BUS_WHEEL_HUB_Y, BUS_FRONT_HUB_Z), BUS_WHEEL_RADIUS, 0.16f, 14, t.tyre, t.wheelCap, t.archWell, 3);
    cylinderX(fr, v3(1.22f, BUS_WHEEL_HUB_Y, BUS_FRONT_HUB_Z), BUS_WHEEL_RADIUS, 0.16f, 14, t.tyre, t.wheelCap, t.archWell, 3);
    for (float sx : {-1.0f, 1.0f})
        cylinderX(rear, v3(sx * 1.16f, BUS_WHEEL_HUB_Y, BUS_REAR_HUB_Z), BUS_WHEEL_RADIUS, 0.22f, 14, t.tyre, t.wheelCap, t.archWell, 3);
    // Tread and caps come out interleaved; one run per texture keeps the wheels' texture changes
    // from costing more than the rest of the bus.
    for (ModelBuilder* m : {&fl, &fr, &rear})
        m->groupByTexture();
    fl.write(folder + "KoloprzednieL.qx", "front left wheel");
    fr.write(folder + "KoloprzednieP.qx", "front right wheel");
    rear.write(folder + "Kolatylnie.qx", "rear wheels");
}

void buildDoorLeaf(const std::string& path, bool leafA, const BusTextures& t)
{
    // Hinge edge on the renderer's hinge line; leaf A reaches back from it, leaf B forward.
    const float h = BUS_DOOR_HINGE_Z, w = BUS_DOOR_LEAF_WIDTH;
    const float z0 = leafA ? h : h - w, z1 = leafA ? h + w : h;
    const float y0 = 0.32f, y1 = BUS_DOOR_TOP - 0.02f;
    const float xo = 1.515f, xi = 1.485f;
    ModelBuilder m;
    faceQuad(m, v3(xo, y0, z0), v3(xo, y0, z1), v3(xo, y1, z1), v3(xo, y1, z0), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1},
             v3(1, 0, 0), t.doorOutside);
    faceQuad(m, v3(xi, y0, z0), v3(xi, y0, z1), v3(xi, y1, z1), v3(xi, y1, z0), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1},
             v3(-1, 0, 0), t.doorInside);
    // Edges, so an open leaf has thickness.
    for (float z : {z0, z1})
        faceQuad(m, v3(xi, y0, z), v3(xo, y0, z), v3(xo, y1, z), v3(xi, y1, z), Uv{0, 0}, Uv{0.05f, 0}, Uv{0.05f, 1},
                 Uv{0, 1}, v3(0, 0, z == z0 ? -1.0f : 1.0f), t.blackPlastic);
    m.write(path, leafA ? "door leaf A" : "door leaf B");
}

Rgb rgbOf(BusColour c)
{
    return Rgb{c.r, c.g, c.b};
}

BusStyle volvoStyle()
{
    BusStyle s{};
    s.folder = "Dane/Autobusy/Volvo7000/";
    s.frontZ = -6.97f;
    s.rearZ = 5.15f;
    s.rake = 0.04f;
    s.corner = 0.16f;
    s.roofY = 3.02f;
    s.roofPod = false;
    s.body = rgbOf(VOLVO_BODY);
    s.band = rgbOf(VOLVO_BODY);
    s.skirt = rgbOf(VOLVO_SKIRT);
    s.accent = rgbOf(VOLVO_ACCENT);
    s.seat = Rgb{30, 60, 150};
    s.seatShell = Rgb{90, 94, 100};
    s.seed = 7000;
    s.frontLeftWheelZ = VOLVO_FRONT_LEFT_WHEEL_Z;
    s.frontRightWheelZ = VOLVO_FRONT_RIGHT_WHEEL_Z;
    s.rearWheelsZ = VOLVO_REAR_WHEELS_Z;
    s.doorCentreZ[0] = VOLVO_DOOR1_CENTRE_Z;
    s.doorCentreZ[1] = VOLVO_DOOR2_CENTRE_Z;
    s.doorCentreZ[2] = VOLVO_DOOR3_CENTRE_Z;
    return s;
}

BusStyle urbinoStyle()
{
    BusStyle s{};
    s.folder = "Dane/Autobusy/Urbino12/";
    s.frontZ = -6.97f;
    s.rearZ = 5.25f;
    s.rake = 0.09f;
    s.corner = 0.11f;
    s.roofY = 3.0f;
    s.roofPod = true;
    s.body = rgbOf(URBINO_BODY);
    s.band = rgbOf(URBINO_BODY);
    s.skirt = rgbOf(URBINO_SKIRT);
    s.accent = rgbOf(URBINO_ACCENT);
    s.seat = Rgb{150, 30, 40};
    s.seatShell = Rgb{200, 200, 196};
    s.seed = 1200;
    s.frontLeftWheelZ = URBINO_FRONT_LEFT_WHEEL_Z;
    s.frontRightWheelZ = URBINO_FRONT_RIGHT_WHEEL_Z;
    s.rearWheelsZ = URBINO_REAR_WHEELS_Z;
    s.doorCentreZ[0] = URBINO_DOOR1_CENTRE_Z;
    s.doorCentreZ[1] = URBINO_DOOR2_CENTRE_Z;
    s.doorCentreZ[2] = URBINO_DOOR3_CENTRE_Z;
    return s;
}

void writeBus(const std::string& dir, const BusStyle& style)
{
    const BusLayout l = makeBusLayout(style);
    TextureSet set{dir, style.folder, {}, {}};
    const BusTextures t = paintBusTextures(set, l);
    set.writeQualityLists();
    buildBusModels(dir, l, t);
}

}  // namespace

float busFrontZAt(const BusLayout& l, float y)
{
    return l.style.frontZ + l.style.rake * (y - BUS_SKIRT_Y) / (BUS_EAVES_Y - BUS_SKIRT_Y);
}

BusLayout makeBusLayout(const BusStyle& style)
{
    BusLayout l;
    l.style = style;
    l.frontAxleZ = BUS_FRONT_HUB_Z + style.frontLeftWheelZ;
    l.rearAxleZ = BUS_REAR_HUB_Z + style.rearWheelsZ;
    for (float c : style.doorCentreZ)
        l.doors.push_back(Span{c - BUS_DOOR_LEAF_WIDTH, c + BUS_DOOR_LEAF_WIDTH});
    l.sideZ0 = style.frontZ + style.corner;
    l.sideZ1 = style.rearZ - REAR_CORNER;
    const float firstPane = style.frontZ + style.rake + style.corner + 0.12f;
    // Left: the driver's window, then the saloon.
    l.windowsLeft.push_back(Span{firstPane, -4.75f});
    splitPanes(l.windowsLeft, -4.65f, l.sideZ1 - 0.45f);
    // Right: between the doors.
    float z = std::max(firstPane, l.doors[0].z1 + 0.1f);
    for (size_t i = 1; i < l.doors.size(); ++i) {
        splitPanes(l.windowsRight, z, l.doors[i].z0 - 0.1f);
        z = l.doors[i].z1 + 0.1f;
    }
    splitPanes(l.windowsRight, z, l.sideZ1 - 0.45f);
    return l;
}

void buildBusModels(const std::string& dir, const BusLayout& l, const BusTextures& t)
{
    const std::string folder = dir + "/" + l.style.folder;
    ModelBuilder exterior, interior;
    buildExterior(exterior, l, t);
    buildInterior(interior, l, t);
    exterior.groupByTexture();
    interior.groupByTexture(6);  // the wheel, the needle and the two unused triangles keep their places
    exterior.write(folder + "ModelZew.qx", "exterior");
    interior.write(folder + "ModelWew.qx", "interior: wheel 0-1, needle 2-3, unused 4-5, cab from 6");
    buildLamps(folder, l, t);
    buildWheels(folder, t);
    buildDoorLeaf(folder + "DrzwiA.qx", true, t);
    buildDoorLeaf(folder + "DrzwiB.qx", false, t);
}

void genBuses(const std::string& dir)
{
    writeBus(dir, volvoStyle());
    writeBus(dir, urbinoStyle());
}
