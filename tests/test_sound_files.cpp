// The generated sounds: the files the game loads, in the format and length it needs, loops that
// join without a click.
#include "tests/support/test_util.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct Wav {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> pcm;  // interleaved
    double seconds() const { return channels && rate ? static_cast<double>(pcm.size()) / channels / rate : 0.0; }
};

// A plain RIFF reader: the fmt and data chunks, nothing more.
Wav readWav(const std::string& path)
{
    const std::string s = readFile(path);
    auto le = [&s](size_t at, int bytes) {
        uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i)
            v = (v << 8) | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
        return v;
    };
    Wav w;
    if (s.size() < 12 || s.compare(0, 4, "RIFF") != 0 || s.compare(8, 4, "WAVE") != 0)
        return w;
    for (size_t at = 12; at + 8 <= s.size();) {
        const size_t size = le(at + 4, 4);
        if (at + 8 + size > s.size())
            break;
        if (s.compare(at, 4, "fmt ") == 0) {
            w.channels = static_cast<int>(le(at + 10, 2));
            w.rate = static_cast<int>(le(at + 12, 4));
            w.bits = static_cast<int>(le(at + 22, 2));
        } else if (s.compare(at, 4, "data") == 0) {
            w.pcm.resize(size / 2);
            std::memcpy(w.pcm.data(), s.data() + at + 8, w.pcm.size() * 2);
        }
        at += 8 + size + (size & 1);
    }
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
    struct Expect {
        const char* name;
        double minSeconds, maxSeconds;
        Kind kind;
    };
    const Expect files[] = {
        {"skrzynia_biegow.sfx", 0.5, 3.0, ENGINE_LOOP}, {"silnik.sfx", 0.5, 3.0, ENGINE_LOOP},
        {"drzwi_o.sfx", 0.6, 3.0, ONE_SHOT},            {"drzwi_z.sfx", 0.6, 3.0, ONE_SHOT},
        {"klakson.sfx", 0.2, 2.0, LOOP},                {"silnik_start.sfx", 1.0, 3.0, ONE_SHOT},
        {"silnik_stop.sfx", 0.5, 3.0, ONE_SHOT},        {"kierunkowskaz.sfx", 0.02, 0.3, ONE_SHOT},
        {"sygnal.sfx", 0.5, 4.0, ONE_SHOT},             {"hamulec_powietrze.sfx", 0.3, 2.0, ONE_SHOT},
    };
    for (const Expect& e : files) {
        SCOPED_TRACE(e.name);
        const Wav w = readWav(generatedTree() + "/Dane/Dzwiek/Volvo7000/" + e.name);
        ASSERT_FALSE(w.pcm.empty());
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_GE(w.seconds(), e.minSeconds);
        EXPECT_LE(w.seconds(), e.maxSeconds);
        int peak = 0;
        for (int16_t v : w.pcm)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_LT(peak, 32000) << "clips";
        if (e.kind == ONE_SHOT) {
            EXPECT_LT(std::abs(w.pcm.front()), 200);
            EXPECT_LT(std::abs(w.pcm.back()), 200);
        } else {
            EXPECT_LE(joinStepRatio(w), 1.0) << "the join jumps more than any step inside";
        }
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

TEST(GeneratedSounds, AtLeastThreeRadioTracksOfTwentyToFortySeconds)
{
    const CommandResult list = runCommand("ls Dane/Radio/*.mp3", generatedTree());
    int tracks = 0;
    std::istringstream in(list.out);
    for (std::string t; std::getline(in, t); ++tracks) {
        const CommandResult info = runCommand("soxi -D '" + t + "' && soxi -c '" + t + "'", generatedTree());
        ASSERT_EQ(info.status, 0) << t << ": " << info.err;
        EXPECT_GE(std::stod(info.out), 20.0) << t;
        EXPECT_LE(std::stod(info.out), 40.0) << t;
        EXPECT_EQ(std::stoi(info.out.substr(info.out.find('\n') + 1)), 2) << t;
        const CommandResult level = runCommand("sox '" + t + "' -n stat 2>&1 | grep 'RMS     amplitude'", generatedTree());
        EXPECT_GT(std::stod(level.out.substr(level.out.find(':') + 1)), 0.02) << t << " is silent";
    }
    EXPECT_GE(tracks, 3);
}

} // namespace
