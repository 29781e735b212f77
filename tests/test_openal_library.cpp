// The sound library on OpenAL Soft, heard through the wave back end.
#include "platform/null/null_platform.h"
#include "platform/openal/internal.h"
#include "platform/platform.h"
#include "sound/sound.h"
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
        ASSERT_NE(sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT), 0);
    }
    void TearDown() override { sndCloseDevice(); }
    std::vector<float> heard()
    {
        sndCloseDevice();
        return readOutput(clock.path);
    }
    static std::string toneFile(const std::string& name, float hz, float seconds, int rate = 22050,
                                float level = 0.5f)
    {
        writeTone(dir().file(name), hz, seconds, rate, level);
        return dir().file(name);
    }
    static SoundSample* sample(const char* name, float hz, float seconds, int loop, int rate = 22050,
                                 float level = 0.5f)
    {
        return sndLoadSample(toneFile(name, hz, seconds, rate, level).c_str(), loop);
    }
    static SoundStream* stream(const char* name, float hz, float seconds, int loop = SND_ONE_SHOT,
                                 float level = 0.5f)
    {
        return sndOpenStream(toneFile(name, hz, seconds, 22050, level).c_str(), loop);
    }
};

// Last a looping 500 Hz sample at 8000 Hz: it sounds at 750 Hz played at 12000 Hz, at 250 Hz at 4000 Hz.
TEST_F(SoundLibrary, ASampleIsHeardOnceItPlaysAndEndsReplacedOrStoppedAndSetFrequencyMovesItsPitch)
{
    SoundSample* once = sample("a.wav", 440, 0.5f, SND_ONE_SHOT);
    ASSERT_NE(once, nullptr);
    EXPECT_EQ(sndChannelPlaying(3), 0);
    clock.wait(0.6);
    const double playedAt = clock.seconds();
    sndPlaySample(3, once);
    sndPlaySample(5, sample("low.wav", 700, 1.0f, SND_LOOPING, 22050, 0.3f));
    sndPlaySample(7, sample("l.wav", 1300, 1.0f, SND_LOOPING, 22050, 0.3f));
    EXPECT_EQ(sndChannelPlaying(3), 1);
    clock.wait(1.4);  // past the loops' length
    EXPECT_EQ(std::make_pair(sndChannelPlaying(3), sndChannelPlaying(7)), std::make_pair(0, 1));
    const double at = clock.seconds();
    sndPlaySample(5, sample("high.wav", 1000, 0.3f, SND_ONE_SHOT));
    sndStopChannel(7);
    EXPECT_EQ(sndChannelPlaying(7), 0);
    clock.wait(0.8);
    sndPlaySample(0, sample("e.wav", 500, 1.0f, SND_LOOPING, 8000));
    clock.wait(0.5);
    const double t1 = clock.seconds();
    sndSetFrequency(0, 12000);
    clock.wait(0.5);
    const double t2 = clock.seconds();
    sndSetFrequency(0, 4000);
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
    SoundStream* loop = stream("loop.wav", 600, 0.5f, SND_LOOPING, 0.3f);
    SoundStream* a = stream("a.wav", 440, 3.0f);
    SoundStream* b = stream("b.wav", 1000, 3.0f);
    SoundStream* st = stream("st.wav", 1300, 2.0f, SND_ONE_SHOT, 0.15f);  // kept under clipping
    EXPECT_EQ(sndStreamLength(st), 2000);
    EXPECT_EQ(sndStreamPosition(st), 0);
    const double start = clock.seconds();
    sndPlayStream(20, loop);
    sndPlayStream(21, a);
    clock.wait(0.4);
    const double at = clock.seconds();
    sndPlayStream(21, b);
    sndPlayStream(22, st);
    const int aTime = sndStreamPosition(a);
    clock.wait(0.5);
    EXPECT_EQ(sndStreamPosition(a), aTime);
    EXPECT_GT(sndStreamPosition(b), 300);
    const int playing = sndStreamPosition(st);
    EXPECT_GT(playing, 300);
    EXPECT_LT(playing, 800);
    EXPECT_EQ(sndSeekStream(st, 0), 1) << "a jump while playing";
    EXPECT_LT(sndStreamPosition(st), 150);
    sndStopStream(st);
    const int stopped = sndStreamPosition(st);
    sndPlaySample(21, sample("s.wav", 300, 0.2f, SND_ONE_SHOT));
    const int bTime = sndStreamPosition(b);
    clock.wait(0.4);
    EXPECT_EQ(sndStreamPosition(b), bTime) << "a sample on the channel stops the stream";
    EXPECT_EQ(sndStreamPosition(st), stopped) << "a stopped stream keeps its place";
    EXPECT_EQ(sndChannelPlaying(20), 1);
    const int loopTime = sndStreamPosition(loop);
    EXPECT_GE(loopTime, 0);
    EXPECT_LT(loopTime, 500);
    EXPECT_EQ(sndSeekStream(st, 1700), 1);
    EXPECT_EQ(sndStreamPosition(st), 1700);
    sndPlayStream(22, st);
    clock.wait(0.7);
    EXPECT_EQ(sndStreamPosition(st), 2000) << "a finished one-shot stream stands at its length";
    EXPECT_EQ(sndChannelPlaying(22), 0);
    {
        std::lock_guard<std::mutex> starve(snd::library().lock);  // the feeder cannot refill
        clock.wait(1.3);  // past the queue's four buffers of 4096 frames (0.74 s)
    }
    const double fedAt = clock.seconds();
    clock.wait(0.6);
    EXPECT_EQ(sndChannelPlaying(20), 1);
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
        EXPECT_EQ(sndLoadSample(path.c_str(), SND_ONE_SHOT), nullptr) << name;
        EXPECT_EQ(sndOpenStream(path.c_str(), SND_LOOPING), nullptr) << name;
    }
    EXPECT_EQ(sndLoadSample(nullptr, SND_ONE_SHOT), nullptr);
    EXPECT_EQ(sndOpenStream(nullptr, SND_ONE_SHOT), nullptr);
    sndFreeSample(nullptr);
    int bogus[64] = {};  // a pointer that is no handle of ours
    SoundSample* s = sample("s.wav", 300, 0.3f, SND_ONE_SHOT);
    SoundSample* freed = sample("f.wav", 300, 0.3f, SND_ONE_SHOT);
    SoundStream* closed = stream("st.wav", 300, 0.3f);
    sndFreeSample(freed);
    sndCloseStream(closed);
    for (SoundStream* st :
         {reinterpret_cast<SoundStream*>(bogus), closed, static_cast<SoundStream*>(nullptr)})
        expectStreamCallsRefused(st);
    for (SoundSample* bad :
         {reinterpret_cast<SoundSample*>(bogus), freed, static_cast<SoundSample*>(nullptr)})
        EXPECT_EQ(sndPlaySample(1, bad), 0);
    EXPECT_EQ(sndChannelPlaying(1), 0);
    for (int channel : {-1, 32, 64, 1000})
        EXPECT_EQ(returned({sndPlaySample(channel, s), sndStopChannel(channel),
                            sndChannelPlaying(channel), sndSetFrequency(channel, 4000)}),
                  std::vector<int>(4, 0)) << channel;
    EXPECT_EQ(sndPlaySample(31, s), 31);
    ASSERT_NE(sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT), 0) << "a second init starts afresh";
    EXPECT_EQ(sndPlaySample(2, s), 0) << "and the old handles are gone";
}

TEST(SoundAbilities, TheInstalledLibraryReadsMp3)
{
    EXPECT_EQ(sndAbilities(), SND_READS_MP3);
}

} // namespace
