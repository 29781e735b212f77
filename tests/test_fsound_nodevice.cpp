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
        EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, tone.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr);
        EXPECT_EQ(FSOUND_Stream_Open(tone.c_str(), FSOUND_LOOP_OFF, 0, 0), nullptr);
        for (void* any : {static_cast<void*>(bogus), static_cast<void*>(nullptr)}) {
            EXPECT_EQ(returned({FSOUND_PlaySound(0, static_cast<FSOUND_SAMPLE*>(any)), FSOUND_StopSound(0),
                                FSOUND_IsPlaying(4), FSOUND_SetFrequency(0, 4000)}),
                      std::vector<int>(4, 0));
            FSOUND_Sample_Free(static_cast<FSOUND_SAMPLE*>(any));
            expectStreamCallsRefused(static_cast<FSOUND_STREAM*>(any));
        }
        FSOUND_Close();  // closing what never opened, and twice, is harmless
        for (int driver : {0, 1, 7, -3}) {  // any driver number fails cleanly
            FSOUND_SetDriver(driver);
            EXPECT_EQ(FSOUND_Init(44100, 32, 2), 0) << driver;
        }
        FSOUND_SetDriver(0);
    }

    fakeSysReset();
    optSoundDriver = 0;
    initSound();  // the game shows the failure once (its text checked with the recording library)
    for (FSOUND_SAMPLE* s : soundSamples)
        EXPECT_EQ(s, nullptr);
    EXPECT_EQ(soundStreams[STREAM_MENU_MUSIC], nullptr);
    for (int event = -1; event <= 100; ++event)
        playSoundEvent(4000, event);
    EXPECT_EQ(FSOUND_IsPlaying(CHANNEL_ENGINE_START), 0) << "the engine start must not wait for ever";
    shutdownSound();
    EXPECT_EQ(fakeMessages.size(), 1u);
}

} // namespace
