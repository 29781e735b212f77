// The test route: the scene (roads where the second car's loop runs, pavements, the crossing with
// its signals, the stops with shelters, the depot with its pump, city blocks, trees and street
// lamps), the sky round the viewer and the six lit lamps of the two signal heads. Laid out from
// tools/common/route_layout.h in the route model's frame (model z = -world Z).
#include "tools/common/route_layout.h"
#include "tools/data/content_route_paint.h"
#include "tools/data/content_shapes.h"
#include "tools/data/content_shelter.h"
#include "tools/data/content_stops.h"
#include "tools/data/gen.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr float ROAD_Y = 0.02f;
constexpr float MARK_Y = 0.04f;
constexpr float PAVEMENT_WIDTH = 3.5f;
constexpr float BUILDING_SETBACK = 9.5f;
constexpr float SKY_RADIUS = 400.0f;
constexpr float GROUND_FLOOR = 4.0f;
constexpr float UPPER_FLOOR = 3.2f;
// The depot yard beside the refuelling point.
constexpr float DEPOT_X0 = 13.7f, DEPOT_X1 = 52.0f, DEPOT_Z0 = -52.0f, DEPOT_Z1 = -2.0f;
// Signal heads: housing size and the lens places (from the top of the housing).
constexpr float HEAD_HEIGHT = 1.2f, HEAD_HALF = 0.2f, LENS_RADIUS = 0.13f;
constexpr float LENS_FROM_TOP[3] = {0.2f, 0.6f, 1.0f};  // red, yellow, green
constexpr float HEAD_A_LOW = 2.2f, HEAD_A_ARM = 4.0f, HEAD_B_LOW = 2.2f;

const Vec3 SUN = v3(0.53f, 0.0f, 0.85f);

std::vector<P2> toP2(const RouteRoad& road)
{
    std::vector<P2> out;
    for (const RoutePoint& p : road.points)
        out.push_back(P2{p.x, p.z});
    if (road.closed && !road.points.empty())
        out.push_back(P2{road.points.front().x, road.points.front().z});
    return out;
}

// The part of a polyline between along-distances s0 and s1 (s0 < s1, no wrapping).
std::vector<P2> subLine(const RouteRoad& road, float s0, float s1)
{
    const std::vector<P2> pts = toP2(road);
    std::vector<P2> out;
    const RoutePoint a = routePointAt(road, s0);
    out.push_back(P2{a.x, a.z});
    float s = 0.0f;
    for (size_t i = 1; i < pts.size(); ++i) {
        s += std::hypot(pts[i].x - pts[i - 1].x, pts[i].z - pts[i - 1].z);
        if (s > s0 + 0.05f && s < s1 - 0.05f)
            out.push_back(pts[i]);
    }
    const RoutePoint b = routePointAt(road, s1);
    out.push_back(P2{b.x, b.z});
    return out;
}

// [0, total] less the given ranges (each may wrap past either end of a closed loop).
std::vector<std::pair<float, float>> rangesWithout(float total, std::vector<std::pair<float, float>> cuts)
{
    std::vector<std::pair<float, float>> norm;
    for (auto c : cuts) {
        if (c.first < 0) {
            norm.push_back({c.first + total, total});
            norm.push_back({0, c.second});
        } else if (c.second > total) {
            norm.push_back({c.first, total});
            norm.push_back({0, c.second - total});
        } else {
            norm.push_back(c);
        }
    }
    std::sort(norm.begin(), norm.end());
    std::vector<std::pair<float, float>> out;
    float at = 0.0f;
    for (auto c : norm) {
        if (c.first > at + 0.5f)
            out.push_back({at, c.first});
        at = std::max(at, c.second);
    }
    if (total > at + 0.5f)
        out.push_back({at, total});
    return out;
}

Frame frameOnRoad(const RouteRoad& road, float s)
{
    const RoutePoint p = routePointAt(road, s);
    const RoutePoint b = routePointAt(road, s + 1.0f), a = routePointAt(road, s - 1.0f);
    return frameOf(p.x, p.z, b.x - a.x, b.z - a.z);
}

bool lit(Vec3 facing)
{
    return dot(facing, SUN) > 0.0f;
}

struct Scene {
    ModelBuilder m;
    RouteTextures t;
    Rng rng{20240};
};

// ---------------------------------------------------------------- roads

