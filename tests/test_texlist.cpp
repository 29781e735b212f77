// Texture lists (".tex"): the reader on good, short and hostile lists, and the loader's messages
// and shutdown. Images here are all missing, so nothing reaches GL.
#include "core/game.h"
#include "assets/bmp.h"
#include "assets/ids.h"
#include "assets/textures.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ListRead {
    int32_t count = -99;
    uint8_t countRead = 0;
    std::vector<std::string> names;  // "<too long>" for a name the buffer cannot hold
};

ListRead readList(const std::string& text, int maxNames = 1000)
{
    TextureListReader reader;
    beginTextureList(reader, text.data(), text.size());
    ListRead out;
    out.count = reader.count;
    out.countRead = reader.countRead;
    char buffer[TEXTURE_NAME_SIZE];
    for (int i = 0; i < maxNames; ++i) {
        const int r = nextTextureName(reader, buffer);
        if (r == SCAN_END)
            break;
        out.names.push_back(r == SCAN_WORD_TOO_LONG ? "<too long>" : buffer);
    }
    return out;
}

void resetShutdown()
{
    quitRequested = 0;
    shutdownRequested = 0;
    exitStatus = 0;
    fakeSysReset();
}

const std::string LIST_FAILURE =
    "Nie mog\xea za\xb3" "adowa\xe6 pliku 'Tekstury.tex'.\nUruchamienie programu zostanie teraz zako\xf1" "czone.";

} // namespace

TEST(TextureListRead, CanonicalLayout)
{
    ListRead r = readList("3\nDane/a.bmp\nDane/b.bmp\r\nC:\\x\\c.bmp\n");
    EXPECT_EQ(r.count, 3);
    EXPECT_EQ(r.countRead, 1);
    EXPECT_EQ(r.names, (std::vector<std::string>{"Dane/a.bmp", "Dane/b.bmp", "C:\\x\\c.bmp"}));
}

TEST(TextureListRead, AnyWhiteSpaceSeparatesNames)
{
    ListRead r = readList("  2 a.bmp\t\n\n  b.bmp");
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(r.names, (std::vector<std::string>{"a.bmp", "b.bmp"}));
}

TEST(TextureListRead, CountThatDoesNotConvertIsZero)
{
    for (const char* text : {"", "   \n", "abc\na.bmp\n", "-\n", "+x 1"}) {
        ListRead r = readList(text, 0);
        EXPECT_EQ(r.count, 0) << text;
        EXPECT_EQ(r.countRead, 0) << text;
    }
    EXPECT_EQ(readList("-4\n").count, -4);
    EXPECT_EQ(readList("99999999999\n").count, INT32_MAX) << "saturates instead of wrapping";
}

TEST(TextureListRead, NamesUpTo199CharactersFitLongerOnesAreRefusedWhole)
{
    const std::string fits(199, 'a'), tooLong(200, 'b'), huge(5000, 'c');
    ListRead r = readList("4\n" + fits + "\n" + tooLong + "\n" + huge + "\nlast.bmp\n");
    ASSERT_EQ(r.names.size(), 4u);
    EXPECT_EQ(r.names[0], fits);
    EXPECT_EQ(r.names[1], "<too long>");
    EXPECT_EQ(r.names[2], "<too long>");
    EXPECT_EQ(r.names[3], "last.bmp") << "the long names are skipped to their end";
}

TEST(TextureListLoad, MissingListShowsTheMessageAndStartsTheShutdown)
{
    resetShutdown();
    TempDir dir;
    loadTextureList(dir.file("Tekstury.tex").c_str(), TEX_ROUTE);
    ASSERT_EQ(fakeMessages.size(), 1u);
    EXPECT_EQ(fakeMessages[0].text, LIST_FAILURE);
    EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
    EXPECT_EQ(quitRequested, 1);
    EXPECT_EQ(shutdownRequested, 1);
    EXPECT_EQ(exitStatus, 1);
    resetShutdown();
}

TEST(TextureListLoad, UnsetPathAndFolderFailTheSameWay)
{
    for (int i = 0; i < 2; ++i) {
        resetShutdown();
        TempDir dir;
        loadTextureList(i == 0 ? nullptr : dir.path.c_str(), TEX_BUS);
        ASSERT_EQ(fakeMessages.size(), 1u);
        EXPECT_EQ(fakeMessages[0].text, LIST_FAILURE);
        EXPECT_EQ(quitRequested, 1);
    }
    resetShutdown();
}

