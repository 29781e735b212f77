#include "sim/dynamics.h"

#include "core/keys.h"
#include "platform/platform.h"
#include "sim/random.h"
#include "sim/sim_util.h"
#include "sim/state.h"
#include "sound/sound.h"

#include <cmath>

void advanceBus(float headingDelta, float speedDelta)
{
    VehicleState& v = vehicle;
    v.busHeading += headingDelta;
    v.busSpeed += speedDelta;
    const double rad = static_cast<double>(v.busHeading * DEG_TO_RAD);
    v.busX = static_cast<float>(v.busX + std::sin(rad) * v.busSpeed);
    v.busZ = static_cast<float>(v.busZ + std::cos(rad) * v.busSpeed);
}

void settlePitch()
{
    if (vehicle.pitchSway > 0)
        vehicle.pitchSway -= SIM_PITCH_SWAY_STEP;
    if (vehicle.pitchSway < 0)
        vehicle.pitchSway += SIM_PITCH_SWAY_STEP;
}

void applySpeedBands()
{
    const float s = vehicle.busSpeed;
    // Tested in this order; a later band overwrites an earlier one at the shared edges.
    if (s >= 0 && s <= 0.05)
        engine.engineFreq = truncToInt(s * 500000.0);
    if (s >= 0.05 && s <= 0.16)
        engine.engineFreq = truncToInt(s * 170000.0);
    if (s >= 0.16 && s <= 0.26)
        engine.engineFreq = truncToInt(s * 95000.0);
    if (s >= 0.26 && s <= vehicleParams.topSpeed)
        engine.engineFreq = truncToInt(s * 50000.0);
}

void rollFromSteering()
{
    if (stops.stopService == 0)
        vehicle.bodyRoll = vehicle.steer * vehicle.busSpeed;
}

void windDownWithoutPedals()
{
    if (keyState[VK_UP] || keyState[VK_DOWN])
        return;
    vehicle.pedalActive = 0;
    if (engine.engineFreq > SIM_ENGINE_IDLE_FREQ) {
        engine.engineFreq -= SIM_ENGINE_FREQ_FALL;
        playSoundEvent(engine.engineFreq, SOUND_IDLE_PITCH);
    }
}

void coast()
{
    VehicleState& v = vehicle;
    if (v.busSpeed < 0 && v.driveDirection == 0 && v.pedalActive == 0) {
        advanceBus(-v.steer, 8e-05f);
        settlePitch();
    }
    if (v.busSpeed > 0 && v.driveDirection == 1 && v.pedalActive == 0) {
        advanceBus(v.steer, -8e-05f);
        settlePitch();
    }
    if (v.busSpeed == 0)
        settlePitch();
}

void engineFreqFromRoadSpeed()
{
    if (vehicle.gear == 0 && !keyState[VK_UP])
        applySpeedBands();
}

void selfCentreSteering()
{
    VehicleState& v = vehicle;
    if (v.steer < 0 && v.steerKeyHeld == 0)
        v.steer += 0.005f;
    if (v.steer > -0.005 && v.steer < 0.005)
        v.steer = 0.0f;
    else if (v.steer > 0 && v.steerKeyHeld == 0)
        v.steer -= 0.005f;
}

void updateSteerLimit()
{
    VehicleState& v = vehicle;
    v.steerLimit = v.busSpeed > 0 ? 10.0f * v.busSpeed : -10.0f * v.busSpeed;
    if (v.steerLimit > 0.4f)
        v.steerLimit = 0.4f;
}