// The grass over the whole ground, less the loop road and its pavements: drawn under them it would
// only be covered again. The cut runs half a unit under the pavements, so no gap can show.
void grassRoundTheLoop(ModelBuilder& m, int tex)
{
    constexpr float X0 = -760.0f, Z0 = -820.0f, X1 = 420.0f, Z1 = 420.0f, UV_SCALE = 9.0f;
    const float edge = ROUTE_ROAD_HALF_WIDTH + PAVEMENT_WIDTH - 0.5f;
    const std::vector<P2> line = toP2(routeLoopRoad());
    std::vector<P2> a = offsetLine(line, edge), b = offsetLine(line, -edge);
    a.pop_back();  // the closing point again
    b.pop_back();
    a = simplifiedRing(a, 0.1f);
    b = simplifiedRing(b, 0.1f);
    auto area = [](const std::vector<P2>& p) {
        float s = 0.0f;
        for (size_t i = 0; i < p.size(); ++i)
            s += p[i].x * p[(i + 1) % p.size()].z - p[(i + 1) % p.size()].x * p[i].z;
        return std::fabs(s);
    };
    const std::vector<P2>& inner = area(a) < area(b) ? a : b;
    const std::vector<P2>& outer = area(a) < area(b) ? b : a;
    ModelBuilder grass;
    const std::vector<P2> field{{X0, Z0}, {X1, Z0}, {X1, Z1}, {X0, Z1}};
    if (!groundPolygon(grass, inner, {}, 0.0f, tex, UV_SCALE) || !groundPolygon(grass, field, outer, 0.0f, tex, UV_SCALE)) {
        groundRect(m, X0, Z0, X1, Z1, 0.0f, tex, UV_SCALE);
        return;
    }
    // Grass stays under the corners of the crossing, where neither road has a pavement, and under
    // the seam where the loop's strips begin and end, which do not quite meet.
    const RoutePoint cross = routeCrossingPoint();
    const float r = edge + 1.0f;
    auto uv = [&](Vec3 p) { return Uv{p.x / UV_SCALE, p.z / UV_SCALE}; };
    for (float along : {routeProject(routeLoopRoad(), cross.x, cross.z).along, 0.0f}) {
        const Frame f = frameOnRoad(routeLoopRoad(), along);
        const Vec3 c[4] = {f.at(-r, -r, 0.0f), f.at(r, -r, 0.0f), f.at(r, r, 0.0f), f.at(-r, r, 0.0f)};
        faceQuad(grass, c[0], c[1], c[2], c[3], uv(c[0]), uv(c[1]), uv(c[2]), uv(c[3]), v3(0, 1, 0), tex);
    }
    m.append(grass);
}

