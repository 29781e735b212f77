#include "tools/osm/osm_town.h"

#include "tools/data/content_route_paint.h"
#include "tools/data/content_shelter.h"
#include "tools/data/content_stops.h"
#include "tools/data/gen.h"
#include "tools/osm/osm_line.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr float GRASS_Y = -0.1f;  // well under the roads, so no depth fight at a distance
constexpr float SIDE_Y = 0.01f;
constexpr float ROAD_Y = 0.02f;
constexpr float MARK_Y = 0.04f;
constexpr float PAVEMENT_WIDTH = 3.0f;
constexpr float HEAD_HEIGHT = 1.2f, HEAD_HALF = 0.2f, LENS_RADIUS = 0.13f;
constexpr float LENS_FROM_TOP[3] = {0.2f, 0.6f, 1.0f};  // red, yellow, green
constexpr float HEAD_LOW = 2.2f, HEAD_ARM = 4.0f;
constexpr float ROW_STEP = 18.0f;   // the fallback houses' spacing along the road
constexpr float ROW_DEPTH = 12.0f;
const Vec3 SUN = v3(0.53f, 0.0f, 0.85f);

struct Town {
    ModelBuilder m;
    RouteTextures t;
};

// The points of the line between along s0 and s1, with the widths of its points.
std::vector<P2> cut(const std::vector<P2>& line, const std::vector<float>& s, float s0, float s1)
{
    std::vector<P2> out;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const float a = std::max(s0, s[i]), b = std::min(s1, s[i + 1]);
        if (a >= b)
            continue;
        const float seg = std::max(1e-6f, s[i + 1] - s[i]);
        auto at = [&](float v) {
            const float t = (v - s[i]) / seg;
            return P2{line[i].x + (line[i + 1].x - line[i].x) * t, line[i].z + (line[i + 1].z - line[i].z) * t};
        };
        if (out.empty())
            out.push_back(at(a));
        out.push_back(at(b));
    }
    return out;
}

Frame frameAt(const std::vector<P2>& line, const std::vector<float>& s, float at)
{
    size_t i = 0;
    while (i + 2 < line.size() && s[i + 1] < at)
        ++i;
    const float seg = std::max(1e-6f, s[i + 1] - s[i]);
    const float t = std::max(0.0f, std::min(1.0f, (at - s[i]) / seg));
    return frameOf(line[i].x + (line[i + 1].x - line[i].x) * t, line[i].z + (line[i + 1].z - line[i].z) * t,
                   line[i + 1].x - line[i].x, line[i + 1].z - line[i].z);
}

float distanceToLine(const std::vector<P2>& line, P2 p)
{
    float best = 1e30f;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const float dx = line[i + 1].x - line[i].x, dz = line[i + 1].z - line[i].z, l2 = dx * dx + dz * dz;
        const float t = l2 > 0 ? std::max(0.0f, std::min(1.0f, ((p.x - line[i].x) * dx + (p.z - line[i].z) * dz) / l2)) : 0;
        best = std::min(best, std::hypot(p.x - line[i].x - dx * t, p.z - line[i].z - dz * t));
    }
    return best;
}

