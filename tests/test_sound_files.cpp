// The generated sounds: the files the game loads, in the format and length it needs, loops that
// join without a click.
#include "tests/support/test_util.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct Wav {
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::vector<int16_t> pcm;  // interleaved
    size_t frames() const { return channels ? pcm.size() / static_cast<size_t>(channels) : 0; }
    double seconds() const { return rate ? static_cast<double>(frames()) / rate : 0.0; }
};

uint32_t le32(const std::string& s, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(s[at + static_cast<size_t>(i)]);
    return v;
}

// A plain RIFF reader: the fmt and data chunks, nothing more.
Wav readWav(const std::string& path)
{
    const std::string s = readFile(path);
    Wav w;
    if (s.size() < 12 || s.compare(0, 4, "RIFF") != 0 || s.compare(8, 4, "WAVE") != 0)
        return w;
    for (size_t at = 12; at + 8 <= s.size();) {
        const std::string id = s.substr(at, 4);
        const uint32_t size = le32(s, at + 4);
        if (at + 8 + size > s.size())
            break;
        if (id == "fmt ") {
            w.channels = static_cast<uint8_t>(s[at + 10]) | (static_cast<uint8_t>(s[at + 11]) << 8);
            w.rate = static_cast<int>(le32(s, at + 12));
            w.bits = static_cast<uint8_t>(s[at + 22]) | (static_cast<uint8_t>(s[at + 23]) << 8);
        } else if (id == "data") {
            w.pcm.resize(size / 2);
            std::memcpy(w.pcm.data(), s.data() + at + 8, w.pcm.size() * 2);
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

std::string sfx(const std::string& name)
{
    return generatedTree() + "/Dane/Dzwiek/Volvo7000/" + name;
}

// The step across the loop's join compared with the largest step inside the sound.
double joinStepRatio(const Wav& w)
{
    int largest = 1;
    for (size_t i = 1; i < w.pcm.size(); ++i)
        largest = std::max(largest, std::abs(w.pcm[i] - w.pcm[i - 1]));
    const int join = std::abs(w.pcm.front() - w.pcm.back());
    return static_cast<double>(join) / largest;
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
        const Wav w = readWav(sfx(e.name));
        ASSERT_FALSE(w.pcm.empty()) << e.name;
        EXPECT_EQ(w.channels, 1) << e.name;
        EXPECT_EQ(w.bits, 16) << e.name;
        EXPECT_GE(w.seconds(), e.minSeconds) << e.name;
        EXPECT_LE(w.seconds(), e.maxSeconds) << e.name;
        int peak = 0;
        for (int16_t v : w.pcm)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_GT(peak, 8000) << e.name << " is too quiet";
        EXPECT_LT(peak, 32000) << e.name << " clips";
        if (e.kind == ONE_SHOT) {
            EXPECT_LT(std::abs(w.pcm.front()), 200) << e.name;
            EXPECT_LT(std::abs(w.pcm.back()), 200) << e.name;
        } else {
            EXPECT_LE(joinStepRatio(w), 1.0) << e.name << ": the join jumps more than any step inside";
        }
        if (e.kind == ENGINE_LOOP) {
            EXPECT_GE(w.rate, 8000) << e.name;
            EXPECT_LE(w.rate, 11025) << e.name;
        }
    }
    const Wav music = readWav(generatedTree() + "/Dane/Menu/muzyka.wav");
    EXPECT_EQ(music.channels, 2);
    EXPECT_GT(music.seconds(), 8.0);
    EXPECT_LT(music.seconds(), 60.0);
    for (int c = 0; c < 2; ++c) {
        Wav one;
        for (size_t i = static_cast<size_t>(c); i < music.pcm.size(); i += 2)
            one.pcm.push_back(music.pcm[i]);
        EXPECT_LE(joinStepRatio(one), 1.0) << "menu music channel " << c;
    }
}

TEST(GeneratedSounds, AtLeastThreeRadioTracksOfTwentyToFortySeconds)
{
    const CommandResult list = runCommand("ls Dane/Radio/*.mp3", generatedTree());
    std::vector<std::string> tracks;
    size_t start = 0;
    for (size_t end; (end = list.out.find('\n', start)) != std::string::npos; start = end + 1)
        tracks.push_back(list.out.substr(start, end - start));
    ASSERT_GE(tracks.size(), 3u);
    for (const std::string& t : tracks) {
        const CommandResult info = runCommand("soxi -D '" + t + "' && soxi -c '" + t + "'", generatedTree());
        ASSERT_EQ(info.status, 0) << t << ": " << info.err;
        const double seconds = std::stod(info.out);
        EXPECT_GE(seconds, 20.0) << t;
        EXPECT_LE(seconds, 40.0) << t;
        EXPECT_EQ(std::stoi(info.out.substr(info.out.find('\n') + 1)), 2) << t;
        const CommandResult level = runCommand("sox '" + t + "' -n stat 2>&1 | grep 'RMS     amplitude'", generatedTree());
        EXPECT_GT(std::stod(level.out.substr(level.out.find(':') + 1)), 0.02) << t << " is silent";
    }
}

} // namespace