void buildRoads(Scene& sc)
{
    const RouteRoad& loop = routeLoopRoad();
    const RouteRoad& side = routeSideRoad();
    const float hw = ROUTE_ROAD_HALF_WIDTH;
    const float total = routeLength(loop);
    const RoutePoint cross = routeCrossingPoint();
    const float sCross = routeProject(loop, cross.x, cross.z).along;
    const RouteTextures& t = sc.t;

    grassRoundTheLoop(sc.m, t.grass);
    groundStrip(sc.m, toP2(loop), -hw, hw, ROAD_Y, t.road, 1.0f, 8.0f);

    // Pavements and kerbs, cut where the side road crosses.
    for (const auto& r : rangesWithout(total, {{sCross - hw, sCross + hw}})) {
        const std::vector<P2> line = subLine(loop, r.first, r.second);
        for (float sgn : {-1.0f, 1.0f}) {
            const float a = sgn * hw, b = sgn * (hw + PAVEMENT_WIDTH);
            groundStrip(sc.m, line, std::min(a, b), std::max(a, b), ROUTE_KERB_Y, t.pavement, PAVEMENT_WIDTH / 2.0f, 2.0f);
            wallStrip(sc.m, line, a, 0.0f, ROUTE_KERB_Y, sgn < 0, t.kerb, 2.0f, ROUTE_KERB_Y);
        }
    }
    // The side road on both sides of the loop road, with its own pavements.
    const float sideLen = routeLength(side);
    const float sIn = routeProject(side, cross.x, cross.z).along;
    for (auto r : {std::make_pair(0.0f, sIn - hw), std::make_pair(sIn + hw, sideLen)}) {
        const std::vector<P2> road = subLine(side, r.first, r.second);
        groundStrip(sc.m, road, -hw, hw, ROAD_Y, t.road, 1.0f, 8.0f);
        const float pa = r.first == 0.0f ? 0.0f : r.first + PAVEMENT_WIDTH;
        const float pb = r.first == 0.0f ? r.second - PAVEMENT_WIDTH : sideLen;
        const std::vector<P2> walk = subLine(side, pa, pb);
        for (float sgn : {-1.0f, 1.0f}) {
            const float a = sgn * hw, b = sgn * (hw + PAVEMENT_WIDTH);
            groundStrip(sc.m, walk, std::min(a, b), std::max(a, b), ROUTE_KERB_Y, t.pavement, PAVEMENT_WIDTH / 2.0f, 2.0f);
            wallStrip(sc.m, walk, a, 0.0f, ROUTE_KERB_Y, sgn < 0, t.kerb, 2.0f, ROUTE_KERB_Y);
        }
    }
    // The crossing: plain asphalt over the markings, a zebra and a stop line before it.
    const Frame f = frameOnRoad(loop, sCross);
    faceQuad(sc.m, f.at(-hw, -hw, MARK_Y), f.at(hw, -hw, MARK_Y), f.at(hw, hw, MARK_Y), f.at(-hw, hw, MARK_Y),
             Uv{0, 0}, Uv{2, 0}, Uv{2, 2}, Uv{0, 2}, v3(0, 1, 0), t.asphalt);
    for (float dir : {-1.0f, 1.0f}) {
        const float z0 = dir * (hw + 0.5f), z1 = dir * (hw + 3.5f);
        faceQuad(sc.m, f.at(std::min(z0, z1), -hw, MARK_Y), f.at(std::max(z0, z1), -hw, MARK_Y),
                 f.at(std::max(z0, z1), hw, MARK_Y), f.at(std::min(z0, z1), hw, MARK_Y), Uv{0, 0}, Uv{0, 0.01f},
                 Uv{2.5f, 0.01f}, Uv{2.5f, 0}, v3(0, 1, 0), t.zebra);
    }
    const float stopAt = -(hw + 4.3f);  // before the crossing for traffic along the loop
    faceQuad(sc.m, f.at(stopAt - 0.4f, -hw + 0.3f, MARK_Y), f.at(stopAt, -hw + 0.3f, MARK_Y),
             f.at(stopAt, hw - 0.3f, MARK_Y), f.at(stopAt - 0.4f, hw - 0.3f, MARK_Y), Uv{0, 0}, Uv{1, 0}, Uv{1, 1},
             Uv{0, 1}, v3(0, 1, 0), t.stopLine);
    // A block across each dead end of the side road.
    for (float s : {0.0f, sideLen}) {
        const Frame e = frameOnRoad(side, s);
        const float out = s == 0.0f ? -1.0f : 1.0f;
        const float l0 = out > 0 ? 3.0f : -21.0f, l1 = out > 0 ? 21.0f : -3.0f;
        const int st = static_cast<int>(sc.rng.next() % ROUTE_FACADE_STYLES);
        frameBox(sc.m, e, l0, l1, -14.0f, 14.0f, 0.0f, GROUND_FLOOR,
                 {out < 0 ? sc.t.shopLit[st] : sc.t.shopShade[st], out > 0 ? sc.t.shopLit[st] : sc.t.shopShade[st],
                  sc.t.shopShade[st], sc.t.shopShade[st], -1},
                 9.0f, GROUND_FLOOR);
        frameBox(sc.m, e, l0, l1, -14.0f, 14.0f, GROUND_FLOOR, GROUND_FLOOR + 3 * UPPER_FLOOR,
                 {sc.t.facadeShade[st], sc.t.facadeLit[st], sc.t.facadeShade[st], sc.t.facadeShade[st], sc.t.roofFlat},
                 9.0f, 2 * UPPER_FLOOR);
    }
}

// ---------------------------------------------------------------- stops, depot, signals

void buildStops(Scene& sc)
{
    const std::vector<RouteStop>& stops = routeStops();
    for (size_t i = 0; i < stops.size(); ++i) {
        const RouteStop& s = stops[i];
        buildShelter(sc.m, sc.t, frameOf(s.kerbX, s.kerbZ, s.dirX, s.dirZ), sc.t.stopName[i], 3.0f, 1);
    }
}

