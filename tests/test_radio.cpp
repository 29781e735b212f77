// The radio over the recording sound library: scanning the folder, keys 1 to 4 with their
// latches, the automatic advance, rescans.
#include "core/keys.h"
#include "platform/platform.h"
#include "platform/null/null_platform.h"
#include "sim/state.h"
#include "sim/controls.h"
#include "sound/radio.h"
#include "sound/sound.h"
#include "tests/support/test_util.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

constexpr uint8_t KEY_1 = 0x31, KEY_2 = 0x32, KEY_3 = 0x33, KEY_4 = 0x34;

class Radio : public ::testing::Test {
protected:
    TempDir dir;
    std::string folder;
    void SetUp() override
    {
        fsoundRecordReset();
        FSOUND_Init(44100, 32, 2);
        std::memset(keyState, 0, sizeof keyState);
        latches = ControlLatches{};
        for (FSOUND_STREAM*& s : soundStreams)
            s = nullptr;
        radioTrack = 1;
        radioLastTrack = 0;
        folder = dir.path + "/";
    }
    void addTracks(int count, const std::string& prefix = "track")
    {
        for (int i = 0; i < count; ++i) {
            char name[64];
            std::snprintf(name, sizeof name, "%s%03d.mp3", prefix.c_str(), i);
            writeFile(dir.file(name), "x");
        }
    }
    // Scans; every track opened gets a length, as a real file has.
    void scan()
    {
        scanRadioFolder(folder.c_str());
        for (int e = RADIO_FIRST_TRACK; e <= radioLastTrack; ++e)
            fsoundRecordSetStreamLength(soundStreams[e], 30000);
        fsoundRecordTake();
    }
    // One radio step with exactly these keys down.
    Calls tick(std::initializer_list<uint8_t> keys = {})
    {
        for (uint8_t k : {KEY_1, KEY_2, KEY_3, KEY_4})
            keyState[k] = 0;
        for (uint8_t k : keys)
            keyState[k] = 1;
        radioStep();
        return fsoundRecordTake();
    }
    static std::string id(int entry) { return std::to_string(fsoundRecordHandleId(soundStreams[entry])); }
    static std::string play(int entry) { return "StreamPlay(21," + id(entry) + ")"; }
    static std::string rewind(int entry) { return "StreamSetTime(" + id(entry) + ",0)"; }
};

TEST_F(Radio, AtProgramStartTheRadioIsOnTheUnusedEntry)
{
    EXPECT_EQ(radioTrack, 1);
    EXPECT_EQ(radioLastTrack, 0);
}

TEST_F(Radio, AnEmptyOrMissingFolderGivesNoTrackAndKeysDoNothing)
{
    scan();
    EXPECT_EQ(radioTrack, 2);
    EXPECT_EQ(radioLastTrack, 1);
    EXPECT_EQ(fsoundRecordOpenStreams(), 0);
    EXPECT_TRUE(tick().empty());
    for (uint8_t k : {KEY_1, KEY_2, KEY_4}) {
        EXPECT_TRUE(tick({k}).empty());
        tick();
    }
    EXPECT_EQ(radioTrack, 2);

    folder = dir.path + "/nowhere/";
    scan();
    EXPECT_EQ(radioLastTrack, 1);
    scanRadioFolder(nullptr);
    EXPECT_EQ(radioLastTrack, 1);
}

TEST_F(Radio, OneFileIsOpenedButCanNeverPlay)
{
    addTracks(1);
    scan();
    EXPECT_EQ(radioLastTrack, 2);
    ASSERT_NE(soundStreams[2], nullptr);
    EXPECT_EQ(fsoundRecordHandlePath(soundStreams[2]), folder + "track000.mp3");
    for (uint8_t k : {KEY_1, KEY_2, KEY_4}) {
        EXPECT_TRUE(tick({k}).empty()) << int(k);
        tick();
    }
    EXPECT_EQ(radioTrack, 2);
}

