// Inside of the sound library on OpenAL Soft (output, mixing) and libsndfile (reading files).
// Shared by the files of platform/openal/ only; nothing else includes it.
//
// State: one static Library record, live from sndOpenDevice to sndCloseDevice. Samples and streams
// sit in fixed pools of records; a handle is a pointer into its pool and counts only while its
// record is in use, so a stale handle after sndCloseDevice or a free is ignored like a null one.
// Every operation takes the library's lock, because a feeder thread inside the library keeps
// the playing streams' buffer queues filled.
#pragma once

#include "platform/platform.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <sndfile.h>

#include <array>
#include <cstdint>
#include <mutex>

namespace snd {

constexpr int SND_MAX_CHANNELS = 64;   // channel numbers accepted: 0 .. channelCount-1
constexpr int SND_MIN_CHANNELS = 32;
constexpr int SND_SAMPLE_SLOTS = 256;
constexpr int SND_STREAM_SLOTS = 128;
constexpr int SND_STREAM_BUFFERS = 4;
constexpr int SND_STREAM_BUFFER_FRAMES = 4096;
// Lowest playback rate a channel is set to; 0 Hz or less from the caller would freeze or fail.
constexpr int SND_MIN_FREQUENCY = 100;
// Longest sample read into memory (frames); a hostile header cannot make us read for ever.
constexpr int64_t SND_MAX_SAMPLE_FRAMES = 48000LL * 600;

constexpr uint8_t SND_CHANNEL_IDLE = 0;
constexpr uint8_t SND_CHANNEL_SAMPLE = 1;
constexpr uint8_t SND_CHANNEL_STREAM = 2;

} // namespace snd

struct SoundSample {
    uint8_t used;
    uint8_t looping;
    ALuint buffer;
    int32_t rate;       // the file's own sample rate, Hz
    int64_t frames;
};

struct SoundStream {
    uint8_t used;
    uint8_t looping;
    uint8_t playing;     // queued on a channel and fed by the feeder
    uint8_t decodeEnded; // one-shot stream: every frame has been queued
    int32_t channel;     // channel it plays on, -1 when not playing
    SNDFILE* file;
    int32_t rate;
    int32_t channels;    // 1 or 2
    int64_t frames;      // length in frames
    int64_t restFrame;   // where the next play starts while not playing
    int64_t decodeFrame; // next frame the decoder reads
    std::array<ALuint, snd::SND_STREAM_BUFFERS> buffers;
    // Start frames of the buffers now queued on the source, oldest first (mirrors the AL queue).
    std::array<int64_t, snd::SND_STREAM_BUFFERS> queuedStart;
    std::array<ALuint, snd::SND_STREAM_BUFFERS> queuedBuffer;
    int32_t queuedCount;
};

namespace snd {

struct Channel {
    ALuint source;
    uint8_t kind;            // SND_CHANNEL_*
    int32_t rate;            // own rate of what plays there, Hz
    SoundSample* sample;
    SoundStream* stream;
};

struct Library {
    std::mutex lock;
    uint8_t initialised = 0;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    int32_t channelCount = 0;
    std::array<Channel, SND_MAX_CHANNELS> channels{};
    std::array<SoundSample, SND_SAMPLE_SLOTS> samples{};
    std::array<SoundStream, SND_STREAM_SLOTS> streams{};
};

Library& library();

// All helpers below expect the lock held and the library initialised.
Channel* channelAt(int channel);
bool validSample(const SoundSample* sample);
bool validStream(const SoundStream* stream);
// Silences a channel; a stream playing there gives way and keeps its position.
void releaseChannel(int channel);
// Frees every sample and closes every stream (sndCloseDevice).
void releaseAllSamples();
void releaseAllStreams();
// One pass of the feeder over the playing streams.
void feedStreams();
// With VELBRANT_SOUND_TRACE=1 in the environment, each call that plays, stops or retunes is
// printed on stderr (for finding out what a run asked for).
void trace(const char* format, int a, int b = 0);
// A stream stops playing and remembers where it was heard (releaseChannel's stream half).
void streamGiveWay(SoundStream* stream);

} // namespace snd
