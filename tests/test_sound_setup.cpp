// Sound set-up, the events and the shutdown, as calls the game makes on the sound library.
#include "core/options.h"
#include "platform/null/null_platform.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

class SoundSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        fsoundRecordReset();
        fakeSysReset();
        optSoundDriver = 0;
    }
    void TearDown() override
    {
        shutdownSound();
        fsoundRecordReset();
    }
    // The only message shown, in the error box.
    static void onlyMessage(const char* text)
    {
        ASSERT_EQ(fakeMessages.size(), 1u);
        EXPECT_EQ(fakeMessages[0].text, text);
        EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
    }
    // No sample and no stream, and the horn makes no call.
    static void allEmptyAndSilent()
    {
        for (FSOUND_SAMPLE* s : soundSamples)
            EXPECT_EQ(s, nullptr);
        EXPECT_EQ(soundStreams[STREAM_MENU_MUSIC], nullptr);
        fsoundRecordTake();
        playSoundEvent(4000, SOUND_HORN);
        EXPECT_TRUE(fsoundRecordTake().empty());
    }
};

// One run through set-up, the events, shutdown, then an old library, a failed init, missing files.
TEST_F(SoundSetup, InitPlaysNothingEventsPlayTheirChannelsShutdownFreesAllAndFailuresStaySilent)
{
    optSoundDriver = 3;
    fsoundRecordSetVersion(3.73f);  // the oldest taken in silence
    initSound();
    const Calls log = fsoundRecordTakeLog();
    const Calls setUp = {"GetVersion", "SetOutput(2)", "SetDriver(3)", "SetMixer(7)", "SetBufferSize(50)",
                         "Init(44100,32,2)"};
    ASSERT_EQ(log.size(), setUp.size() + SOUND_SAMPLE_COUNT + 1);
    EXPECT_EQ(Calls(log.begin(), log.begin() + 6), setUp);
    for (size_t i = 6; i < 6 + SOUND_SAMPLE_COUNT; ++i)
        EXPECT_EQ(log[i].rfind("SampleLoad(Dane/Dzwiek/Volvo7000/", 0), 0u) << log[i];
    EXPECT_EQ(log.back(), "StreamOpen(Dane/Menu/muzyka.wav,2)");
    EXPECT_TRUE(fakeMessages.empty());
    EXPECT_NE(soundStreams[STREAM_MENU_MUSIC], nullptr);
    EXPECT_EQ(fsoundRecordTake(), Calls({"Init"})) << "nothing plays at start";
    for (int event = 1; event <= 12; ++event) {
        playSoundEvent(4000, event);
        EXPECT_EQ(fsoundRecordTake(), Calls({"PlaySound(" + std::to_string(event) + ")"})) << event;
    }
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    playSoundEvent(12345, SOUND_THROTTLE_PITCH);
    playSoundEvent(4000, SOUND_IDLE_START);
    playSoundEvent(-7, SOUND_DOOR2_OPEN);  // the value only counts for the pitch events
    for (int event : {-1, -99, 14, 20, 50, 98, 100, 1000})  // unknown events do nothing
        playSoundEvent(4000, event);
    EXPECT_EQ(fsoundRecordTake(),
              Calls({"SetFrequency(0,4000)", "SetFrequency(13,12345)", "PlaySound(0)", "PlaySound(8)"}));
    fsoundRecordTakeLog();
    Calls expected;
    for (FSOUND_SAMPLE* s : soundSamples)
        expected.push_back("SampleFree(" + std::to_string(fsoundRecordHandleId(s)) + ")");
    expected.push_back("Close");
    shutdownSound();
    EXPECT_EQ(fsoundRecordTakeLog(), expected);
    allEmptyAndSilent();

    fsoundRecordSetVersion(3.72f);
    initSound();
    onlyMessage("Niew\xb3" "a\x9c" "ciwa wersja biblioteki FMOD.DLL");
    EXPECT_NE(soundSamples[13], nullptr) << "and set-up goes on";
    shutdownSound(), fsoundRecordReset(), fakeSysReset();
    fsoundRecordSetInitResult(0);
    initSound();
    onlyMessage("Inicjalizacja d\x9f" "wi\xea" "ku zako\xf1" "czy\xb3" "a si\xea niepowodzeniem!");
    allEmptyAndSilent();
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    EXPECT_TRUE(fsoundRecordTake().empty()) << "nothing to retune";
    shutdownSound(), fsoundRecordReset();
    fsoundRecordSetCheckFiles(1);  // nothing exists in the test's working directory
    initSound();
    allEmptyAndSilent();
}

} // namespace
