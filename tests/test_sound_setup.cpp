// Sound set-up, the events and the shutdown, as calls the game makes on the sound library.
#include "core/options.h"
#include "platform/platform.h"
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
};

const char* const SAMPLE_FILES[SOUND_SAMPLE_COUNT] = {
    "skrzynia_biegow.sfx", "drzwi_o.sfx", "drzwi_z.sfx", "klakson.sfx", "silnik_start.sfx",
    "silnik_stop.sfx", "kierunkowskaz.sfx", "sygnal.sfx", "drzwi_o.sfx", "drzwi_z.sfx",
    "drzwi_o.sfx", "drzwi_z.sfx", "hamulec_powietrze.sfx", "silnik.sfx"};
const int SAMPLE_MODES[SOUND_SAMPLE_COUNT] = {2, 1, 1, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2};

TEST_F(SoundSetup, InitSoundSetsUpLoadsAndOpensInOrder)
{
    optSoundDriver = 3;
    initSound();
    Calls expected = {"GetVersion", "SetOutput(2)", "SetDriver(3)", "SetMixer(7)", "SetBufferSize(50)", "Init(44100,32,2)"};
    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i)
        expected.push_back(std::string("SampleLoad(Dane/Dzwiek/Volvo7000/") + SAMPLE_FILES[i] + "," +
                           std::to_string(SAMPLE_MODES[i]) + ")");
    expected.push_back("StreamOpen(Dane/Menu/muzyka.wav,2)");
    EXPECT_EQ(fsoundRecordTakeLog(), expected);
    EXPECT_TRUE(fakeMessages.empty());
    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i)
        EXPECT_NE(soundSamples[i], nullptr) << i;
    EXPECT_NE(soundStreams[STREAM_MENU_MUSIC], nullptr);
    EXPECT_EQ(fsoundRecordTake(), Calls({"Init"})) << "nothing plays at start";
}

TEST_F(SoundSetup, AnOldLibraryIsReportedAndSetUpGoesOn)
{
    fsoundRecordSetVersion(3.72f);
    initSound();
    ASSERT_EQ(fakeMessages.size(), 1u);
    EXPECT_EQ(fakeMessages[0].text, "Niew\xb3" "a\x9c" "ciwa wersja biblioteki FMOD.DLL");
    EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
    EXPECT_NE(soundSamples[13], nullptr);
}

TEST_F(SoundSetup, TheCurrentVersionPassesTheCheck)
{
    fsoundRecordSetVersion(3.73f);
    initSound();
    EXPECT_TRUE(fakeMessages.empty());
}

TEST_F(SoundSetup, AFailedInitIsReportedOnceAndLeavesEmptyHandles)
{
    fsoundRecordSetInitResult(0);
    initSound();
    ASSERT_EQ(fakeMessages.size(), 1u);
    EXPECT_EQ(fakeMessages[0].text, "Inicjalizacja d\x9f" "wi\xea" "ku zako\xf1" "czy\xb3" "a si\xea niepowodzeniem!");
    EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
    for (FSOUND_SAMPLE* s : soundSamples)
        EXPECT_EQ(s, nullptr);
    EXPECT_EQ(soundStreams[STREAM_MENU_MUSIC], nullptr);
    fsoundRecordTake();
    playSoundEvent(4000, SOUND_HORN);
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    EXPECT_TRUE(fsoundRecordTake().empty());
}

TEST_F(SoundSetup, AMissingFileLeavesAnEmptyHandleAndItsEventIsSilent)
{
    fsoundRecordSetCheckFiles(1);  // nothing exists in the test's working directory
    initSound();
    EXPECT_EQ(soundSamples[3], nullptr);
    fsoundRecordTake();
    playSoundEvent(4000, SOUND_HORN);
    EXPECT_TRUE(fsoundRecordTake().empty());
}

TEST_F(SoundSetup, EachEventPlaysOrRetunesItsOwnChannel)
{
    initSound();
    fsoundRecordTake();
    for (int event = 1; event <= 12; ++event) {
        playSoundEvent(4000, event);
        EXPECT_EQ(fsoundRecordTake(), Calls({"PlaySound(" + std::to_string(event) + ")"})) << event;
    }
    playSoundEvent(4000, SOUND_IDLE_PITCH);
    EXPECT_EQ(fsoundRecordTake(), Calls({"SetFrequency(0,4000)"}));
    playSoundEvent(12345, SOUND_THROTTLE_PITCH);
    EXPECT_EQ(fsoundRecordTake(), Calls({"SetFrequency(13,12345)"}));
    playSoundEvent(4000, SOUND_IDLE_START);
    EXPECT_EQ(fsoundRecordTake(), Calls({"PlaySound(0)"}));
}

TEST_F(SoundSetup, UnknownEventsDoNothing)
{
    initSound();
    fsoundRecordTake();
    for (int event : {-1, -99, 14, 20, 50, 98, 100, 1000})
        playSoundEvent(4000, event);
    EXPECT_TRUE(fsoundRecordTake().empty());
}

TEST_F(SoundSetup, TheValueOnlyCountsForThePitchEvents)
{
    initSound();
    fsoundRecordTake();
    playSoundEvent(-7, SOUND_DOOR2_OPEN);
    playSoundEvent(0, SOUND_DOOR1_OPEN);
    EXPECT_EQ(fsoundRecordTake(), Calls({"PlaySound(8)", "PlaySound(1)"}));
}

TEST_F(SoundSetup, ShutdownFreesEverySampleBeforeClosing)
{
    initSound();
    std::vector<int> ids;
    for (FSOUND_SAMPLE* s : soundSamples)
        ids.push_back(fsoundRecordHandleId(s));
    fsoundRecordTakeLog();
    shutdownSound();
    Calls expected;
    for (int id : ids)
        expected.push_back("SampleFree(" + std::to_string(id) + ")");
    expected.push_back("Close");
    EXPECT_EQ(fsoundRecordTakeLog(), expected);
    for (FSOUND_SAMPLE* s : soundSamples)
        EXPECT_EQ(s, nullptr);
    EXPECT_EQ(soundStreams[STREAM_MENU_MUSIC], nullptr);
}

} // namespace