void buildDepot(Scene& sc)
{
    const RouteTextures& t = sc.t;
    const RoutePoint fuel = routeFuelPoint();
    groundRect(sc.m, DEPOT_X0, DEPOT_Z0, DEPOT_X1, DEPOT_Z1, 0.03f, t.concrete, 4.0f);
    // Pump island and pumps by the refuelling point, under a canopy.
    const Frame f = frameOf(fuel.x, fuel.z, 0.0f, -1.0f);  // along = south, right = west (the road)
    frameBox(sc.m, f, -3.5f, 3.5f, -0.7f, 0.7f, 0.0f, 0.2f, {t.concrete, t.concrete, t.concrete, t.concrete, t.concrete},
             2.0f, 0.2f);
    for (float l : {-1.6f, 1.6f})
        frameBox(sc.m, f, l - 0.4f, l + 0.4f, -0.3f, 0.3f, 0.2f, 2.0f, {t.pump, t.pump, t.pump, t.pump, t.pump}, 0.8f,
                 1.8f);
    for (float l : {-5.0f, 5.0f})
        frameBox(sc.m, f, l - 0.2f, l + 0.2f, -3.2f, -2.8f, 0.0f, 5.4f,
                 {t.canopy, t.canopy, t.canopy, t.canopy, -1}, 0.4f, 5.4f);
    frameBox(sc.m, f, -7.0f, 7.0f, -7.5f, 1.2f, 5.4f, 6.1f, {t.canopyEdge, t.canopyEdge, t.canopyEdge, t.canopyEdge, t.canopy},
             14.0f, 0.7f);
    faceQuad(sc.m, f.at(-7.0f, -7.5f, 5.39f), f.at(7.0f, -7.5f, 5.39f), f.at(7.0f, 1.2f, 5.39f),
             f.at(-7.0f, 1.2f, 5.39f), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, -1, 0), t.canopy);
    // The garage hall, doors facing the road.
    const Frame h = frameOf(38.0f, -28.0f, 0.0f, -1.0f);  // right = -x, towards the road
    frameBox(sc.m, h, -22.0f, 22.0f, -12.0f, 12.0f, 0.0f, 9.0f,
             {t.depotWall, t.depotWall, t.depotWall, t.depotWall, t.roofFlat}, 22.0f, 9.0f);
    for (float l : {-13.0f, 0.0f, 13.0f})
        faceQuad(sc.m, h.at(l - 4.5f, 12.02f, 0.0f), h.at(l + 4.5f, 12.02f, 0.0f), h.at(l + 4.5f, 12.02f, 5.5f),
                 h.at(l - 4.5f, 12.02f, 5.5f), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, h.dirR(), t.depotDoor);
}

// Housing of a signal head at (x, z), lenses on the face(s) looking along `faces`.
void signalHousing(Scene& sc, float x, float z, float yBottom, const std::vector<Vec3>& faces)
{
    const RouteTextures& t = sc.t;
    const Vec3 lo = v3(x - HEAD_HALF, yBottom, z - HEAD_HALF), hi = v3(x + HEAD_HALF, yBottom + HEAD_HEIGHT, z + HEAD_HALF);
    BoxTextures bt = allFaces(t.lightHousing);
    for (const Vec3& f : faces) {
        if (f.x > 0.5f)
            bt.tex[0] = t.lightFace;
        if (f.x < -0.5f)
            bt.tex[1] = t.lightFace;
        if (f.z > 0.5f)
            bt.tex[4] = t.lightFace;
        if (f.z < -0.5f)
            bt.tex[5] = t.lightFace;
    }
    texturedBox(sc.m, lo, hi, bt);
}

void buildSignals(Scene& sc)
{
    const RouteTextures& t = sc.t;
    const RoutePoint a = routeTrafficHeadA(), b = routeTrafficHeadB(), c = routeCrossingPoint();
    // Head A: on its post at the outer corner and again on an arm over the lanes, facing the
    // loop's traffic (which comes from +z).
    cylinderY(sc.m, a.x, a.z, 0.0f, HEAD_A_ARM + HEAD_HEIGHT + 0.3f, 0.09f, 6, t.signPost);
    signalHousing(sc, a.x, a.z, HEAD_A_LOW, {v3(0, 0, 1)});
    const float armX = c.x + 1.0f;
    cylinderBetween(sc.m, v3(a.x, HEAD_A_ARM + HEAD_HEIGHT + 0.2f, a.z), v3(armX, HEAD_A_ARM + HEAD_HEIGHT + 0.2f, a.z),
                    0.07f, 6, t.signPost);
    signalHousing(sc, armX, a.z, HEAD_A_ARM, {v3(0, 0, 1)});
    // Head B: on its post at the inner corner, facing both ways along the side road.
    cylinderY(sc.m, b.x, b.z, 0.0f, HEAD_B_LOW + HEAD_HEIGHT, 0.09f, 6, t.signPost);
    signalHousing(sc, b.x, b.z, HEAD_B_LOW, {v3(1, 0, 0), v3(-1, 0, 0)});
}

