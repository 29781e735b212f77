#include "sound/radio.h"

#include "platform/services/dirscan.h"
#include "platform/platform.h"
#include "sound/sound.h"

#include <string>
#include <vector>

int32_t radioTrack = 1;
int32_t radioLastTrack = 0;
int32_t radioPosition = 0;
int32_t radioLength = 0;

namespace {

constexpr int32_t RADIO_LAST_ENTRY = SOUND_STREAM_COUNT - 1;

SoundStream* current()
{
    return soundStreams[radioTrack];
}

// The streams of the previous scan go before a new scan replaces their entries.
void closePreviousScan()
{
    if (radioLastTrack < RADIO_FIRST_TRACK)
        return;
    sndStopChannel(CHANNEL_RADIO);
    for (int32_t i = RADIO_FIRST_TRACK; i <= radioLastTrack && i <= RADIO_LAST_ENTRY; ++i) {
        sndCloseStream(soundStreams[i]);
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
        soundStreams[radioTrack] = sndOpenStream(path.c_str(), SND_ONE_SHOT);
    }
    radioLastTrack = radioTrack;
    radioTrack = RADIO_FIRST_TRACK;
}

void radioPrevious()
{
    if (radioTrack > RADIO_FIRST_TRACK) {
        sndSeekStream(soundStreams[radioTrack - 1], 0);
        radioTrack -= 1;
        sndPlayStream(CHANNEL_RADIO, current());
    }
}

bool radioCanRestart()
{
    return radioTrack >= RADIO_FIRST_TRACK + 1;
}

void radioRestart()
{
    sndSeekStream(current(), 0);
    sndPlayStream(CHANNEL_RADIO, current());
}

void radioNext()
{
    if (radioTrack < radioLastTrack) {
        radioTrack += 1;
        sndSeekStream(current(), 0);
        sndPlayStream(CHANNEL_RADIO, current());
    }
}

void radioFollowOn()
{
    // A finished track is followed by the next, from wherever that one was left.
    radioPosition = sndStreamPosition(current());
    radioLength = sndStreamLength(current());
    if (radioPosition >= radioLength && radioTrack < radioLastTrack && radioTrack >= RADIO_FIRST_TRACK + 1) {
        radioTrack += 1;
        sndPlayStream(CHANNEL_RADIO, current());
    }
}

void radioStopCurrent()
{
    sndStopStream(current());
}
