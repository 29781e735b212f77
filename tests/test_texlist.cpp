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

void resetShutdown()
{
    quitRequested = shutdownRequested = exitStatus = 0;
    fakeSysReset();
}

std::string openFailure(const std::string& path)
{
    return "Failed to open DIB file " + path + ".\n";
}

} // namespace

TEST(TextureListRead, CountThenNamesSeparatedByAnyWhiteSpace)
{
    const std::string fits(199, 'a');
    // names: "<too long>" for a name the buffer cannot hold; lengths: the words up to the blank
    struct Row { std::string text; int32_t count, countRead; std::vector<std::string> names;
                 std::vector<size_t> lens; };
    const Row rows[] = {
        {"3\nDane/a.bmp\nDane/b.bmp\r\nC:\\x\\c.bmp\n", 3, 1, {"Dane/a.bmp", "Dane/b.bmp", "C:\\x\\c.bmp"},
         {}},
        {"  2 a.bmp\t\n\n  b.bmp", 2, 1, {"a.bmp", "b.bmp"}, {}},
        {"", 0, 0, {}, {}}, {"   \n", 0, 0, {}, {}}, {"-\n", 0, 0, {}, {}}, {"+x 1", 0, 0, {"x", "1"}, {}},
        {"-4\n", -4, 1, {}, {}}, {"99999999999\n", INT32_MAX, 1, {}, {}},  // saturates instead of wrapping
        // Names up to 199 characters fit; longer ones are refused whole and skipped to their end.
        {"4\n" + fits + "\n" + std::string(200, 'b') + "\n" + std::string(5000, 'c') + "\nlast.bmp\n", 4, 1,
         {fits, "<too long>", "<too long>", "last.bmp"}, {}},
        // A NUL ends the name for the loader and nothing else.
        {std::string("2\nab\0cd.bmp\nnext.bmp\n", 21), 2, 1, {"ab", "next.bmp"}, {9, 8}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 20));
        TextureListReader reader;
        beginTextureList(reader, r.text.data(), r.text.size());
        EXPECT_EQ(std::make_pair(reader.count, int32_t{reader.countRead}),
                  std::make_pair(r.count, r.countRead));
        std::vector<std::string> names;
        std::vector<size_t> lengths;
        char buffer[TEXTURE_NAME_SIZE];
        for (int result; names.size() < 1000 && (result = nextTextureName(reader, buffer)) != SCAN_END;) {
            names.push_back(result == SCAN_WORD_TOO_LONG ? "<too long>" : buffer);
            lengths.push_back(reader.wordLength);
        }
        EXPECT_EQ(names, r.names);
        if (!r.lens.empty()) {
            EXPECT_EQ(lengths, r.lens);
        }
    }
}

TEST(TextureListLoad, AListThatCannotBeReadShowsTheMessageAndStartsTheShutdown)
{
    TempDir dir;
    const std::string missing = dir.file("Tekstury.tex");
    for (const char* path : {missing.c_str(), static_cast<const char*>(nullptr), dir.path.c_str()}) {
        resetShutdown();
        loadTextureList(path, TEX_ROUTE);
        ASSERT_EQ(fakeMessages.size(), 1u);
        EXPECT_EQ(fakeMessages[0].text, "Nie mog\xea za\xb3" "adowa\xe6 pliku 'Tekstury.tex'.\n"
                                        "Uruchamienie programu zostanie teraz zako\xf1" "czone.");
        EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
        EXPECT_EQ(quitRequested + shutdownRequested + exitStatus, 3);
    }
    resetShutdown();
}

// Each missing or overlong name costs its slot and its message; a short list stops at its end, an
// empty one counts nothing, a long one stops at its group's end.
TEST(TextureListLoad, EachMissingImageCostsItsSlotAndListsStopAtTheirEndOrTheGroups)
{
    resetShutdown();
    TempDir dir;
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    writeFile(dir.file("l.tex"), "5\n" + a + "\n" + std::string(250, 'x') + "\n" + b + "\n");
    texCar[0] = texCar[2] = 0;
    loadTextureList(dir.file("l.tex").c_str(), TEX_CAR);
    ASSERT_EQ(fakeMessages.size(), 3u) << "not repeating the last name";
    EXPECT_EQ(fakeMessages[0].text + fakeMessages[2].text, openFailure(a) + openFailure(b));
    EXPECT_EQ(fakeMessages[1].text.rfind("Failed to open DIB file xxxx", 0), 0u);
    EXPECT_EQ(fakeMessages[2].caption, "Error");
    EXPECT_EQ(texCar[0] + texCar[2], 0u);
    EXPECT_EQ(textureListCount, 5);
    EXPECT_EQ(quitRequested, 0) << "a missing image is no reason to end";
    fakeMessages.clear();
    for (const char* text : {"0\n", "", "garbage"}) {
        writeFile(dir.file("l.tex"), text);
        textureListCount = 77;
        loadTextureList(dir.file("l.tex").c_str(), TEX_CAR);
        EXPECT_TRUE(fakeMessages.empty()) << text;
        EXPECT_EQ(textureListCount + quitRequested, 0) << text << ": not the previous list's count";
    }
    std::string text = "25\n";
    for (int i = 0; i < 25; ++i)
        text += dir.file("m" + std::to_string(i) + ".bmp") + "\n";
    writeFile(dir.file("menu.tex"), text);
    loadTextureList(dir.file("menu.tex").c_str(), TEX_MENU);  // 20 slots
    EXPECT_EQ(fakeMessages.size(), 20u);
    EXPECT_EQ(fakeMessages.back().text, openFailure(dir.file("m19.bmp")));
    fakeMessages.clear();
    loadTextureList(dir.file("menu.tex").c_str(), TEX_FONT);  // 1 slot
    EXPECT_EQ(fakeMessages.size(), 1u);
    fakeMessages.clear();
    for (auto [slot, group] : {std::pair<int, int>{20, TEX_MENU}, {-1, TEX_ROUTE}, {0, 7}, {0, -1}})
        loadTexture(dir.file("a.bmp").c_str(), slot, group);
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
