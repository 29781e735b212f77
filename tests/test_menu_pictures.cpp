// The generated menu pictures and font picture, read back with the game's own BMP reader.
#include "assets/bmp.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A picture with row 0 at the top, as the tests think of it.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    int brightness(int x, int y) const { return (at(x, y)[0] + at(x, y)[1] + at(x, y)[2]) / 3; }
    bool black(int x, int y) const { return at(x, y)[0] == 0 && at(x, y)[1] == 0 && at(x, y)[2] == 0; }
};

Image readPicture(const std::string& relative)
{
    const std::string path = generatedTree() + "/" + relative;
    char message[512] = {0};
    ImageRecord* record = loadBmpImageQuiet(path.c_str(), message, sizeof message);
    Image image;
    if (!record) {
        ADD_FAILURE() << relative << ": " << message;
        return image;
    }
    image.width = record->width;
    image.height = record->height;
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y)  // the record's first row is the bottom one
        std::memcpy(&image.rgb[static_cast<size_t>(y) * image.width * 3],
                    record->pixels + static_cast<size_t>(image.height - 1 - y) * image.width * 3,
                    static_cast<size_t>(image.width) * 3);
    freeImage(record);
    return image;
}

double meanBrightness(const Image& image, int x0, int y0, int x1, int y1)
{
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            sum += image.brightness(x, y);
    return sum / ((x1 - x0) * (y1 - y0));
}

// Pixels that differ strongly from their right-hand neighbour: a measure of text and edges.
int edgeCount(const Image& image, int x0, int y0, int x1, int y1)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x + 1 < x1; ++x)
            if (std::abs(image.brightness(x, y) - image.brightness(x + 1, y)) > 60)
                ++count;
    return count;
}

struct MenuPicture {
    const char* file;
    int width;
    int height;
};

const MenuPicture MENU_PICTURES[13] = {
    {"Dane/Menu/logo.gfx", 1024, 1024},          {"Dane/Menu/tlo.gfx", 1024, 1024},
    {"Dane/Menu/nowagra_gora.gfx", 512, 64},     {"Dane/Menu/nowagra_dol.gfx", 512, 64},
    {"Dane/Menu/autobusy_gora.gfx", 512, 64},    {"Dane/Menu/autobusy_dol.gfx", 512, 64},
    {"Dane/Menu/ogrze_gora.gfx", 512, 64},       {"Dane/Menu/ogrze_dol.gfx", 512, 64},
    {"Dane/Menu/wyjscie_gora.gfx", 512, 64},     {"Dane/Menu/wyjscie_dol.gfx", 512, 64},
    {"Dane/Menu/ogrze.gfx", 1024, 512},          {"Dane/Menu/autobusy.gfx", 1024, 512},
    {"Dane/Menu/nowagra.gfx", 1024, 512},
};

// --- Menu pictures ---

TEST(MenuPictures, AllThirteenReadWithTheirSizesAndNoKeyColour)
{
    for (const MenuPicture& expected : MENU_PICTURES) {
        const Image image = readPicture(expected.file);
        ASSERT_EQ(image.width, expected.width) << expected.file;
        ASSERT_EQ(image.height, expected.height) << expected.file;
        // After a run the menu draws without the alpha test: a black texel would show as a hole.
        int keyed = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                keyed += image.black(x, y) ? 1 : 0;
        EXPECT_EQ(keyed, 0) << expected.file;
    }
}