TEST(TextureListLoad, EmptyListLoadsNothingAndSaysNothing)
{
    resetShutdown();
    TempDir dir;
    for (const char* text : {"0\n", "", "garbage"}) {
        writeFile(dir.file("l.tex"), text);
        textureListCount = 77;
        loadTextureList(dir.file("l.tex").c_str(), TEX_CAR);
        EXPECT_TRUE(fakeMessages.empty()) << text;
        EXPECT_EQ(textureListCount, 0) << text << ": not the previous list's count";
        EXPECT_EQ(quitRequested, 0);
    }
}

TEST(TextureListLoad, EachMissingImageCostsItsSlotAndItsMessage)
{
    resetShutdown();
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeFile(dir.file("l.tex"), "2\n" + a + "\n" + b + "\n");
    texCar[0] = 0;
    texCar[1] = 0;
    loadTextureList(dir.file("l.tex").c_str(), TEX_CAR);
    ASSERT_EQ(fakeMessages.size(), 2u);
    EXPECT_EQ(fakeMessages[0].text, "Failed to open DIB file " + a + ".\n");
    EXPECT_EQ(fakeMessages[1].text, "Failed to open DIB file " + b + ".\n");
    EXPECT_EQ(fakeMessages[1].caption, "Error");
    EXPECT_EQ(texCar[0], 0u);
    EXPECT_EQ(texCar[1], 0u);
    EXPECT_EQ(quitRequested, 0) << "a missing image is no reason to end";
}

TEST(TextureListLoad, CountLargerThanTheGroupFillsOnlyTheGroup)
{
    resetShutdown();
    TempDir dir;
    std::string text = "25\n";
    for (int i = 0; i < 25; ++i)
        text += dir.file("m" + std::to_string(i) + ".bmp") + "\n";
    writeFile(dir.file("menu.tex"), text);
    loadTextureList(dir.file("menu.tex").c_str(), TEX_MENU);  // 20 slots
    EXPECT_EQ(fakeMessages.size(), 20u);
    EXPECT_EQ(fakeMessages.back().text, "Failed to open DIB file " + dir.file("m19.bmp") + ".\n");

    fakeMessages.clear();
    loadTextureList(dir.file("menu.tex").c_str(), TEX_FONT);  // 1 slot
    EXPECT_EQ(fakeMessages.size(), 1u);
}

TEST(TextureListLoad, ShortListStopsAtItsEndWithoutRepeatingTheLastName)
{
    resetShutdown();
    TempDir dir;
    writeFile(dir.file("l.tex"), "5\n" + dir.file("only.bmp") + "\n");
    loadTextureList(dir.file("l.tex").c_str(), TEX_GAUGES);
    EXPECT_EQ(fakeMessages.size(), 1u);
    EXPECT_EQ(textureListCount, 5);
}

TEST(TextureListLoad, OverlongNameFailsLikeAMissingImage)
{
    resetShutdown();
    TempDir dir;
    const std::string longName(250, 'x');
    writeFile(dir.file("l.tex"), "2\n" + longName + "\n" + dir.file("next.bmp") + "\n");
    loadTextureList(dir.file("l.tex").c_str(), TEX_TIMETABLE);
    ASSERT_EQ(fakeMessages.size(), 2u);
    EXPECT_EQ(fakeMessages[0].text.rfind("Failed to open DIB file xxxx", 0), 0u);
    EXPECT_EQ(fakeMessages[1].text, "Failed to open DIB file " + dir.file("next.bmp") + ".\n");
}

TEST(TextureLoad, SlotsAndGroupsOutsideTheTablesAreIgnored)
{
    resetShutdown();
    TempDir dir;
    loadTexture(dir.file("a.bmp").c_str(), 20, TEX_MENU);
    loadTexture(dir.file("a.bmp").c_str(), -1, TEX_ROUTE);
    loadTexture(dir.file("a.bmp").c_str(), 0, 7);
    loadTexture(dir.file("a.bmp").c_str(), 0, -1);
    EXPECT_TRUE(fakeMessages.empty()) << "nothing is even read for a slot that does not exist";
}

TEST(ColourKey, OnlyPureBlackBecomesTransparent)
{
    const uint8_t rgb[] = {0, 0, 0, 0, 0, 1, 255, 255, 255, 1, 0, 0, 0, 1, 0};
    uint8_t rgba[5 * 4];
    applyColourKey(rgb, 5, rgba);
    const uint8_t want[] = {0, 0, 0, 0, 0, 0, 1, 255, 255, 255, 255, 255, 1, 0, 0, 255, 0, 1, 0, 255};
    EXPECT_EQ(std::vector<uint8_t>(rgba, rgba + 20), std::vector<uint8_t>(want, want + 20));
}
