#include "sim/other_car.h"

#include "sim/state.h"

#include <cmath>

CarPath carPath;

namespace {

// Most the heading turns per tick, in degrees: at 0.3 units per tick a turn of radius about 6.
constexpr float CAR_PATH_TURN_STEP = 3.0f;
// Speed changes per tick, in units per tick: gentler speeding up than braking.
constexpr float CAR_PATH_ACCELERATION = 0.002f;
constexpr float CAR_PATH_DECELERATION = 0.004f;
// The car aims at the next point once this close to its target, so corners are cut round.
constexpr float CAR_PATH_REACH = 3.0f;

int32_t nextPoint(int32_t i)
{
    return i + 1 < carPath.pointCount ? i + 1 : 0;
}

int32_t previousPoint(int32_t i)
{
    return i > 0 ? i - 1 : carPath.pointCount - 1;
}

// The car moves along (sin h, cos h): the heading that points from (x, z) towards (tx, tz).
float headingTowards(float x, float z, float tx, float tz)
{
    const float h = static_cast<float>(std::atan2(tx - x, tz - z) / DEG_TO_RAD);
    return h < 0.0f ? h + 360.0f : h;
}

// The heading turned towards wanted by at most CAR_PATH_TURN_STEP, the short way round.
float turnTowards(float heading, float wanted)
{
    float d = wanted - heading;
    while (d > 180.0f)
        d -= 360.0f;
    while (d < -180.0f)
        d += 360.0f;
    if (d > CAR_PATH_TURN_STEP)
        d = CAR_PATH_TURN_STEP;
    if (d < -CAR_PATH_TURN_STEP)
        d = -CAR_PATH_TURN_STEP;
    const float h = heading + d;
    return h >= 360.0f ? h - 360.0f : (h < 0.0f ? h + 360.0f : h);
}

// The speed the car wants on its way to point k, distance d away: the faster of the two ends'
// targets, but never more than lets it brake down to point k's target by the time it turns
// towards the next point (CAR_PATH_REACH before k).
float wantedSpeed(int32_t k, float d)
{
    const float from = carPath.speed[previousPoint(k)];
    const float to = carPath.speed[k];
    const float cruise = from > to ? from : to;
    const float left = d > CAR_PATH_REACH ? d - CAR_PATH_REACH : 0.0f;
    // Planned with half the braking, so the car's steps keep up with the plan.
    const float braking = std::sqrt(to * to + CAR_PATH_DECELERATION * left);
    return cruise < braking ? cruise : braking;
}

// True once the car is near point k or has passed the line across its path through k.
bool reached(int32_t k, float x, float z)
{
    const int32_t p = previousPoint(k);
    const float dx = carPath.x[k] - x;
    const float dz = carPath.z[k] - z;
    if (dx * dx + dz * dz < CAR_PATH_REACH * CAR_PATH_REACH)
        return true;
    const float sx = carPath.x[k] - carPath.x[p];
    const float sz = carPath.z[k] - carPath.z[p];
    return dx * sx + dz * sz <= 0.0f;
}

void updateOtherCarOnPath()
{
    OtherCarState& c = otherCar;
    int32_t k = carPath.target;
    // Several points may lie within reach of each other; pass at most a lap of them.
    for (int32_t i = 0; i < carPath.pointCount && reached(k, c.x, c.z); ++i)
        k = nextPoint(k);
    carPath.target = k;
    const float dx = carPath.x[k] - c.x;
    const float dz = carPath.z[k] - c.z;
    c.heading = turnTowards(c.heading, headingTowards(c.x, c.z, carPath.x[k], carPath.z[k]));
    const float wanted = wantedSpeed(k, std::sqrt(dx * dx + dz * dz));
    if (c.speed < wanted)
        c.speed = std::fmin(wanted, c.speed + CAR_PATH_ACCELERATION);
    else
        c.speed = std::fmax(wanted, c.speed - CAR_PATH_DECELERATION);
    const double rad = static_cast<double>(c.heading * DEG_TO_RAD);
    c.x = static_cast<float>(c.x + std::sin(rad) * c.speed);
    c.z = static_cast<float>(c.z + std::cos(rad) * c.speed);
}

}  // namespace

void startOtherCarOnPath()
{
    OtherCarState& c = otherCar;
    c.x = carPath.x[0];
    c.z = carPath.z[0];
    c.heading = headingTowards(carPath.x[0], carPath.z[0], carPath.x[1], carPath.z[1]);
    c.speed = carPath.speed[0];
    carPath.target = 1;
    carPath.active = 1;
}

void updateOtherCar()
{
    if (carPath.active && carPath.pointCount >= 2)
        updateOtherCarOnPath();
    else
        updateOtherCarInZones();
}
