// The bus's sound effects (".sfx" files, WAV inside), the menu music and the radio tracks.
// The two engine loops are authored at a low rate (8000 Hz) because the game plays them back at
// 4000 Hz (idle) to about 30000 Hz (full revs): 4000 Hz is then half speed, a slow idle beat.
#include "tools/data/gen.h"
#include "tools/data/gen_music.h"
#include "tools/data/sound_synth.h"

#include <cmath>

namespace {

constexpr int SFX_ENGINE_RATE = 8000;
constexpr int SFX_ENGINE_PERIOD = 128;  // samples between firings at the authored rate (62.5 Hz)
constexpr int SFX_ENGINE_FIRINGS = 64;  // loop length 8192 samples, about 1 s
constexpr int SFX_RATE = 22050;
constexpr int SFX_STARTER_RATE = 11025;

// A damped sine starting at a sample; wraps round for loops, is cut at the end otherwise.
void addPing(Mono& out, int64_t start, float freqHz, float tauS, float amp, int rate, bool loop)
{
    const int64_t length = static_cast<int64_t>(tauS * 7.0f * static_cast<float>(rate));
    const float step = SYNTH_TWO_PI * freqHz / static_cast<float>(rate);
    const float decay = std::exp(-1.0f / (tauS * static_cast<float>(rate)));
    float env = amp;
    for (int64_t i = 0; i < length; ++i, env *= decay) {
        const float v = env * std::sin(step * static_cast<float>(i));
        if (loop)
            addWrapped(out, start + i, v);
        else if (start + i >= 0 && start + i < static_cast<int64_t>(out.size()))
            out[static_cast<size_t>(start + i)] += v;
    }
}

// A decaying burst of noise.
void addBurst(Mono& out, int64_t start, float tauS, float amp, int rate, bool loop, Rng& rng)
{
    const int64_t length = static_cast<int64_t>(tauS * 6.0f * static_cast<float>(rate));
    const float decay = std::exp(-1.0f / (tauS * static_cast<float>(rate)));
    float env = amp;
    for (int64_t i = 0; i < length; ++i, env *= decay) {
        const float v = env * rng.range(-1.0f, 1.0f);
        if (loop)
            addWrapped(out, start + i, v);
        else if (start + i >= 0 && start + i < static_cast<int64_t>(out.size()))
            out[static_cast<size_t>(start + i)] += v;
    }
}

struct EngineVoice {
    float resonance[3];  // Hz at the authored rate
    float tau;           // decay of one firing, s
    float noiseAmount;
    float rumble;        // half-firing-rate sub tone
    float whine;         // gear or turbo whine amplitude
    int whineHarmonic;   // whine frequency in multiples of the firing rate
    float cutoff;        // final low-pass, Hz
    uint32_t seed;
};

// A six-cylinder diesel beat that loops without a click: every firing and every tone is laid
// round the loop, so the end runs on into the start.
Mono engineLoop(const EngineVoice& voice)
{
    const int rate = SFX_ENGINE_RATE;
    Mono out(static_cast<size_t>(SFX_ENGINE_PERIOD * SFX_ENGINE_FIRINGS), 0.0f);
    Rng rng(voice.seed);
    const float cylinder[6] = {1.0f, 0.86f, 0.97f, 0.9f, 1.06f, 0.82f};
    for (int k = 0; k < SFX_ENGINE_FIRINGS; ++k) {
        const int64_t start = static_cast<int64_t>(k) * SFX_ENGINE_PERIOD + static_cast<int64_t>(rng.range(0.0f, 3.0f));
        const float amp = cylinder[k % 6] * rng.range(0.85f, 1.15f);
        addPing(out, start, voice.resonance[0], voice.tau * 1.6f, amp * 0.9f, rate, true);
        addPing(out, start, voice.resonance[1], voice.tau, amp * 0.55f, rate, true);
        addPing(out, start, voice.resonance[2], voice.tau * 0.6f, amp * 0.3f, rate, true);
        addBurst(out, start, voice.tau * 0.8f, amp * voice.noiseAmount, rate, true, rng);
    }
    const float firingHz = static_cast<float>(rate) / SFX_ENGINE_PERIOD;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(rate);
        out[i] += voice.rumble * std::sin(SYNTH_TWO_PI * firingHz * 0.5f * t);
        out[i] += voice.whine * std::sin(SYNTH_TWO_PI * firingHz * static_cast<float>(voice.whineHarmonic) * t);
    }
    lowPass(out, voice.cutoff, rate, true);
    highPass(out, 20.0f, rate, true);
    normalise(out, 0.45f);
    return out;
}

