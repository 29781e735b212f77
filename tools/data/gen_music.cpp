#include "tools/data/gen_music.h"

#include <array>
#include <cmath>

namespace {

constexpr int MUSIC_REST = -100;

struct Timbre {
    int harmonics;
    uint8_t oddOnly;
    float attack;   // s
    float decay;    // s; 0 = held at full level to the end of the note
    float release;  // s after the note's end
    float vibrato;  // depth as a fraction of the frequency
};

struct TuneSpec {
    int beatFrames;
    int bars;
    int rootMidi;
    uint8_t minor;
    std::array<int, 8> progression;  // chord root degree per bar, repeating every 8 bars
    uint32_t seed;
    Timbre lead;
    uint8_t drums;
    uint8_t loop;
};

constexpr Timbre PLUCK_BASS{4, 0, 0.005f, 0.35f, 0.05f, 0.0f};
constexpr Timbre PLUCK_ARP{5, 0, 0.003f, 0.16f, 0.04f, 0.0f};
constexpr Timbre PAD{2, 0, 0.25f, 0.0f, 0.3f, 0.003f};

float midiHz(int note)
{
    return 440.0f * std::pow(2.0f, static_cast<float>(note - 69) / 12.0f);
}

int degreeNote(const TuneSpec& spec, int degree)
{
    static constexpr int MAJOR[7] = {0, 2, 4, 5, 7, 9, 11};
    static constexpr int MINOR[7] = {0, 2, 3, 5, 7, 8, 10};
    const int octave = degree >= 0 ? degree / 7 : -((-degree + 6) / 7);
    const int step = degree - octave * 7;
    return spec.rootMidi + 12 * octave + (spec.minor ? MINOR[step] : MAJOR[step]);
}

void addNote(Stereo& out, int64_t start, int64_t frames, float hz, const Timbre& t, float amp, float pan, bool loop)
{
    const float rate = static_cast<float>(MUSIC_RATE);
    const int64_t tail = static_cast<int64_t>(t.release * rate);
    const float noteEnd = static_cast<float>(frames) / rate;
    float phase = 0.0f;
    for (int64_t i = 0; i < frames + tail; ++i) {
        const float time = static_cast<float>(i) / rate;
        float env = std::fmin(1.0f, time / t.attack);
        if (t.decay > 0.0f)
            env *= std::exp(-time / t.decay);
        if (time > noteEnd)
            env *= 1.0f - (time - noteEnd) / t.release;
        if (env <= 0.0f)
            continue;
        phase += SYNTH_TWO_PI * hz * (1.0f + t.vibrato * std::sin(SYNTH_TWO_PI * 5.5f * time)) / rate;
        float v = 0.0f;
        for (int h = 1; h <= t.harmonics; ++h) {
            if (t.oddOnly && h % 2 == 0)
                continue;
            if (hz * static_cast<float>(h) > rate * 0.45f)
                break;
            v += std::sin(phase * static_cast<float>(h)) / static_cast<float>(h);
        }
        out.add(start + i, amp * env * v, pan, loop);
    }
}

void addKick(Stereo& out, int64_t start, bool loop)
{
    const float rate = static_cast<float>(MUSIC_RATE);
    float phase = 0.0f;
    for (int64_t i = 0; i < static_cast<int64_t>(0.3f * rate); ++i) {
        const float time = static_cast<float>(i) / rate;
        phase += SYNTH_TWO_PI * (45.0f + 70.0f * std::exp(-time / 0.03f)) / rate;
        out.add(start + i, 0.5f * std::exp(-time / 0.09f) * std::sin(phase), 0.0f, loop);
    }
}

void addNoiseHit(Stereo& out, int64_t start, float tau, float amp, float pan, bool bright, bool loop, Rng& rng)
{
    const float rate = static_cast<float>(MUSIC_RATE);
    float last = 0.0f;
    for (int64_t i = 0; i < static_cast<int64_t>(tau * 6.0f * rate); ++i) {
        const float n = rng.range(-1.0f, 1.0f);
        const float v = bright ? n - last : n;  // a first difference makes it hiss like a hat
        last = n;
        out.add(start + i, amp * std::exp(-static_cast<float>(i) / (tau * rate)) * v, pan, loop);
    }
}

// A melody over the chords: eighth notes walking the scale, chord tones on the beats, some rests.
std::array<int, 8> melodyBar(const TuneSpec& spec, int chordDegree, int& previous, Rng& rng)
{
    std::array<int, 8> bar{};
    for (int e = 0; e < 8; ++e) {
        if (e % 2 == 1 && rng.unit() < 0.35f) {
            bar[e] = MUSIC_REST;
            continue;
        }
        int next;
        if (e % 2 == 0) {
            const int chordTone = chordDegree + 2 * static_cast<int>(rng.next() % 3);
            next = chordTone + 7 * ((previous - chordTone + 3) / 7);  // nearest octave to where we are
        } else {
            next = previous + static_cast<int>(rng.next() % 5) - 2;
        }
        if (next < 5)
            next += 7;
        if (next > 13)
            next -= 7;
        bar[e] = next;
        previous = next;
    }
    (void)spec;
    return bar;
}

Stereo renderTune(const TuneSpec& spec)
{
    const int64_t beat = spec.beatFrames;
    const int64_t barFrames = beat * 4;
    Stereo out(static_cast<size_t>(barFrames * spec.bars));
    const bool loop = spec.loop != 0;
    Rng rng(spec.seed);
    int previous = 7;
    // The melody repeats every 4 bars with a fresh second half, so the tune has a shape.
    std::array<std::array<int, 8>, 8> phrase{};
    for (int b = 0; b < 8; ++b)
        phrase[b] = melodyBar(spec, spec.progression[b], previous, rng);
    for (int bar = 0; bar < spec.bars; ++bar) {
        const int chord = spec.progression[bar % 8];
        const int64_t at = barFrames * bar;
        // Bass on beats 1 and 3, an octave jump before the next bar.
        addNote(out, at, beat, midiHz(degreeNote(spec, chord) - 24), PLUCK_BASS, 0.35f, 0.0f, loop);
        addNote(out, at + 2 * beat, beat, midiHz(degreeNote(spec, chord) - 24), PLUCK_BASS, 0.3f, 0.0f, loop);
        addNote(out, at + 3 * beat + beat / 2, beat / 2, midiHz(degreeNote(spec, chord) - 12), PLUCK_BASS, 0.2f, 0.0f, loop);
        // Pad: the chord held through the bar.
        for (int v = 0; v < 3; ++v)
            addNote(out, at, barFrames, midiHz(degreeNote(spec, chord + 2 * v) - 12), PAD, 0.07f, -0.6f + 0.6f * v, loop);
        // Arpeggio in eighths.
        static constexpr int ARP[8] = {0, 2, 4, 7, 4, 2, 0, 2};
        for (int e = 0; e < 8; ++e)
            addNote(out, at + e * beat / 2, beat / 2, midiHz(degreeNote(spec, chord + ARP[e])), PLUCK_ARP, 0.1f,
                    e % 2 ? 0.5f : -0.5f, loop);
        // Melody.
        const std::array<int, 8>& notes = phrase[(bar % 8 < 4) ? bar % 8 : 4 + bar % 4];
        for (int e = 0; e < 8; ++e) {
            if (notes[e] == MUSIC_REST)
                continue;
            int length = 1;
            while (e + length < 8 && notes[e + length] == MUSIC_REST)
                ++length;
            addNote(out, at + e * beat / 2, length * beat / 2 - beat / 16, midiHz(degreeNote(spec, notes[e])),
                    spec.lead, 0.16f, 0.15f, loop);
        }
        if (spec.drums) {
            for (int b = 0; b < 4; ++b) {
                if (b % 2 == 0)
                    addKick(out, at + b * beat, loop);
                else
                    addNoiseHit(out, at + b * beat, 0.05f, 0.25f, 0.0f, false, loop, rng);
                addNoiseHit(out, at + b * beat + beat / 2, 0.015f, 0.12f, 0.3f, true, loop, rng);
            }
        }
    }
    normalise(out, 0.8f);
    return out;
}

} // namespace