// The lit lens of one colour for a head: a disc in front of each lens of that colour.
void writeLamp(const std::string& path, int colour, bool headA, int tex)
{
    ModelBuilder m;
    const RoutePoint a = routeTrafficHeadA(), b = routeTrafficHeadB(), c = routeCrossingPoint();
    const float off = HEAD_HALF + 0.015f;
    if (headA) {
        for (auto place : {std::make_pair(a.x, HEAD_A_LOW), std::make_pair(c.x + 1.0f, HEAD_A_ARM)}) {
            const float y = place.second + HEAD_HEIGHT - LENS_FROM_TOP[colour];
            disc(m, v3(place.first, y, a.z + off), v3(1, 0, 0), v3(0, 1, 0), LENS_RADIUS, 8, v3(0, 0, 1), tex);
        }
    } else {
        const float y = HEAD_B_LOW + HEAD_HEIGHT - LENS_FROM_TOP[colour];
        for (float sx : {-1.0f, 1.0f})
            disc(m, v3(b.x + sx * off, y, b.z), v3(0, 0, 1), v3(0, 1, 0), LENS_RADIUS, 8, v3(sx, 0, 0), tex);
    }
    m.write(path, headA ? "signal head A lamp" : "signal head B lamp");
}

// ---------------------------------------------------------------- city

bool clearOfRoads(float x, float z, float margin)
{
    if (routeProject(routeLoopRoad(), x, z).distance < margin)
        return false;
    if (routeProject(routeSideRoad(), x, z).distance < margin)
        return false;
    if (x > DEPOT_X0 - 2.0f && x < DEPOT_X1 + 2.0f && z > DEPOT_Z0 - 2.0f && z < DEPOT_Z1 + 2.0f)
        return false;
    return true;
}

void building(Scene& sc, const Frame& f, float l0, float l1, float o0, float o1, int floors, int style, bool pitched)
{
    const RouteTextures& t = sc.t;
    auto pick = [&](Vec3 facing, const int* litSet, const int* shadeSet) {
        return lit(facing) ? litSet[style] : shadeSet[style];
    };
    const std::array<int, 5> shop{pick(f.dirA(), t.shopLit, t.shopShade), pick(f.dirA() * -1.0f, t.shopLit, t.shopShade),
                                  pick(f.dirR(), t.shopLit, t.shopShade), pick(f.dirR() * -1.0f, t.shopLit, t.shopShade),
                                  -1};
    const float top = GROUND_FLOOR + floors * UPPER_FLOOR;
    frameBox(sc.m, f, l0, l1, o0, o1, 0.0f, GROUND_FLOOR, shop, 9.0f, GROUND_FLOOR);
    const std::array<int, 5> upper{pick(f.dirA(), t.facadeLit, t.facadeShade),
                                   pick(f.dirA() * -1.0f, t.facadeLit, t.facadeShade),
                                   pick(f.dirR(), t.facadeLit, t.facadeShade),
                                   pick(f.dirR() * -1.0f, t.facadeLit, t.facadeShade), pitched ? -1 : t.roofFlat};
    frameBox(sc.m, f, l0, l1, o0, o1, GROUND_FLOOR, top, upper, 9.0f, 2 * UPPER_FLOOR);
    if (pitched) {
        // Ridge along the building, gables at its ends.
        const float om = (o0 + o1) * 0.5f, ridge = top + (o1 - o0) * 0.35f;
        const Vec3 r0 = f.at(l0, om, ridge), r1 = f.at(l1, om, ridge);
        faceQuad(sc.m, f.at(l0, o0, top), f.at(l1, o0, top), r1, r0, Uv{0, 0}, Uv{(l1 - l0) / 4, 0},
                 Uv{(l1 - l0) / 4, 2}, Uv{0, 2}, f.dirR() * -1.0f + v3(0, 1, 0),
                 lit(f.dirR() * -1.0f) ? t.roofTiles : t.roofTilesShade);
        faceQuad(sc.m, f.at(l1, o1, top), f.at(l0, o1, top), r0, r1, Uv{0, 0}, Uv{(l1 - l0) / 4, 0},
                 Uv{(l1 - l0) / 4, 2}, Uv{0, 2}, f.dirR() + v3(0, 1, 0), lit(f.dirR()) ? t.roofTiles : t.roofTilesShade);
        faceTri(sc.m, f.at(l0, o1, top), f.at(l0, o0, top), r0, Uv{0, 0}, Uv{1, 0}, Uv{0.5f, 1}, f.dirA() * -1.0f,
                t.wallPlain);
        faceTri(sc.m, f.at(l1, o0, top), f.at(l1, o1, top), r1, Uv{0, 0}, Uv{1, 0}, Uv{0.5f, 1}, f.dirA(), t.wallPlain);
    }
}

