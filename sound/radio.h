// The radio: the MP3 files of the radio folder as streams, played on their own channel.
// Rescanned at every new game.
#pragma once

#include <cstdint>

constexpr int RADIO_FIRST_TRACK = 2;

extern int32_t radioTrack;      // index into soundStreams of the current track
extern int32_t radioLastTrack;  // index of the last track opened
extern int32_t radioPosition;   // current track's position, ms
extern int32_t radioLength;     // current track's length, ms

void scanRadioFolder(const char* folder);
// The radio part of the simulation step: keys 1 to 4 (with their latches) and the automatic
// advance to the next track.
void radioStep();
// Stops the current track (Escape from a run).
void radioStopCurrent();
