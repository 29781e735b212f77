// Helpers for the sound tests: test tones written as WAV files, OpenAL Soft's wave back end
// pointed at a file of the test's own, and measures of what came out (level, one tone's level).
#pragma once

#include "platform/platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace soundtest {

constexpr int OUT_RATE = 44100;

// What sox writes to its standard output; a failure throws.
inline std::string sox(const std::string& arguments)
{
    const CommandResult r = runCommand("sox " + arguments);
    if (r.status != 0)
        throw std::runtime_error("sox failed: " + r.err);
    return r.out;
}

// A 16-bit mono WAV file of a sine; whole cycles per second, so a one-second file loops cleanly.
inline void writeTone(const std::string& path, float hz, float seconds, int rate, float level = 0.5f)
{
    using std::to_string;
    sox("-D -n -r " + to_string(rate) + " -b 16 -c 1 '" + path + "' synth " + to_string(seconds) + " sine " +
        to_string(hz) + " vol " + to_string(level));
}

// Points OpenAL Soft's wave back end at dir/out.wav (before its first call); without a file no device opens.
inline std::string useWaveBackEnd(const std::string& dir, bool withFile = true)
{
    const std::string out = dir + "/out.wav";
    std::string conf = "[general]\ndrivers=wave\nchannels=stereo\nsample-type=int16\nfrequency=44100\n";
    if (withFile)
        conf += "[wave]\nfile=" + out + "\n";
    writeFile(dir + "/alsoft.conf", conf);
    setenv("ALSOFT_CONF", (dir + "/alsoft.conf").c_str(), 1);
    setenv("ALSOFT_LOGLEVEL", "0", 1);
    return out;
}

// An alsoft.conf beside the test program would be read as well and could change the back end.
inline bool configBesideProgram()
{
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
    return fileExists((self.parent_path() / "alsoft.conf").string());
}

// The recorded output as mono samples at 44100 Hz (converted by sox), in [-1, 1].
inline std::vector<float> readOutput(const std::string& wavPath)
{
    const std::string bytes = sox("'" + wavPath + "' -t raw -e signed -b 16 -c 1 -r 44100 -");
    std::vector<float> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) {
        int16_t v;
        std::memcpy(&v, bytes.data() + i * 2, 2);
        out[i] = static_cast<float>(v) / 32768.0f;
    }
    return out;
}

inline size_t frameAt(double seconds) { return seconds <= 0 ? 0 : static_cast<size_t>(seconds * OUT_RATE); }

// Root-mean-square level between two times (seconds into the output).
inline double rms(const std::vector<float>& s, double from, double to)
{
    const size_t a = frameAt(from), b = std::min(frameAt(to), s.size());
    double sum = 0.0;
    for (size_t i = a; i < b; ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return b <= a ? 0.0 : std::sqrt(sum / static_cast<double>(b - a));
}

// Magnitude of one frequency between two times (Goertzel), scaled like an amplitude.
inline double toneLevel(const std::vector<float>& s, double from, double to, double hz)
{
    const size_t a = frameAt(from), b = std::min(frameAt(to), s.size());
    const double c = 2.0 * std::cos(2.0 * M_PI * hz / OUT_RATE);
    double s1 = 0.0, s2 = 0.0;
    for (size_t i = a; i < b; ++i) {
        const double s0 = s[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return b <= a ? 0.0 : 2.0 * std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - c * s1 * s2)) / double(b - a);
}

// Seconds of sound written so far: waits go at the mixer's pace, so a loaded machine only waits longer.
struct OutputClock {
    std::string path;
    double seconds() const
    {
        struct stat st;
        return stat(path.c_str(), &st) == 0 ? static_cast<double>(st.st_size) / (OUT_RATE * 4.0) : 0.0;
    }
    // Until s more seconds have been written; gives up after a generous wall-clock time.
    void wait(double s) const
    {
        const double until = seconds() + s;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::duration<double>(20.0 + 4.0 * s);
        while (seconds() < until && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
};

// What a row of library calls returned, in order (a braced list is evaluated left to right).
inline std::vector<int> returned(std::initializer_list<int> results) { return results; }

// Every stream call on a handle that is no open stream of ours does nothing and says so.
inline void expectStreamCallsRefused(SoundStream* st)
{
    EXPECT_EQ(returned({sndPlayStream(20, st), sndStopStream(st), sndSeekStream(st, 0),
                        sndStreamPosition(st), sndStreamLength(st), sndCloseStream(st)}),
              std::vector<int>(6, 0));
}

} // namespace soundtest
