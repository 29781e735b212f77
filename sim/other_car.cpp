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
    const double rad = static_cast<double>(c.otherCarHeading * DEG_TO_RAD);
    c.otherCarX = static_cast<float>(c.otherCarX + std::sin(rad) * c.otherCarSpeed);
    c.otherCarZ = static_cast<float>(c.otherCarZ + std::cos(rad) * c.otherCarSpeed);

    const float x = c.otherCarX;
    const float z = c.otherCarZ;
    const float far = HUGE_VALF;

    // Down the first straight: speed up, then three small nudges of the heading.
    if (inZone(x, z, -5, 7, -70, -50))
        c.otherCarSpeed = rampSpeed(0.2f, 0.3f);
    if (inZone(x, z, -5, 7, -260, -250))
        c.otherCarHeading = 179.0f;
    if (inZone(x, z, -5, 7, -far, -310))
        c.otherCarHeading = 180.0f;
    if (inZone(x, z, -5, 7, -far, -390))
        c.otherCarHeading = 181.0f;
    // First corner, slowly round to the west.
    if (inZone(x, z, -15, 10, -far, -447)) {
        c.otherCarSpeed = rampSpeed(0.1f, 0.05f);
        c.otherCarHeading = rampHeading(181.0f, 269.0f);
    }
    if (inZone(x, z, -110, -90, -465, -455)) {
        c.otherCarSpeed = rampSpeed(0.1f, 0.3f);
        c.otherCarHeading = 271.2f;
    }
    // Second corner, round to the north (360 wraps to 0).
    if (inZone(x, z, -420, -405, -470, -430)) {
        c.otherCarSpeed = rampSpeed(0.1f, 0.05f);
        c.otherCarHeading = rampHeading(271.0f, 0.0f);
    }
    if (inZone(x, z, -420, -405, -430, -380)) {
        c.otherCarSpeed = rampSpeed(0.1f, 0.4f);
        c.otherCarHeading = 0.0f;
    }
    // The bend at the top of the west side, in three stages, then east and back to the start.
    if (inZone(x, z, -430, -390, -56, -40)) {
        c.otherCarSpeed = rampSpeed(0.1f, 0.2f);
        c.otherCarHeading = rampHeading(0.0f, 10.0f);
    }
    if (inZone(x, z, -430, -387, 53, 60)) {
        c.otherCarSpeed = rampSpeed(0.1f, 0.03f);
        c.otherCarHeading = rampHeading(10.0f, 44.0f);
    }
    if (inZone(x, z, -389, -360, 40, 77)) {
        c.otherCarSpeed = rampSpeed(0.05f, 0.32f);
        c.otherCarHeading = rampHeading(44.0f, 90.0f);
    }
    if (inZone(x, z, -55, -10, 30, 77)) {
        c.otherCarSpeed = rampSpeed(0.32f, 0.2f);
        c.otherCarHeading = rampHeading(90.0f, 151.0f);
    }
    if (inZone(x, z, -10, 15, -15, 8.7))
        c.otherCarHeading = rampHeading(151.0f, 180.0f);
}
