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
        sndRecordReset();
        fakeSysReset();
        options.soundDriver = 0;
    }
    void TearDown() override { shutdownSound(); }
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
        for (SoundSample* s : soundSamples)
            EXPECT_EQ(s, nullptr);
        EXPECT_EQ(soundStreams[STREAM_MENU_MUSIC], nullptr);
        sndRecordTake();
        playSoundEvent(4000, SOUND_HORN);
        EXPECT_TRUE(sndRecordTake().empty());
    }
};

// One run through set-up, the events, shutdown, then an old library, a failed init, missing files.
TEST_F(SoundSetup, InitPlaysNothingEventsPlayTheirChannelsShutdownFreesAllAndFailuresStaySilent)
{
    options.soundDriver = 3;
    initSound();
    const Calls log = sndRecordTakeLog();
    const Calls setUp = {"Abilities", "OpenDevice(3,44100,32)"};
    ASSERT_EQ(log.size(), setUp.size() + SOUND_SAMPLE_COUNT + 1);
    EXPECT_EQ(Calls(log.begin(), log.begin() + setUp.size()), setUp);
    for (size_t i = setUp.size(); i < setUp.size() + SOUND_SAMPLE_COUNT; ++i)
        EXPECT_EQ(log[i].rfind("SampleLoad(Dane/Dzwiek/Volvo7000/", 0), 0u) << log[i];
    EXPECT_EQ(log.back(), "StreamOpen(Dane/Menu/muzyka.wav,2)");
    EXPECT_TRUE(fakeMessages.empty());
    EXPECT_NE(soundStreams[STREAM_MENU_MUSIC], nullptr);
    EXPECT_EQ(sndRecordTake(), Calls({"OpenDevice"})) << "nothing plays at start";
    for (int event = 1; event <= 12; ++event) {
        playSoundEvent(4000, event);
        EXPECT_EQ(sndRecordTake(), Calls({"PlaySound(" + std::to_string(event) + ")"})) << event;
    }
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    playSoundEvent(12345, SOUND_THROTTLE_PITCH);
    playSoundEvent(4000, SOUND_IDLE_START);
    playSoundEvent(-7, SOUND_DOOR2_OPEN);  // the value only counts for the pitch events
    for (int event : {-1, -99, 14, 20, 50, 98, 100, 1000})  // unknown events do nothing
        playSoundEvent(4000, event);
    EXPECT_EQ(sndRecordTake(),
              Calls({"SetFrequency(0,4000)", "SetFrequency(13,12345)", "PlaySound(0)", "PlaySound(8)"}));
    sndRecordTakeLog();
    Calls expected;
    for (SoundSample* s : soundSamples)
        expected.push_back("SampleFree(" + std::to_string(sndRecordHandleId(s)) + ")");
    expected.push_back("CloseDevice");
    shutdownSound();
    EXPECT_EQ(sndRecordTakeLog(), expected);
    allEmptyAndSilent();

    sndRecordSetAbilities(0);
    initSound();
    onlyMessage("Biblioteka d\x9f" "wi\xea" "ku nie odtwarza plik\xf3" "w MP3: radio b\xea" "dzie milcze\xe6" ".");
    EXPECT_NE(soundSamples[13], nullptr) << "and set-up goes on";
    shutdownSound(), sndRecordReset(), fakeSysReset();
    sndRecordSetOpenResult(0);
    initSound();
    onlyMessage("Inicjalizacja d\x9f" "wi\xea" "ku zako\xf1" "czy\xb3" "a si\xea niepowodzeniem!");
    allEmptyAndSilent();
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    EXPECT_TRUE(sndRecordTake().empty()) << "nothing to retune";
    shutdownSound(), sndRecordReset();
    sndRecordSetCheckFiles(1);  // nothing exists in the test's working directory
    initSound();
    allEmptyAndSilent();
}

} // namespace
