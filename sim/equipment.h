// The bus's equipment: door leaves and door keys, horn and warning signal, the engine's start
// and stop sequence, fuel use and refuelling, and the indicators' one-second blink.
// sim/step.cpp calls them in their order.
#pragma once

#include "core/keys.h"
#include "sim/state.h"

// Each door's keys, entry d for door d+1 (Delete, End and Page Down open; Insert, Home and Page
// Up close).
constexpr uint8_t DOOR_OPEN_KEYS[DOOR_COUNT] = {VK_DELETE, VK_END, VK_NEXT};
constexpr uint8_t DOOR_CLOSE_KEYS[DOOR_COUNT] = {VK_INSERT, VK_HOME, VK_PRIOR};

// How many doors stand open (commanded open; the leaves may still be moving).
inline int32_t openDoorCount()
{
    int32_t count = 0;
    for (int32_t d = 0; d < DOOR_COUNT; ++d)
        count += doors.open[d] != 0 ? 1 : 0;
    return count;
}

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
