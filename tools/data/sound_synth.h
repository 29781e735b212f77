// Small synthesis kit for the generator's sounds: mono and stereo float buffers, a few filters,
// and the WAV and MP3 writers (libsndfile). Everything is deterministic: no clock, no global
// random state, so the same bytes come out on every run.
#pragma once

#include "tools/data/writers.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr float SYNTH_PI = 3.14159265358979f;
constexpr float SYNTH_TWO_PI = 2.0f * SYNTH_PI;

using Mono = std::vector<float>;

// Interleaved left/right.
struct Stereo {
    std::vector<float> lr;
    explicit Stereo(size_t frames = 0) : lr(frames * 2, 0.0f) {}
    size_t frames() const { return lr.size() / 2; }
    // Adds a value at a frame with a pan in [-1, 1]; wraps round when loop is set.
    void add(int64_t frame, float value, float pan, bool loop);
};

// Adds value at index, wrapping round the buffer's length (for sounds that must loop).
inline void addWrapped(Mono& buffer, int64_t index, float value)
{
    const int64_t n = static_cast<int64_t>(buffer.size());
    buffer[static_cast<size_t>(((index % n) + n) % n)] += value;
}

// One-pole low-pass and high-pass at a cut-off in Hz. With loop set the filter runs round the
// buffer twice so the end flows into the start without a step.
void lowPass(Mono& signal, float cutoffHz, int rate, bool loop);
void highPass(Mono& signal, float cutoffHz, int rate, bool loop);
// Scales so the largest magnitude is peak.
void normalise(Mono& signal, float peak);
void normalise(Stereo& signal, float peak);
// Linear fades at the start and the end, in seconds.
void fadeEnds(Mono& signal, int rate, float fadeIn, float fadeOut);
void fadeEnds(Stereo& signal, int rate, float fadeIn, float fadeOut);
// White noise in [-1, 1].
Mono noise(size_t length, Rng& rng);

// 16-bit PCM WAV files (the ".sfx" samples use the same format).
void writeWavMono(const std::string& path, const Mono& signal, int rate);
void writeWavStereo(const std::string& path, const Stereo& signal, int rate);
// MPEG layer III, written from floats.
void writeMp3Stereo(const std::string& path, const Stereo& signal, int rate);
