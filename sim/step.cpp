#include "sim/sim.h"

#include "core/options.h"
#include "sim/controls.h"
#include "sim/equipment.h"
#include "sim/dynamics.h"
#include "sim/other_car.h"
#include "sim/state.h"
#include "sim/stops.h"
#include "sim/timers.h"

// The order matters: every part sees what the earlier ones did in the same tick.
void simulationStep()
{
    readJoystick();
    handleToggleKeysAndEscape();
    if (run.paused == 1 || run.runFinished == 1)
        return;

    updateOtherCar();
    if (options.joystick == 1)
        driveWithJoystick();
    else
        steerWithKeys();
    countFrameAndClock();
    rollFromSteering();
    animateDoors();
    releaseSteeringKeys();
    windDownWithoutPedals();
    updateStopGeometry();
    refuel();
    coast();
    engineFreqFromRoadSpeed();
    selfCentreSteering();
    updateSteerLimit();
    brake();
    throttle();
    handleGearKeys();
    useFuel();
    servePassengers();
    handleDoorKeys();
    rockBodyAtStop();
    handleHornAndSignal();
    handleEngineKey();
    refreshSpeedAbs();
    handleIndicators();
    handleCabSwitches();
    handleCameraKeys();
    stepTrafficLights();
    handleMirrorKey();
    radioStep();
}
