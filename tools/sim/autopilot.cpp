#include "tools/sim/autopilot.h"

#include "core/keys.h"
#include "sim/equipment.h"
#include "sim/state.h"
#include "sim/stops.h"
#include "tools/common/route_layout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float AUTOPILOT_CRUISE_SPEED = 0.22f;      // about 49 km/h, well under the 65 limit
constexpr float AUTOPILOT_CREEP_SPEED = 0.03f;       // the last metres to a stop
constexpr float AUTOPILOT_STOP_MARGIN = 1.0f;        // brake to a standstill this far before the stop
constexpr float AUTOPILOT_BRAKE_SHARE = 0.5f;        // plan with half the bus's braking
constexpr float AUTOPILOT_CURVE_SHARE = 0.7f;        // use this much of the steering limit in bends
constexpr float AUTOPILOT_CURVE_LOOKAHEAD = 60.0f;   // how far ahead bends are looked for
constexpr float AUTOPILOT_SPEED_BAND_LOW = 0.003f;   // throttle below target - this
constexpr float AUTOPILOT_SPEED_BAND_HIGH = 0.004f;  // brake above target + this
constexpr float AUTOPILOT_STEER_BAND = 0.006f;       // steering keys act outside target +- this
constexpr int32_t AUTOPILOT_QUIET_TICKS = 3;         // passengers still this long: exchange over
constexpr int32_t AUTOPILOT_EXCHANGE_LIMIT = 5000;   // never wait longer than this at a stop
constexpr double RAD_TO_DEG = 57.29577951308232;
// On an open lane the bus is looked for this far behind and ahead of where it was last.
constexpr float AUTOPILOT_LANE_BEHIND = 10.0f;
constexpr float AUTOPILOT_LANE_AHEAD = 30.0f;

// The tree's lane as read, as the polyline the autopilot drives and the distance along it to
// each point (a long lane is looked up, not walked, every tick); fileLaneInUse says whether it is
// driven. Set by autopilotLoadLane, live for the process.
BusLane laneFile;
RouteRoad fileLane;
float fileLaneAlong[MAX_PATH_POINTS];
uint8_t fileLaneInUse = 0;

const RouteRoad& autopilotLane()
{
    return fileLaneInUse ? fileLane : routeBusLane();
}

float laneLength(const RouteRoad& lane)
{
    return fileLaneInUse ? fileLaneAlong[laneFile.pointCount - 1] : routeLength(lane);
}

// The file lane's segment that holds `along` (clamped to the lane).
int32_t fileLaneSegment(float along)
{
    const int32_t n = laneFile.pointCount;
    const int32_t i = static_cast<int32_t>(std::upper_bound(fileLaneAlong, fileLaneAlong + n, along) - fileLaneAlong) - 1;
    return std::max(0, std::min(i, n - 2));
}

RoutePoint pointAt(const RouteRoad& lane, float along)
{
    if (!fileLaneInUse)
        return routePointAt(lane, along);
    const int32_t i = fileLaneSegment(along);
    const float len = fileLaneAlong[i + 1] - fileLaneAlong[i];
    const float t = std::max(0.0f, std::min(1.0f, (along - fileLaneAlong[i]) / len));
    return {laneFile.x[i] + (laneFile.x[i + 1] - laneFile.x[i]) * t, laneFile.z[i] + (laneFile.z[i + 1] - laneFile.z[i]) * t};
}

// The nearest point of the lane to (x, z) among its segments reaching into [from, to].
RouteProjection projectWithin(const RouteRoad& lane, float x, float z, float from, float to)
{
    if (!fileLaneInUse)
        return routeProjectWithin(lane, x, z, from, to);
    const int32_t first = fileLaneSegment(from);
    const int32_t last = fileLaneSegment(to);
    const RouteRoad part = {{lane.points.begin() + first, lane.points.begin() + last + 2}, lane.halfWidth, false};
    RouteProjection p = routeProject(part, x, z);
    p.segment += first;
    p.along = fileLaneAlong[p.segment] + p.t * (fileLaneAlong[p.segment + 1] - fileLaneAlong[p.segment]);
    return p;
}

RoutePoint busModelPoint()
{
    return {vehicle.busX, -vehicle.busZ};
}

// Heading change per unit of the lane around `along` (radians per unit, unsigned).
float laneCurvature(const RouteRoad& lane, float along)
{
    const float h = 3.0f;
    const RoutePoint a = pointAt(lane, along - h);
    const RoutePoint b = pointAt(lane, along);
    const RoutePoint c = pointAt(lane, along + h);
    const double h1 = std::atan2(b.z - a.z, b.x - a.x);
    const double h2 = std::atan2(c.z - b.z, c.x - b.x);
    double d = h2 - h1;
    while (d > M_PI)
        d -= 2 * M_PI;
    while (d < -M_PI)
        d += 2 * M_PI;
    return static_cast<float>(std::fabs(d) / (2 * h));
}

