// The bus's motion: the motion primitive, steering limits and self-centring, throttle, brake,
// coasting, body pitch and roll, and the engine-sound frequency that follows the road speed.
// Works on the records of sim/state.h; sim/step.cpp calls them in their order.
#pragma once

#include <cstdint>

// Turns the bus by headingDelta, changes its speed by speedDelta, then moves it along the new
// heading by the new speed (trigonometry in double precision, results stored as floats).
void advanceBus(float headingDelta, float speedDelta);
// Lets the body pitch settle by one step towards 0.
void settlePitch();
// The engine frequency bands of the road speed; leaves engineFreq alone when none matches.
void applySpeedBands();
// Body roll follows the steering except while a stop is served.
void rollFromSteering();
// No pedal held: the engine winds down towards idle.
void windDownWithoutPedals();
// No pedal held in the driving direction: the bus rolls on and slows by a fixed amount.
void coast();
// Forward gear without throttle: the frequency follows the road speed (stored only).
void engineFreqFromRoadSpeed();
// Steering let go: the wheel turns back towards straight ahead.
void selfCentreSteering();
// The steering limit for the next tick's keys.
void updateSteerLimit();
// Down (without Up): the brake, its light and the air-brake sound.
void brake();
// Up: the throttle in the chosen gear, with the engine loop's sound.
void throttle();
// The road speed without its sign, for the gauges and the rating.
void refreshSpeedAbs();
