// The sound library on OpenAL Soft, heard through the wave back end.
#include "platform/null/null_platform.h"
#include "platform/openal/internal.h"
#include "platform/platform.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>

using namespace soundtest;

namespace {

TempDir& dir()
{
    static TempDir d;  // one configuration per process: OpenAL reads it once
    static const std::string out = useWaveBackEnd(d.path);
    return d;
}

class SoundLibrary : public ::testing::Test {
protected:
    OutputClock clock{dir().path + "/out.wav"};
    void SetUp() override
    {
        ASSERT_FALSE(configBesideProgram()) << "an alsoft.conf beside the test would change the back end";
        ASSERT_NE(FSOUND_Init(44100, 32, 2), 0);
    }
    void TearDown() override { FSOUND_Close(); }
    std::vector<float> heard()
    {
        FSOUND_Close();
        return readOutput(clock.path);
    }
    static std::string toneFile(const std::string& name, float hz, float seconds, int rate = 22050,
                                float level = 0.5f)
    {
        writeTone(dir().file(name), hz, seconds, rate, level);
        return dir().file(name);
    }
    static FSOUND_SAMPLE* sample(const char* name, float hz, float seconds, int loop, int rate = 22050,
                                 float level = 0.5f)
    {
        return FSOUND_Sample_Load(FSOUND_FREE, toneFile(name, hz, seconds, rate, level).c_str(), loop, 0, 0);
    }
    static FSOUND_STREAM* stream(const char* name, float hz, float seconds, int loop = FSOUND_LOOP_OFF,
                                 float level = 0.5f)
    {
        return FSOUND_Stream_Open(toneFile(name, hz, seconds, 22050, level).c_str(), loop, 0, 0);
    }
};

// Last a looping 500 Hz sample at 8000 Hz: it sounds at 750 Hz played at 12000 Hz, at 250 Hz at 4000 Hz.
TEST_F(SoundLibrary, ASampleIsHeardOnceItPlaysAndEndsReplacedOrStoppedAndSetFrequencyMovesItsPitch)
{
    FSOUND_SAMPLE* once = sample("a.wav", 440, 0.5f, FSOUND_LOOP_OFF);
    ASSERT_NE(once, nullptr);
    EXPECT_EQ(FSOUND_IsPlaying(3), 0);
    clock.wait(0.6);
    const double playedAt = clock.seconds();
    FSOUND_PlaySound(3, once);
    FSOUND_PlaySound(5, sample("low.wav", 700, 1.0f, FSOUND_LOOP_NORMAL, 22050, 0.3f));
    FSOUND_PlaySound(7, sample("l.wav", 1300, 1.0f, FSOUND_LOOP_NORMAL, 22050, 0.3f));
    EXPECT_EQ(FSOUND_IsPlaying(3), 1);
    clock.wait(1.4);  // past the loops' length
    EXPECT_EQ(std::make_pair(FSOUND_IsPlaying(3), FSOUND_IsPlaying(7)), std::make_pair(0, 1));
    const double at = clock.seconds();
    FSOUND_PlaySound(5, sample("high.wav", 1000, 0.3f, FSOUND_LOOP_OFF));
    FSOUND_StopSound(7);
    EXPECT_EQ(FSOUND_IsPlaying(7), 0);
    clock.wait(0.8);
    FSOUND_PlaySound(0, sample("e.wav", 500, 1.0f, FSOUND_LOOP_NORMAL, 8000));
    clock.wait(0.5);
    const double t1 = clock.seconds();
    FSOUND_SetFrequency(0, 12000);
    clock.wait(0.5);
    const double t2 = clock.seconds();
    FSOUND_SetFrequency(0, 4000);
    clock.wait(0.5);
    const std::vector<float> out = heard();
    EXPECT_LT(rms(out, 0.1, playedAt - 0.1), 0.002);
    EXPECT_GT(toneLevel(out, playedAt + 0.15, playedAt + 0.4, 440), 0.1);
    EXPECT_LT(toneLevel(out, playedAt + 0.65, at - 0.1, 440), 0.01) << "a one-shot sample ends by itself";
    for (double hz : {700, 1300}) {
        EXPECT_GT(toneLevel(out, at - 0.35, at - 0.1, hz), 0.05) << hz;
        EXPECT_LT(toneLevel(out, at + 0.1, at + 0.25, hz), 0.01) << hz << " Hz went on";
    }
    EXPECT_GT(toneLevel(out, at + 0.1, at + 0.25, 1000), 0.1);
    EXPECT_LT(rms(out, at + 0.45, at + 0.7), 0.002);
    EXPECT_GT(toneLevel(out, t1 - 0.35, t1 - 0.05, 500), 0.1);
    EXPECT_GT(toneLevel(out, t1 + 0.15, t2 - 0.05, 750), 0.1);
    EXPECT_GT(toneLevel(out, t2 + 0.15, t2 + 0.45, 250), 0.1);
}

// One timeline: a looping stream on 20 throughout, two streams taking turns on 21, a timed one on 22,
// then the feeder starved; what each stream is heard doing does not mask another's tone.
TEST_F(SoundLibrary, StreamTimesLoopsTurnsOnAChannelAndAStarvedStreamPlaysOnOnceFed)
{
    FSOUND_STREAM* loop = stream("loop.wav", 600, 0.5f, FSOUND_LOOP_NORMAL, 0.3f);
    FSOUND_STREAM* a = stream("a.wav", 440, 3.0f);
    FSOUND_STREAM* b = stream("b.wav", 1000, 3.0f);
    FSOUND_STREAM* st = stream("st.wav", 1300, 2.0f, FSOUND_LOOP_OFF, 0.15f);  // kept under clipping
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(st), 2000);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), 0);
    const double start = clock.seconds();
    FSOUND_Stream_Play(20, loop);
    FSOUND_Stream_Play(21, a);
    clock.wait(0.4);
    const double at = clock.seconds();
    FSOUND_Stream_Play(21, b);
    FSOUND_Stream_Play(22, st);
    const int aTime = FSOUND_Stream_GetTime(a);
    clock.wait(0.5);
    EXPECT_EQ(FSOUND_Stream_GetTime(a), aTime);
    EXPECT_GT(FSOUND_Stream_GetTime(b), 300);
    const int playing = FSOUND_Stream_GetTime(st);
    EXPECT_GT(playing, 300);
    EXPECT_LT(playing, 800);
    EXPECT_EQ(FSOUND_Stream_SetTime(st, 0), 1) << "a jump while playing";
    EXPECT_LT(FSOUND_Stream_GetTime(st), 150);
    FSOUND_Stream_Stop(st);
    const int stopped = FSOUND_Stream_GetTime(st);
    FSOUND_PlaySound(21, sample("s.wav", 300, 0.2f, FSOUND_LOOP_OFF));
    const int bTime = FSOUND_Stream_GetTime(b);
    clock.wait(0.4);
    EXPECT_EQ(FSOUND_Stream_GetTime(b), bTime) << "a sample on the channel stops the stream";
    EXPECT_EQ(FSOUND_Stream_GetTime(st), stopped) << "a stopped stream keeps its place";
    EXPECT_EQ(FSOUND_IsPlaying(20), 1);
    const int loopTime = FSOUND_Stream_GetTime(loop);
    EXPECT_GE(loopTime, 0);
    EXPECT_LT(loopTime, 500);
    EXPECT_EQ(FSOUND_Stream_SetTime(st, 1700), 1);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), 1700);
    FSOUND_Stream_Play(22, st);
    clock.wait(0.7);
    EXPECT_EQ(FSOUND_Stream_GetTime(st), 2000) << "a finished one-shot stream stands at its length";
    EXPECT_EQ(FSOUND_IsPlaying(22), 0);
    {
        std::lock_guard<std::mutex> starve(fsnd::library().lock);  // the feeder cannot refill
        clock.wait(1.3);  // past the queue's four buffers of 4096 frames (0.74 s)
    }
    const double fedAt = clock.seconds();
    clock.wait(0.6);
    EXPECT_EQ(FSOUND_IsPlaying(20), 1);
    const std::vector<float> out = heard();
    EXPECT_GT(toneLevel(out, at + 0.15, at + 0.45, 1000), 0.1);
    EXPECT_LT(toneLevel(out, at + 0.15, at + 0.45, 440), 0.01);
    for (double t = start + 0.1; t < start + 1.2; t += 0.1)
        EXPECT_GT(toneLevel(out, t, t + 0.1, 600), 0.1) << "the loop silent at " << t - start << " s";
    EXPECT_LT(rms(out, fedAt - 0.35, fedAt - 0.1), 0.002) << "the queue ran dry";
    EXPECT_GT(toneLevel(out, fedAt + 0.2, fedAt + 0.5, 600), 0.1) << "and the stream went on";
}