// The fastest speed at which a bend of curvature k can be steered: steer = v k (deg) <= 0.4.
float bendSpeed(float k)
{
    if (k <= 1e-6f)
        return 1.0f;
    return static_cast<float>(AUTOPILOT_CURVE_SHARE * 0.4 / (k * RAD_TO_DEG));
}

float targetSpeed(const RouteRoad& lane, float along, float toStop)
{
    const float decel = AUTOPILOT_BRAKE_SHARE * vehicleParams.brakeStep;
    float target = AUTOPILOT_CRUISE_SPEED;
    for (float s = 0.0f; s <= AUTOPILOT_CURVE_LOOKAHEAD; s += 2.0f) {
        const float v = bendSpeed(laneCurvature(lane, along + s));
        target = std::min(target, std::sqrt(v * v + 2.0f * decel * s));
    }
    if (toStop <= AUTOPILOT_STOP_MARGIN)
        return 0.0f;
    const float stopping = std::sqrt(2.0f * decel * (toStop - AUTOPILOT_STOP_MARGIN));
    return std::min(target, std::max(stopping, AUTOPILOT_CREEP_SPEED));
}

void pressPedals(float target, uint8_t* held)
{
    const float v = vehicle.busSpeed;
    if (target <= 0.0f) {
        if (v != 0.0f)
            held[VK_DOWN] = 1;
        return;
    }
    if (v < target - AUTOPILOT_SPEED_BAND_LOW)
        held[VK_UP] = 1;
    else if (v > target + AUTOPILOT_SPEED_BAND_HIGH)
        held[VK_DOWN] = 1;
}

// Pure pursuit: aim at a lane point ahead and ask for the heading change per tick that arcs there.
void steer(const RouteRoad& lane, float along, uint8_t* held)
{
    const float v = std::fabs(vehicle.busSpeed);
    const float lookahead = 4.0f + 25.0f * v;
    const RoutePoint target = pointAt(lane, along + lookahead);
    const RoutePoint bus = busModelPoint();
    const double h = static_cast<double>(vehicle.busHeading) / RAD_TO_DEG;
    const double fx = std::sin(h);
    const double fz = -std::cos(h);
    const double dx = target.x - bus.x;
    const double dz = target.z - bus.z;
    const double forward = dx * fx + dz * fz;
    const double right = dx * -fz + dz * fx;
    const double alpha = std::atan2(right, forward);
    const double distance = std::max(1.0, std::hypot(dx, dz));
    const double curvature = 2.0 * std::sin(alpha) / distance;
    float wanted = static_cast<float>(curvature * v * RAD_TO_DEG);
    wanted = std::max(-vehicle.steerLimit, std::min(vehicle.steerLimit, wanted));
    if (vehicle.steer < wanted - AUTOPILOT_STEER_BAND)
        held[VK_RIGHT] = 1;
    else if (vehicle.steer > wanted + AUTOPILOT_STEER_BAND)
        held[VK_LEFT] = 1;
}

void enter(Autopilot* p, AutopilotPhase phase)
{
    p->phase = phase;
    p->phaseTicks = 0;
    p->quietTicks = 0;
}

// Within 5 units of the current stop, measured as the game does (not the step's atStop, which
// still describes the previous stop in the tick the service ends).
bool nearCurrentStop()
{
    const int32_t i = std::max(0, std::min(stops.currentStop, MAX_STOPS - 1));
    const float dx = vehicle.busX - route.stopX[i];
    const float dz = vehicle.busZ + route.stopZ[i];
    return std::sqrt(dx * dx + dz * dz) < 5.0f;
}

bool lastServiceStop()
{
    return stops.currentStop >= route.stopCount - 2;
}

bool finalStop()
{
    return stops.currentStop >= route.stopCount - 1;
}