TEST_F(Radio, TracksAreOpenedOneShotSoTheyCanFinish)
{
    addTracks(2);
    scan();
    EXPECT_EQ(fsoundRecordHandleMode(soundStreams[2]), FSOUND_LOOP_OFF);
    EXPECT_EQ(fsoundRecordHandleMode(soundStreams[3]), FSOUND_LOOP_OFF);
}

TEST_F(Radio, TwoFilesNextPreviousNext)
{
    addTracks(2);
    scan();
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({rewind(3), play(3)}));
    EXPECT_EQ(radioTrack, 3);
    tick();
    EXPECT_EQ(tick({KEY_1}), Calls({rewind(2), play(2)}));
    EXPECT_EQ(radioTrack, 2);
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({rewind(3), play(3)}));
}

TEST_F(Radio, AHeldKeyActsOnceAndEachNewPressActsAgain)
{
    addTracks(4);
    scan();
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({rewind(3), play(3)}));
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(tick({KEY_4}).empty());
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({rewind(4), play(4)}));
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({rewind(5), play(5)}));
    tick();
    EXPECT_TRUE(tick({KEY_4}).empty()) << "no track after the last";
    EXPECT_EQ(radioTrack, 5);
    tick();
    EXPECT_EQ(tick({KEY_1}), Calls({rewind(4), play(4)}));
    EXPECT_TRUE(tick({KEY_1}).empty());
}

TEST_F(Radio, AKeyHeldFromBeforeTheFirstStepNeverActs)
{
    addTracks(3);
    scan();
    EXPECT_TRUE(tick({KEY_4}).empty()) << "the latch arms itself only while the key is up";
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({rewind(3), play(3)}));
}

TEST_F(Radio, KeyOneIsUsedUpOnTheFirstTrackKeyTwoIsKept)
{
    addTracks(3);
    scan();
    tick();
    EXPECT_TRUE(tick({KEY_1}).empty());
    EXPECT_EQ(latches.latchRadioPrevious, 0) << "used up though nothing happened";
    EXPECT_TRUE(tick({KEY_2}).empty());
    EXPECT_EQ(latches.latchRadioRestart, 1) << "kept for when it can act";
}

TEST_F(Radio, KeyTwoHeldOnTheFirstEntryRestartsTheNextTrackOnceItIsReached)
{
    addTracks(3);
    scan();
    tick();
    EXPECT_TRUE(tick({KEY_2}).empty());
    EXPECT_EQ(tick({KEY_2, KEY_4}), Calls({rewind(3), play(3)}));
    EXPECT_EQ(tick({KEY_2}), Calls({rewind(3), play(3)}));
    EXPECT_TRUE(tick({KEY_2}).empty());
    tick();
    EXPECT_EQ(tick({KEY_2}), Calls({rewind(3), play(3)}));
}

TEST_F(Radio, KeyThreeStopsEveryTickAndReleasingItDoesNotResume)
{
    addTracks(2);
    scan();
    tick();
    tick({KEY_4});
    const std::string stop = "StreamStop(" + id(3) + ")";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(tick({KEY_3}), Calls({stop}));
    EXPECT_TRUE(tick().empty());
    EXPECT_EQ(tick({KEY_2}), Calls({rewind(3), play(3)}));
}

TEST_F(Radio, AFinishedTrackIsFollowedByTheNextWithoutSeeking)
{
    addTracks(4);
    scan();
    tick();
    tick({KEY_4});
    fsoundRecordSetStreamTime(soundStreams[3], 12000);
    EXPECT_TRUE(tick().empty());
    EXPECT_EQ(radioPosition, 12000);
    EXPECT_EQ(radioLength, 30000);
    fsoundRecordSetStreamTime(soundStreams[3], 30000);
    EXPECT_EQ(tick(), Calls({play(4)}));
    EXPECT_EQ(radioTrack, 4);
    EXPECT_TRUE(tick().empty());
    fsoundRecordSetStreamTime(soundStreams[4], 30000);
    EXPECT_EQ(tick(), Calls({play(5)}));
    fsoundRecordSetStreamTime(soundStreams[5], 30000);
    EXPECT_TRUE(tick().empty()) << "the last track does not wrap round to the first";
    EXPECT_EQ(radioTrack, 5);
}

