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
// The player's operations; the keys that call them are read by the simulation (sim/controls.h).
// Key 1: the previous track from its start; before the first comes the last.
void radioPrevious();
// True while the current track is not the first: key 2's press waits until then.
bool radioCanRestart();
// Key 2: the current track from its start.
void radioRestart();
// Key 4: the next track from its start; after the last comes the first.
void radioNext();
// Every tick while the player has the radio on: a track that has reached its end is followed
// by the next one, the first after the last.
void radioFollowOn();
// Stops the current track and the radio with it (key 3, Escape from a run).
void radioStopCurrent();
