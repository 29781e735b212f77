// The generator's music: the menu tune (loops seamlessly) and the radio tracks, made by a small
// sequencer from chord progressions and seeded melodies.
#pragma once

#include "tools/data/sound_synth.h"

#include <string>

constexpr int MUSIC_RATE = 22050;
constexpr int RADIO_TUNE_COUNT = 3;

// One pass of the menu tune; its end runs on into its start.
Stereo menuTune();
// Radio track i (0-based), faded in and out, 20 to 30 seconds long.
Stereo radioTune(int index);
std::string radioTuneFileName(int index);
