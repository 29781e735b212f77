// Sound set-up and the vehicle's sound effects: samples on fixed channels, the menu music stream.
// Samples and the menu stream live from initSound (window creation) to shutdownSound.
#pragma once

#include <cstdint>

struct SoundSample;
struct SoundStream;

// The device is opened mixing at this rate with this many channels (the fixed ones below fit).
constexpr int SOUND_MIX_RATE = 44100;
constexpr int SOUND_CHANNEL_COUNT = 32;

// Sound events of playSoundEvent.
constexpr int SOUND_IDLE_PITCH = 0;
constexpr int SOUND_DOOR1_OPEN = 1;
constexpr int SOUND_DOOR1_CLOSE = 2;
constexpr int SOUND_HORN = 3;
constexpr int SOUND_ENGINE_START = 4;
constexpr int SOUND_ENGINE_STOP = 5;
constexpr int SOUND_INDICATOR = 6;
constexpr int SOUND_DOOR_WARNING = 7;
constexpr int SOUND_DOOR2_OPEN = 8;
constexpr int SOUND_DOOR2_CLOSE = 9;
constexpr int SOUND_DOOR3_OPEN = 10;
constexpr int SOUND_DOOR3_CLOSE = 11;
constexpr int SOUND_AIR_BRAKE = 12;
constexpr int SOUND_THROTTLE_PITCH = 13;
constexpr int SOUND_IDLE_START = 99;

// Channels: 0..13 the samples of the same index; the menu music and the radio.
constexpr int CHANNEL_IDLE_ENGINE = 0;
constexpr int CHANNEL_HORN = 3;
constexpr int CHANNEL_ENGINE_START = 4;
constexpr int CHANNEL_DOOR_WARNING = 7;
constexpr int CHANNEL_THROTTLE_ENGINE = 13;
constexpr int CHANNEL_MENU_MUSIC = 20;
constexpr int CHANNEL_RADIO = 21;

constexpr int SOUND_SAMPLE_COUNT = 14;
constexpr int SOUND_STREAM_COUNT = 102;
constexpr int STREAM_MENU_MUSIC = 0;

extern SoundSample* soundSamples[SOUND_SAMPLE_COUNT];
// Entry 0 the menu music, entry 1 unused, entries 2.. the radio tracks.
extern SoundStream* soundStreams[SOUND_STREAM_COUNT];

void initSound();
// value is a frequency in Hz for events 0 and 13 and ignored by the others; unknown events do nothing.
void playSoundEvent(int value, int event);
void shutdownSound();
