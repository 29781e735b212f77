// The settings file and the values derived from it, and the profile reader under it.
#include "core/game.h"
#include "core/options.h"
#include "platform/services/profile.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>

namespace {

// Every setting the game takes from the file, on one line.
std::string settings()
{
    auto text = [](const char* p) { return std::string(p ? p : "-"); };
    char head[128];
    std::snprintf(head, sizeof head, "%dx%dx%d %x sky%d a%d j%d d%d w%d ", screenWidth, screenHeight,
                  screenBits, textureMinFilter, clearSky, optAlphaFunc, optJoystick, optSoundDriver,
                  optWindowMode);
    return head + text(routeTextureList) + " " + text(busTextureList) + " " + text(carTextureList) + " " +
           mp3Folder;
}

// The three texture lists of one quality letter for one bus.
std::string lists(const std::string& q, const std::string& bus = "Volvo7000")
{
    return "Dane/Trasy/Test/Tekstury" + q + ".tex Dane/Autobusy/" + bus + "/Tekstury" + q +
           ".tex Dane/Pojazdy/F125/Tekstury" + q + ".tex";
}

const std::string PLAIN = "640x480x16 2701 sky1 a0 j0 d0 w0 ", DEFAULTS = PLAIN + lists("N") + " Dane/Radio/";

struct OptionsTest : ::testing::Test {
    TempDir dir;
    void SetUp() override { currentDir = dir.path, busChoice = 1; }
};

} // namespace

TEST_F(OptionsTest, EveryKeyAndItsOutOfRangeValues)
{
    struct Row { int bus; std::string ini, want; };  // ini empty: no file
    const std::string rest = " 2701 sky1 a0 j0 d0 w0 " + lists("N") + " Dane/Radio/";
    const std::string mp3 = PLAIN + lists("N") + " ";
    const Row rows[] = {
        {1, "", DEFAULTS},
        {1, "[Opcje]\nRozdzielczosc=5\n", "1024x768x32" + rest},
        {1, "[Opcje]\nRozdzielczosc=4\n", "800x600x32" + rest},
        {1, "[Opcje]\nRozdzielczosc=9\n", DEFAULTS}, {1, "[Opcje]\nRozdzielczosc=-1\n", DEFAULTS},
        {1, "[Opcje]\nRozdzielczosc=6\n", DEFAULTS}, {1, "[Opcje]\nRozdzielczosc=abc\n", DEFAULTS},
        // Keys in any case; clouds 2 is dim as 1 is.
        {1, "[opcje]\nzachmurzenie=2\nALPHAFUNC=7\nJoystick=2\nMipmaping=1\nJakoscTekstur=0\nokno=2\n",
         "640x480x16 2601 sky0 a7 j2 d0 w2 " + lists("W") + " Dane/Radio/"},
        {1, "[Opcje]\nMipmaping=3\nJakoscTekstur=2\n", "640x480x16 0 sky1 a0 j0 d0 w0 - - - Dane/Radio/"},
        {0, "[Opcje]\nJakoscTekstur=0\n", PLAIN + lists("W", "Urbino12") + " Dane/Radio/"},
        {0, "[Opcje]\nJakoscTekstur=1\n", PLAIN + lists("N", "Urbino12") + " Dane/Radio/"},
        {1, "[Opcje]\nFolderMp3=" + std::string(400, 'x') + "/\n", mp3 + std::string(254, 'x')},
        {1, "[Opcje]\nFolderMp3=Muzyka/\n", mp3 + "Muzyka/"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.ini);
        std::remove(dir.file("Opcje.ini").c_str());
        if (!r.ini.empty())
            writeFile(dir.file("Opcje.ini"), r.ini);
        busChoice = r.bus;
        readOptions();
        EXPECT_EQ(settings(), r.want);
    }
}

TEST_F(OptionsTest, APipeOrAVeryLongWorkingDirectory)
{
    ASSERT_EQ(mkfifo(dir.file("Opcje.ini").c_str(), 0600), 0);
    readOptions();
    EXPECT_EQ(settings(), DEFAULTS) << "a pipe gives the defaults without waiting";
    TempDir deep;
    std::string path = deep.path;
    for (int i = 0; i < 12; ++i)
        path += "/" + std::string(30, 'd');
    writeFile(path + "/Opcje.ini", "[Opcje]\nRozdzielczosc=3\n");
    currentDir = path;
    readOptions();
    EXPECT_EQ(screenBits, 32);
}

TEST(Profile, NumbersAndText)
{
    TempDir dir;
    const std::string p = dir.file("a.ini");
    writeFile(p, "; comment\n[Other]\nA=5\n[ Opcje ]\r\nA = 12abc\r\nB=-3\nC=words\nD=\nE=+7\n"
                 "S=  \"quoted\"  \n");
    const struct { const char *section, *key; int want; } ints[] = {
        {"Opcje", "A", 12}, {"opcje", "b", -3}, {"Opcje", "C", 0},       {"Opcje", "D", 0},
        {"Opcje", "E", 7},  {"Opcje", "Missing", 99}, {"Nowhere", "A", 99}};
    for (const auto& r : ints)
        EXPECT_EQ(profileReadInt(r.section, r.key, 99, p.c_str()), r.want) << r.section << " " << r.key;
    EXPECT_EQ(profileReadInt("Opcje", "A", 42, dir.file("none.ini").c_str()), 42);
    char buf[8];
    for (auto [key, want] : 
         {std::pair<const char*, const char*>{"S", "quoted"}, {"D", ""}, {"X", "default"}}) {
        profileReadString("Opcje", key, "default-too-long", buf, sizeof buf, p.c_str());
        EXPECT_STREQ(buf, want) << key;
    }
}
