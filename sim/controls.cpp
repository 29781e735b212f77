#include "sim/controls.h"

#include "core/game.h"
#include "core/keys.h"
#include "core/options.h"
#include "sim/dynamics.h"
#include "sim/sim_util.h"
#include "sim/state.h"
#include "sound/radio.h"

JoyReading joyInfo;

static const char* const DOOR_CLOSED_TEXT = "zamkniete";

bool togglePressed(uint8_t key, uint8_t& latch)
{
    if (keyState[key] == 0) {
        latch = 0;
        return false;
    }
    if (latch != 0)
        return false;
    latch = 1;
    return true;
}

void readJoystick()
{
    platformReadJoystick(&joyInfo);
}

void resetRunOnEscape()
{
    engine.engineKeyLatch = 1;
    view.viewportCount = 1;
    engine.engineOff = 1;
    engine.throttleLocked = 1;
    vehicle.busSpeed = 0.0f;
    stops.passengersOnBoard = 0.0f;
    stops.passengersAlighted = 0.0f;
    stops.passengersBoarded = 0.0f;
    stops.currentStop = 0;
    gameClock.clockSeconds = 0.0f;
    for (int32_t d = 0; d < DOOR_COUNT; ++d) {
        doors.open[d] = 0;
        doors.text[d] = DOOR_CLOSED_TEXT;
    }
    run.runFinished = 0;
}

void handleToggleKeysAndEscape()
{
    if (togglePressed(VK_KEY_J, latches.latchInfo)) {
        view.helpShown = 0;
        view.infoShown = view.infoShown ? 0 : 1;
    }
    if (togglePressed(VK_KEY_P, latches.latchPause))
        run.paused = run.paused ? 0 : 1;
    if (togglePressed(VK_KEY_R, latches.latchTimetable))
        view.timetableShown = view.timetableShown ? 0 : 1;
    if (togglePressed(VK_KEY_H, latches.latchHelp)) {
        view.infoShown = 0;
        view.helpShown = view.helpShown ? 0 : 1;
    }
    if (keyState[VK_ESCAPE]) {
        if (game.escapeQuits == 1) {
            shutdownApp();
        } else {
            radioStopCurrent();
            resetRunOnEscape();
            game.inGame = 0;
            game.returnToMenu = 1;
        }
    }
}

void steerWithKeys()
{
    VehicleState& v = vehicle;
    if (keyState[VK_LEFT]) {
        v.steer -= 0.01f;
        if (v.steer <= -v.steerLimit)
            v.steer = -v.steerLimit;
        v.steerKeyHeld = 1;
    }
    if (keyState[VK_RIGHT]) {
        v.steer += 0.01f;
        if (v.steer >= v.steerLimit)
            v.steer = v.steerLimit;
        v.steerKeyHeld = 1;
    }
}

void driveWithJoystick()
{
    VehicleState& v = vehicle;
    // Signed offsets from the centre: a reading below 32768 is left or forward.
    const int64_t dx = static_cast<int64_t>(joyInfo.x) - 32768;
    const int64_t dy = static_cast<int64_t>(joyInfo.y) - 32768;
    v.steer = static_cast<float>(static_cast<double>(dx) * 1.2e-05);
    const float stick = static_cast<float>(static_cast<double>(dy) * 1e-08);

    if (v.gear == 0) {
        if (v.busSpeed > 0.03)
            v.busHeading += v.steer;
        else
            v.busHeading = static_cast<float>(v.busHeading + static_cast<double>(v.steer * v.busSpeed) * 1e-07);
        if (stick < 0) {
            if (v.pitchSway < SIM_PITCH_SWAY_LIMIT)
                v.pitchSway += SIM_PITCH_SWAY_STEP;
            v.busSpeed = static_cast<float>(v.busSpeed - static_cast<double>(stick) * 1.5);
            advanceBus(0.0f, 0.0f);
        } else if (v.busSpeed >= 0) {
            if (v.pitchSway > 0)
                v.pitchSway -= SIM_PITCH_SWAY_STEP;
            v.busSpeed -= stick * 4.0f;
            advanceBus(0.0f, 0.0f);
        }
    } else if (v.gear == 1) {
        if (v.busSpeed > 0) {
            advanceBus(v.steer, -8e-05f);
            settlePitch();
        }
        if (v.busSpeed == 0)
            settlePitch();
    }
}

void releaseSteeringKeys()
{
    if (!keyState[VK_LEFT] && !keyState[VK_RIGHT])
        vehicle.steerKeyHeld = 0;
}

