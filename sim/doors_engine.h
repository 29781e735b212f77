// The bus's equipment: door leaves and door keys, horn and warning signal, the engine's start
// and stop sequence, fuel use and refuelling, and the indicators' one-second blink.
// Each function is one place in the step's order (see sim/step.cpp).
#pragma once

// Step 8: the leaves swing and slide towards their commanded position.
void animateDoors();
// Step 12: standing with the engine off near the pump fills the tank.
void refuel();
// Step 20: fuel use; an empty tank stops the engine for good (as if S were held).
void useFuel();
// Step 22: door keys at a standstill; serving a stop forces neutral.
void handleDoorKeys();
// Step 24: horn, warning signal, engine start and stop.
void handleHornAndSignal();
void handleEngineKey();
// Step 26, first part: both indicators with their toggles.
void handleIndicators();
