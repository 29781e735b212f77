// Texture lists (".tex"): the reader on good, short and hostile lists, the loader's messages and
// shutdown (images all missing, so nothing reaches GL); the colour key.
#include "core/game.h"
#include "assets/ids.h"
#include "assets/textures.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <tuple>

namespace {

void resetShutdown()
{
    game.quitRequested = game.shutdownRequested = game.exitStatus = 0;
    fakeSysReset();
}

} // namespace

TEST(TextureListRead, CountThenNamesSeparatedByAnyWhiteSpace)
{
    const std::string fits(199, 'a');
    // "<too long>": a name the buffer cannot hold; "/n" after a name whose word is n long
    struct Row { std::string text; int32_t count, countRead; std::vector<std::string> names; };
    const Row rows[] = {
        {"3\nDane/a.bmp\nDane/b.bmp\r\nC:\\x\\c.bmp\n", 3, 1, {"Dane/a.bmp", "Dane/b.bmp", "C:\\x\\c.bmp"}},
        {"  2 a.bmp\t\n\n  b.bmp", 2, 1, {"a.bmp", "b.bmp"}}, {"", 0, 0, {}}, {"   \n", 0, 0, {}},
        {"-\n", 0, 0, {}}, {"+x 1", 0, 0, {"x", "1"}}, {"-4\n", -4, 1, {}},
        {"99999999999\n", INT32_MAX, 1, {}},  // saturates instead of wrapping
        // Names up to 199 characters fit; longer ones are refused whole and skipped to their end.
        {"4\n" + fits + "\n" + std::string(200, 'b') + "\n" + std::string(5000, 'c') + "\nlast.bmp\n", 4, 1,
         {fits, "<too long>", "<too long>", "last.bmp"}},
        // A NUL ends the name for the loader and nothing else.
        {std::string("2\nab\0cd.bmp\nnext.bmp\n", 21), 2, 1, {"ab/9", "next.bmp"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 20));
        TextureListReader reader;
        beginTextureList(reader, r.text.data(), r.text.size());
        EXPECT_EQ(std::make_pair(reader.count, int32_t{reader.countRead}),
                  std::make_pair(r.count, r.countRead));
        std::vector<std::string> names;
        char buffer[TEXTURE_NAME_SIZE];
        for (int got; names.size() < 1000 && (got = nextTextureName(reader, buffer)) != SCAN_END;) {
            names.push_back(got == SCAN_WORD_TOO_LONG ? "<too long>" : buffer);
            if (got != SCAN_WORD_TOO_LONG && reader.wordLength != names.back().size())
                names.back() += "/" + std::to_string(reader.wordLength);
        }
        EXPECT_EQ(names, r.names);
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
        EXPECT_EQ(fakeMessages[0].caption, "B\xb3\xb9" "d");
        EXPECT_EQ(fakeMessages[0].text, "Nie mog\xea za\xb3" "adowa\xe6 pliku 'Tekstury.tex'.\n"
                  "Uruchamienie programu zostanie teraz zako\xf1" "czone.");
        EXPECT_EQ(std::make_tuple(game.quitRequested, game.shutdownRequested, game.exitStatus), std::make_tuple(1, 1, 1));
    }
}

// Each missing or overlong name costs its slot and its message; a list stops at its end or its group's.
TEST(TextureListLoad, EachMissingImageCostsItsSlotAndListsStopAtTheirEndOrTheGroups)
{
    TempDir dir;
    std::string many = "25\n";
    for (int i = 0; i < 25; ++i)
        many += dir.file("m" + std::to_string(i) + ".bmp") + "\n";
    const std::string a = dir.file("a.bmp"), b = dir.file("b.bmp");
    const struct { std::string text; int group; size_t messages; std::string last; int32_t count; } rows[] = {
        {"5\n" + a + "\n" + std::string(250, 'x') + "\n" + b + "\n", TEX_CAR, 3, b, 5},  // not repeating b
        {"0\n", TEX_CAR, 0, "", 0}, {"", TEX_CAR, 0, "", 0}, {"garbage", TEX_CAR, 0, "", 0},
        {many, TEX_MENU, 20, dir.file("m19.bmp"), 25}, {many, TEX_FONT, 1, dir.file("m0.bmp"), 25},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 20));
        resetShutdown();
        writeFile(dir.file("l.tex"), r.text);
        textureList.count = 77;
        loadTextureList(dir.file("l.tex").c_str(), r.group);
        ASSERT_EQ(fakeMessages.size(), r.messages);
        for (const auto& m : fakeMessages)
            EXPECT_EQ(std::make_tuple(m.caption, m.text.rfind("Failed to open DIB file ", 0)),
                      std::make_tuple(std::string("Error"), size_t{0})) << m.text;
        if (r.messages) {
            EXPECT_EQ(fakeMessages.back().text, "Failed to open DIB file " + r.last + ".\n");
        }
        EXPECT_EQ(textureList.count, r.count) << "not the previous list's count";
        EXPECT_EQ(game.quitRequested, 0) << "a missing image is no reason to end";
    }
    fakeMessages.clear();
    for (auto [slot, group] : {std::pair<int, int>{20, TEX_MENU}, {-1, TEX_ROUTE}, {0, 7}, {0, -1}})
        loadTexture(a.c_str(), slot, group);
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