void buildRoad(Town& tw, const OsmPlan& plan)
{
    const std::vector<float> s = alongOf(plan.centre);
    // Runs of one width, each its own strip; the pavements part at every junction and the crossing.
    std::vector<std::pair<float, float>> gaps;
    for (float j : plan.junctionAlong)
        gaps.push_back({j - 6.0f, j + 6.0f});
    gaps.push_back({plan.crossingAlong - plan.sideHalfWidth - 1.0f, plan.crossingAlong + plan.sideHalfWidth + 1.0f});
    std::sort(gaps.begin(), gaps.end());
    for (size_t i = 0; i + 1 < plan.centre.size();) {
        size_t j = i + 1;
        while (j + 1 < plan.centre.size() && plan.halfWidth[j] == plan.halfWidth[i])
            ++j;
        const float hw = plan.halfWidth[i];
        const std::vector<P2> run(plan.centre.begin() + static_cast<long>(i), plan.centre.begin() + static_cast<long>(j) + 1);
        groundStrip(tw.m, run, -hw, hw, ROAD_Y, tw.t.road, 1.0f, 8.0f);
        float at = s[i];
        for (size_t g = 0; g <= gaps.size(); ++g) {
            const float stop = g < gaps.size() ? std::min(gaps[g].first, s[j]) : s[j];
            if (stop > at + 0.5f) {
                const std::vector<P2> walk = cut(plan.centre, s, at, stop);
                for (float sgn : {-1.0f, 1.0f}) {
                    const float a = sgn * hw, b = sgn * (hw + PAVEMENT_WIDTH);
                    groundStrip(tw.m, walk, std::min(a, b), std::max(a, b), ROUTE_KERB_Y, tw.t.pavement, PAVEMENT_WIDTH / 2.0f, 2.0f);
                    wallStrip(tw.m, walk, a, 0.0f, ROUTE_KERB_Y, sgn < 0, tw.t.kerb, 2.0f, ROUTE_KERB_Y);
                }
            }
            if (g < gaps.size())
                at = std::max(at, gaps[g].second);
            if (at >= s[j])
                break;
        }
        i = j;
    }
    // The crossing: a zebra each side and a stop line before it.
    const Frame f = frameAt(plan.centre, s, plan.crossingAlong);
    const float hw = plan.halfWidth[0], sw = plan.sideHalfWidth;
    for (float dir : {-1.0f, 1.0f}) {
        const float z0 = dir * (sw + 0.5f), z1 = dir * (sw + 3.5f);
        faceQuad(tw.m, f.at(std::min(z0, z1), -hw, MARK_Y), f.at(std::max(z0, z1), -hw, MARK_Y),
                 f.at(std::max(z0, z1), hw, MARK_Y), f.at(std::min(z0, z1), hw, MARK_Y), Uv{0, 0}, Uv{0, 0.01f},
                 Uv{2.5f, 0.01f}, Uv{2.5f, 0}, v3(0, 1, 0), tw.t.zebra);
    }
    const float stopAt = -(sw + 4.3f);
    faceQuad(tw.m, f.at(stopAt - 0.4f, 0.3f, MARK_Y), f.at(stopAt, 0.3f, MARK_Y), f.at(stopAt, hw - 0.3f, MARK_Y),
             f.at(stopAt - 0.4f, hw - 0.3f, MARK_Y), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 1, 0), tw.t.stopLine);
}

void buildStops(Town& tw, const OsmPlan& plan)
{
    for (size_t i = 0; i < plan.stops.size() && i < static_cast<size_t>(ROUTE_MAX_STOP_NAMES); ++i) {
        const RouteStop& s = plan.stops[i];
        buildShelter(tw.m, tw.t, frameOf(s.kerbX, s.kerbZ, s.dirX, s.dirZ), tw.t.stopName[i], 2.6f, 0);
    }
}

void buildPump(Town& tw, const OsmPlan& plan)
{
    const RouteTextures& t = tw.t;
    const std::vector<P2> lane = [&] {
        std::vector<P2> l;
        for (const RoutePoint& p : plan.lane.points)
            l.push_back(P2{p.x, p.z});
        return l;
    }();
    const std::vector<float> s = alongOf(lane);
    const auto nearest = std::min_element(lane.begin(), lane.end(), [&](P2 a, P2 b) {
        return std::hypot(a.x - plan.fuel.x, a.z - plan.fuel.z) < std::hypot(b.x - plan.fuel.x, b.z - plan.fuel.z);
    });
    const Frame f = frameAt(lane, s, s[static_cast<size_t>(nearest - lane.begin())]);
    const float o = plan.halfWidth[0] - ROUTE_BUS_LANE_OFFSET + 1.8f;  // on the pavement beside the lane
    for (float l : {-1.6f, 1.6f})
        frameBox(tw.m, f, l - 0.4f, l + 0.4f, o - 0.3f, o + 0.3f, ROUTE_KERB_Y, 2.0f, {t.pump, t.pump, t.pump, t.pump, t.pump},
                 0.8f, 1.8f);
    frameBox(tw.m, f, -4.0f, 4.0f, o - 0.8f, o + 2.5f, 4.4f, 4.9f,
             {t.canopyEdge, t.canopyEdge, t.canopyEdge, t.canopyEdge, t.canopy}, 8.0f, 0.5f);
    frameBox(tw.m, f, -0.15f, 0.15f, o + 2.0f, o + 2.3f, ROUTE_KERB_Y, 4.4f, {t.canopy, t.canopy, t.canopy, t.canopy, -1}, 0.3f, 4.4f);
}

