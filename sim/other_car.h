// The computer-driven car: it has no path data, thirteen rectangular zones along its loop set or
// ramp its speed and heading. Its state (otherCar in sim/state.h) lives for the whole process and
// is never reset, not even by a new game.
#pragma once

// One tick of the car: move along the heading, then apply every zone that holds the new position.
void updateOtherCar();

// Speed ramp: below or at the target it adds a growing step (0.001 more per call) to start;
// above the target it clears the step and answers start. Never stops at the target.
float rampSpeed(float start, float target);

// Heading ramp: half a degree more per call from start until the target is reached, then holds
// there and clears its step. Exactly 360 becomes 0.
float rampHeading(float start, float target);