// Text and edges where the menu shows them: labels on both button states, both panel columns, the
// titles of the logo and the background; selected buttons brighter; no two pictures alike.
TEST(MenuPictures, ButtonsPanelsAndTitlesCarryTheirText)
{
    struct Row {
        const char* file;
        int x0, y0, x1, y1, edges;
    };
    const Row rows[] = {
        {"ogrze.gfx", 20, 80, 510, 480, 8000},      {"ogrze.gfx", 540, 80, 1010, 480, 6000},
        {"autobusy.gfx", 40, 90, 490, 440, 4000},   {"autobusy.gfx", 530, 90, 980, 440, 4000},
        {"nowagra.gfx", 200, 150, 824, 230, 1200},  {"logo.gfx", 0, 560, 1024, 700, 2000},
        {"tlo.gfx", 0, 40, 1024, 260, 2500},
    };
    for (const Row& r : rows)
        EXPECT_GT(edgeCount(readPicture(std::string("Dane/Menu/") + r.file), r.x0, r.y0, r.x1, r.y1), r.edges) << r.file;
    for (const char* name : {"nowagra", "autobusy", "ogrze", "wyjscie"}) {
        const Image up = readPicture(std::string("Dane/Menu/") + name + "_gora.gfx");
        const Image down = readPicture(std::string("Dane/Menu/") + name + "_dol.gfx");
        EXPECT_GT(meanBrightness(up, 0, 0, 512, 64), meanBrightness(down, 0, 0, 512, 64) + 60) << name;
        EXPECT_GT(edgeCount(up, 8, 8, 300, 56), 250) << name;
        EXPECT_GT(edgeCount(down, 8, 8, 300, 56), 250) << name;
    }
    std::vector<std::vector<uint8_t>> all;
    for (const MenuPicture& m : MENU_PICTURES)
        all.push_back(readPicture(m.file).rgb);
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j)
            EXPECT_NE(all[i], all[j]) << MENU_PICTURES[i].file << " and " << MENU_PICTURES[j].file;
}

// --- Font picture ---

constexpr int FONT_SIZE = 512;
constexpr int CELL = 32;

struct Ink {
    int count = 0;
    int left = CELL, right = -1, top = CELL, bottom = -1;  // bounds within the cell
    long brightness = 0;
};

Ink cellInk(const Image& font, int cell)
{
    Ink ink;
    const int cx = (cell % 16) * CELL, cy = (cell / 16) * CELL;
    for (int y = 0; y < CELL; ++y)
        for (int x = 0; x < CELL; ++x) {
            if (font.black(cx + x, cy + y))
                continue;
            ++ink.count;
            ink.brightness += font.brightness(cx + x, cy + y);
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
}

class FontPicture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { font = new Image(readPicture("Dane/czcionka.gfx")); }
    static void TearDownTestSuite()
    {
        delete font;
        font = nullptr;
    }
    static Image* font;
};
Image* FontPicture::font = nullptr;

TEST_F(FontPicture, GreyGlyphsOnKeyBlackForTheVisibleCodesOfBothSets)
{
    ASSERT_EQ(font->width, FONT_SIZE);
    ASSERT_EQ(font->height, FONT_SIZE);
    for (int y = 0; y < FONT_SIZE; ++y)
        for (int x = 0; x < FONT_SIZE; ++x) {
            const uint8_t* p = font->at(x, y);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;  // white glyphs, shaded edges
        }
    for (int cell = 0; cell < 256; ++cell) {
        const int code = cell % 128 + 32;
        EXPECT_EQ(cellInk(*font, cell).count > 0, code > 32 && code < 127) << "cell " << cell;
    }
}

TEST_F(FontPicture, EveryGlyphOfASetIsItsOwn)
{
    // Every visible glyph of a set is different from every other.
    for (int set = 0; set < 2; ++set)
        for (int a = 33; a < 127; ++a)
            for (int b = a + 1; b < 127; ++b) {
                const int ca = a - 32 + 128 * set, cb = b - 32 + 128 * set;
                bool same = true;
                for (int y = 0; y < CELL && same; ++y)
                    same = std::memcmp(font->at((ca % 16) * CELL, (ca / 16) * CELL + y),
                                       font->at((cb % 16) * CELL, (cb / 16) * CELL + y), CELL * 3) == 0;
                EXPECT_FALSE(same) << "set " << set << ": " << char(a) << " and " << char(b);
            }
}

} // namespace
