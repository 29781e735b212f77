// The radio over the recording sound library, and the folder search it scans with.
#include "core/keys.h"
#include "platform/null/null_platform.h"
#include "platform/services/dirscan.h"
#include "sim/controls.h"
#include "sim/state.h"
#include "sound/radio.h"
#include "sound/sound.h"
#include "tests/support/test_util.h"

#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Calls = std::vector<std::string>;

class Radio : public ::testing::Test {
protected:
    TempDir dir;
    std::string folder = dir.path + "/";
    void SetUp() override
    {
        sndRecordReset();
        sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT);
        std::fill(std::begin(soundStreams), std::end(soundStreams), nullptr);
        radioTrack = 1, radioLastTrack = 0;
    }
    // Writes the tracks and scans, keys up and latches fresh; every track opened gets a length.
    void scan(int count = 0)
    {
        for (int i = 0; i < count; ++i)
            writeFile(folder + "track" + std::to_string(1000 + i).substr(1) + ".mp3", "x");
        std::memset(keyState, 0, sizeof keyState);
        latches = ControlLatches{};
        scanRadioFolder(folder.c_str());
        for (int e = RADIO_FIRST_TRACK; e <= radioLastTrack; ++e)
            sndRecordSetStreamLength(soundStreams[e], 30000);
        sndRecordTake();
    }
    // One radio step with exactly these keys down; a press is a step with the keys up first.
    Calls tick(std::initializer_list<uint8_t> keys = {})
    {
        for (uint8_t k : {VK_KEY_1, VK_KEY_2, VK_KEY_3, VK_KEY_4})
            keyState[k] = 0;
        for (uint8_t k : keys)
            keyState[k] = 1;
        radioStep();
        return sndRecordTake();
    }
    Calls press(uint8_t key) { return tick(), tick({key}); }
    static std::string id(int entry) { return std::to_string(sndRecordHandleId(soundStreams[entry])); }
    static Calls follow(int entry) { return {"StreamPlay(21," + id(entry) + ")"}; }
    static Calls start(int entry) { return {"StreamSetTime(" + id(entry) + ",0)", follow(entry)[0]}; }
    static Calls stop(int entry) { return {"StreamStop(" + id(entry) + ")"}; }
    std::string path(int entry) const { return sndRecordHandlePath(soundStreams[entry]); }
};

