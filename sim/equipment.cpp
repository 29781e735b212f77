#include "sim/equipment.h"

#include "core/keys.h"
#include "platform/platform.h"
#include "sim/controls.h"
#include "sim/sim_util.h"
#include "sim/state.h"
#include "sound/sound.h"

#include <cmath>

namespace {

const char* const DOOR_OPEN_TEXT = "otwarte";
const char* const DOOR_CLOSED_TEXT = "zamkniete";

void animateDoor(uint8_t open, float& swing, float& slide)
{
    if (open == 1) {
        if (swing <= 90)
            swing += 0.75f;
        if (slide <= 0.3)
            slide += 0.0025f;
    } else {
        if (swing >= 0)
            swing -= 0.75f;
        if (slide >= 0)
            slide -= 0.0025f;
    }
}

// Each door's sounds, entry d for door d+1.
const int DOOR_OPEN_EVENTS[DOOR_COUNT] = {SOUND_DOOR1_OPEN, SOUND_DOOR2_OPEN, SOUND_DOOR3_OPEN};
const int DOOR_CLOSE_EVENTS[DOOR_COUNT] = {SOUND_DOOR1_CLOSE, SOUND_DOOR2_CLOSE, SOUND_DOOR3_CLOSE};

}  // namespace

void animateDoors()
{
    for (int32_t d = 0; d < DOOR_COUNT; ++d)
        animateDoor(doors.open[d], doors.swing[d], doors.slide[d]);
}

void refuel()
{
    const float dx = vehicle.busX - route.fuelPointX;
    const float dz = vehicle.busZ + route.fuelPointZ;
    const float d = std::sqrt(dx * dx + dz * dz);
    if (d < 10 && engine.engineOff == 1 && vehicle.busSpeed == 0 && engine.fuel < vehicleParams.fuelCapacity)
        engine.fuel += 0.03f;
}

void useFuel()
{
    if (engine.engineOff == 0) {
        const int64_t freq = static_cast<int64_t>(engine.engineFreq) + 1;
        engine.fuel = static_cast<float>(engine.fuel - static_cast<double>(freq) * 1e-07);
    }
    if (engine.fuel <= 0) {
        engine.fuel = 0.0f;
        engine.engineOff = 0;
        // As if the driver pressed S: the start/stop sequence below stops the engine.
        keyState[VK_KEY_S] = 1;
    }
}

void handleDoorKeys()
{
    if (vehicle.busSpeed >= -0.0005 && vehicle.busSpeed <= 0.0005) {
        for (int32_t d = 0; d < DOOR_COUNT; ++d) {
            if (keyState[DOOR_OPEN_KEYS[d]] && doors.open[d] == 0) {
                playSoundEvent(engine.engineFreq, DOOR_OPEN_EVENTS[d]);
                doors.open[d] = 1;
                stops.swayCycles = 0;
                stops.swayActive = 1;
                stops.stopService = 1;
                doors.text[d] = DOOR_OPEN_TEXT;
            }
        }
        for (int32_t d = 0; d < DOOR_COUNT; ++d) {
            if (keyState[DOOR_CLOSE_KEYS[d]] && doors.open[d] == 1) {
                playSoundEvent(engine.engineFreq, DOOR_CLOSE_EVENTS[d]);
                if (stops.swayRunning != 0)
                    stops.swayKeepGoing = 0;
                doors.open[d] = 0;
                doors.text[d] = DOOR_CLOSED_TEXT;
            }
        }
    }
    if (stops.stopService == 1)
        vehicle.gear = 1;
}

