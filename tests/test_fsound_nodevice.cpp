// With no sound device at all the library refuses to start; the game says so once and plays on
// in silence, every operation a harmless no-op.
#include "core/options.h"
#include "platform/platform.h"
#include "sound/sound.h"
#include "platform/null/null_platform.h"
#include "tests/test_sound_analysis.h"

#include <gtest/gtest.h>

using namespace soundtest;

namespace {

struct NoDevice : public ::testing::Test {
    static TempDir& dir()
    {
        static TempDir d;
        return d;
    }
    void SetUp() override
    {
        useWaveBackEnd(dir().path, false);  // the wave back end without a file opens no device
        fakeSysReset();
    }
};

void everyOperationIsANoOp(FSOUND_SAMPLE* anySample, FSOUND_STREAM* anyStream)
{
    EXPECT_EQ(FSOUND_PlaySound(0, anySample), 0);
    EXPECT_EQ(FSOUND_StopSound(0), 0);
    EXPECT_EQ(FSOUND_IsPlaying(4), 0);
    EXPECT_EQ(FSOUND_SetFrequency(0, 4000), 0);
    FSOUND_Sample_Free(anySample);
    EXPECT_EQ(FSOUND_Stream_Play(20, anyStream), 0);
    EXPECT_EQ(FSOUND_Stream_Stop(anyStream), 0);
    EXPECT_EQ(FSOUND_Stream_SetTime(anyStream, 0), 0);
    EXPECT_EQ(FSOUND_Stream_GetTime(anyStream), 0);
    EXPECT_EQ(FSOUND_Stream_GetLengthMs(anyStream), 0);
    EXPECT_EQ(FSOUND_Stream_Close(anyStream), 0);
}

TEST_F(NoDevice, OperationsBeforeInitDoNothing)
{
    const std::string wav = dir().file("t.wav");
    writeWav(wav, tone(440, 0.2f, 22050), 22050);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, wav.c_str(), FSOUND_LOOP_OFF, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Stream_Open(wav.c_str(), FSOUND_LOOP_OFF, 0, 0), nullptr);
    int bogus[16] = {};
    everyOperationIsANoOp(reinterpret_cast<FSOUND_SAMPLE*>(bogus), reinterpret_cast<FSOUND_STREAM*>(bogus));
    everyOperationIsANoOp(nullptr, nullptr);
    FSOUND_Close();
}

TEST_F(NoDevice, InitFailsAndEverythingAfterIsANoOp)
{
    EXPECT_EQ(FSOUND_Init(44100, 32, 2), 0);
    const std::string wav = dir().file("t.wav");
    writeWav(wav, tone(440, 0.2f, 22050), 22050);
    EXPECT_EQ(FSOUND_Sample_Load(FSOUND_FREE, wav.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr);
    EXPECT_EQ(FSOUND_Stream_Open(wav.c_str(), FSOUND_LOOP_NORMAL, 0, 0), nullptr);
    everyOperationIsANoOp(nullptr, nullptr);
    FSOUND_Close();
    FSOUND_Close();  // twice is harmless
}

TEST_F(NoDevice, AnyDriverNumberFailsCleanlyWithoutADevice)
{
    for (int driver : {0, 1, 7, -3}) {
        FSOUND_SetDriver(driver);
        EXPECT_EQ(FSOUND_Init(44100, 32, 2), 0) << driver;
    }
    FSOUND_SetDriver(0);
}

TEST_F(NoDevice, TheGameShowsTheFailureOnceAndRunsSilently)
{
    optSoundDriver = 0;
    initSound();
    ASSERT_EQ(fakeMessages.size(), 1u);
    EXPECT_EQ(fakeMessages[0].text, "Inicjalizacja d\x9f" "wi\xea" "ku zako\xf1" "czy\xb3" "a si\xea niepowodzeniem!");
    EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
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
