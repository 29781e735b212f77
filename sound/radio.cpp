#include "sound/radio.h"

#include "app/app.h"
#include "platform/dirscan.h"
#include "platform/fsound.h"
#include "sim/state.h"
#include "sound/sound.h"

#include <string>
#include <vector>

int32_t radioTrack = 1;
int32_t radioLastTrack = 0;
int32_t radioPosition = 0;
int32_t radioLength = 0;

namespace {

constexpr uint8_t VK_RADIO_PREVIOUS = 0x31;  // key 1
constexpr uint8_t VK_RADIO_RESTART = 0x32;   // key 2
constexpr uint8_t VK_RADIO_STOP = 0x33;      // key 3
constexpr uint8_t VK_RADIO_NEXT = 0x34;      // key 4
constexpr int32_t RADIO_LAST_ENTRY = SOUND_STREAM_COUNT - 1;

FSOUND_STREAM* current()
{
    return soundStreams[radioTrack];
}

// The streams of the previous scan go before a new scan replaces their entries.
void closePreviousScan()
{
    if (radioLastTrack < RADIO_FIRST_TRACK)
        return;
    FSOUND_StopSound(CHANNEL_RADIO);
    for (int32_t i = RADIO_FIRST_TRACK; i <= radioLastTrack && i <= RADIO_LAST_ENTRY; ++i) {
        FSOUND_Stream_Close(soundStreams[i]);
        soundStreams[i] = nullptr;
    }
}

} // namespace

void scanRadioFolder(const char* folder)
{
    closePreviousScan();
    const std::string base = folder ? folder : "";
    radioTrack = RADIO_FIRST_TRACK - 1;
    // Sorted, so the tracks come in the same order on every machine; files past the table's
    // last entry are left out.
    for (const std::string& name : findFilesBySuffix(base, ".mp3")) {
        if (radioTrack >= RADIO_LAST_ENTRY)
            break;
        ++radioTrack;
        const std::string path = base + name;
        // One-shot, so a track can reach its end and the next one follow it.
        soundStreams[radioTrack] = FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_OFF, 0, 0);
    }
    radioLastTrack = radioTrack;
    radioTrack = RADIO_FIRST_TRACK;
}

void radioStep()
{
    // Key 1: previous track from its start. The press is used up even when there is none.
    if (keyState[VK_RADIO_PREVIOUS] == 0) {
        latches.latchRadioPrevious = 1;
    } else if (latches.latchRadioPrevious == 1) {
        latches.latchRadioPrevious = 0;
        if (radioTrack > RADIO_FIRST_TRACK) {
            FSOUND_Stream_SetTime(soundStreams[radioTrack - 1], 0);
            radioTrack -= 1;
            FSOUND_Stream_Play(CHANNEL_RADIO, current());
        }
    }

    // Key 2: current track from its start. The press is kept until it can act.
    if (keyState[VK_RADIO_RESTART] == 0) {
        latches.latchRadioRestart = 1;
    } else if (latches.latchRadioRestart == 1 && radioTrack >= RADIO_FIRST_TRACK + 1) {
        latches.latchRadioRestart = 0;
        FSOUND_Stream_SetTime(current(), 0);
        FSOUND_Stream_Play(CHANNEL_RADIO, current());
    }

    // Key 3: held, stops the current track in every tick.
    if (keyState[VK_RADIO_STOP] != 0)
        FSOUND_Stream_Stop(current());

    // Key 4: next track from its start. The press is used up even at the last track.
    if (keyState[VK_RADIO_NEXT] == 0) {
        latches.latchRadioNext = 1;
    } else if (latches.latchRadioNext == 1) {
        latches.latchRadioNext = 0;
        if (radioTrack < radioLastTrack) {
            radioTrack += 1;
            FSOUND_Stream_SetTime(current(), 0);
            FSOUND_Stream_Play(CHANNEL_RADIO, current());
        }
    }

    // A finished track is followed by the next, from wherever that one was left.
    radioPosition = FSOUND_Stream_GetTime(current());
    radioLength = FSOUND_Stream_GetLengthMs(current());
    if (radioPosition >= radioLength && radioTrack < radioLastTrack && radioTrack >= RADIO_FIRST_TRACK + 1) {
        radioTrack += 1;
        FSOUND_Stream_Play(CHANNEL_RADIO, current());
    }
}

void radioStopCurrent()
{
    FSOUND_Stream_Stop(current());
}