// Rows of buildings along a road on one side (sgn +1 right of travel, -1 left).
void buildingRow(Scene& sc, const RouteRoad& road, float sgn, float sBegin, float sEnd)
{
    float s = sBegin;
    while (s < sEnd) {
        const float w = sc.rng.range(12.0f, 26.0f), d = sc.rng.range(10.0f, 16.0f);
        if (s + w > sEnd)
            break;
        const Frame fa = frameOnRoad(road, s), fb = frameOnRoad(road, s + w);
        const float turn = fa.a.x * fb.a.x + fa.a.z * fb.a.z;
        const Frame f = frameOnRoad(road, s + w * 0.5f);
        const float o0 = sgn > 0 ? BUILDING_SETBACK : -BUILDING_SETBACK - d;
        const float o1 = sgn > 0 ? BUILDING_SETBACK + d : -BUILDING_SETBACK;
        bool ok = turn > 0.995f;
        for (float l : {-w * 0.5f, 0.0f, w * 0.5f})
            for (float o : {o0, (o0 + o1) * 0.5f, o1}) {
                const Vec3 p = f.at(l, o, 0.0f);
                ok = ok && clearOfRoads(p.x, p.z, BUILDING_SETBACK - 0.6f);
            }
        if (!ok) {
            s += 3.0f;
            continue;
        }
        const int floors = 1 + static_cast<int>(sc.rng.next() % 5);
        const int style = static_cast<int>(sc.rng.next() % ROUTE_FACADE_STYLES);
        const bool pitched = floors <= 2 && sc.rng.next() % 2 == 0;
        building(sc, f, -w * 0.5f, w * 0.5f, o0, o1, floors, style, pitched);
        s += w + (sc.rng.next() % 4 == 0 ? sc.rng.range(6.0f, 12.0f) : sc.rng.range(0.5f, 2.5f));
    }
}

void tree(Scene& sc, float x, float z, float scale)
{
    const RouteTextures& t = sc.t;
    const float trunkTop = 2.2f * scale, r = 2.0f * scale, mid = trunkTop + 1.6f * scale, top = trunkTop + 4.5f * scale;
    texturedBox(sc.m, v3(x - 0.15f, 0.0f, z - 0.15f), v3(x + 0.15f, trunkTop + 0.5f, z + 0.15f),
                BoxTextures{{t.bark, t.bark, -1, -1, t.bark, t.bark}});
    const int n = 6;
    for (int i = 0; i < n; ++i) {
        const float a0 = 2 * PI * (i + 0.25f) / n, a1 = 2 * PI * (i + 1.25f) / n, am = (a0 + a1) * 0.5f;
        const Vec3 p0 = v3(x + std::cos(a0) * r, mid, z + std::sin(a0) * r);
        const Vec3 p1 = v3(x + std::cos(a1) * r, mid, z + std::sin(a1) * r);
        const Vec3 out = v3(std::cos(am), 0, std::sin(am));
        const int tex = lit(out) ? t.leaves : t.leavesShade;
        faceTri(sc.m, p0, p1, v3(x, top, z), Uv{0, 0}, Uv{1, 0}, Uv{0.5f, 1}, out + v3(0, 0.5f, 0), tex);
        faceTri(sc.m, p1, p0, v3(x, trunkTop, z), Uv{0, 0}, Uv{1, 0}, Uv{0.5f, 1}, out + v3(0, -0.7f, 0), t.leavesShade);
    }
}

bool nearStop(float x, float z, float radius)
{
    for (const RouteStop& s : routeStops())
        if (std::hypot(s.kerbX - x, s.kerbZ - z) < radius)
            return true;
    return false;
}