void handleGearKeys()
{
    VehicleState& v = vehicle;
    if (keyState[VK_KEY_Q] && v.busSpeed >= 0) {
        v.gear = 0;
        v.gearText = "przod";
        v.reverseLightOn = 0;
    }
    if (keyState[VK_KEY_A]) {
        v.gear = 1;
        v.gearText = "luz";
        v.reverseLightOn = 0;
    }
    if (keyState[VK_KEY_Z] && v.busSpeed <= 0) {
        v.gear = 2;
        v.gearText = "wsteczny";
        v.reverseLightOn = 1;
    }
}

void handleCabSwitches()
{
    if (togglePressed(VK_KEY_X, latches.latchInteriorLighting))
        lights.interiorLighting = lights.interiorLighting ? 0 : 1;
    if (togglePressed(VK_KEY_C, latches.latchHeadlights))
        lights.headlightsOn = lights.headlightsOn ? 0 : 1;
}

namespace {

struct CameraPreset {
    uint8_t key;
    float offsetZ, eyeY, lookZ, eyeX;
    uint8_t atFront;
};

constexpr CameraPreset CAMERA_PRESETS[] = {
    {VK_F1, 5.0f, 1.6f, -40.0f, -0.75f, 1},   // cab
    {VK_F2, -14.0f, 4.0f, -100.0f, 0.0f, 0},  // behind and above the bus
    {VK_F3, 7.0f, 0.5f, -100.0f, 0.0f, 1},    // front bumper
    {VK_F4, 0.0f, 4.0f, -100.0f, 0.0f, 0},    // roof
    {VK_F5, 20.0f, 3.0f, 100.0f, 0.0f, 0},    // in front, looking back
    {VK_F6, 0.0f, 1.7f, -50.0f, -0.9f, 0},    // left side of the middle
};

}  // namespace

void handleCameraKeys()
{
    ViewState& c = view;
    for (const CameraPreset& p : CAMERA_PRESETS) {
        if (!keyState[p.key])
            continue;
        c.cameraOffsetZ = p.offsetZ;
        c.cameraEyeY = p.eyeY;
        c.cameraLookZ = p.lookZ;
        c.cameraEyeX = p.eyeX;
        c.cameraAtFront = p.atFront;
    }
    if (keyState[VK_NUMPAD7])
        c.cameraEyeX -= 0.1f;
    if (keyState[VK_NUMPAD9])
        c.cameraEyeX += 0.1f;
    if (keyState[VK_NUMPAD1])
        c.cameraLookX -= 1.0f;
    if (keyState[VK_NUMPAD3])
        c.cameraLookX += 1.0f;
    if (keyState[VK_NUMPAD8])
        c.cameraOffsetZ += 0.1f;
    if (keyState[VK_NUMPAD2])
        c.cameraOffsetZ -= 0.1f;
    if (keyState[VK_NUMPAD5]) {
        c.cameraLookX = 0.0f;
        const int32_t offset = truncToInt(c.cameraOffsetZ);
        if (offset == 0)
            c.cameraEyeX = -0.9f;
        else if (offset == 5)
            c.cameraEyeX = -0.75f;
        else
            c.cameraEyeX = 0.0f;
    }
}

void handleMirrorKey()
{
    if (togglePressed(VK_KEY_L, latches.latchMirrors))
        view.viewportCount = view.viewportCount >= 3 ? 1 : view.viewportCount + 1;
}

void radioStep()
{
    // Key 1: previous track. The press is used up even when there is no track.
    if (keyState[VK_KEY_1] == 0) {
        latches.latchRadioPrevious = 1;
    } else if (latches.latchRadioPrevious == 1) {
        latches.latchRadioPrevious = 0;
        radioPrevious();
    }
    // Key 2: current track from its start. The press is kept until it can act.
    if (keyState[VK_KEY_2] == 0) {
        latches.latchRadioRestart = 1;
    } else if (latches.latchRadioRestart == 1 && radioCanRestart()) {
        latches.latchRadioRestart = 0;
        radioRestart();
    }
    // Key 3: held, stops the current track in every tick.
    if (keyState[VK_KEY_3] != 0)
        radioStopCurrent();
    // Key 4: next track. The press is used up even when there is no track.
    if (keyState[VK_KEY_4] == 0) {
        latches.latchRadioNext = 1;
    } else if (latches.latchRadioNext == 1) {
        latches.latchRadioNext = 0;
        radioNext();
    }
    radioFollowOn();
}