Stereo menuTune()
{
    // 105 beats a minute: 12600 frames a beat, 8 bars, about 18 s.
    TuneSpec spec{12600, 8, 57, 1, {0, 5, 2, 6, 0, 5, 6, 4}, 0x3E7Au, {7, 1, 0.01f, 0.0f, 0.08f, 0.004f}, 1, 1};
    return renderTune(spec);
}

Stereo radioTune(int index)
{
    static const TuneSpec TUNES[RADIO_TUNE_COUNT] = {
        // 120 a minute, 12 bars: 24 s, bright major.
        {11025, 12, 62, 0, {0, 4, 5, 3, 0, 4, 3, 4}, 0xA001u, {6, 0, 0.008f, 0.6f, 0.1f, 0.0f}, 1, 0},
        // 96 a minute, 10 bars: 25 s, minor and slow, no drums.
        {13781, 10, 64, 1, {0, 3, 6, 2, 0, 3, 4, 4}, 0xA002u, {3, 0, 0.05f, 0.0f, 0.2f, 0.006f}, 0, 0},
        // 140 a minute, 14 bars: 24 s.
        {9450, 14, 55, 0, {0, 3, 1, 4, 0, 3, 4, 0}, 0xA003u, {9, 1, 0.005f, 0.3f, 0.06f, 0.002f}, 1, 0},
    };
    const int i = index < 0 ? 0 : (index >= RADIO_TUNE_COUNT ? RADIO_TUNE_COUNT - 1 : index);
    Stereo out = renderTune(TUNES[i]);
    fadeEnds(out, MUSIC_RATE, 0.05f, 1.5f);
    return out;
}

std::string radioTuneFileName(int index)
{
    static const char* NAMES[RADIO_TUNE_COUNT] = {"01_Poranny_kurs.mp3", "02_Deszcz_na_petli.mp3", "03_Nocna_linia.mp3"};
    const int i = index < 0 ? 0 : (index >= RADIO_TUNE_COUNT ? RADIO_TUNE_COUNT - 1 : index);
    return NAMES[i];
}
