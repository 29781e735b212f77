#include "tools/data/sound_synth.h"

#include <algorithm>
#include <cmath>
#include <sndfile.h>
#include <stdexcept>

void Stereo::add(int64_t frame, float value, float pan, bool loop)
{
    const int64_t n = static_cast<int64_t>(frames());
    if (loop)
        frame = ((frame % n) + n) % n;
    else if (frame < 0 || frame >= n)
        return;
    // Constant-power pan.
    const float angle = (pan + 1.0f) * 0.25f * SYNTH_PI;
    lr[static_cast<size_t>(frame) * 2] += value * std::cos(angle);
    lr[static_cast<size_t>(frame) * 2 + 1] += value * std::sin(angle);
}

namespace {

float onePoleCoefficient(float cutoffHz, int rate)
{
    return 1.0f - std::exp(-SYNTH_TWO_PI * cutoffHz / static_cast<float>(rate));
}

} // namespace

void lowPass(Mono& signal, float cutoffHz, int rate, bool loop)
{
    if (signal.empty())
        return;
    const float a = onePoleCoefficient(cutoffHz, rate);
    float state = 0.0f;
    if (loop) {
        for (float x : signal)  // settle on the buffer's own tail first
            state += a * (x - state);
    }
    for (float& x : signal) {
        state += a * (x - state);
        x = state;
    }
}

void highPass(Mono& signal, float cutoffHz, int rate, bool loop)
{
    Mono low = signal;
    lowPass(low, cutoffHz, rate, loop);
    for (size_t i = 0; i < signal.size(); ++i)
        signal[i] -= low[i];
}

void normalise(Mono& signal, float peak)
{
    float largest = 0.0f;
    for (float x : signal)
        largest = std::max(largest, std::fabs(x));
    if (largest <= 0.0f)
        return;
    for (float& x : signal)
        x *= peak / largest;
}

void normalise(Stereo& signal, float peak)
{
    normalise(signal.lr, peak);
}

void fadeEnds(Mono& signal, int rate, float fadeIn, float fadeOut)
{
    const size_t n = signal.size();
    const size_t in = std::min(n, static_cast<size_t>(fadeIn * static_cast<float>(rate)));
    const size_t out = std::min(n, static_cast<size_t>(fadeOut * static_cast<float>(rate)));
    for (size_t i = 0; i < in; ++i)
        signal[i] *= static_cast<float>(i) / static_cast<float>(in);
    for (size_t i = 0; i < out; ++i)
        signal[n - 1 - i] *= static_cast<float>(i) / static_cast<float>(out);
}

void fadeEnds(Stereo& signal, int rate, float fadeIn, float fadeOut)
{
    const size_t n = signal.frames();
    const size_t in = std::min(n, static_cast<size_t>(fadeIn * static_cast<float>(rate)));
    const size_t out = std::min(n, static_cast<size_t>(fadeOut * static_cast<float>(rate)));
    for (size_t i = 0; i < in; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(in);
        signal.lr[i * 2] *= g;
        signal.lr[i * 2 + 1] *= g;
    }
    for (size_t i = 0; i < out; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(out);
        signal.lr[(n - 1 - i) * 2] *= g;
        signal.lr[(n - 1 - i) * 2 + 1] *= g;
    }
}

Mono noise(size_t length, Rng& rng)
{
    Mono out(length);
    for (float& x : out)
        x = rng.range(-1.0f, 1.0f);
    return out;
}

namespace {

void writeFrames(const std::string& path, const std::vector<float>& interleaved, int channels, int rate, int format)
{
    makeDirs(path);
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    std::vector<float> clipped(interleaved.size());
    for (size_t i = 0; i < interleaved.size(); ++i)
        clipped[i] = std::max(-1.0f, std::min(1.0f, interleaved[i]));
    const sf_count_t frames = static_cast<sf_count_t>(clipped.size() / static_cast<size_t>(channels));
    const sf_count_t written = sf_writef_float(file, clipped.data(), frames);
    sf_close(file);
    if (written != frames)
        throw std::runtime_error("short write to " + path);
}

} // namespace

void writeWavMono(const std::string& path, const Mono& signal, int rate)
{
    writeFrames(path, signal, 1, rate, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

void writeWavStereo(const std::string& path, const Stereo& signal, int rate)
{
    writeFrames(path, signal.lr, 2, rate, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
}

void writeMp3Stereo(const std::string& path, const Stereo& signal, int rate)
{
    writeFrames(path, signal.lr, 2, rate, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III);
}
