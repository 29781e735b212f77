// The sound library on OpenAL Soft, heard through the wave back end: what plays on a channel,
// what replaces it, how the frequency moves it, streams' times and loops, hostile handles.
#include "platform/openal/internal.h"
#include "platform/platform.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace soundtest;

namespace {

struct Folder {
    TempDir dir;
    std::string output;
    Folder() { output = useWaveBackEnd(dir.path); }
};

Folder& folder()
{
    static Folder f;  // one configuration per process: OpenAL reads it once
    return f;
}

class SoundLibrary : public ::testing::Test {
protected:
    OutputClock clock;
    void SetUp() override
    {
        ASSERT_FALSE(configBesideProgram()) << "an alsoft.conf beside the test program would change the back end";
        clock.path = folder().output;
        ASSERT_NE(FSOUND_Init(44100, 32, 2), 0);
    }
    void TearDown() override { FSOUND_Close(); }
    // Closes the device (which completes the file) and reads what was heard.
    std::vector<float> heard()
    {
        FSOUND_Close();
        return readOutput(folder().output);
    }
    std::string toneFile(const std::string& name, float hz, float seconds, int rate, float level = 0.5f)
    {
        const std::string path = folder().dir.file(name);
        writeWav(path, tone(hz, seconds, rate, level), rate);
        return path;
    }
};

TEST_F(SoundLibrary, ASampleIsHeardAfterItPlaysAndNotBefore)
{
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("a.wav", 440, 0.5f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    ASSERT_NE(s, nullptr);
    clock.wait(0.6);
    const double playedAt = clock.seconds();
    FSOUND_PlaySound(3, s);
    clock.wait(0.8);
    const std::vector<float> out = heard();
    EXPECT_LT(rms(out, 0.1, playedAt - 0.1), 0.002);
    EXPECT_GT(toneLevel(out, playedAt + 0.15, playedAt + 0.4, 440), 0.1);
    EXPECT_LT(rms(out, playedAt + 0.65, playedAt + 0.75), 0.002) << "a one-shot sample ends by itself";
}

TEST_F(SoundLibrary, ANewSampleOnAChannelReplacesTheOldOne)
{
    FSOUND_SAMPLE* low = FSOUND_Sample_Load(FSOUND_FREE, toneFile("low.wav", 440, 1.0f, 22050).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    FSOUND_SAMPLE* high = FSOUND_Sample_Load(FSOUND_FREE, toneFile("high.wav", 1000, 0.3f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_PlaySound(5, low);
    clock.wait(0.5);
    const double replacedAt = clock.seconds();
    FSOUND_PlaySound(5, high);
    clock.wait(0.8);
    const std::vector<float> out = heard();
    EXPECT_GT(toneLevel(out, replacedAt - 0.35, replacedAt - 0.1, 440), 0.1);
    EXPECT_GT(toneLevel(out, replacedAt + 0.1, replacedAt + 0.25, 1000), 0.1);
    EXPECT_LT(toneLevel(out, replacedAt + 0.1, replacedAt + 0.25, 440), 0.01) << "the looping tone went on";
    EXPECT_LT(rms(out, replacedAt + 0.45, replacedAt + 0.7), 0.002);
}

TEST_F(SoundLibrary, SetFrequencyMovesThePitchByTheRatioToTheSamplesOwnRate)
{
    // 500 Hz at 8000 Hz: played at 12000 Hz it sounds at 750 Hz, at 4000 Hz at 250 Hz.
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("e.wav", 500, 1.0f, 8000).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    FSOUND_PlaySound(0, s);
    clock.wait(0.5);
    const double t1 = clock.seconds();
    FSOUND_SetFrequency(0, 12000);
    clock.wait(0.5);
    const double t2 = clock.seconds();
    FSOUND_SetFrequency(0, 4000);
    clock.wait(0.5);
    const std::vector<float> out = heard();
    EXPECT_NEAR(dominantHz(out, t1 - 0.35, t1 - 0.05, 100, 1500), 500, 6);
    EXPECT_NEAR(dominantHz(out, t1 + 0.15, t2 - 0.05, 100, 1500), 750, 6);
    EXPECT_NEAR(dominantHz(out, t2 + 0.15, t2 + 0.45, 100, 1500), 250, 6);
}

TEST_F(SoundLibrary, IsPlayingFollowsAOneShotSampleAndStopSound)
{
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("s.wav", 300, 0.3f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    EXPECT_EQ(FSOUND_IsPlaying(4), 0);
    FSOUND_PlaySound(4, s);
    EXPECT_EQ(FSOUND_IsPlaying(4), 1);
    clock.wait(0.6);
    EXPECT_EQ(FSOUND_IsPlaying(4), 0);
    FSOUND_PlaySound(4, s);
    FSOUND_StopSound(4);
    EXPECT_EQ(FSOUND_IsPlaying(4), 0);
}

TEST_F(SoundLibrary, StopSoundSilencesALoop)
{
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("l.wav", 440, 1.0f, 22050).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    FSOUND_PlaySound(3, s);
    clock.wait(1.4);  // past the file's length: it loops
    EXPECT_EQ(FSOUND_IsPlaying(3), 1);
    const double stoppedAt = clock.seconds();
    FSOUND_StopSound(3);
    clock.wait(0.4);
    const std::vector<float> out = heard();
    EXPECT_GT(toneLevel(out, stoppedAt - 0.4, stoppedAt - 0.1, 440), 0.1);
    EXPECT_LT(rms(out, stoppedAt + 0.1, stoppedAt + 0.35), 0.002);
}

TEST_F(SoundLibrary, StreamTimeAndLengthAreInMilliseconds)
{
    FSOUND_STREAM* st = FSOUND_Stream_Open(toneFile("st.wav", 440, 2.0f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(st), 2000);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), 0);
    FSOUND_Stream_Play(21, st);
    clock.wait(0.5);
    const int playing = FSOUND_Stream_GetTime(st);
    EXPECT_GT(playing, 300);
    EXPECT_LT(playing, 800);
    EXPECT_EQ(FSOUND_Stream_SetTime(st, 0), 1) << "a jump while playing";
    EXPECT_LT(FSOUND_Stream_GetTime(st), 150);
    FSOUND_Stream_Stop(st);
    const int stopped = FSOUND_Stream_GetTime(st);
    clock.wait(0.2);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), stopped) << "a stopped stream keeps its place";
    EXPECT_EQ(FSOUND_Stream_SetTime(st, 1700), 1);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), 1700);
    FSOUND_Stream_Play(21, st);
    clock.wait(0.7);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), 2000) << "a finished one-shot stream stands at its length";
    EXPECT_EQ(FSOUND_IsPlaying(21), 0);
}