void streetFurniture(Scene& sc)
{
    const RouteRoad& loop = routeLoopRoad();
    const float total = routeLength(loop);
    const RoutePoint cross = routeCrossingPoint();
    const float sCross = routeProject(loop, cross.x, cross.z).along;
    const RouteTextures& t = sc.t;
    // Trees on the inner pavement, street lamps on the outer one.
    for (float s = 6.0f; s < total; s += 15.0f) {
        if (std::fabs(s - sCross) < 14.0f)
            continue;
        const Frame f = frameOnRoad(loop, s);
        const Vec3 p = f.at(0.0f, -(ROUTE_ROAD_HALF_WIDTH + 2.2f), 0.0f);
        if (clearOfRoads(p.x, p.z, ROUTE_ROAD_HALF_WIDTH + 1.5f) && !nearStop(p.x, p.z, 8.0f))
            tree(sc, p.x, p.z, sc.rng.range(0.85f, 1.2f));
    }
    for (float s = 10.0f; s < total; s += 38.0f) {
        if (std::fabs(s - sCross) < 14.0f)
            continue;
        const Frame f = frameOnRoad(loop, s);
        const Vec3 p = f.at(0.0f, ROUTE_ROAD_HALF_WIDTH + 0.7f, ROUTE_KERB_Y);
        if (!clearOfRoads(p.x, p.z, ROUTE_ROAD_HALF_WIDTH + 0.5f) || nearStop(p.x, p.z, 7.0f))
            continue;
        const Frame lf{P2{p.x, p.z}, f.a, f.r};
        frameBox(sc.m, lf, -0.08f, 0.08f, -0.08f, 0.08f, 0.0f, 7.0f,
                 {t.streetLamp, t.streetLamp, t.streetLamp, t.streetLamp, -1}, 0.16f, 7.0f);
        frameBox(sc.m, lf, -0.25f, 0.25f, -2.2f, 0.1f, 7.0f, 7.25f,
                 {t.streetLamp, t.streetLamp, t.streetLamp, t.streetLamp, t.streetLamp}, 0.5f, 0.25f);
        faceQuad(sc.m, lf.at(-0.25f, -2.2f, 6.99f), lf.at(0.25f, -2.2f, 6.99f), lf.at(0.25f, -1.0f, 6.99f),
                 lf.at(-0.25f, -1.0f, 6.99f), Uv{0, 0.7f}, Uv{1, 0.7f}, Uv{1, 0.9f}, Uv{0, 0.9f}, v3(0, -1, 0),
                 t.streetLampHead);
    }
}

void buildCity(Scene& sc)
{
    const RouteRoad& loop = routeLoopRoad();
    const float total = routeLength(loop);
    buildingRow(sc, loop, 1.0f, 0.0f, total);
    buildingRow(sc, loop, -1.0f, 0.0f, total);
    const RouteRoad& side = routeSideRoad();
    buildingRow(sc, side, 1.0f, 4.0f, routeLength(side) - 4.0f);
    buildingRow(sc, side, -1.0f, 4.0f, routeLength(side) - 4.0f);
    streetFurniture(sc);
}

// ---------------------------------------------------------------- drawing order

// Where a triangle goes in the route's drawing order. The camera is always on a road, so what
// stands close to a road hides what stands further off, building fronts hide the sides and backs
// behind them, and everything standing hides the ground. Drawn in that order the depth test turns
// away the hidden pixels before they are textured. The ground layers lie too close together for a
// coarse depth buffer to part them, so they are cut not to overlap instead (see the grass).
int depthClass(const ModelBuilder::Tri& t)
{
    const Vec3 n = cross(t.v[1] - t.v[0], t.v[2] - t.v[0]);
    const float len = std::sqrt(dot(n, n));
    const float ny = len > 0.0f ? n.y / len : 0.0f;
    const float yMax = std::max({t.v[0].y, t.v[1].y, t.v[2].y});
    if (ny > 0.9f && yMax <= ROUTE_KERB_Y + 0.06f)
        return 3;  // ground: the layers keep their order, lowest first, so a higher one wins a tie
    const Vec3 c = (t.v[0] + t.v[1] + t.v[2]) * (1.0f / 3.0f);
    RouteProjection best{};
    const RouteRoad* road = nullptr;
    for (const RouteRoad* r : {&routeLoopRoad(), &routeSideRoad()}) {
        const RouteProjection p = routeProject(*r, c.x, c.z);
        if (!road || p.distance < best.distance) {
            best = p;
            road = r;
        }
    }
    if (best.distance < BUILDING_SETBACK - 0.5f)
        return 0;  // kerbs, trees, lamps, shelters, signs and signals
    const RoutePoint on = routePointAt(*road, best.along);
    const Vec3 toRoad = v3(on.x - c.x, 0.0f, on.z - c.z);
    const float toLen = std::sqrt(dot(toRoad, toRoad));
    const bool facesRoad = len > 0.0f && std::fabs(ny) < 0.1f && dot(n, toRoad) > 0.7f * len * toLen;
    return facesRoad ? 1 : 2;
}

