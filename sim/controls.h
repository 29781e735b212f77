// The keyboard and joystick side of the simulation step: the keys that work even while paused,
// Escape, steering input, gear keys, the cab switches, the camera and the radio's keys.
// sim/step.cpp calls them in their order; the effects they trigger live in the other parts.
#pragma once

#include "platform/platform.h"

// The joystick reading of this tick (read at the start of every step, whatever the option says).
// Lives for the process; zero until the first read.
extern JoyReading joyInfo;

// Read the first joystick.
void readJoystick();
// J, P, R, H toggles and Escape.
void handleToggleKeysAndEscape();
// Escape's reset of the run state: engine off, speed 0, passengers 0, stop 0, clock seconds 0,
// doors closed without sound, one viewport, run not finished. Everything else carries over.
void resetRunOnEscape();
// Left and Right within steerLimit.
void steerWithKeys();
// Steering and driving from the stick.
void driveWithJoystick();
// No arrow key held ends keyboard steering (the self-centring acts again).
void releaseSteeringKeys();
// Q, A, Z.
void handleGearKeys();
// X (interior lighting) and C (headlights).
void handleCabSwitches();
// F1 to F6 presets and the keypad adjustments.
void handleCameraKeys();
// L cycles the mirror views.
void handleMirrorKey();
// Toggle helper: acts once per press, latch cleared while the key is up.
bool togglePressed(uint8_t key, uint8_t& latch);
// The radio's keys 1 to 4 (with their latches), then the automatic advance to the next track.
void radioStep();
