#include "tools/common/route_layout.h"

#include "sim/other_car.h"
#include "sim/state.h"

#include <cmath>

namespace {

// Laps longer than this are not laps: the car is known to close its loop in about 7 700 ticks.
constexpr int32_t LAP_TICK_LIMIT = 20000;
// The lap is over once the car, having been to the west side (x below this), is back on the east
// side at or past its start.
constexpr float LAP_WEST_X = -200.0f;
// Points of the offset polylines closer than this to the chord are dropped.
constexpr float SIMPLIFY_TOLERANCE = 0.03f;
// How far the side road runs to each side of the crossing.
constexpr float SIDE_ROAD_INNER_LENGTH = 70.0f;
constexpr float SIDE_ROAD_OUTER_LENGTH = 90.0f;
// The crossing lies on the east side at this model z.
constexpr float CROSSING_Z = -200.0f;
// Traffic-light heads stand this far beyond the kerbs.
constexpr float TRAFFIC_HEAD_MARGIN = 1.0f;
// The pump stands this far to the right of the bus lane's centre.
constexpr float FUEL_POINT_OFFSET = 7.0f;

// Rough places of the stops; each is moved onto the bus lane. East side, south side, west side,
// north side, then back on the east side near the depot for the final stop.
constexpr RoutePoint STOP_HINTS[] = {
    {8.0f, -120.0f},  {8.0f, -330.0f},  {-120.0f, -463.0f}, {-300.0f, -461.0f}, {-420.0f, -330.0f},
    {-420.0f, -130.0f}, {-300.0f, 72.0f}, {-150.0f, 72.0f},  {-80.0f, 72.0f},   {8.0f, -50.0f},
};
constexpr RoutePoint START_HINT = {8.0f, -25.0f};
constexpr RoutePoint FUEL_HINT = {8.0f, -20.0f};
constexpr float START_HOURS = 7.0f;
constexpr float START_MINUTES = 40.0f;

struct Layout {
    std::vector<RoutePoint> carLoop;
    RouteRoad loopRoad;
    RouteRoad busLane;
    RouteRoad sideRoad;
    RoutePoint crossing;
    RoutePoint headA, headB;
    std::vector<RouteStop> stops;
    RoutePoint fuelPoint;
    RouteStart start;
};

std::vector<RoutePoint> traceCarLoop()
{
    const OtherCarState saved = otherCar;
    otherCar = OTHER_CAR_START;
    std::vector<RoutePoint> points;
    points.push_back({otherCar.x, otherCar.z});
    bool beenWest = false;
    for (int32_t tick = 1; tick <= LAP_TICK_LIMIT; ++tick) {
        updateOtherCarInZones();
        beenWest = beenWest || otherCar.x < LAP_WEST_X;
        const bool backAtStart = beenWest && otherCar.x > -10.0f &&
                                 otherCar.z <= OTHER_CAR_START.z;
        if (backAtStart)
            break;
        if (tick % ROUTE_CAR_SAMPLE_TICKS == 0)
            points.push_back({otherCar.x, otherCar.z});
    }
    otherCar = saved;
    return points;
}

// Unit direction of travel at point i of a closed polyline (central difference).
RoutePoint tangentAt(const std::vector<RoutePoint>& p, size_t i)
{
    const size_t n = p.size();
    const RoutePoint& a = p[(i + n - 1) % n];
    const RoutePoint& b = p[(i + 1) % n];
    float dx = b.x - a.x;
    float dz = b.z - a.z;
    const float len = std::sqrt(dx * dx + dz * dz);
    if (len > 0.0f) {
        dx /= len;
        dz /= len;
    }
    return {dx, dz};
}

// The right of direction (dx, dz) on the ground, seen from above with +y up.
RoutePoint rightOf(RoutePoint dir)
{
    return {-dir.z, dir.x};
}

std::vector<RoutePoint> offsetClosed(const std::vector<RoutePoint>& p, float offset)
{
    std::vector<RoutePoint> out;
    out.reserve(p.size());
    for (size_t i = 0; i < p.size(); ++i) {
        const RoutePoint r = rightOf(tangentAt(p, i));
        out.push_back({p[i].x + r.x * offset, p[i].z + r.z * offset});
    }
    return out;
}

float distanceToChord(RoutePoint p, RoutePoint a, RoutePoint b)
{
    const float dx = b.x - a.x;
    const float dz = b.z - a.z;
    const float len2 = dx * dx + dz * dz;
    if (len2 <= 0.0f)
        return std::hypot(p.x - a.x, p.z - a.z);
    float t = ((p.x - a.x) * dx + (p.z - a.z) * dz) / len2;
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return std::hypot(p.x - (a.x + t * dx), p.z - (a.z + t * dz));
}

void simplifyRange(const std::vector<RoutePoint>& p, size_t first, size_t last, std::vector<uint8_t>& keep)
{
    if (last <= first + 1)
        return;
    float worst = 0.0f;
    size_t worstIndex = first;
    for (size_t i = first + 1; i < last; ++i) {
        const float d = distanceToChord(p[i], p[first], p[last]);
        if (d > worst) {
            worst = d;
            worstIndex = i;
        }
    }
    if (worst > SIMPLIFY_TOLERANCE) {
        keep[worstIndex] = 1;
        simplifyRange(p, first, worstIndex, keep);
        simplifyRange(p, worstIndex, last, keep);
    }
}

// Drops points that add nothing at the tolerance (the straights become a few long segments).
std::vector<RoutePoint> simplifyClosed(const std::vector<RoutePoint>& p)
{
    if (p.size() < 4)
        return p;
    std::vector<RoutePoint> ring = p;
    ring.push_back(p.front());
    std::vector<uint8_t> keep(ring.size(), 0);
    keep.front() = 1;
    keep.back() = 1;
    // Split at the farthest point from the start so neither half is degenerate.
    size_t far = 0;
    float farDistance = 0.0f;
    for (size_t i = 1; i < p.size(); ++i) {
        const float d = std::hypot(p[i].x - p[0].x, p[i].z - p[0].z);
        if (d > farDistance) {
            farDistance = d;
            far = i;
        }
    }
    keep[far] = 1;
    simplifyRange(ring, 0, far, keep);
    simplifyRange(ring, far, ring.size() - 1, keep);
    std::vector<RoutePoint> out;
    for (size_t i = 0; i + 1 < ring.size(); ++i)
        if (keep[i])
            out.push_back(ring[i]);
    return out;
}

size_t segmentCount(const RouteRoad& road)
{
    const size_t n = road.points.size();
    if (n < 2)
        return 0;
    return road.closed ? n : n - 1;
}

RoutePoint segmentEnd(const RouteRoad& road, size_t i)
{
    return road.points[(i + 1) % road.points.size()];
}

RoutePoint directionAt(const RouteRoad& road, float x, float z)
{
    const RouteProjection pr = routeProject(road, x, z);
    const RoutePoint a = road.points[static_cast<size_t>(pr.segment)];
    const RoutePoint b = segmentEnd(road, static_cast<size_t>(pr.segment));
    const float len = std::hypot(b.x - a.x, b.z - a.z);
    if (len <= 0.0f)
        return {0.0f, -1.0f};
    return {(b.x - a.x) / len, (b.z - a.z) / len};
}

RoutePoint nearestOn(const RouteRoad& road, float x, float z)
{
    return routePointAt(road, routeProject(road, x, z).along);
}

Layout buildLayout()
{
    Layout l;
    l.carLoop = traceCarLoop();
    l.loopRoad = {simplifyClosed(offsetClosed(l.carLoop, -ROUTE_CAR_LANE_OFFSET)), ROUTE_ROAD_HALF_WIDTH, true};
    l.busLane = {simplifyClosed(offsetClosed(l.carLoop, ROUTE_BUS_LANE_OFFSET - ROUTE_CAR_LANE_OFFSET)),
                 ROUTE_LANE_WIDTH * 0.5f, true};

    // The crossing: where the east side's centreline passes CROSSING_Z.
    l.crossing = nearestOn(l.loopRoad, 6.0f, CROSSING_Z);
    const RoutePoint along = directionAt(l.loopRoad, l.crossing.x, l.crossing.z);
    const RoutePoint right = rightOf(along);
    l.sideRoad.points = {
        {l.crossing.x - right.x * SIDE_ROAD_INNER_LENGTH, l.crossing.z - right.z * SIDE_ROAD_INNER_LENGTH},
        {l.crossing.x + right.x * SIDE_ROAD_OUTER_LENGTH, l.crossing.z + right.z * SIDE_ROAD_OUTER_LENGTH},
    };
    l.sideRoad.halfWidth = ROUTE_ROAD_HALF_WIDTH;
    l.sideRoad.closed = false;
    const float corner = ROUTE_ROAD_HALF_WIDTH + TRAFFIC_HEAD_MARGIN;
    // Head A on the outer kerb before the crossing, head B on the inner kerb after it.
    l.headA = {l.crossing.x + right.x * corner - along.x * corner, l.crossing.z + right.z * corner - along.z * corner};
    l.headB = {l.crossing.x - right.x * corner + along.x * corner, l.crossing.z - right.z * corner + along.z * corner};

    for (const RoutePoint& hint : STOP_HINTS) {
        const RoutePoint at = nearestOn(l.busLane, hint.x, hint.z);
        const RoutePoint dir = directionAt(l.busLane, at.x, at.z);
        const RoutePoint r = rightOf(dir);
        const float kerb = ROUTE_ROAD_HALF_WIDTH - ROUTE_BUS_LANE_OFFSET;
        l.stops.push_back({at.x, at.z, dir.x, dir.z, at.x + r.x * kerb, at.z + r.z * kerb});
    }

    const RoutePoint fuelLane = nearestOn(l.busLane, FUEL_HINT.x, FUEL_HINT.z);
    const RoutePoint fuelRight = rightOf(directionAt(l.busLane, fuelLane.x, fuelLane.z));
    l.fuelPoint = {fuelLane.x + fuelRight.x * FUEL_POINT_OFFSET, fuelLane.z + fuelRight.z * FUEL_POINT_OFFSET};

    const RoutePoint startAt = nearestOn(l.busLane, START_HINT.x, START_HINT.z);
    const RoutePoint startDir = directionAt(l.busLane, startAt.x, startAt.z);
    // The bus moves along (sin h, -cos h) in model coordinates.
    const float heading = static_cast<float>(std::atan2(startDir.x, -startDir.z) * 57.29577951308232);
    l.start = {startAt.x, -startAt.z, std::round(heading), START_HOURS, START_MINUTES};
    return l;
}

const Layout& layout()
{
    static const Layout built = buildLayout();
    return built;
}

}  // namespace

