#include "sim/stops.h"

#include "sim/equipment.h"
#include "sim/state.h"

#include <cmath>

namespace {

// Passengers moved per tick through each open door, entry d for door d+1.
constexpr double DOOR_FLOW[DOOR_COUNT] = {0.01, 0.02, 0.02};

int32_t stopIndex()
{
    const int32_t i = stops.currentStop;
    return i < 0 ? 0 : (i >= MAX_STOPS ? MAX_STOPS - 1 : i);
}

// Moves the open doors' share of passengers: `figure` up, the passengers on board up or down.
void movePassengers(float& figure, int direction)
{
    // Door by door, as each door adds its own amount.
    for (int32_t d = 0; d < DOOR_COUNT; ++d) {
        if (doors.open[d]) {
            figure = static_cast<float>(figure + DOOR_FLOW[d]);
            stops.passengersOnBoard = static_cast<float>(stops.passengersOnBoard + direction * DOOR_FLOW[d]);
        }
    }
}

}  // namespace

void updateStopGeometry()
{
    StopState& s = stops;
    const int32_t i = stopIndex();
    s.stopDX = vehicle.busX - route.stopX[i];
    s.stopDZ = vehicle.busZ + route.stopZ[i];
    // Standing exactly on the stop gives 0/0; take the quotient as 0 so no NaN reaches the arrow.
    const double q = (s.stopDX == 0 && s.stopDZ == 0) ? 0.0 : static_cast<double>(s.stopDX) / s.stopDZ;
    const double a = std::atan(q) * 57.29578;
    s.stopBearing = static_cast<float>(s.stopDZ < 0 ? -a : 180.0 - a);
    s.stopDistance = std::sqrt(s.stopDZ * s.stopDZ + s.stopDX * s.stopDX);
    s.atStop = s.stopDistance < STOP_REACH ? 1 : 0;
}

void servePassengers()
{
    StopState& s = stops;
    const int32_t n = route.stopCount;
    if (s.stopService == 1 && s.atStop == 1 && s.currentStop <= n - 2) {
        if (s.exchangeOpen == 1 && s.alightingPhase == 1) {
            if (s.passengersAlighted <= s.passengersToAlight) {
                s.exchangeInProgress = 1;
                movePassengers(s.passengersAlighted, -1);
            }
            if (s.passengersAlighted >= s.passengersToAlight) {
                s.boardingPhase = 1;
                s.alightingPhase = 0;
                s.exchangeInProgress = 0;
            }
        }
        if (s.boardingPhase == 1) {
            if (s.passengersBoarded <= s.passengersToBoard) {
                s.exchangeInProgress = 1;
                movePassengers(s.passengersBoarded, +1);
            }
            if (s.passengersBoarded >= s.passengersToBoard) {
                s.boardingPhase = 0;
                s.alightingPhase = 1;
                s.exchangeInProgress = 0;
            }
        }
        // Nobody left to get off: alighting is over.
        if (s.passengersOnBoard <= 0 && s.currentStop < n - 1) {
            s.passengersOnBoard = 0.0f;
            s.exchangeOpen = 0;
            s.boardingPhase = 1;
            s.alightingPhase = 0;
            s.exchangeInProgress = 0;
        }
        // The last service stop: everybody off. The exchange lasts while anybody is left aboard;
        // once the bus is empty, closing the doors costs nothing.
        if (s.currentStop >= n - 2) {
            s.exchangeOpen = 0;
            s.boardingPhase = 0;
            s.alightingPhase = 0;
            if (s.passengersOnBoard > 0)
                movePassengers(s.passengersAlighted, -1);
            s.exchangeInProgress = s.passengersOnBoard > 0 ? 1 : 0;
        }
    }

    if (lights.headlightsOn == 0 && engine.engineKeyLatch == 0 && s.atStop == 1 && s.currentStop >= n - 1 &&
        vehicle.busSpeed == 0) {
        s.exchangeOpen = 0;
        s.boardingPhase = 0;
        s.alightingPhase = 0;
        run.runFinished = 1;
    }

    if (s.stopService == 1 && openDoorCount() == 0) {
        s.stopService = 0;
        vehicle.gear = s.resumeGear;
        s.exchangeInProgress = 0;
        s.passengersBoarded = 0.0f;
        s.passengersAlighted = 0.0f;
        if (s.atStop == 1) {
            s.boardingPhase = 0;
            s.alightingPhase = 1;
            s.exchangeOpen = 1;
            if (s.currentStop < n - 1)
                s.currentStop += 1;
        }
    }
}

void rockBodyAtStop()
{
    StopState& s = stops;
    if (s.swayActive != 1 || s.atStop != 1)
        return;
    float& roll = vehicle.bodyRoll;
    if (s.swayCycles > s.swayCycleLimit) {
        s.swayRunning = 0;
        s.swayActive = 0;
    } else if (s.swayTick < 104) {
        s.swayTick += 1;
        if (roll >= -0.01 && s.swayGoingDown == 1)
            roll = static_cast<float>(roll - 0.0002);
        else
            s.swayGoingDown = 0;
        if (roll > 0 || s.swayGoingDown == 1)
            s.swayGoingDown = 1;
        else
            roll = static_cast<float>(roll + 0.0002);
    } else {
        if (s.swayKeepGoing == 0) {
            s.swayActive = 0;
            s.swayKeepGoing = 1;
        }
        s.swayTick = 1;
        s.swayCycles += 1;
        s.swayRunning = 1;
    }
}
