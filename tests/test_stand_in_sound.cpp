// The stand-in sound library that the headless driver links: its samples last as long as they sound.
#include "platform/null/null_platform.h"
#include "sound/sound.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>

namespace {

// Half a second at 22050 Hz is 25 ticks of 20 ms: playing on the 25th tick, over on the 26th.
TEST(StandInSound, AOneShotSamplePlaysAsLongAsItsFileSounds)
{
    TempDir dir;
    soundtest::writeTone(dir.file("t.wav"), 440, 0.5f, 22050);
    sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT);
    SoundSample* sample = sndLoadSample(dir.file("t.wav").c_str(), SND_ONE_SHOT);
    sndPlaySample(CHANNEL_ENGINE_START, sample);
    fakeNowMs = 480;
    EXPECT_EQ(sndChannelPlaying(CHANNEL_ENGINE_START), 1);
    fakeNowMs = 500;
    EXPECT_EQ(sndChannelPlaying(CHANNEL_ENGINE_START), 0);
}

} // namespace
