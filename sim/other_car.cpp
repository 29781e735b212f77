#include "sim/other_car.h"

#include "sim/state.h"

#include <cmath>

float rampSpeed(float start, float target)
{
    if (start <= target) {
        otherCar.speedRampStep += 0.001f;
        return start + otherCar.speedRampStep;
    }
    otherCar.speedRampStep = 0.0f;
    return start;
}

float rampHeading(float start, float target)
{
    if (otherCar.turnRampValue != target) {
        otherCar.turnRampStep += 0.5f;
        otherCar.turnRampValue = start + otherCar.turnRampStep;
        if (otherCar.turnRampValue == 360.0f)
            otherCar.turnRampValue = 0.0f;
    } else {
        otherCar.turnRampStep = 0.0f;
    }
    return otherCar.turnRampValue;
}

// Strict bounds on both sides; the open-ended zones pass +-HUGE_VALF for the missing bound.
static bool inZone(float x, float z, double x0, double x1, double z0, double z1)
{
    return x > x0 && x < x1 && z > z0 && z < z1;
}

void updateOtherCarInZones()
{
    OtherCarState& c = otherCar;
    const double rad = static_cast<double>(c.heading * DEG_TO_RAD);
    c.x = static_cast<float>(c.x + std::sin(rad) * c.speed);
    c.z = static_cast<float>(c.z + std::cos(rad) * c.speed);

    const float x = c.x;
    const float z = c.z;
    const float far = HUGE_VALF;

    // Down the first straight: speed up, then three small nudges of the heading.
    if (inZone(x, z, -5, 7, -70, -50))
        c.speed = rampSpeed(0.2f, 0.3f);
    if (inZone(x, z, -5, 7, -260, -250))
        c.heading = 179.0f;
    if (inZone(x, z, -5, 7, -far, -310))
        c.heading = 180.0f;
    if (inZone(x, z, -5, 7, -far, -390))
        c.heading = 181.0f;
    // First corner, slowly round to the west.
    if (inZone(x, z, -15, 10, -far, -447)) {
        c.speed = rampSpeed(0.1f, 0.05f);
        c.heading = rampHeading(181.0f, 269.0f);
    }
    if (inZone(x, z, -110, -90, -465, -455)) {
        c.speed = rampSpeed(0.1f, 0.3f);
        c.heading = 271.2f;
    }
    // Second corner, round to the north (360 wraps to 0).
    if (inZone(x, z, -420, -405, -470, -430)) {
        c.speed = rampSpeed(0.1f, 0.05f);
        c.heading = rampHeading(271.0f, 0.0f);
    }
    if (inZone(x, z, -420, -405, -430, -380)) {
        c.speed = rampSpeed(0.1f, 0.4f);
        c.heading = 0.0f;
    }
    // The bend at the top of the west side, in three stages, then east and back to the start.
    if (inZone(x, z, -430, -390, -56, -40)) {
        c.speed = rampSpeed(0.1f, 0.2f);
        c.heading = rampHeading(0.0f, 10.0f);
    }
    if (inZone(x, z, -430, -387, 53, 60)) {
        c.speed = rampSpeed(0.1f, 0.03f);
        c.heading = rampHeading(10.0f, 44.0f);
    }
    if (inZone(x, z, -389, -360, 40, 77)) {
        c.speed = rampSpeed(0.05f, 0.32f);
        c.heading = rampHeading(44.0f, 90.0f);
    }
    if (inZone(x, z, -55, -10, 30, 77)) {
        c.speed = rampSpeed(0.32f, 0.2f);
        c.heading = rampHeading(90.0f, 151.0f);
    }
    if (inZone(x, z, -10, 15, -15, 8.7))
        c.heading = rampHeading(151.0f, 180.0f);
}
