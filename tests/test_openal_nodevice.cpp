// With no sound device the library refuses to start; the game says so once and plays on in silence.
#include "core/options.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "platform/null/null_platform.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>

using namespace soundtest;

namespace {

TEST(NoDevice, NothingLoadsOrPlaysBeforeOrAfterAFailedInit)
{
    TempDir dir;
    useWaveBackEnd(dir.path, false);  // the wave back end without a file opens no device
    writeTone(dir.file("t.wav"), 440, 0.2f, 22050);
    int bogus[16] = {};
    for (const char* when : {"before init", "after failed inits"}) {
        SCOPED_TRACE(when);
        const std::string tone = dir.file("t.wav");
        EXPECT_EQ(sndLoadSample(tone.c_str(), SND_LOOPING), nullptr);
        EXPECT_EQ(sndOpenStream(tone.c_str(), SND_ONE_SHOT), nullptr);
        for (void* any : {static_cast<void*>(bogus), static_cast<void*>(nullptr)}) {
            EXPECT_EQ(returned({sndPlaySample(0, static_cast<SoundSample*>(any)), sndStopChannel(0),
                                sndChannelPlaying(4), sndSetFrequency(0, 4000)}),
                      std::vector<int>(4, 0));
            sndFreeSample(static_cast<SoundSample*>(any));
            expectStreamCallsRefused(static_cast<SoundStream*>(any));
        }
        sndCloseDevice();  // closing what never opened, and twice, is harmless
        for (int device : {0, 1, 7, -3})  // any device number fails cleanly
            EXPECT_EQ(sndOpenDevice(device, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT), 0) << device;
    }

    fakeSysReset();
    options.soundDriver = 0;
    initSound();  // the game shows the failure once (its text checked with the recording library)
    for (SoundSample* s : soundSamples)
        EXPECT_EQ(s, nullptr);
    EXPECT_EQ(soundStreams[STREAM_MENU_MUSIC], nullptr);
    for (int event = -1; event <= 100; ++event)
        playSoundEvent(4000, event);
    EXPECT_EQ(sndChannelPlaying(CHANNEL_ENGINE_START), 0) << "the engine start must not wait for ever";
    shutdownSound();
    EXPECT_EQ(fakeMessages.size(), 1u);
}

} // namespace