// The heads: A on the kerb before the crossing and on an arm over the lanes, facing the route's
// traffic; B on the far corner, facing both ways along the side road.
struct Heads {
    Frame a, armA, b;
};

Heads headsOf(const OsmPlan& plan)
{
    const std::vector<float> s = alongOf(plan.centre);
    const Frame f = frameAt(plan.centre, s, plan.crossingAlong);
    const float hw = plan.halfWidth[0], sw = plan.sideHalfWidth;
    const Vec3 pa = f.at(-(sw + 1.0f), hw + 0.8f, 0.0f), arm = f.at(-(sw + 1.0f), 2.0f, 0.0f);
    const Vec3 pb = f.at(sw + 1.0f, -(hw + 0.8f), 0.0f);
    return Heads{frameOf(pa.x, pa.z, -f.a.x, -f.a.z), frameOf(arm.x, arm.z, -f.a.x, -f.a.z),
                 frameOf(pb.x, pb.z, plan.sideDir.x, plan.sideDir.z)};
}

void buildSignals(Town& tw, const OsmPlan& plan)
{
    const RouteTextures& t = tw.t;
    const Heads h = headsOf(plan);
    const std::array<int, 5> post{t.signPost, t.signPost, t.signPost, t.signPost, t.signPost};
    frameBox(tw.m, h.a, -0.09f, 0.09f, -0.09f, 0.09f, 0.0f, HEAD_ARM + HEAD_HEIGHT + 0.3f, post, 0.2f, 2.0f);
    const Vec3 top = h.a.at(0, 0, 0), end = h.armA.at(0, 0, 0);
    cylinderBetween(tw.m, v3(top.x, HEAD_ARM + HEAD_HEIGHT + 0.2f, top.z), v3(end.x, HEAD_ARM + HEAD_HEIGHT + 0.2f, end.z),
                    0.07f, 6, t.signPost);
    auto housing = [&](const Frame& f, float y, int front, int back) {
        frameBox(tw.m, f, -HEAD_HALF, HEAD_HALF, -HEAD_HALF, HEAD_HALF, y, y + HEAD_HEIGHT,
                 {front, back, t.lightHousing, t.lightHousing, t.lightHousing}, 2 * HEAD_HALF, HEAD_HEIGHT);
    };
    housing(h.a, HEAD_LOW, t.lightFace, t.lightHousing);
    housing(h.armA, HEAD_ARM, t.lightFace, t.lightHousing);
    frameBox(tw.m, h.b, -0.09f, 0.09f, -0.09f, 0.09f, 0.0f, HEAD_LOW, post, 0.2f, 2.0f);
    housing(h.b, HEAD_LOW, t.lightFace, t.lightFace);
}

void writeLamp(const std::string& path, const OsmPlan& plan, int colour, bool headA, int tex)
{
    ModelBuilder m;
    const Heads h = headsOf(plan);
    const float off = HEAD_HALF + 0.015f;
    auto lens = [&](const Frame& f, float low, float dir) {
        const Vec3 c = f.at(dir * off, 0, low + HEAD_HEIGHT - LENS_FROM_TOP[colour]);
        disc(m, c, f.dirR(), v3(0, 1, 0), LENS_RADIUS, 8, f.dirA() * dir, tex);
    };
    if (headA) {
        lens(h.a, HEAD_LOW, 1.0f);
        lens(h.armA, HEAD_ARM, 1.0f);
    } else {
        lens(h.b, HEAD_LOW, 1.0f);
        lens(h.b, HEAD_LOW, -1.0f);
    }
    m.write(path, headA ? "signal head A lamp" : "signal head B lamp");
}

