// The simulation step: one tick of a run (controls, motion, doors, engine, stops, timers, the
// second car, the radio keys). Makes no GL or SDL call; reads the clock, the joystick and the sound
// library only through the platform page (platform/platform.h).
#pragma once

void simulationStep();