void handleHornAndSignal()
{
    if (keyState[VK_KEY_K] && latches.hornLatch == 1) {
        latches.hornLatch = 0;
        playSoundEvent(engine.engineFreq, SOUND_HORN);
    } else if (!keyState[VK_KEY_K] && latches.hornLatch == 0) {
        latches.hornLatch = 1;
        sndStopChannel(CHANNEL_HORN);
    }
    if (keyState[VK_SCROLL] && latches.signalLatch == 1) {
        latches.signalLatch = 0;
        playSoundEvent(engine.engineFreq, SOUND_DOOR_WARNING);
    } else if (!keyState[VK_SCROLL] && latches.signalLatch == 0) {
        latches.signalLatch = 1;
        sndStopChannel(CHANNEL_DOOR_WARNING);
    }
}

void handleEngineKey()
{
    EngineState& e = engine;
    const bool sDown = keyState[VK_KEY_S] != 0;
    if (e.engineOff == 1) {
        if (sDown && e.engineKeyLatch == 1) {
            e.starterTicks += 1;
            if (e.starterArmed == 1) {
                playSoundEvent(e.engineFreq, SOUND_ENGINE_START);
                e.starterBusy = 1;
                e.starterArmed = 0;
            }
            // The start sample ended too early: play it again next tick.
            if (!sndChannelPlaying(CHANNEL_ENGINE_START) && e.starterTicks < 33)
                e.starterArmed = 1;
            // The sample ended after more than 33 ticks of S: the engine catches.
            if (!sndChannelPlaying(CHANNEL_ENGINE_START) && e.starterTicks > 33) {
                e.starterTicks = 0;
                e.starterBusy = 0;
                e.engineFreq = SIM_ENGINE_IDLE_FREQ;
                playSoundEvent(e.engineFreq, SOUND_IDLE_START);
                playSoundEvent(SIM_ENGINE_IDLE_FREQ, SOUND_IDLE_PITCH);
                playSoundEvent(SIM_ENGINE_IDLE_FREQ, SOUND_THROTTLE_PITCH);
                e.engineKeyLatch = 0;
            }
        }
        if (e.starterBusy == 0 && !sDown && e.engineKeyLatch == 0) {
            e.engineKeyLatch = 1;
            e.starterArmed = 1;
            e.engineOff = 0;
            e.throttleLocked = 0;
        }
        return;
    }
    if (sDown && e.engineKeyLatch == 1 && e.starterBusy == 0) {
        vehicle.pedalActive = 0;
        e.engineKeyLatch = 0;
        sndStopChannel(CHANNEL_IDLE_ENGINE);
        playSoundEvent(e.engineFreq, SOUND_ENGINE_STOP);
        e.throttleLocked = 1;
    }
    if (!sDown && e.engineKeyLatch == 0) {
        e.engineKeyLatch = 1;
        e.engineOff = 1;
    }
}

// One indicator: blink once a second, cancel when steering against it, clear the other one.
static void blinkIndicator(uint8_t& on, uint8_t& lamp, uint8_t& other, bool otherFirst, bool cancel)
{
    if (on == 0) {
        lamp = 0;
        return;
    }
    if (otherFirst)
        other = 0;
    const int32_t s = wholeSecondNow();
    if (secondPassed(s, lights.indicatorLastSecond)) {
        lights.indicatorLastSecond = s;
        playSoundEvent(engine.engineFreq, SOUND_INDICATOR);
        lamp = lamp ? 0 : 1;
    }
    if (cancel)
        on = 0;
    if (!otherFirst)
        other = 0;
}

void handleIndicators()
{
    LightState& l = lights;
    blinkIndicator(l.rightIndicatorOn, l.rightIndicatorLamp, l.leftIndicatorOn, false, vehicle.steer < 0);
    if (togglePressed(VK_OEM_PERIOD, latches.latchRightIndicator))
        l.rightIndicatorOn = l.rightIndicatorOn ? 0 : 1;
    blinkIndicator(l.leftIndicatorOn, l.leftIndicatorLamp, l.rightIndicatorOn, true, vehicle.steer > 0);
    if (togglePressed(VK_OEM_COMMA, latches.latchLeftIndicator))
        l.leftIndicatorOn = l.leftIndicatorOn ? 0 : 1;
}
