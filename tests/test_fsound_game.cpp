// The game's own sounds through the real library: initSound in a generated data tree, events
// heard where they were raised, the menu music going round.
#include "core/options.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "platform/null/null_platform.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace soundtest;

namespace {

struct Output {
    TempDir dir;
    std::string file;
    Output() { file = useWaveBackEnd(dir.path); }
};

Output& output()
{
    static Output o;
    return o;
}

class GameSound : public ::testing::Test {
protected:
    Stopwatch clock;
    std::string previousDir;
    void SetUp() override
    {
        ASSERT_FALSE(configBesideProgram());
        output();
        const std::string tree = generatedTree();
        char cwd[4096];
        previousDir = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(tree.c_str()), 0);
        fakeSysReset();
        optSoundDriver = 0;
        clock = Stopwatch();
        initSound();
        ASSERT_TRUE(fakeMessages.empty()) << fakeMessages[0].text;
    }
    void TearDown() override
    {
        shutdownSound();
        if (chdir(previousDir.c_str()) != 0)
            ADD_FAILURE() << "cannot go back to " << previousDir;
    }
    std::vector<float> heard()
    {
        shutdownSound();
        const double closedAt = clock.seconds();
        std::vector<float> out = readOutput(output().file);
        alignOnEnd(out, closedAt);
        return out;
    }
};

TEST_F(GameSound, EverySampleAndTheMenuMusicLoad)
{
    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i)
        EXPECT_NE(soundSamples[i], nullptr) << i;
    EXPECT_NE(soundStreams[STREAM_MENU_MUSIC], nullptr);
    EXPECT_NE(soundSamples[1], soundSamples[8]) << "each door has a sample of its own";
}

TEST_F(GameSound, TheHornIsHeardAfterKIsPressedAndNotBefore)
{
    sleepSeconds(0.6);
    const double pressed = clock.seconds();
    playSoundEvent(4000, SOUND_HORN);
    sleepSeconds(0.9);  // longer than the horn file: it loops while held
    const double released = clock.seconds();
    FSOUND_StopSound(CHANNEL_HORN);
    sleepSeconds(0.3);
    const std::vector<float> out = heard();
    EXPECT_LT(rms(out, 0.1, pressed - 0.1), 0.002);
    EXPECT_GT(rms(out, pressed + 0.1, released - 0.1), 0.05);
    EXPECT_GT(rms(out, pressed + 0.6, released - 0.05), 0.05) << "the horn stopped before the key was let go";
    EXPECT_LT(rms(out, released + 0.1, released + 0.25), 0.002);
}

TEST_F(GameSound, TwoDoorsOpeningAtOnceAreBothHeard)
{
    playSoundEvent(4000, SOUND_DOOR1_OPEN);
    sleepSeconds(0.3);
    playSoundEvent(4000, SOUND_DOOR2_OPEN);
    EXPECT_EQ(FSOUND_IsPlaying(1), 1);
    EXPECT_EQ(FSOUND_IsPlaying(8), 1);
}

TEST_F(GameSound, TheStarterLastsLongerThanTheStartSequenceNeeds)
{
    playSoundEvent(4000, SOUND_ENGINE_START);
    sleepSeconds(34 * 0.02 + 0.1);  // 33 ticks and more
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_ENGINE_START), 1);
    sleepSeconds(1.5);
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_ENGINE_START), 0) << "the engine must catch after one play or so";
}

TEST_F(GameSound, TheIdleLoopFollowsTheEngineFrequency)
{
    playSoundEvent(4000, SOUND_IDLE_START);
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    sleepSeconds(1.2);
    const double revved = clock.seconds();
    playSoundEvent(16000, SOUND_IDLE_PITCH);
    sleepSeconds(1.2);
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_IDLE_ENGINE), 1);
    const std::vector<float> out = heard();
    // The firing beat is 62.5 Hz in the file at 8000 Hz; four times the frequency makes every
    // line of the level's envelope four times as high. Measured on the envelope, where the beat
    // and its harmonics are the strongest lines.
    std::vector<float> envelope(out.size());
    float state = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        state += 0.05f * (std::fabs(out[i]) - state);
        envelope[i] = state;
    }
    const double idle = dominantHz(envelope, revved - 0.9, revved - 0.1, 20, 500, 0.5);
    const double high = dominantHz(envelope, revved + 0.3, revved + 1.1, 20, 500 * 4, 0.5);
    EXPECT_LT(std::fabs(std::remainder(idle, 31.25)), 1.5) << idle << " Hz is no harmonic of the idle beat";
    EXPECT_NEAR(high / idle, 4.0, 0.15) << idle << " Hz, then " << high << " Hz";
}

TEST_F(GameSound, TheMenuMusicGoesRoundAtItsEnd)
{
    FSOUND_STREAM* music = soundStreams[STREAM_MENU_MUSIC];
    const int length = FSOUND_Stream_GetLengthMs(music);
    EXPECT_GT(length, 10000);
    FSOUND_Stream_SetTime(music, length - 300);
    const double started = clock.seconds();
    FSOUND_Stream_Play(CHANNEL_MENU_MUSIC, music);
    sleepSeconds(0.9);
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_MENU_MUSIC), 1);
    const int time = FSOUND_Stream_GetTime(music);
    EXPECT_GT(time, 300);
    EXPECT_LT(time, 1000);
    const std::vector<float> out = heard();
    EXPECT_GT(rms(out, started + 0.1, started + 0.85), 0.02);
    for (double t = started + 0.1; t < started + 0.8; t += 0.1)
        EXPECT_GT(rms(out, t, t + 0.1), 0.005) << "a gap at " << t - started << " s";
}

TEST_F(GameSound, ARadioTrackTellsItsLengthAndTime)
{
    const std::string path = "Dane/Radio/01_Poranny_kurs.mp3";
    FSOUND_STREAM* track = FSOUND_Stream_Open(path.c_str(), FSOUND_LOOP_OFF, 0, 0);
    ASSERT_NE(track, nullptr);
    const CommandResult soxi = runCommand("soxi -D '" + path + "'");
    ASSERT_EQ(soxi.status, 0);
    const double seconds = std::stod(soxi.out);
    // The decoders may differ by the encoder's padding, a frame or two.
    EXPECT_NEAR(FSOUND_Stream_GetLengthMs(track), seconds * 1000.0, 80.0);
    FSOUND_Stream_SetTime(track, 10000);
    EXPECT_EQ(FSOUND_Stream_GetTime(track), 10000);
    FSOUND_Stream_Play(CHANNEL_RADIO, track);
    sleepSeconds(0.5);
    const int time = FSOUND_Stream_GetTime(track);
    EXPECT_GT(time, 10300);
    EXPECT_LT(time, 10800);
    FSOUND_Stream_Close(track);
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_RADIO), 0);
}

} // namespace