// The triangles sorted by depthClass, each class then in runs of one texture.
void orderForDepth(ModelBuilder& m)
{
    std::vector<std::pair<int, size_t>> keyed;
    for (size_t i = 0; i < m.tris.size(); ++i)
        keyed.push_back({depthClass(m.tris[i]), i});
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    ModelBuilder out;
    for (size_t begin = 0; begin < keyed.size();) {
        ModelBuilder part;
        size_t end = begin;
        for (; end < keyed.size() && keyed[end].first == keyed[begin].first; ++end)
            part.tris.push_back(m.tris[keyed[end].second]);
        part.groupByTexture();
        out.append(part);
        begin = end;
    }
    m.tris.swap(out.tris);
}

// ---------------------------------------------------------------- sky

}  // namespace

void writeSky(const std::string& path, int tex)
{
    // A sphere round the viewer, seen from inside; the picture wraps once round it. Below the
    // horizon only a band is kept: the ground covers the rest, and the sky is drawn first over the
    // whole view in every pass, so every pixel it holds under the ground is filled for nothing.
    // The band reaches a few degrees down, past where the ground ends or the far plane cuts it.
    ModelBuilder m;
    const int around = 24, rings = 12;
    const float BAND_BELOW = 0.3f;  // of the first ring under the horizon, about 4.5 degrees
    for (int j = rings / 2 - 1; j < rings; ++j) {
        const float e0 = -PI / 2 + PI * j / rings, e1 = -PI / 2 + PI * (j + 1) / rings;
        for (int i = 0; i < around; ++i) {
            const float a0 = 2 * PI * i / around, a1 = 2 * PI * (i + 1) / around;
            auto pt = [&](float a, float e) {
                return v3(std::cos(a) * std::cos(e) * SKY_RADIUS, std::sin(e) * SKY_RADIUS, std::sin(a) * std::cos(e) * SKY_RADIUS);
            };
            auto uv = [&](int ii, float e) { return Uv{static_cast<float>(ii) / around * 2.0f, 0.5f + e / PI}; };
            const float em = (e0 + e1) * 0.5f, am = (a0 + a1) * 0.5f;
            const Vec3 inward = v3(-std::cos(am) * std::cos(em), -std::sin(em), -std::sin(am) * std::cos(em));
            Vec3 b0 = pt(a0, e0), b1 = pt(a1, e0);
            Uv u0 = uv(i, e0), u1 = uv(i + 1, e0);
            if (j < rings / 2) {
                // The lower edge moved up within the same flat quad, so what is left maps as before.
                const Vec3 t0 = pt(a0, e1), t1 = pt(a1, e1);
                const Uv w0 = uv(i, e1), w1 = uv(i + 1, e1);
                b0 = t0 + (b0 - t0) * BAND_BELOW;
                b1 = t1 + (b1 - t1) * BAND_BELOW;
                u0 = Uv{w0.s + (u0.s - w0.s) * BAND_BELOW, w0.t + (u0.t - w0.t) * BAND_BELOW};
                u1 = Uv{w1.s + (u1.s - w1.s) * BAND_BELOW, w1.t + (u1.t - w1.t) * BAND_BELOW};
            }
            faceQuad(m, b0, b1, pt(a1, e1), pt(a0, e1), u0, u1, uv(i + 1, e1), uv(i, e1), inward, tex);
        }
    }
    m.write(path, "sky");
}

void genScenery(const std::string& dir)
{
    const std::string folder = "Dane/Trasy/Test/";
    Scene sc;
    TextureSet set{dir, folder, {}, {}};
    sc.t = paintRouteTextures(set, lineStopNames());
    set.writeQualityLists();
    buildRoads(sc);
    buildStops(sc);
    buildDepot(sc);
    buildSignals(sc);
    buildCity(sc);
    orderForDepth(sc.m);
    sc.m.write(dir + "/" + folder + "Plansza.qx", "test route");
    writeSky(dir + "/" + folder + "Niebo.qx", sc.t.sky);
    const std::string path = dir + "/" + folder;
    writeLamp(path + "CzerwonyA.qx", 0, true, sc.t.lampRed);
    writeLamp(path + "ZoltyA.qx", 1, true, sc.t.lampYellow);
    writeLamp(path + "ZielonyA.qx", 2, true, sc.t.lampGreen);
    writeLamp(path + "CzerwonyB.qx", 0, false, sc.t.lampRed);
    writeLamp(path + "ZoltyB.qx", 1, false, sc.t.lampYellow);
    writeLamp(path + "ZielonyB.qx", 2, false, sc.t.lampGreen);
}