void buildSideRoads(Town& tw, const OsmPlan& plan)
{
    for (const OsmSideRoad& r : plan.sideRoads)
        groundStrip(tw.m, r.line, -r.halfWidth, r.halfWidth, SIDE_Y, tw.t.asphalt, 1.0f, 8.0f);
}

bool lit(Vec3 facing)
{
    return dot(facing, SUN) > 0.0f;
}

// Walls round each ring and a flat roof (with the courtyard left open).
void extrude(Town& tw, const OsmBuilding& b)
{
    const int style = static_cast<int>(b.seed % ROUTE_FACADE_STYLES);
    float area = 0.0f;
    for (size_t i = 0; i < b.outline.size(); ++i) {
        const P2 p = b.outline[i], q = b.outline[(i + 1) % b.outline.size()];
        area += p.x * q.z - q.x * p.z;
    }
    auto walls = [&](const std::vector<P2>& ring, bool outward) {
        for (size_t i = 0; i < ring.size(); ++i) {
            const P2 p = ring[i], q = ring[(i + 1) % ring.size()];
            const float l = std::hypot(q.x - p.x, q.z - p.z);
            if (l < 0.2f)
                continue;
            // The outer side of an edge: the right of p->q in a ring running the area's sign way.
            const float sgn = (area > 0.0f) == outward ? 1.0f : -1.0f;
            const Vec3 facing = v3(-(q.z - p.z) / l * sgn, 0.0f, (q.x - p.x) / l * sgn);
            const int tex = lit(facing) ? tw.t.facadeLit[style] : tw.t.facadeShade[style];
            faceQuad(tw.m, v3(p.x, 0, p.z), v3(q.x, 0, q.z), v3(q.x, b.height, q.z), v3(p.x, b.height, p.z), Uv{0, 0},
                     Uv{l / 9.0f, 0}, Uv{l / 9.0f, b.height / 6.4f}, Uv{0, b.height / 6.4f}, facing, tex);
        }
    };
    // A footprint the roof cannot be cut from (crossing itself) is left out rather than an open shell.
    ModelBuilder roof;
    if (!groundPolygon(roof, b.outline, b.holes.empty() ? std::vector<P2>{} : b.holes.front(), b.height, tw.t.roofFlat, 8.0f) &&
        !groundPolygon(roof, simplifiedRing(b.outline, 0.5f), {}, b.height, tw.t.roofFlat, 8.0f))
        return;
    walls(b.outline, true);
    for (const std::vector<P2>& hole : b.holes)
        walls(hole, false);
    tw.m.append(roof);
}

// Rows of houses where the map has no building beside the road: a box every ROW_STEP each side,
// left out where a building, a side street or the road itself is in the way.
std::vector<OsmBuilding> fallbackRows(const OsmPlan& plan)
{
    std::vector<OsmBuilding> out;
    const std::vector<float> s = alongOf(plan.centre);
    uint32_t seed = 7;
    for (float at = 10.0f; at < s.back() - 10.0f; at += ROW_STEP) {
        const Frame f = frameAt(plan.centre, s, at);
        const float hw = plan.halfWidth[0];
        for (float sgn : {1.0f, -1.0f}) {
            const float o0 = sgn * (hw + PAVEMENT_WIDTH + 2.0f), o1 = sgn * (hw + PAVEMENT_WIDTH + 2.0f + ROW_DEPTH);
            const float half = ROW_STEP * 0.5f - 1.5f;
            std::vector<P2> ring;
            for (auto c : {std::make_pair(-half, o0), std::make_pair(half, o0), std::make_pair(half, o1), std::make_pair(-half, o1)}) {
                const Vec3 p = f.at(c.first, c.second, 0.0f);
                ring.push_back(P2{p.x, p.z});
            }
            const Vec3 mid = f.at(0, (o0 + o1) * 0.5f, 0);
            const P2 centre{mid.x, mid.z};
            bool clear = true;
            for (const P2& p : ring)
                clear = clear && distanceToLine(plan.centre, p) > hw + PAVEMENT_WIDTH + 1.0f;
            for (const OsmSideRoad& r : plan.sideRoads)
                for (const P2& p : ring)
                    clear = clear && distanceToLine(r.line, p) > r.halfWidth + 2.0f && distanceToLine(r.line, centre) > r.halfWidth + 6.0f;
            for (const OsmBuilding& b : plan.buildings)
                for (const P2& p : b.outline)
                    clear = clear && std::hypot(p.x - centre.x, p.z - centre.z) > ROW_DEPTH + 4.0f;
            if (!clear)
                continue;
            seed = seed * 1103515245u + 12345u;
            if (sgn < 0)
                std::reverse(ring.begin(), ring.end());
            out.push_back(OsmBuilding{ring, {}, 7.4f + 3.2f * static_cast<float>((seed >> 16) % 4), 0.0f, seed >> 8});
        }
    }
    return out;
}

}  // namespace