Mono idleLoop()
{
    return engineLoop({{140.0f, 330.0f, 760.0f}, 0.009f, 0.35f, 0.25f, 0.04f, 11, 1800.0f, 0x1D1Eu});
}

Mono throttleLoop()
{
    return engineLoop({{190.0f, 520.0f, 1250.0f}, 0.006f, 0.7f, 0.15f, 0.08f, 29, 2800.0f, 0x7407u});
}

// Pneumatic door: a valve hiss, the leaves sliding, a clunk at the end of travel.
Mono doorSound(bool opening)
{
    const int rate = SFX_RATE;
    const float length = opening ? 1.3f : 1.2f;
    Mono out(static_cast<size_t>(length * rate), 0.0f);
    Rng rng(opening ? 0xD0u : 0xD1u);
    Mono hiss = noise(out.size(), rng);
    highPass(hiss, 2500.0f, rate, false);
    Mono slide = noise(out.size(), rng);
    lowPass(slide, 220.0f, rate, false);
    const float hissEnd = opening ? 0.9f : 0.45f;
    const float clunkAt = opening ? 1.05f : 0.95f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        const float attack = std::fmin(1.0f, t / 0.012f);
        const float hissEnv = t < hissEnd ? attack * std::exp(-t * (opening ? 2.2f : 4.0f)) : 0.0f;
        const float slideEnv = (t > 0.08f && t < clunkAt) ? std::sin(SYNTH_PI * (t - 0.08f) / (clunkAt - 0.08f)) : 0.0f;
        out[i] += 0.5f * hissEnv * hiss[i] + 0.9f * slideEnv * slide[i];
    }
    const int64_t clunk = static_cast<int64_t>(clunkAt * rate);
    addPing(out, clunk, opening ? 95.0f : 72.0f, 0.045f, 0.8f, rate, false);
    addPing(out, clunk, opening ? 170.0f : 130.0f, 0.03f, 0.5f, rate, false);
    addBurst(out, clunk, 0.006f, 0.5f, rate, false, rng);
    if (!opening)
        addPing(out, clunk + rate / 50, 58.0f, 0.06f, 0.5f, rate, false);
    fadeEnds(out, rate, 0.002f, 0.05f);
    normalise(out, 0.6f);
    return out;
}

// Twin-tone horn, looping while the key is held; both tones have a whole number of cycles in
// the loop so it joins without a click.
Mono hornLoop()
{
    const int rate = SFX_RATE;
    Mono out(static_cast<size_t>(rate / 2), 0.0f);  // 0.5 s
    const float tones[2] = {370.0f, 466.0f};
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        float v = 0.0f;
        for (float f : tones) {
            for (int h = 1; h <= 9 && f * h < 6000.0f; ++h)
                v += std::sin(SYNTH_TWO_PI * f * h * t) / static_cast<float>(h);
        }
        out[i] = std::tanh(0.9f * v);
    }
    lowPass(out, 4000.0f, rate, true);
    normalise(out, 0.5f);
    return out;
}

// Starter motor cranking the engine until it catches (about 1.5 s; the game waits for it).
Mono engineStart()
{
    const int rate = SFX_STARTER_RATE;
    const float length = 1.5f;
    Mono out(static_cast<size_t>(length * rate), 0.0f);
    Rng rng(0x57A7u);
    float phase = 0.0f, crank = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        phase += SYNTH_TWO_PI * (150.0f + 30.0f * t) / rate;
        crank += SYNTH_TWO_PI * (6.0f + 4.0f * t) / rate;
        float whine = 0.0f;
        for (int h = 1; h <= 6; ++h)
            whine += std::sin(phase * h) / static_cast<float>(h);
        const float env = std::fmin(1.0f, t / 0.03f) * (t < 1.1f ? 1.0f : std::exp(-(t - 1.1f) * 9.0f));
        out[i] = 0.22f * env * whine * (0.55f + 0.45f * std::sin(crank));
    }
    // The engine catches: firings come faster and settle towards idle.
    float at = 0.95f, gap = 0.07f, amp = 0.4f;
    while (at < length - 0.05f) {
        const int64_t start = static_cast<int64_t>(at * rate);
        addPing(out, start, 120.0f, 0.018f, amp, rate, false);
        addPing(out, start, 310.0f, 0.01f, amp * 0.6f, rate, false);
        addBurst(out, start, 0.008f, amp * 0.4f, rate, false, rng);
        at += gap;
        gap = std::fmax(0.032f, gap * 0.85f);
        amp = std::fmin(0.9f, amp * 1.12f);
    }
    lowPass(out, 3000.0f, rate, false);
    fadeEnds(out, rate, 0.003f, 0.2f);
    normalise(out, 0.6f);
    return out;
}