void drive(Autopilot* p, uint8_t* held)
{
    const RouteRoad& lane = autopilotLane();
    const float length = laneLength(lane);
    const RoutePoint bus = busModelPoint();
    const float along = lane.closed ? routeProject(lane, bus.x, bus.z).along
                                    : projectWithin(lane, bus.x, bus.z, p->lastAlong - AUTOPILOT_LANE_BEHIND,
                                                    p->lastAlong + AUTOPILOT_LANE_AHEAD).along;
    p->lastAlong = along;
    const int32_t stop = std::max(0, std::min(stops.currentStop, MAX_STOPS - 1));
    if (p->cachedStop != stop) {
        // An open lane may pass a stop's place more than once: the stop lies on from the last one.
        const float from = p->cachedStop < 0 ? -HUGE_VALF : p->stopAlong;
        p->cachedStop = stop;
        RouteProjection at = routeProject(lane, route.stopX[stop], route.stopZ[stop]);
        if (!lane.closed) {
            const RouteProjection pass = routeFirstPass(lane, route.stopX[stop], route.stopZ[stop], from, STOP_REACH);
            at = pass.distance < HUGE_VALF ? pass : projectWithin(lane, route.stopX[stop], route.stopZ[stop], from, HUGE_VALF);
        }
        p->stopAlong = at.along;
    }
    float toStop = p->stopAlong - along;
    if (lane.closed) {
        toStop = std::fmod(p->stopAlong - along + length, length);
        if (toStop > length - 20.0f)
            toStop -= length;  // just past it
    }

    if (vehicle.busSpeed == 0.0f && nearCurrentStop()) {
        enter(p, finalStop() ? AUTOPILOT_FINISH : AUTOPILOT_OPEN_DOORS);
        return;
    }
    if (vehicle.gear != 0 && vehicle.busSpeed >= 0.0f) {
        held[VK_KEY_Q] = 1;
        return;
    }
    pressPedals(toStop < 0.0f ? 0.0f : targetSpeed(lane, along, toStop), held);
    steer(lane, along, held);
}

}  // namespace

PathFileReport autopilotLoadLane()
{
    const PathFileReport report = readBusLaneFile(BUS_LANE_FILE, &laneFile);
    fileLaneInUse = report.error == PATH_FILE_OK;
    fileLane.points.clear();
    for (int32_t i = 0; i < laneFile.pointCount; ++i) {
        fileLane.points.push_back({laneFile.x[i], laneFile.z[i]});
        fileLaneAlong[i] = i == 0 ? 0.0f
                                  : fileLaneAlong[i - 1] + std::hypot(laneFile.x[i] - laneFile.x[i - 1],
                                                                      laneFile.z[i] - laneFile.z[i - 1]);
    }
    fileLane.halfWidth = ROUTE_LANE_WIDTH * 0.5f;
    fileLane.closed = false;
    return report;
}

void autopilotKeys(Autopilot* p, uint8_t* held)
{
    for (int i = 0; i < 256; ++i)
        held[i] = 0;
    p->phaseTicks += 1;
    switch (p->phase) {
    case AUTOPILOT_START_ENGINE:
        if (engine.engineOff == 0 && engine.throttleLocked == 0)
            enter(p, AUTOPILOT_SELECT_FORWARD);
        else if (engine.engineOff == 1 && engine.engineKeyLatch == 1)
            held[VK_KEY_S] = 1;  // crank until it catches; then let go
        if (p->phase == AUTOPILOT_START_ENGINE)
            break;
        [[fallthrough]];
    case AUTOPILOT_SELECT_FORWARD:
        if (vehicle.gear == 0) {
            enter(p, AUTOPILOT_DRIVE);
            drive(p, held);
        } else {
            held[VK_KEY_Q] = 1;
        }
        break;
    case AUTOPILOT_DRIVE:
        drive(p, held);
        break;
    case AUTOPILOT_OPEN_DOORS:
        if (openDoorCount() == DOOR_COUNT) {
            enter(p, AUTOPILOT_EXCHANGE);
        } else {
            for (int32_t d = 0; d < DOOR_COUNT; ++d)
                held[DOOR_OPEN_KEYS[d]] = 1;
        }
        break;
    case AUTOPILOT_EXCHANGE: {
        bool done;
        if (lastServiceStop())
            done = stops.passengersOnBoard <= 0.0f;
        else {
            p->quietTicks = stops.exchangeInProgress == 0 ? p->quietTicks + 1 : 0;
            done = p->quietTicks >= AUTOPILOT_QUIET_TICKS && stops.passengersBoarded >= stops.passengersToBoard;
        }
        if (done || p->phaseTicks > AUTOPILOT_EXCHANGE_LIMIT)
            enter(p, AUTOPILOT_CLOSE_DOORS);
        else
            break;
        [[fallthrough]];
    }
    case AUTOPILOT_CLOSE_DOORS:
        if (openDoorCount() == 0) {
            enter(p, AUTOPILOT_LEAVE_STOP);
        } else {
            for (int32_t d = 0; d < DOOR_COUNT; ++d)
                held[DOOR_CLOSE_KEYS[d]] = 1;
        }
        break;
    case AUTOPILOT_LEAVE_STOP:
        if (stops.stopService == 0) {
            enter(p, AUTOPILOT_DRIVE);
            drive(p, held);
        }
        break;
    case AUTOPILOT_FINISH:
        // The run ends standing at the final stop with the headlights off while S is down.
        if (lights.headlightsOn)
            held[VK_KEY_C] = p->phaseTicks % 2;
        else
            held[VK_KEY_S] = 1;
        break;
    }
}
