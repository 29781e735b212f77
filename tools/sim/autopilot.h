// The headless driver's autopilot: presses the keys a careful driver would to drive the route
// from the start to the final stop. It reads the run state and the bus lane (the tree's lane
// file, or the generated loop's lane from the route layout when the tree has none) but acts only
// through the keys it returns; it never writes the run state.
#pragma once

#include "assets/path_files.h"

#include <cstdint>

enum AutopilotPhase : int32_t {
    AUTOPILOT_START_ENGINE,   // hold S until the engine catches, then let go
    AUTOPILOT_SELECT_FORWARD, // Q
    AUTOPILOT_DRIVE,          // follow the bus lane to the current stop and stop there
    AUTOPILOT_OPEN_DOORS,     // Delete, End, Next
    AUTOPILOT_EXCHANGE,       // wait for the passengers
    AUTOPILOT_CLOSE_DOORS,    // Insert, Home, Prior
    AUTOPILOT_LEAVE_STOP,     // wait for the service to end, forward gear again
    AUTOPILOT_FINISH,         // final stop: headlights off, S to end the run
};

struct Autopilot {
    AutopilotPhase phase = AUTOPILOT_START_ENGINE;
    int32_t phaseTicks = 0;     // ticks spent in the phase
    int32_t quietTicks = 0;     // consecutive ticks with no passenger moving
    int32_t cachedStop = -1;    // stop whose lane position is cached
    float stopAlong = 0.0f;     // that stop's distance along the bus lane
    float lastAlong = 0.0f;
};

// Reads the lane file of the tree in the working directory for the runs to come. A good file is
// driven from then on; any other answer (PATH_FILE_UNREADABLE when there is none) leaves the
// generated loop's lane.
PathFileReport autopilotLoadLane();

// The keys to hold in the next tick (held[256], 0/1), from the state the last tick left.
void autopilotKeys(Autopilot* pilot, uint8_t* held);
