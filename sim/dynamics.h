// The bus's motion: the motion primitive, steering limits and self-centring, throttle, brake,
// coasting, body pitch and roll, and the engine-sound frequency that follows the road speed.
// Works on the records of sim/state.h; each function is one place in the step's order.
#pragma once

#include <cstdint>

// Turns the bus by headingDelta, changes its speed by speedDelta, then moves it along the new
// heading by the new speed (trigonometry in double precision, results stored as floats).
void advanceBus(float headingDelta, float speedDelta);
// Lets the body pitch settle by one step towards 0.
void settlePitch();
// The engine frequency bands of the road speed; leaves engineFreq alone when none matches.
void applySpeedBands();
// Step 7: body roll follows the steering except while a stop is served.
void rollFromSteering();
// Step 10: no pedal held: the engine winds down towards idle.
void windDownWithoutPedals();
// Step 13.
void coast();
// Step 14: forward gear without throttle: the frequency follows the road speed (stored only).
void engineFreqFromRoadSpeed();
// Step 15.
void selfCentreSteering();
// Step 16: the steering limit for the next tick's keys.
void updateSteerLimit();
// Step 17.
void brake();
// Step 18.
void throttle();
// Step 25.
void refreshSpeedAbs();
