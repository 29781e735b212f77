#include "sound/radio.h"

#include "platform/services/dirscan.h"
#include "platform/services/path_resolve.h"
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

// 1 from a track started by the player until the radio is stopped: only then does a finished
// track lead on to the next. Lives for the process; every scan clears it.
uint8_t radioOn = 0;

SoundStream* current()
{
    return soundStreams[radioTrack];
}

void playCurrent()
{
    sndPlayStream(CHANNEL_RADIO, current());
    radioOn = 1;
}

// The tracks go round: after the last comes the first, before the first the last.
int32_t trackAfter(int32_t track)
{
    return track < radioLastTrack ? track + 1 : RADIO_FIRST_TRACK;
}

int32_t trackBefore(int32_t track)
{
    return track > RADIO_FIRST_TRACK ? track - 1 : radioLastTrack;
}

bool haveTracks()
{
    return radioLastTrack >= RADIO_FIRST_TRACK;
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
    radioOn = 0;
    // The folder as an options file from another system may write it (backslashes, letter case).
    char resolved[DATA_PATH_SIZE] = "";
    if (folder)
        resolveDataPath(folder, resolved);
    const std::string base = resolved;
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
    if (!haveTracks())
        return;
    radioTrack = trackBefore(radioTrack);
    sndSeekStream(current(), 0);
    playCurrent();
}

bool radioCanRestart()
{
    return radioTrack >= RADIO_FIRST_TRACK + 1;
}

void radioRestart()
{
    sndSeekStream(current(), 0);
    playCurrent();
}

void radioNext()
{
    if (!haveTracks())
        return;
    radioTrack = trackAfter(radioTrack);
    sndSeekStream(current(), 0);
    playCurrent();
}

void radioFollowOn()
{
    // A finished track is followed by the next, from wherever that one was left; one that was
    // played to its end before (the first after the last, a folder of one) starts from the top.
    radioPosition = sndStreamPosition(current());
    radioLength = sndStreamLength(current());
    if (radioOn == 1 && radioPosition >= radioLength && haveTracks()) {
        radioTrack = trackAfter(radioTrack);
        if (sndStreamPosition(current()) >= sndStreamLength(current()))
            sndSeekStream(current(), 0);
        playCurrent();
    }
}

void radioStopCurrent()
{
    sndStopStream(current());
    radioOn = 0;
}