TEST_F(Radio, TheFirstEntryNeverAdvancesByItself)
{
    addTracks(2);
    scan();
    fsoundRecordSetStreamLength(soundStreams[2], 1000);
    fsoundRecordSetStreamTime(soundStreams[2], 1000);
    EXPECT_TRUE(tick().empty());
    EXPECT_EQ(radioTrack, 2);
}

TEST_F(Radio, AnEntryThatDidNotOpenIsPassedOver)
{
    addTracks(3);
    scan();
    soundStreams[3] = nullptr;  // as if the library could not open the second file
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({play(4)})) << "the empty entry's calls do nothing; then it is at its end";
    EXPECT_EQ(radioTrack, 4);
}

TEST_F(Radio, FilesAreSortedAndOnlyMp3FilesInAnyCaseCount)
{
    writeFile(dir.file("b.MP3"), "x");
    writeFile(dir.file("a.mp3"), "x");
    writeFile(dir.file("C.Mp3"), "x");
    writeFile(dir.file("notes.txt"), "x");
    writeFile(dir.file("song.mp3.bak"), "x");
    writeFile(dir.file("sub.mp3/inner.mp3"), "x");  // a folder named like a track
    scan();
    EXPECT_EQ(radioLastTrack, 4);
    EXPECT_EQ(fsoundRecordHandlePath(soundStreams[2]), folder + "C.Mp3");
    EXPECT_EQ(fsoundRecordHandlePath(soundStreams[3]), folder + "a.mp3");
    EXPECT_EQ(fsoundRecordHandlePath(soundStreams[4]), folder + "b.MP3");
}

TEST_F(Radio, MoreFilesThanTheTableHoldsAreLeftOut)
{
    addTracks(105);
    scan();
    EXPECT_EQ(radioLastTrack, SOUND_STREAM_COUNT - 1);
    EXPECT_EQ(fsoundRecordOpenStreams(), 100);
    EXPECT_EQ(fsoundRecordHandlePath(soundStreams[101]), folder + "track099.mp3");
    EXPECT_EQ(fsoundRecordHandlePath(soundStreams[2]), folder + "track000.mp3");
    radioTrack = 100;
    tick();
    EXPECT_EQ(tick({KEY_4}), Calls({rewind(101), play(101)}));
    tick();
    EXPECT_TRUE(tick({KEY_4}).empty());
}

TEST_F(Radio, ARescanStopsTheRadioAndClosesTheOldStreams)
{
    addTracks(3);
    scan();
    std::vector<std::string> oldIds = {id(2), id(3), id(4)};
    tick();
    tick({KEY_4});
    writeFile(dir.file("zz.mp3"), "x");
    scanRadioFolder(folder.c_str());
    Calls expected = {"StopSound(21)"};
    for (const std::string& old : oldIds)
        expected.push_back("StreamClose(" + old + ")");
    EXPECT_EQ(fsoundRecordTake(), expected);
    EXPECT_EQ(fsoundRecordOpenStreams(), 4);
    EXPECT_EQ(radioTrack, 2);
    EXPECT_EQ(radioLastTrack, 5);
    EXPECT_EQ(fsoundRecordHandlePath(soundStreams[5]), folder + "zz.mp3");
}

TEST_F(Radio, ARescanWithFewerFilesClearsTheEntriesPastTheNewLast)
{
    addTracks(3);
    scan();
    std::remove(dir.file("track002.mp3").c_str());
    std::remove(dir.file("track001.mp3").c_str());
    scan();
    EXPECT_EQ(radioLastTrack, 2);
    EXPECT_EQ(soundStreams[3], nullptr);
    EXPECT_EQ(soundStreams[4], nullptr);
}

TEST_F(Radio, StopCurrentStopsTheCurrentTrack)
{
    addTracks(2);
    scan();
    tick();
    tick({KEY_4});
    radioStopCurrent();
    EXPECT_EQ(fsoundRecordTake(), Calls({"StreamStop(" + id(3) + ")"}));
}

} // namespace
