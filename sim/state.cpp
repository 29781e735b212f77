#include "sim/state.h"

#include "sim/controls.h"
#include "sim/other_car.h"
#include "sim/random.h"

VehicleState vehicle;
VehicleParameters vehicleParams;
BusGeometry busGeometry;
EngineState engine;
DoorState doors;
StopState stops;
RouteTable route;
LightState lights;
ViewState view;
RunState run;
ClockState gameClock;
TrafficLightState traffic;
OtherCarState otherCar;
ControlLatches latches;

static const VehicleState VEHICLE_START = {
    0, 0, 0, 0, 0, 0, 0, 0, 1, "luz", 0, 0, 0, 0, 0, 0};
static const EngineState ENGINE_START = {1, 1, 1, 1, 1, 0, 0, 0, 0};
static const DoorState DOORS_START = {
    {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {"zamkniete", "zamkniete", "zamkniete"}};
static const ViewState VIEW_START = {1, 0, 0, 0, 0, 0, 1, 0, 0, 0};
static const RunState RUN_START = {0, 0, 0, ""};
static const TrafficLightState TRAFFIC_START = {1, 0, 0, 0, 0};
const OtherCarState OTHER_CAR_START = {4.2f, -20.0f, 180.0f, 0.1f, 0, 0, 0};

// Every field not named here starts at zero, so a new field cannot shift the others.
static void resetStops()
{
    stops = StopState{};
    stops.exchangeOpen = 1;
    stops.alightingPhase = 1;
    stops.swayTick = 1;
    stops.swayGoingDown = 1;
    stops.swayKeepGoing = 1;
    stops.swayRunning = 1;
}

void resetAllRunState()
{
    vehicle = VEHICLE_START;
    vehicleParams = VehicleParameters{};
    busGeometry = BusGeometry{};
    engine = ENGINE_START;
    doors = DOORS_START;
    resetStops();
    route = RouteTable{};
    lights = LightState{};
    view = VIEW_START;
    run = RUN_START;
    gameClock = ClockState{};
    traffic = TRAFFIC_START;
    otherCar = OTHER_CAR_START;
    carPath.active = 0;
    carPath.pointCount = 0;
    latches = ControlLatches{};
    latches.hornLatch = 1;
    randomState = 1;
    joyInfo = JoyReading{};
}

void resetCamera()
{
    view.cameraOffsetZ = 5.0f;
    view.cameraEyeY = 1.6f;
    view.cameraLookZ = -40.0f;
    view.cameraEyeX = -0.75f;
    view.cameraLookX = 0.0f;
}

void resetForNewRun()
{
    vehicle.busSpeed = 0.0f;
    resetCamera();
    stops.currentStop = 0;
}

// Program-start values are set before main runs, by the same routine the tests use.
static const bool runStateInitialised = (resetAllRunState(), true);
