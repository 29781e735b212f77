// The bus's equipment: door leaves and door keys, horn and warning signal, the engine's start
// and stop sequence, fuel use and refuelling, and the indicators' one-second blink.
// sim/step.cpp calls them in their order.
#pragma once

// The leaves swing and slide towards their commanded position.
void animateDoors();
// Standing with the engine off near the pump fills the tank.
void refuel();
// Fuel use; an empty tank stops the engine for good (as if S were held).
void useFuel();
// Door keys at a standstill; serving a stop forces neutral.
void handleDoorKeys();
// Horn, warning signal, engine start and stop.
void handleHornAndSignal();
void handleEngineKey();
// Both indicators with their toggles.
void handleIndicators();
