// The computer-driven car. Without a path it has no path data: thirteen rectangular zones along
// its loop set or ramp its speed and heading. With a path (the route folder's optional path file)
// it drives that closed loop instead: heading turned gradually towards the next point, speed
// ramped towards the points' targets. Its state (otherCar in sim/state.h) lives for the whole
// process and is never reset, not even by a new game.
#pragma once

#include <cstdint>

// Most points a path (the car's loop, the bus lane) may hold.
constexpr int32_t MAX_PATH_POINTS = 20000;

// The car's loop: points in the stop file's convention (the car's own), target speeds in units
// per tick. Filled by the new game's load when the tree has a path file; lives for the process.
struct CarPath {
    uint8_t active;    // 1: updateOtherCar drives the path; 0: the zones
    int32_t pointCount;
    int32_t target;    // the point the car drives towards
    float x[MAX_PATH_POINTS];
    float z[MAX_PATH_POINTS];
    float speed[MAX_PATH_POINTS];
};
extern CarPath carPath;

// Puts the car on point 0 of carPath, facing point 1 at point 0's speed, and makes the path active.
void startOtherCarOnPath();

// One tick of the car: the path when one is active, else the zones.
void updateOtherCar();
// One tick of the zone driving: move along the heading, then apply every zone that holds the new
// position.
void updateOtherCarInZones();

// Speed ramp: below or at the target it adds a growing step (0.001 more per call) to start;
// above the target it clears the step and answers start. Never stops at the target.
float rampSpeed(float start, float target);

// Heading ramp: half a degree more per call from start until the target is reached, then holds
// there and clears its step. Exactly 360 becomes 0.
float rampHeading(float start, float target);
