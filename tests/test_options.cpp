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
    std::snprintf(head, sizeof head, "%dx%dx%d %x sky%d a%d j%d d%d w%d ", options.screenWidth, options.screenHeight,
                  options.screenBits, options.textureMinFilter, options.clearSky, options.alphaFunc, options.joystick, options.soundDriver,
                  options.windowMode);
    return head + text(options.routeTextureList) + " " + text(options.busTextureList) + " " + text(options.carTextureList) + " " +
           options.mp3Folder;
}

// The three texture lists of one quality letter for one bus.
std::string lists(const std::string& q, const std::string& bus = "Volvo7000")
{
    return "Dane/Trasy/Test/Tekstury" + q + ".tex Dane/Autobusy/" + bus + "/Tekstury" + q +
           ".tex Dane/Pojazdy/F125/Tekstury" + q + ".tex";
}

} // namespace

// The file is rewritten for each row; empty: no file, "fifo": a pipe, which must not be waited on.
TEST(Options, EveryKeyAndItsOutOfRangeValues)
{
    TempDir dir;
    setCurrentDir(dir.path.c_str());
    const std::string flags = " 2701 sky1 a0 j0 d0 w0 ", plain = "640x480x16" + flags;
    const std::string mp3 = plain + lists("N") + " ";
    const std::string rest = flags + lists("N") + " Dane/Radio/", defaults = "640x480x16" + rest;
    const std::string o = "[Opcje]\n", res = o + "Rozdzielczosc=";
    const struct { int bus; std::string ini, want; } rows[] = {
        {1, "", defaults}, {1, "fifo", defaults}, {1, res + "9\n", defaults}, {1, res + "-1\n", defaults},
        {1, res + "6\n", defaults}, {1, res + "abc\n", defaults},
        {1, res + "5\n", "1024x768x32" + rest}, {1, res + "4\n", "800x600x32" + rest},
        // Keys in any case; clouds 2 is dim as 1 is.
        {1, "[opcje]\nzachmurzenie=2\nALPHAFUNC=7\nJoystick=2\nMipmaping=1\nJakoscTekstur=0\nokno=2\n",
         "640x480x16 2601 sky0 a7 j2 d0 w2 " + lists("W") + " Dane/Radio/"},
        {1, o + "Mipmaping=3\nJakoscTekstur=2\n", "640x480x16 0 sky1 a0 j0 d0 w0 - - - Dane/Radio/"},
        {0, o + "JakoscTekstur=0\n", plain + lists("W", "Urbino12") + " Dane/Radio/"},
        {0, o + "JakoscTekstur=1\n", plain + lists("N", "Urbino12") + " Dane/Radio/"},
        {1, o + "FolderMp3=" + std::string(400, 'x') + "/\n", mp3 + std::string(254, 'x')},
        {1, o + "FolderMp3=Muzyka/\n", mp3 + "Muzyka/"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.ini);
        const std::string file = dir.file("Opcje.ini");
        std::remove(file.c_str());
        if (r.ini == "fifo")
            ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
        else if (!r.ini.empty())
            writeFile(file, r.ini);
        game.busChoice = r.bus;
        readOptions();
        EXPECT_EQ(settings(), r.want);
    }
    std::string path = dir.path;  // a very long working directory
    for (int i = 0; i < 12; ++i) path += "/" + std::string(30, 'd');
    writeFile(path + "/Opcje.ini", res + "3\n");
    setCurrentDir(path.c_str());
    readOptions();
    EXPECT_EQ(options.screenBits, 32);
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
    using Text = std::pair<const char*, const char*>;
    for (auto [key, want] : {Text{"S", "quoted"}, {"D", ""}, {"X", "default"}}) {
        profileReadString("Opcje", key, "default-too-long", buf, sizeof buf, p.c_str());
        EXPECT_STREQ(buf, want) << key;
    }
}