const std::vector<RoutePoint>& routeCarLoop() { return layout().carLoop; }
const RouteRoad& routeLoopRoad() { return layout().loopRoad; }
const RouteRoad& routeBusLane() { return layout().busLane; }
const RouteRoad& routeSideRoad() { return layout().sideRoad; }
RoutePoint routeCrossingPoint() { return layout().crossing; }
RoutePoint routeTrafficHeadA() { return layout().headA; }
RoutePoint routeTrafficHeadB() { return layout().headB; }
const std::vector<RouteStop>& routeStops() { return layout().stops; }
RoutePoint routeFuelPoint() { return layout().fuelPoint; }
RouteStart routeStart() { return layout().start; }

float routeLength(const RouteRoad& road)
{
    float total = 0.0f;
    for (size_t i = 0; i < segmentCount(road); ++i) {
        const RoutePoint a = road.points[i];
        const RoutePoint b = segmentEnd(road, i);
        total += std::hypot(b.x - a.x, b.z - a.z);
    }
    return total;
}

RouteProjection routeProject(const RouteRoad& road, float x, float z)
{
    return routeProjectWithin(road, x, z, -HUGE_VALF, HUGE_VALF);
}

RouteProjection routeProjectWithin(const RouteRoad& road, float x, float z, float fromAlong, float toAlong)
{
    RouteProjection best = {0, 0.0f, 0.0f, 0.0f, HUGE_VALF};
    float start = 0.0f;
    for (size_t i = 0; i < segmentCount(road); ++i) {
        const RoutePoint a = road.points[i];
        const RoutePoint b = segmentEnd(road, i);
        const float dx = b.x - a.x;
        const float dz = b.z - a.z;
        const float len2 = dx * dx + dz * dz;
        const float len = std::sqrt(len2);
        if (start + len < fromAlong || start > toAlong) {
            start += len;
            continue;
        }
        float t = len2 > 0.0f ? ((x - a.x) * dx + (z - a.z) * dz) / len2 : 0.0f;
        t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
        const float px = a.x + t * dx;
        const float pz = a.z + t * dz;
        const float d = std::hypot(x - px, z - pz);
        if (d < best.distance) {
            // Right of the segment is (-dz, dx); the sign of the offset along it.
            const float side = len > 0.0f ? ((x - px) * -dz + (z - pz) * dx) / len : 0.0f;
            best = {static_cast<int32_t>(i), t, start + t * len, side, d};
        }
        start += len;
    }
    if (best.distance == HUGE_VALF)
        best.distance = 0.0f;
    return best;
}