TEST_F(SoundLibrary, FilesThatAreNoSoundNullStaleAndForeignHandlesAndChannelsOutOfRangeDoNothing)
{
    writeFile(dir().file("empty.wav"), "");
    writeFile(dir().file("junk.sfx"), std::string(5000, '\x7f'));
    writeFile(dir().file("cut.wav"), readFile(toneFile("whole.wav", 300, 0.5f)).substr(0, 30));
    mkfifo(dir().file("pipe.sfx").c_str(), 0600);  // refused, not waited on
    for (const char* name : {"none.wav", "empty.wav", "junk.sfx", "cut.wav", "pipe.sfx"}) {
        const std::string path = dir().file(name);
        EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), FSOUND_LOOP_OFF, 0, 0), nullptr) << name;
        EXPECT_EQ(FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr) << name;
    }
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, nullptr, FSOUND_LOOP_OFF, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Stream_Open(nullptr, FSOUND_LOOP_OFF, 0, 0), nullptr);
    FSOUND_Sample_Free(nullptr);
    int bogus[64] = {};  // a pointer that is no handle of ours
    FSOUND_SAMPLE* s = sample("s.wav", 300, 0.3f, FSOUND_LOOP_OFF);
    FSOUND_SAMPLE* freed = sample("f.wav", 300, 0.3f, FSOUND_LOOP_OFF);
    FSOUND_STREAM* closed = stream("st.wav", 300, 0.3f);
    FSOUND_Sample_Free(freed);
    FSOUND_Stream_Close(closed);
    for (FSOUND_STREAM* st :
         {reinterpret_cast<FSOUND_STREAM*>(bogus), closed, static_cast<FSOUND_STREAM*>(nullptr)})
        expectStreamCallsRefused(st);
    for (FSOUND_SAMPLE* bad :
         {reinterpret_cast<FSOUND_SAMPLE*>(bogus), freed, static_cast<FSOUND_SAMPLE*>(nullptr)})
        EXPECT_EQ(FSOUND_PlaySound(1, bad), 0);
    EXPECT_EQ(FSOUND_IsPlaying(1), 0);
    for (int channel : {-1, 32, 64, 1000})
        EXPECT_EQ(returned({FSOUND_PlaySound(channel, s), FSOUND_StopSound(channel),
                            FSOUND_IsPlaying(channel), FSOUND_SetFrequency(channel, 4000)}),
                  std::vector<int>(4, 0)) << channel;
    EXPECT_EQ(FSOUND_PlaySound(31, s), 31);
    ASSERT_NE(FSOUND_Init(44100, 32, 2), 0) << "a second init starts afresh";
    EXPECT_EQ(FSOUND_PlaySound(2, s), 0) << "and the old handles are gone";
}

} // namespace
