// The game's own sounds through the real library: initSound in a generated data tree, events
// heard where they were raised.
#include "core/options.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "platform/null/null_platform.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace soundtest;

namespace {

const std::string& output()
{
    static TempDir dir;  // one configuration per process: OpenAL reads it once
    static const std::string file = useWaveBackEnd(dir.path);
    return file;
}

class GameSound : public ::testing::Test {
protected:
    OutputClock clock{output()};
    std::string previousDir;
    void SetUp() override
    {
        ASSERT_FALSE(configBesideProgram());
        char cwd[4096];
        previousDir = getcwd(cwd, sizeof cwd) ? cwd : ".";
        ASSERT_EQ(chdir(generatedTree().c_str()), 0);
        fakeSysReset();
        optSoundDriver = 0;
        initSound();
        ASSERT_TRUE(fakeMessages.empty()) << fakeMessages[0].text;
    }
    void TearDown() override
    {
        shutdownSound();
        EXPECT_EQ(chdir(previousDir.c_str()), 0) << previousDir;
    }
    std::vector<float> heard()
    {
        shutdownSound();
        return readOutput(output());
    }
};

TEST_F(GameSound, EverythingLoadsDoorsPlayAtOnceAndTheStarterOutlastsTheStartSequence)
{
    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i)
        EXPECT_NE(soundSamples[i], nullptr) << i;
    EXPECT_NE(soundStreams[STREAM_MENU_MUSIC], nullptr);
    EXPECT_NE(soundSamples[1], soundSamples[8]) << "each door has a sample of its own";
    playSoundEvent(4000, SOUND_ENGINE_START);
    playSoundEvent(4000, SOUND_DOOR1_OPEN);
    clock.wait(0.3);
    playSoundEvent(4000, SOUND_DOOR2_OPEN);
    EXPECT_EQ(FSOUND_IsPlaying(1), 1);
    EXPECT_EQ(FSOUND_IsPlaying(8), 1);
    clock.wait(34 * 0.02 + 0.1 - 0.3);  // 33 ticks and more
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_ENGINE_START), 1);
    clock.wait(1.5);
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_ENGINE_START), 0) << "the engine must catch after one play or so";
}

TEST_F(GameSound, TheHornIsHeardAfterKIsPressedAndNotBefore)
{
    clock.wait(0.6);
    const double pressed = clock.seconds();
    playSoundEvent(4000, SOUND_HORN);
    clock.wait(0.9);  // longer than the horn file: it loops while held
    const double released = clock.seconds();
    FSOUND_StopSound(CHANNEL_HORN);
    clock.wait(0.3);
    const std::vector<float> out = heard();
    EXPECT_LT(rms(out, 0.1, pressed - 0.1), 0.002);
    EXPECT_GT(rms(out, pressed + 0.1, released - 0.1), 0.05);
    EXPECT_GT(rms(out, pressed + 0.6, released - 0.05), 0.05) << "the horn stopped before the key was let go";
    EXPECT_LT(rms(out, released + 0.1, released + 0.25), 0.002);
}

TEST_F(GameSound, TheIdleLoopFollowsTheEngineFrequency)
{
    playSoundEvent(4000, SOUND_IDLE_START);
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    clock.wait(1.2);
    const double revved = clock.seconds();
    playSoundEvent(16000, SOUND_IDLE_PITCH);
    clock.wait(1.2);
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_IDLE_ENGINE), 1);
    const std::vector<float> out = heard();
    // The firing beat is 62.5 Hz in the file at 8000 Hz; four times the frequency makes every
    // line of the level's envelope four times as high, and there the beat's lines are strongest.
    std::vector<float> envelope(out.size());
    float state = 0.0f;
    for (size_t i = 0; i < out.size(); ++i)
        envelope[i] = state += 0.05f * (std::fabs(out[i]) - state);
    const double idle = dominantHz(envelope, revved - 0.9, revved - 0.1, 20, 500, 0.5);
    const double high = dominantHz(envelope, revved + 0.3, revved + 1.1, 20, 500 * 4, 0.5);
    EXPECT_LT(std::fabs(std::remainder(idle, 31.25)), 1.5) << idle << " Hz is no harmonic of the idle beat";
    EXPECT_NEAR(high / idle, 4.0, 0.15) << idle << " Hz, then " << high << " Hz";
}

} // namespace
