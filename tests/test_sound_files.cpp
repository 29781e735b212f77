// The generated sounds: in the format and length the game needs, loops that join without a click.
#include "tests/support/test_util.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// A sound as sox reads it: its header's channels, rate, bits and encoding, and the samples interleaved.
struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::string encoding;
    std::vector<int16_t> pcm;
    double seconds() const { return channels && rate ? double(pcm.size()) / channels / rate : 0.0; }
};

Wav readWav(const std::string& path)
{
    Wav w;
    const CommandResult info = runCommand("for o in c r b e; do soxi -$o '" + path + "'; done");
    std::istringstream in(info.out);
    in >> w.channels >> w.rate >> w.bits >> std::ws;
    std::getline(in, w.encoding);
    const std::string raw = runCommand("sox '" + path + "' -t s16 -").out;
    w.pcm.resize(raw.size() / 2);
    std::memcpy(w.pcm.data(), raw.data(), w.pcm.size() * 2);
    return w;
}

// The step across the loop's join compared with the largest step inside the sound; every
// stride-th sample from first, so each channel of a stereo file is judged on its own.
double joinStepRatio(const Wav& w, size_t first = 0, size_t stride = 1)
{
    int largest = 1;
    for (size_t i = first + stride; i < w.pcm.size(); i += stride)
        largest = std::max(largest, std::abs(w.pcm[i] - w.pcm[i - stride]));
    return static_cast<double>(std::abs(w.pcm[first] - w.pcm[w.pcm.size() - stride + first])) / largest;
}

// Loops must join without a click; one-shots start and end quietly; the engine loops are
// authored at a low rate, so the game's frequencies (4000 to 30000 Hz) play them at sensible pitches.
TEST(GeneratedSounds, EverySampleIsAMonoSixteenBitWavOfSensibleLengthAndShape)
{
    enum Kind { LOOP, ONE_SHOT, ENGINE_LOOP };
    const struct { const char* name; double minSeconds, maxSeconds; Kind kind; } files[] = {
        {"skrzynia_biegow.sfx", 0.5, 3.0, ENGINE_LOOP}, {"silnik.sfx", 0.5, 3.0, ENGINE_LOOP},
        {"drzwi_o.sfx", 0.6, 3.0, ONE_SHOT},            {"drzwi_z.sfx", 0.6, 3.0, ONE_SHOT},
        {"klakson.sfx", 0.2, 2.0, LOOP},                {"silnik_start.sfx", 1.0, 3.0, ONE_SHOT},
        {"silnik_stop.sfx", 0.5, 3.0, ONE_SHOT},        {"kierunkowskaz.sfx", 0.02, 0.3, ONE_SHOT},
        {"sygnal.sfx", 0.5, 4.0, ONE_SHOT},             {"hamulec_powietrze.sfx", 0.3, 2.0, ONE_SHOT},
    };
    for (const auto& e : files) {
        SCOPED_TRACE(e.name);
        const Wav w = readWav(generatedTree() + "/Dane/Dzwiek/Volvo7000/" + e.name);
        ASSERT_FALSE(w.pcm.empty());
        EXPECT_EQ(std::make_tuple(w.channels, w.bits, w.encoding),
                  std::make_tuple(1, 16, "Signed Integer PCM"));
        EXPECT_GE(w.seconds(), e.minSeconds);
        EXPECT_LE(w.seconds(), e.maxSeconds);
        int peak = 0;
        for (int16_t v : w.pcm)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_LT(peak, 32000) << "clipping";
        EXPECT_TRUE(e.kind == ONE_SHOT ? std::abs(w.pcm.front()) + std::abs(w.pcm.back()) < 200
                                       : joinStepRatio(w) <= 1.0) << "a click at the ends or the join";
        if (e.kind == ENGINE_LOOP) {
            EXPECT_GE(w.rate, 8000);
            EXPECT_LE(w.rate, 11025);
        }
    }
    const Wav music = readWav(generatedTree() + "/Dane/Menu/muzyka.wav");
    ASSERT_EQ(music.channels, 2);
    EXPECT_GT(music.seconds(), 8.0);
    EXPECT_LT(music.seconds(), 60.0);
    for (size_t c = 0; c < 2; ++c)
        EXPECT_LE(joinStepRatio(music, c, 2), 1.0) << "menu music channel " << c;
}

} // namespace
