#include "tools/sim/soak.h"

#include "sim/random.h"
#include "sim/state.h"

#include <cmath>
#include <cstring>

namespace {

struct FloatField {
    const char* name;
    const float* value;
    int32_t count;
};

struct CounterField {
    const char* name;
    const int32_t* value;
};

// Every float of the run-state records (the stop table whole, filled or not).
const FloatField FLOAT_FIELDS[] = {
    {"vehicle.busX", &vehicle.busX, 1},
    {"vehicle.busZ", &vehicle.busZ, 1},
    {"vehicle.busHeading", &vehicle.busHeading, 1},
    {"vehicle.busSpeed", &vehicle.busSpeed, 1},
    {"vehicle.busSpeedAbs", &vehicle.busSpeedAbs, 1},
    {"vehicle.steer", &vehicle.steer, 1},
    {"vehicle.steerLimit", &vehicle.steerLimit, 1},
    {"vehicle.pitchSway", &vehicle.pitchSway, 1},
    {"vehicle.bodyRoll", &vehicle.bodyRoll, 1},
    {"vehicleParams.topSpeed", &vehicleParams.topSpeed, 1},
    {"vehicleParams.accelStep", &vehicleParams.accelStep, 1},
    {"vehicleParams.brakeStep", &vehicleParams.brakeStep, 1},
    {"vehicleParams.fuelCapacity", &vehicleParams.fuelCapacity, 1},
    {"busGeometry.frontLeftWheelZ", &busGeometry.frontLeftWheelZ, 1},
    {"busGeometry.frontRightWheelZ", &busGeometry.frontRightWheelZ, 1},
    {"busGeometry.rearWheelsZ", &busGeometry.rearWheelsZ, 1},
    {"busGeometry.leafZ", &busGeometry.leafZ[0][0], DOOR_COUNT * DOOR_LEAF_COUNT},
    {"engine.fuel", &engine.fuel, 1},
    {"doors.swing", doors.swing, DOOR_COUNT},
    {"doors.slide", doors.slide, DOOR_COUNT},
    {"stops.stopDX", &stops.stopDX, 1},
    {"stops.stopDZ", &stops.stopDZ, 1},
    {"stops.stopBearing", &stops.stopBearing, 1},
    {"stops.stopDistance", &stops.stopDistance, 1},
    {"stops.passengersOnBoard", &stops.passengersOnBoard, 1},
    {"stops.passengersAlighted", &stops.passengersAlighted, 1},
    {"stops.passengersBoarded", &stops.passengersBoarded, 1},
    {"stops.passengersToAlight", &stops.passengersToAlight, 1},
    {"stops.passengersToBoard", &stops.passengersToBoard, 1},
    {"route.stopX", route.stopX, MAX_STOPS},
    {"route.stopZ", route.stopZ, MAX_STOPS},
    {"route.fuelPointX", &route.fuelPointX, 1},
    {"route.fuelPointZ", &route.fuelPointZ, 1},
    {"view.cameraEyeX", &view.cameraEyeX, 1},
    {"view.cameraEyeY", &view.cameraEyeY, 1},
    {"view.cameraLookX", &view.cameraLookX, 1},
    {"view.cameraLookZ", &view.cameraLookZ, 1},
    {"view.cameraOffsetZ", &view.cameraOffsetZ, 1},
    {"run.punishment", &run.punishment, 1},
    {"gameClock.clockHours", &gameClock.clockHours, 1},
    {"gameClock.clockMinutes", &gameClock.clockMinutes, 1},
    {"gameClock.clockSeconds", &gameClock.clockSeconds, 1},
    {"otherCar.otherCarX", &otherCar.x, 1},
    {"otherCar.otherCarZ", &otherCar.z, 1},
    {"otherCar.otherCarHeading", &otherCar.heading, 1},
    {"otherCar.otherCarSpeed", &otherCar.speed, 1},
    {"otherCar.turnRampValue", &otherCar.turnRampValue, 1},
    {"otherCar.turnRampStep", &otherCar.turnRampStep, 1},
    {"otherCar.speedRampStep", &otherCar.speedRampStep, 1},
};

const CounterField COUNTER_FIELDS[] = {
    {"vehicle.steerKeyHeld", &vehicle.steerKeyHeld},
    {"vehicle.gear", &vehicle.gear},
    {"vehicle.driveDirection", &vehicle.driveDirection},
    {"vehicle.pedalActive", &vehicle.pedalActive},
    {"engine.starterTicks", &engine.starterTicks},
    {"engine.engineFreq", &engine.engineFreq},
    {"stops.currentStop", &stops.currentStop},
    {"stops.resumeGear", &stops.resumeGear},
    {"stops.swayCycles", &stops.swayCycles},
    {"stops.swayCycleLimit", &stops.swayCycleLimit},
    {"stops.swayTick", &stops.swayTick},
    {"route.stopCount", &route.stopCount},
    {"lights.indicatorLastSecond", &lights.indicatorLastSecond},
    {"view.viewportCount", &view.viewportCount},
    {"gameClock.framesThisSecond", &gameClock.framesThisSecond},
    {"gameClock.framesPerSecond", &gameClock.framesPerSecond},
    {"gameClock.fpsLastSecond", &gameClock.fpsLastSecond},
    {"traffic.trafficSeconds", &traffic.seconds},
    {"traffic.trafficLastSecond", &traffic.lastSecond},
};

int64_t largestCounter = 0;
const char* largestCounterName = "";

} // namespace

std::string soakFirstBadField()
{
    for (const FloatField& f : FLOAT_FIELDS) {
        for (int32_t i = 0; i < f.count; ++i) {
            if (!std::isfinite(f.value[i]))
                return f.count == 1 ? std::string(f.name) : std::string(f.name) + "[" + std::to_string(i) + "]";
        }
    }
    for (const CounterField& c : COUNTER_FIELDS) {
        const int64_t magnitude = std::llabs(static_cast<int64_t>(*c.value));
        if (magnitude > largestCounter) {
            largestCounter = magnitude;
            largestCounterName = c.name;
        }
        if (magnitude > SOAK_COUNTER_LIMIT)
            return c.name;
    }
    return std::string();
}

int64_t soakLargestCounter(std::string* name)
{
    if (name)
        *name = largestCounterName;
    return largestCounter;
}

uint64_t soakStateDigest()
{
    uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash ^= bytes[i];
            hash *= 1099511628211ull;
        }
    };
    for (const FloatField& f : FLOAT_FIELDS)
        mix(f.value, sizeof(float) * static_cast<size_t>(f.count));
    for (const CounterField& c : COUNTER_FIELDS)
        mix(c.value, sizeof(int32_t));
    mix(&randomState, sizeof randomState);
    return hash;
}
