// The run state: every record the simulation step writes and the renderer and sound read in the
// same tick. All records are static and live for the whole process; each field keeps its value
// between runs unless a load or Escape resets it (see resetRunOnEscape).
//
// Units: world units on the ground plane (X, Z); speeds in units per tick (1/50 s); km/h on screen
// is |speed| x SIM_KMH_PER_SPEED; headings in degrees, never wrapped. Stop and refuelling-point Z are stored
// with the opposite sign: the vector from a stop to the bus is (busX - stopX, busZ + stopZ).
#pragma once

#include <cstdint>

constexpr float DEG_TO_RAD = 0.017453292f;
constexpr float SIM_KMH_PER_SPEED = 222.0f;  // km/h shown for one unit per tick
// The engine sound's frequency at idle, and how far it falls per tick without throttle.
constexpr int32_t SIM_ENGINE_IDLE_FREQ = 4000;
constexpr int32_t SIM_ENGINE_FREQ_FALL = 200;
// The body's pitch sway: its change per tick and its bound either way.
constexpr float SIM_PITCH_SWAY_STEP = 0.02f;
constexpr float SIM_PITCH_SWAY_LIMIT = 0.1f;

// The player's bus. Position and heading come from the mission file at each load.
struct VehicleState {
    float busX;
    float busZ;
    float busHeading;
    float busSpeed;
    float busSpeedAbs;
    float steer;
    float steerLimit;
    int32_t steerKeyHeld;
    int32_t gear;            // 0 forward, 1 neutral, 2 reverse
    const char* gearText;    // "przod", "luz", "wsteczny"
    int32_t driveDirection;  // 1 after forward throttle, 0 after reverse throttle
    int32_t pedalActive;
    float pitchSway;
    float bodyRoll;
    uint8_t brakeLightOn;
    uint8_t reverseLightOn;
};

// The chosen bus's limits, from its parameter file; never written by the simulation.
struct VehicleParameters {
    float topSpeed;
    float accelStep;
    float brakeStep;
    float fuelCapacity;
};

// The bus's doors, numbered 1 to 3 from the front in the game's texts, and the two leaves of each.
constexpr int32_t DOOR_COUNT = 3;
constexpr int32_t DOOR_LEAF_COUNT = 2;

// Offsets along the bus's Z axis at which the wheels and door leaves are drawn.
struct BusGeometry {
    float frontLeftWheelZ;
    float frontRightWheelZ;
    float rearWheelsZ;
    // leafZ[d][0] is door d+1's leaf A, leafZ[d][1] its leaf B: door1LeafAZ = leafZ[0][0],
    // door1LeafBZ = leafZ[0][1] ... door3LeafBZ = leafZ[2][1], the parameter file's order.
    float leafZ[DOOR_COUNT][DOOR_LEAF_COUNT];
};

struct EngineState {
    uint8_t engineOff;
    uint8_t throttleLocked;
    uint8_t engineKeyLatch;
    uint8_t starterArmed;
    uint8_t starterBusy;
    int32_t starterTicks;
    int32_t engineFreq;
    uint8_t engineLoopArmed;
    float fuel;
};

// Entry d is door d+1, front to back: open[0] is door1Open, swing[1] door2Swing, text[2] door3Text.
struct DoorState {
    uint8_t open[DOOR_COUNT];
    float swing[DOOR_COUNT];
    float slide[DOOR_COUNT];
    const char* text[DOOR_COUNT];
};

struct StopState {
    int32_t currentStop;
    float stopDX, stopDZ;
    float stopBearing;
    float stopDistance;
    uint8_t atStop;
    uint8_t stopService;
    int32_t resumeGear;
    float passengersOnBoard;
    float passengersAlighted;
    float passengersBoarded;
    float passengersToAlight;
    float passengersToBoard;
    uint8_t exchangeInProgress;
    uint8_t exchangeOpen;
    uint8_t alightingPhase;
    uint8_t boardingPhase;
    uint8_t swayActive;
    int32_t swayCycles;
    int32_t swayCycleLimit;
    int32_t swayTick;
    uint8_t swayGoingDown;
    uint8_t swayKeepGoing;
    uint8_t swayRunning;
};

// The stops of the stop file and the refuelling point of the mission file.
constexpr int MAX_STOPS = 100;
struct RouteTable {
    float stopX[MAX_STOPS];
    float stopZ[MAX_STOPS];  // negative of world Z
    int32_t stopCount;
    float fuelPointX;
    float fuelPointZ;        // negative of world Z
};

struct LightState {
    uint8_t headlightsOn;
    uint8_t interiorLighting;
    uint8_t rightIndicatorOn, leftIndicatorOn;
    uint8_t rightIndicatorLamp, leftIndicatorLamp;
    int32_t indicatorLastSecond;
};

struct ViewState {
    int32_t viewportCount;   // 1..3: the main view plus 0, 1 or 2 mirrors
    float cameraEyeX, cameraEyeY;
    float cameraLookX, cameraLookZ;
    float cameraOffsetZ;
    uint8_t cameraAtFront;
    uint8_t infoShown, helpShown, timetableShown;
};

struct RunState {
    uint8_t paused;
    uint8_t runFinished;
    float punishment;        // never reset while the program runs
    const char* verdictText; // starts as an empty string
};

struct ClockState {
    float clockHours, clockMinutes, clockSeconds;
    int32_t framesThisSecond;
    int32_t framesPerSecond;
    int32_t fpsLastSecond;
};

struct TrafficLightState {
    uint8_t red, yellow, green;
    int32_t seconds;
    int32_t lastSecond;
};

// The computer-driven car; never reset, not even by a new game.
struct OtherCarState {
    float x, z;
    float heading;
    float speed;
    float turnRampValue;
    float turnRampStep;
    float speedRampStep;
};

// Edge latches of the keys (the S key's latch is engineKeyLatch).
struct ControlLatches {
    uint8_t latchInfo, latchPause, latchTimetable, latchHelp;
    uint8_t latchRightIndicator, latchLeftIndicator;
    uint8_t latchInteriorLighting, latchHeadlights, latchMirrors;
    uint8_t hornLatch, signalLatch;
    uint8_t latchRadioPrevious, latchRadioRestart, latchRadioNext;
};

// The car's program-start state (also where its loop begins).
extern const OtherCarState OTHER_CAR_START;

extern VehicleState vehicle;
extern VehicleParameters vehicleParams;
extern BusGeometry busGeometry;
extern EngineState engine;
extern DoorState doors;
extern StopState stops;
extern RouteTable route;
extern LightState lights;
extern ViewState view;
extern RunState run;
extern ClockState gameClock;
extern TrafficLightState traffic;
extern OtherCarState otherCar;
extern ControlLatches latches;

// Puts every record back to its program-start value, the random generator and the joystick
// reading included (tests and tools; the game never calls it).
void resetAllRunState();
// The cab-view camera every new game starts with.
void resetCamera();
// What a new game resets before its files are read: the bus standing, the first stop next, the
// cab-view camera. Everything else carries over from the last run.
void resetForNewRun();