RouteProjection routeFirstPass(const RouteRoad& road, float x, float z, float fromAlong, float radius)
{
    RouteProjection best = {0, 0.0f, 0.0f, 0.0f, HUGE_VALF};
    float start = 0.0f;
    for (size_t i = 0; i < segmentCount(road); ++i) {
        const float len = std::hypot(segmentEnd(road, i).x - road.points[i].x, segmentEnd(road, i).z - road.points[i].z);
        const float end = start + len;
        if (end >= fromAlong) {
            RouteRoad one = {{road.points[i], segmentEnd(road, i)}, road.halfWidth, false};
            RouteProjection p = routeProject(one, x, z);
            if (p.distance >= radius && best.distance < HUGE_VALF)
                break;  // the first pass is over
            if (p.distance < radius && p.distance < best.distance)
                best = {static_cast<int32_t>(i), p.t, start + p.along, p.lateral, p.distance};
        }
        start = end;
    }
    return best;
}

RoutePoint routePointAt(const RouteRoad& road, float along)
{
    if (road.points.empty())
        return {0.0f, 0.0f};
    const float total = routeLength(road);
    if (road.closed && total > 0.0f) {
        along = std::fmod(along, total);
        if (along < 0.0f)
            along += total;
    }
    if (along <= 0.0f)
        return road.points.front();
    for (size_t i = 0; i < segmentCount(road); ++i) {
        const RoutePoint a = road.points[i];
        const RoutePoint b = segmentEnd(road, i);
        const float len = std::hypot(b.x - a.x, b.z - a.z);
        if (along <= len && len > 0.0f) {
            const float t = along / len;
            return {a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t};
        }
        along -= len;
    }
    return road.closed ? road.points.front() : road.points.back();
}