TEST_F(SoundLibrary, ALoopingStreamGoesRoundPastItsEnd)
{
    FSOUND_STREAM* st = FSOUND_Stream_Open(toneFile("loop.wav", 500, 0.5f, 22050).c_str(), FSOUND_LOOP_NORMAL, 0, 0);
    const double at = clock.seconds();
    FSOUND_Stream_Play(20, st);
    clock.wait(1.3);
    EXPECT_EQ(FSOUND_IsPlaying(20), 1);
    const int time = FSOUND_Stream_GetTime(st);
    EXPECT_GE(time, 0);
    EXPECT_LT(time, 500);
    const std::vector<float> out = heard();
    for (double t = at + 0.1; t < at + 1.2; t += 0.1)
        EXPECT_GT(toneLevel(out, t, t + 0.1, 500), 0.1) << "silent at " << t - at << " s";
}

TEST_F(SoundLibrary, AStarvedStreamPlaysOnOnceFedAgain)
{
    FSOUND_STREAM* st = FSOUND_Stream_Open(toneFile("long.wav", 700, 4.0f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_Stream_Play(20, st);
    clock.wait(0.2);
    {
        std::lock_guard<std::mutex> starve(fsnd::library().lock);  // the feeder cannot refill
        clock.wait(1.3);  // past the queue's four buffers of 4096 frames (0.74 s)
    }
    const double fedAt = clock.seconds();
    clock.wait(0.6);
    EXPECT_EQ(FSOUND_IsPlaying(20), 1);
    const std::vector<float> out = heard();
    EXPECT_LT(rms(out, fedAt - 0.35, fedAt - 0.1), 0.002) << "the queue ran dry";
    EXPECT_GT(toneLevel(out, fedAt + 0.2, fedAt + 0.5, 700), 0.1) << "and the stream went on";
}

TEST_F(SoundLibrary, AStreamPlayedOnABusyChannelMakesTheOtherGiveWay)
{
    FSOUND_STREAM* a = FSOUND_Stream_Open(toneFile("a.wav", 440, 3.0f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_STREAM* b = FSOUND_Stream_Open(toneFile("b.wav", 1000, 3.0f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_Stream_Play(21, a);
    clock.wait(0.4);
    const double at = clock.seconds();
    FSOUND_Stream_Play(21, b);
    const int aTime = FSOUND_Stream_GetTime(a);
    clock.wait(0.5);
    EXPECT_EQ(FSOUND_Stream_GetTime(a), aTime);
    EXPECT_GT(FSOUND_Stream_GetTime(b), 300);
    const std::vector<float> out = heard();
    EXPECT_GT(toneLevel(out, at + 0.15, at + 0.45, 1000), 0.1);
    EXPECT_LT(toneLevel(out, at + 0.15, at + 0.45, 440), 0.01);
}

TEST_F(SoundLibrary, ASampleOnAStreamsChannelStopsTheStream)
{
    FSOUND_STREAM* st = FSOUND_Stream_Open(toneFile("st.wav", 440, 3.0f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("s.wav", 1000, 0.2f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_Stream_Play(21, st);
    clock.wait(0.2);
    FSOUND_PlaySound(21, s);
    const int t = FSOUND_Stream_GetTime(st);
    clock.wait(0.3);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), t);
}

TEST_F(SoundLibrary, NullAndStaleHandlesDoNothing)
{
    EXPECT_EQ(FSOUND_PlaySound(0, nullptr), 0);
    EXPECT_EQ(FSOUND_IsPlaying(0), 0);
    FSOUND_Sample_Free(nullptr);
    EXPECT_EQ(FSOUND_Stream_Play(21, nullptr), 0);
    EXPECT_EQ(FSOUND_Stream_Stop(nullptr), 0);
    EXPECT_EQ(FSOUND_Stream_SetTime(nullptr, 0), 0);
    EXPECT_EQ(FSOUND_Stream_GetTime(nullptr), 0);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(nullptr), 0);
    EXPECT_EQ(FSOUND_Stream_Close(nullptr), 0);
    // A pointer that is no handle of ours.
    int bogus[64] = {};
    EXPECT_EQ(FSOUND_PlaySound(1, reinterpret_cast<FSOUND_SAMPLE*>(bogus)), 0);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(reinterpret_cast<FSOUND_STREAM*>(bogus)), 0);
    // Freed and closed handles.
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("s.wav", 300, 0.3f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_STREAM* st = FSOUND_Stream_Open(toneFile("st.wav", 300, 0.3f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    FSOUND_Sample_Free(s);
    FSOUND_Stream_Close(st);
    EXPECT_EQ(FSOUND_PlaySound(1, s), 0);
    EXPECT_EQ(FSOUND_IsPlaying(1), 0);
    EXPECT_EQ(FSOUND_Stream_Play(21, st), 0);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(st), 0);
}

TEST_F(SoundLibrary, ChannelsOutsideTheRangeDoNothing)
{
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("s.wav", 300, 0.3f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    for (int channel : {-1, 32, 64, 1000}) {
        EXPECT_EQ(FSOUND_PlaySound(channel, s), 0) << channel;
        EXPECT_EQ(FSOUND_StopSound(channel), 0) << channel;
        EXPECT_EQ(FSOUND_IsPlaying(channel), 0) << channel;
        EXPECT_EQ(FSOUND_SetFrequency(channel, 4000), 0) << channel;
    }
    EXPECT_EQ(FSOUND_PlaySound(31, s), 31);
}

TEST_F(SoundLibrary, FilesThatAreNoSoundGiveNullHandles)
{
    const std::string missing = folder().dir.file("none.wav");
    const std::string empty = folder().dir.file("empty.wav");
    const std::string junk = folder().dir.file("junk.sfx");
    const std::string cut = folder().dir.file("cut.wav");
    writeFile(empty, "");
    writeFile(junk, std::string(5000, '\x7f'));
    writeFile(cut, readFile(toneFile("whole.wav", 300, 0.5f, 22050)).substr(0, 30));
    const std::string pipe = folder().dir.file("pipe.sfx");  // refused, not waited on
    mkfifo(pipe.c_str(), 0600);
    for (const std::string& path : {missing, empty, junk, cut, pipe}) {
        EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), FSOUND_LOOP_OFF, 0, 0), nullptr) << path;
        EXPECT_EQ(FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr) << path;
    }
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, nullptr, FSOUND_LOOP_OFF, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Stream_Open(nullptr, FSOUND_LOOP_OFF, 0, 0), nullptr);
}

TEST_F(SoundLibrary, ASecondInitStartsAfreshAndOldHandlesAreGone)
{
    FSOUND_SAMPLE* s = FSOUND_Sample_Load(FSOUND_FREE, toneFile("s.wav", 300, 0.3f, 22050).c_str(), FSOUND_LOOP_OFF, 0, 0);
    ASSERT_NE(s, nullptr);
    ASSERT_NE(FSOUND_Init(44100, 32, 2), 0);
    EXPECT_EQ(FSOUND_PlaySound(2, s), 0);
}

TEST_F(SoundLibrary, SettingsAreRefusedOnceInitialised)
{
    EXPECT_EQ(FSOUND_SetOutput(2), 0);
    EXPECT_EQ(FSOUND_SetDriver(0), 0);
    EXPECT_EQ(FSOUND_SetMixer(7), 0);
    EXPECT_EQ(FSOUND_SetBufferSize(50), 0);
    FSOUND_Close();
    EXPECT_EQ(FSOUND_SetDriver(0), 1);
}

TEST_F(SoundLibrary, ADriverNumberPastTheDeviceListOpensTheDefaultDevice)
{
    FSOUND_Close();
    for (int driver : {0, 1, 9, -2}) {
        EXPECT_EQ(FSOUND_SetDriver(driver), 1);
        EXPECT_NE(FSOUND_Init(44100, 32, 2), 0) << driver;
        FSOUND_Close();
    }
    FSOUND_SetDriver(0);
}

} // namespace