void writeTown(const std::string& dir, OsmPlan& plan)
{
    const std::string folder = "Dane/Trasy/Test/";
    Town tw;
    TextureSet set{dir, folder, {}, {}};
    tw.t = paintRouteTextures(set, plan.stopNames);
    set.writeQualityLists();
    float x0 = 1e30f, z0 = 1e30f, x1 = -1e30f, z1 = -1e30f;
    for (const P2& p : plan.centre) {
        x0 = std::min(x0, p.x);
        z0 = std::min(z0, p.z);
        x1 = std::max(x1, p.x);
        z1 = std::max(z1, p.z);
    }
    groundRect(tw.m, x0 - 300.0f, z0 - 300.0f, x1 + 300.0f, z1 + 300.0f, GRASS_Y, tw.t.grass, 9.0f);
    buildSideRoads(tw, plan);
    buildRoad(tw, plan);

    buildStops(tw, plan);
    buildSignals(tw, plan);
    buildPump(tw, plan);
    if (tw.m.tris.size() > static_cast<size_t>(OSM_TRIANGLE_BUDGET))
        throw std::runtime_error("the route's roads need " + std::to_string(tw.m.tris.size()) +
                                 " triangles, more than the model's " + std::to_string(OSM_TRIANGLE_BUDGET) +
                                 "; import a section with --stops");
    std::vector<OsmBuilding> all = plan.buildings;
    const size_t mapped = all.size();
    const std::vector<OsmBuilding> rows = fallbackRows(plan);
    all.insert(all.end(), rows.begin(), rows.end());
    size_t left = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const size_t before = tw.m.tris.size();
        extrude(tw, all[i]);
        if (tw.m.tris.size() > static_cast<size_t>(OSM_TRIANGLE_BUDGET)) {
            tw.m.tris.resize(before);
            ++left;
        }
    }
    if (left)
        plan.problems.push_back(std::to_string(left) + " of " + std::to_string(all.size()) +
                                " buildings left out, furthest first, to keep within " +
                                std::to_string(OSM_TRIANGLE_BUDGET) + " triangles");
    if (mapped == 0)
        plan.problems.push_back("no buildings mapped beside the road: rows of houses stand in");
    // A shape the map squeezed to nothing leaves no broken triangle in the model.
    tw.m.tris.erase(std::remove_if(tw.m.tris.begin(), tw.m.tris.end(),
                                   [](const ModelBuilder::Tri& t) {
                                       for (const Vec3& v : t.v)
                                           if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
                                               return true;
                                       return false;
                                   }),
                    tw.m.tris.end());
    tw.m.groupByTexture();
    tw.m.write(dir + "/" + folder + "Plansza.qx", "imported route");
    writeSky(dir + "/" + folder + "Niebo.qx", tw.t.sky);
    const std::string path = dir + "/" + folder;
    writeLamp(path + "CzerwonyA.qx", plan, 0, true, tw.t.lampRed);
    writeLamp(path + "ZoltyA.qx", plan, 1, true, tw.t.lampYellow);
    writeLamp(path + "ZielonyA.qx", plan, 2, true, tw.t.lampGreen);
    writeLamp(path + "CzerwonyB.qx", plan, 0, false, tw.t.lampRed);
    writeLamp(path + "ZoltyB.qx", plan, 1, false, tw.t.lampYellow);
    writeLamp(path + "ZielonyB.qx", plan, 2, false, tw.t.lampGreen);
}
