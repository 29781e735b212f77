#include "core/game.h"
#include "core/options.h"
#include "platform/services/profile.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

namespace {

struct OptionsTest : ::testing::Test {
    TempDir dir;
    void SetUp() override
    {
        currentDir = dir.path;
        busChoice = 1;
    }
    void write(const std::string& body) { writeFile(dir.file("Opcje.ini"), body); }
};

} // namespace

TEST_F(OptionsTest, NoFileGivesEveryDefault)
{
    readOptions();
    EXPECT_EQ(screenWidth, 640);
    EXPECT_EQ(screenHeight, 480);
    EXPECT_EQ(screenBits, 16);
    EXPECT_STREQ(routeTextureList, "Dane/Trasy/Test/TeksturyN.tex");
    EXPECT_STREQ(busTextureList, "Dane/Autobusy/Volvo7000/TeksturyN.tex");
    EXPECT_STREQ(carTextureList, "Dane/Pojazdy/F125/TeksturyN.tex");
    EXPECT_EQ(textureMinFilter, 0x2701);
    EXPECT_EQ(clearSky, 1);
    EXPECT_EQ(optAlphaFunc, 0);
    EXPECT_EQ(optJoystick, 0);
    EXPECT_EQ(optSoundDriver, 0);
    EXPECT_EQ(optWindowMode, 0);  // the display-mode switch, as without the key
    EXPECT_STREQ(mp3Folder, "Dane/Radio/");
}

TEST_F(OptionsTest, ResolutionTableAndOutOfRangeValues)
{
    write("[Opcje]\nRozdzielczosc=5\n");
    readOptions();
    EXPECT_EQ(screenWidth, 1024);
    EXPECT_EQ(screenHeight, 768);
    EXPECT_EQ(screenBits, 32);
    write("[Opcje]\nRozdzielczosc=4\n");
    readOptions();
    EXPECT_EQ(screenWidth, 800);
    EXPECT_EQ(screenBits, 32);
    for (const char* v : {"9", "-1", "6", "abc"}) {
        write(std::string("[Opcje]\nRozdzielczosc=") + v + "\n");
        readOptions();
        EXPECT_EQ(screenWidth, 640) << v;
        EXPECT_EQ(screenHeight, 480) << v;
        EXPECT_EQ(screenBits, 16) << v;
    }
}

TEST_F(OptionsTest, DerivedChoices)
{
    write("[opcje]\nzachmurzenie=2\nALPHAFUNC=7\nJoystick=2\nMipmaping=1\nJakoscTekstur=0\nokno=2\n");
    readOptions();
    EXPECT_EQ(optWindowMode, 2);
    EXPECT_EQ(clearSky, 0);  // dim, as with 1
    EXPECT_EQ(optAlphaFunc, 7);
    EXPECT_EQ(optJoystick, 2);
    EXPECT_EQ(textureMinFilter, 0x2601);
    EXPECT_STREQ(routeTextureList, "Dane/Trasy/Test/TeksturyW.tex");
    write("[Opcje]\nMipmaping=3\nJakoscTekstur=2\n");
    readOptions();
    EXPECT_EQ(textureMinFilter, 0);
    EXPECT_EQ(routeTextureList, nullptr);
    EXPECT_EQ(busTextureList, nullptr);
    EXPECT_EQ(carTextureList, nullptr);
}

TEST_F(OptionsTest, LetterSChoosesTheOtherBusInEitherQuality)
{
    busChoice = 0;
    write("[Opcje]\nJakoscTekstur=0\n");
    readOptions();
    EXPECT_STREQ(busTextureList, "Dane/Autobusy/Urbino12/TeksturyW.tex");
    write("[Opcje]\nJakoscTekstur=1\n");
    readOptions();
    EXPECT_STREQ(busTextureList, "Dane/Autobusy/Urbino12/TeksturyN.tex");
}

TEST_F(OptionsTest, RadioFolderIsCutToItsBuffer)
{
    write("[Opcje]\nFolderMp3=" + std::string(400, 'x') + "/\n");
    readOptions();
    EXPECT_EQ(std::string(mp3Folder).size(), 254u);
    write("[Opcje]\nFolderMp3=Muzyka/\n");
    readOptions();
    EXPECT_STREQ(mp3Folder, "Muzyka/");
}

TEST_F(OptionsTest, AVeryLongWorkingDirectoryIsNoProblem)
{
    TempDir deep;
    std::string path = deep.path;
    for (int i = 0; i < 12; ++i)
        path += "/" + std::string(30, 'd');
    writeFile(path + "/Opcje.ini", "[Opcje]\nRozdzielczosc=3\n");
    currentDir = path;
    readOptions();
    EXPECT_EQ(screenBits, 32);
}

TEST_F(OptionsTest, APipeForTheFileGivesTheDefaultsWithoutWaiting)
{
    ASSERT_EQ(mkfifo(dir.file("Opcje.ini").c_str(), 0600), 0);
    readOptions();
    EXPECT_EQ(screenBits, 16);
    EXPECT_STREQ(mp3Folder, "Dane/Radio/");
}

TEST(Profile, NumbersAndText)
{
    TempDir dir;
    const std::string p = dir.file("a.ini");
    writeFile(p, "; comment\n[Other]\nA=5\n[ Opcje ]\r\nA = 12abc\r\nB=-3\nC=words\nD=\nE=+7\nS=  \"quoted\"  \n");
    EXPECT_EQ(profileReadInt("Opcje", "A", 99, p.c_str()), 12);
    EXPECT_EQ(profileReadInt("opcje", "b", 99, p.c_str()), -3);
    EXPECT_EQ(profileReadInt("Opcje", "C", 99, p.c_str()), 0);
    EXPECT_EQ(profileReadInt("Opcje", "D", 99, p.c_str()), 0);
    EXPECT_EQ(profileReadInt("Opcje", "E", 99, p.c_str()), 7);
    EXPECT_EQ(profileReadInt("Opcje", "Missing", 99, p.c_str()), 99);
    EXPECT_EQ(profileReadInt("Nowhere", "A", 42, p.c_str()), 42);
    EXPECT_EQ(profileReadInt("Opcje", "A", 42, dir.file("none.ini").c_str()), 42);
    char buf[8];
    profileReadString("Opcje", "S", "def", buf, sizeof buf, p.c_str());
    EXPECT_STREQ(buf, "quoted");
    profileReadString("Opcje", "D", "def", buf, sizeof buf, p.c_str());
    EXPECT_STREQ(buf, "");
    profileReadString("Opcje", "X", "default-too-long", buf, sizeof buf, p.c_str());
    EXPECT_STREQ(buf, "default");
}