// One folder through every step: each scan below starts afresh at the first track.
TEST_F(Radio, ScansKeysLatchesTheAdvanceAndRescans)
{
    for (int count : {0, 1}) {  // with no track the keys do nothing; one track is the first and the last
        SCOPED_TRACE(count);
        scan(count);
        EXPECT_EQ(std::pair(radioLastTrack, sndRecordOpenStreams()), std::pair(1 + count, count));
        EXPECT_TRUE(tick().empty());
        for (uint8_t k : {VK_KEY_1, VK_KEY_4})
            EXPECT_EQ(press(k), count ? start(2) : Calls{}) << int(k);
        EXPECT_TRUE(press(VK_KEY_2).empty());
        EXPECT_EQ(radioTrack, 2);
    }
    sndRecordSetStreamTime(soundStreams[2], 30000);
    EXPECT_EQ(tick(), start(2)) << "a folder of one track repeats it";
    EXPECT_EQ(path(2), folder + "track000.mp3");
    folder = dir.path + "/nowhere/";
    scan();
    EXPECT_EQ(radioLastTrack, 1);
    scanRadioFolder(nullptr);
    EXPECT_EQ(radioLastTrack, 1);

    // A rescan stops the radio, closes the old streams and clears entries past the new last.
    folder = dir.path + "/";
    scan(3);
    const Calls closed = {"StopSound(21)", "StreamClose(" + id(2) + ")", "StreamClose(" + id(3) + ")",
                          "StreamClose(" + id(4) + ")"};
    press(VK_KEY_4);
    writeFile(dir.file("zz.mp3"), "x");
    scanRadioFolder(folder.c_str());
    EXPECT_EQ(sndRecordTake(), closed);
    EXPECT_EQ(std::make_tuple(sndRecordOpenStreams(), radioTrack, radioLastTrack, path(5)),
              std::make_tuple(4, 2, 5, folder + "zz.mp3"));
    for (const char* gone : {"track001.mp3", "track002.mp3", "zz.mp3"})
        std::remove(dir.file(gone).c_str());
    scan();
    EXPECT_EQ(radioLastTrack, 2);
    for (int stream : {3, 4, 5})
        EXPECT_EQ(soundStreams[stream], nullptr) << stream;

    // A held key acts once; the first entry uses up key 1 but keeps key 2 for when it can act.
    scan(4);
    EXPECT_TRUE(tick({VK_KEY_1, VK_KEY_4}).empty()) << "a latch arms itself only while its key is up";
    EXPECT_EQ(press(VK_KEY_1), start(5)) << "before the first comes the last";
    EXPECT_EQ(latches.latchRadioPrevious, 0);
    EXPECT_EQ(press(VK_KEY_4), start(2)) << "after the last comes the first";
    EXPECT_TRUE(tick({VK_KEY_2}).empty());
    EXPECT_EQ(latches.latchRadioRestart, 1);
    EXPECT_EQ(tick({VK_KEY_2, VK_KEY_4}), start(3));
    EXPECT_EQ(tick({VK_KEY_2}), start(3));
    EXPECT_EQ(tick({VK_KEY_4}), start(4));
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(tick({VK_KEY_4}).empty());
    EXPECT_EQ(press(VK_KEY_4), start(5));
    EXPECT_EQ(press(VK_KEY_1), start(4));
    EXPECT_TRUE(tick({VK_KEY_1}).empty());
    EXPECT_EQ(press(VK_KEY_2), start(4));
    EXPECT_TRUE(tick({VK_KEY_2}).empty());
    for (int i = 0; i < 3; ++i)  // key 3 stops in every tick, and letting it go does not resume
        EXPECT_EQ(tick({VK_KEY_3}), stop(4));
    EXPECT_TRUE(tick().empty());
    radioStopCurrent();
    EXPECT_EQ(sndRecordTake(), stop(4));

    // More files than the table holds are left out (in a folder of their own).
    folder = dir.path + "/many/";
    scan(105);
    EXPECT_EQ(std::make_tuple(radioLastTrack, sndRecordOpenStreams(), path(101)),
              std::make_tuple(SOUND_STREAM_COUNT - 1, 100, folder + "track099.mp3"));
    radioTrack = 100;
    EXPECT_EQ(press(VK_KEY_4), start(101));
    EXPECT_EQ(press(VK_KEY_4), start(2));

    // A finished track is followed by the next unseeked; an entry that did not open is passed over.
    folder = dir.path + "/";
    scan(5);
    sndRecordSetStreamTime(soundStreams[2], 30000);
    EXPECT_TRUE(tick().empty()) << "the first entry never advances by itself";
    tick({VK_KEY_4});
    sndRecordSetStreamTime(soundStreams[3], 12000);
    EXPECT_TRUE(tick().empty());
    EXPECT_EQ(std::make_pair(radioPosition, radioLength), std::make_pair(12000, 30000));
    sndRecordSetStreamTime(soundStreams[3], 30000);
    EXPECT_EQ(tick(), follow(4));
    EXPECT_TRUE(tick().empty());
    soundStreams[5] = nullptr;  // as if the library could not open that file
    EXPECT_EQ(press(VK_KEY_4), follow(6)) << "the empty entry's calls do nothing; then it is at its end";
    sndRecordSetStreamTime(soundStreams[6], 30000);
    EXPECT_EQ(tick(), start(2)) << "the first, played to its end before, follows the last from its start";
    EXPECT_EQ(radioTrack, 2);
}

TEST(FolderSearch, FindsRegularFilesAndLinksToThemBySuffixInAnyCaseSortedByteWise)
{
    using Names = std::vector<std::string>;
    TempDir dir;
    for (const char* name :
         {"b.mp3", "B.mp3", "a.MP3", "_x.Mp3", "a.mp", "mp3", "x.mp3 ", "y.wav", "folder.mp3/in.mp3"})
        writeFile(dir.file(name), "x");
    ASSERT_EQ(symlink(dir.file("b.mp3").c_str(), dir.file("link.mp3").c_str()), 0);
    ASSERT_EQ(symlink(dir.file("gone.mp3").c_str(), dir.file("broken.mp3").c_str()), 0);
    const Names want = {"B.mp3", "_x.Mp3", "a.MP3", "b.mp3", "link.mp3"};
    EXPECT_EQ(findFilesBySuffix(dir.path, ".mp3"), want);
    EXPECT_EQ(findFilesBySuffix(dir.path + "/", ".MP3"), want);
    EXPECT_TRUE(findFilesBySuffix(dir.file("nowhere"), ".mp3").empty());
    EXPECT_TRUE(findFilesBySuffix(dir.file("b.mp3"), ".mp3").empty()) << "a file is no folder";
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(dir.file("folder.mp3").c_str()), 0);
    const Names here = findFilesBySuffix("", ".mp3");  // an empty folder text is the working directory
    ASSERT_EQ(chdir(cwd), 0);
    EXPECT_EQ(here, Names({"in.mp3"}));
}

} // namespace