// The engine running down: firings slow and fade, a last shudder.
Mono engineStop()
{
    const int rate = SFX_STARTER_RATE;
    const float length = 1.6f;
    Mono out(static_cast<size_t>(length * rate), 0.0f);
    Rng rng(0x5709u);
    float at = 0.0f, gap = 0.032f, amp = 0.8f;
    while (at < 1.3f) {
        const int64_t start = static_cast<int64_t>(at * rate);
        addPing(out, start, 120.0f, 0.02f, amp, rate, false);
        addPing(out, start, 300.0f, 0.012f, amp * 0.5f, rate, false);
        addBurst(out, start, 0.01f, amp * 0.3f, rate, false, rng);
        at += gap;
        gap *= 1.09f;
        amp *= 0.93f;
    }
    addPing(out, static_cast<int64_t>(1.32f * rate), 42.0f, 0.08f, 0.6f, rate, false);
    lowPass(out, 2500.0f, rate, false);
    fadeEnds(out, rate, 0.002f, 0.15f);
    normalise(out, 0.6f);
    return out;
}

// The indicator relay's tick.
Mono indicatorTick()
{
    const int rate = SFX_RATE;
    Mono out(static_cast<size_t>(0.08f * rate), 0.0f);
    Rng rng(0x71C4u);
    addBurst(out, 0, 0.0015f, 0.6f, rate, false, rng);
    addPing(out, 0, 2400.0f, 0.006f, 0.7f, rate, false);
    addPing(out, 0, 1100.0f, 0.01f, 0.5f, rate, false);
    fadeEnds(out, rate, 0.0005f, 0.01f);
    normalise(out, 0.5f);
    return out;
}

// Door-closing warning: a two-note chime, three times.
Mono doorWarning()
{
    const int rate = SFX_RATE;
    Mono out(static_cast<size_t>(1.8f * rate), 0.0f);
    const float notes[2] = {880.0f, 698.5f};
    for (int k = 0; k < 6; ++k) {
        const int64_t start = static_cast<int64_t>(k * 0.3f * rate);
        const float f = notes[k % 2];
        addPing(out, start, f, 0.12f, 0.6f, rate, false);
        addPing(out, start, f * 2.0f, 0.05f, 0.2f, rate, false);
        addPing(out, start, f * 3.0f, 0.03f, 0.08f, rate, false);
    }
    fadeEnds(out, rate, 0.002f, 0.05f);
    normalise(out, 0.5f);
    return out;
}

// Air let out of the brakes.
Mono airBrake()
{
    const int rate = SFX_RATE;
    Mono out(static_cast<size_t>(0.9f * rate), 0.0f);
    Rng rng(0xB4A4u);
    Mono hiss = noise(out.size(), rng);
    highPass(hiss, 1800.0f, rate, false);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        out[i] = hiss[i] * std::fmin(1.0f, t / 0.005f) * std::exp(-t / 0.25f);
    }
    fadeEnds(out, rate, 0.0f, 0.05f);
    normalise(out, 0.6f);
    return out;
}

} // namespace

void genSounds(const std::string& dir)
{
    const std::string folder = dir + "/Dane/Dzwiek/Volvo7000/";
    writeWavMono(folder + "skrzynia_biegow.sfx", idleLoop(), SFX_ENGINE_RATE);
    writeWavMono(folder + "silnik.sfx", throttleLoop(), SFX_ENGINE_RATE);
    writeWavMono(folder + "drzwi_o.sfx", doorSound(true), SFX_RATE);
    writeWavMono(folder + "drzwi_z.sfx", doorSound(false), SFX_RATE);
    writeWavMono(folder + "klakson.sfx", hornLoop(), SFX_RATE);
    writeWavMono(folder + "silnik_start.sfx", engineStart(), SFX_STARTER_RATE);
    writeWavMono(folder + "silnik_stop.sfx", engineStop(), SFX_STARTER_RATE);
    writeWavMono(folder + "kierunkowskaz.sfx", indicatorTick(), SFX_RATE);
    writeWavMono(folder + "sygnal.sfx", doorWarning(), SFX_RATE);
    writeWavMono(folder + "hamulec_powietrze.sfx", airBrake(), SFX_RATE);
    writeWavStereo(dir + "/Dane/Menu/muzyka.wav", menuTune(), MUSIC_RATE);
}

void genRadio(const std::string& dir)
{
    for (int i = 0; i < RADIO_TUNE_COUNT; ++i)
        writeMp3Stereo(dir + "/Dane/Radio/" + radioTuneFileName(i), radioTune(i), MUSIC_RATE);
}