void brake()
{
    if (keyState[VK_UP])
        return;
    VehicleState& v = vehicle;
    if (!keyState[VK_DOWN]) {
        v.brakeLightOn = 0;
        return;
    }
    v.pedalActive = 1;
    v.brakeLightOn = 1;
    if (engine.engineFreq > SIM_ENGINE_IDLE_FREQ) {
        engine.engineFreq -= SIM_ENGINE_FREQ_FALL;
        playSoundEvent(engine.engineFreq, SOUND_IDLE_PITCH);
    }
    const float step = vehicleParams.brakeStep;
    if (v.gear == 0 || v.gear == 1) {
        if (v.busSpeed > 0 && v.driveDirection == 1)
            advanceBus(v.steer, -step);
        if (v.busSpeed < 0 && v.driveDirection == 0)
            advanceBus(v.steer, step);
    }
    if (v.gear == 2) {
        if (v.busSpeed > 0 && v.driveDirection == 1)
            advanceBus(-v.steer, -step);
        if (v.busSpeed < 0) {
            if (v.driveDirection == 0)
                advanceBus(-v.steer, step);
            if (v.busSpeed < 0 && v.pitchSway < SIM_PITCH_SWAY_LIMIT)
                v.pitchSway += SIM_PITCH_SWAY_STEP;
        }
    }
    if (v.busSpeed > -0.01 && v.busSpeed < 0.01)
        v.busSpeed = 0.0f;
    else if (v.busSpeed != 0 && v.pitchSway > -SIM_PITCH_SWAY_LIMIT)
        v.pitchSway -= SIM_PITCH_SWAY_STEP;
}

// The next stop's figures, redrawn on every tick of forward throttle.
static void drawStopFigures()
{
    stops.swayCycleLimit = nextRandom() / 3000;
    stops.passengersToAlight = static_cast<float>(nextRandom() / 1000);
    stops.passengersToBoard = static_cast<float>(nextRandom() / 1000);
}

static void sendEngineFreq()
{
    playSoundEvent(engine.engineFreq, SOUND_IDLE_PITCH);
    playSoundEvent(engine.engineFreq, SOUND_THROTTLE_PITCH);
}

void throttle()
{
    if (engine.throttleLocked != 0)
        return;
    VehicleState& v = vehicle;
    if (!keyState[VK_UP]) {
        engine.engineLoopArmed = 1;
        sndStopChannel(CHANNEL_THROTTLE_ENGINE);
        return;
    }
    if (engine.engineLoopArmed == 1) {
        engine.engineLoopArmed = 0;
        sndPlaySample(CHANNEL_THROTTLE_ENGINE, soundSamples[CHANNEL_THROTTLE_ENGINE]);
    }
    if (v.gear == 0) {
        if (v.busSpeed <= vehicleParams.topSpeed)
            v.busSpeed = v.busSpeed + vehicleParams.accelStep - stops.passengersOnBoard * 2e-06f;
        applySpeedBands();
        sendEngineFreq();
        advanceBus(v.steer, 0.0f);
        v.driveDirection = 1;
        v.pedalActive = 1;
        if (v.pitchSway < SIM_PITCH_SWAY_LIMIT)
            v.pitchSway += SIM_PITCH_SWAY_STEP;
        stops.resumeGear = 0;
        drawStopFigures();
        v.gearText = "przod";
    } else if (v.gear == 1) {
        if (engine.engineFreq < 30000) {
            engine.engineFreq += 300;
            sendEngineFreq();
        }
        settlePitch();
        v.pedalActive = 0;
        v.gearText = "luz";
    } else if (v.gear == 2) {
        if (v.busSpeed > -0.05)
            v.busSpeed -= vehicleParams.accelStep;
        engine.engineFreq = truncToInt(v.busSpeed * -450000.0);
        sendEngineFreq();
        advanceBus(-v.steer, 0.0f);
        v.driveDirection = 0;
        v.pedalActive = 1;
        if (v.pitchSway > -SIM_PITCH_SWAY_LIMIT)
            v.pitchSway -= SIM_PITCH_SWAY_STEP;
        stops.resumeGear = 2;
        v.gearText = "wsteczny";
    }
}

void refreshSpeedAbs()
{
    vehicle.busSpeedAbs = std::fabs(vehicle.busSpeed);
}
