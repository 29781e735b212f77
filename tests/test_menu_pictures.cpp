// The generated menu pictures and font picture, read back with the game's own BMP reader.
#include "assets/bmp.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// A picture with row 0 at the top, as the tests think of it.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
    int brightness(int x, int y) const { return (at(x, y)[0] + at(x, y)[1] + at(x, y)[2]) / 3; }
    bool black(int x, int y) const { return at(x, y)[0] == 0 && at(x, y)[1] == 0 && at(x, y)[2] == 0; }
};

Image readPicture(const std::string& relative)
{
    char message[512] = {0};
    ImageRecord* record = loadBmpImageQuiet((generatedTree() + "/" + relative).c_str(), message, sizeof message);
    Image image;
    if (!record) {
        ADD_FAILURE() << relative << ": " << message;
        return image;
    }
    image.width = record->width;
    image.height = record->height;
    const size_t row = static_cast<size_t>(image.width) * 3;
    image.rgb.resize(row * image.height);
    for (int y = 0; y < image.height; ++y)  // the record's first row is the bottom one
        std::memcpy(&image.rgb[y * row], record->pixels + (image.height - 1 - y) * row, row);
    freeImage(record);
    return image;
}

// Mean brightness, and the pixels that differ strongly from their right-hand neighbour (text and edges).
double meanBrightness(const Image& image)
{
    double sum = 0;
    for (size_t i = 0; i < image.rgb.size(); ++i)
        sum += image.rgb[i];
    return sum / image.rgb.size();
}

int edgeCount(const Image& image, int x0, int y0, int x1, int y1)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x + 1 < x1; ++x)
            count += std::abs(image.brightness(x, y) - image.brightness(x + 1, y)) > 60;
    return count;
}

const struct {
    const char* file;
    int width, height;
} MENU_PICTURES[13] = {
    {"logo", 1024, 1024},         {"tlo", 1024, 1024},         {"nowagra_gora", 512, 64}, {"nowagra_dol", 512, 64},
    {"autobusy_gora", 512, 64},   {"autobusy_dol", 512, 64},   {"ogrze_gora", 512, 64},   {"ogrze_dol", 512, 64},
    {"wyjscie_gora", 512, 64},    {"wyjscie_dol", 512, 64},    {"ogrze", 1024, 512},      {"autobusy", 1024, 512},
    {"nowagra", 1024, 512},
};

Image menuPicture(const std::string& name)
{
    return readPicture("Dane/Menu/" + name + ".gfx");
}

} // namespace

TEST(MenuPictures, AllThirteenReadWithTheirSizesNoKeyColourAndNoTwoAlike)
{
    std::vector<std::vector<uint8_t>> all;
    for (const auto& expected : MENU_PICTURES) {
        SCOPED_TRACE(expected.file);
        const Image image = menuPicture(expected.file);
        ASSERT_EQ(image.width, expected.width);
        ASSERT_EQ(image.height, expected.height);
        // After a run the menu draws without the alpha test: a black texel would show as a hole.
        int keyed = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                keyed += image.black(x, y);
        EXPECT_EQ(keyed, 0);
        for (size_t j = 0; j < all.size(); ++j)
            EXPECT_NE(image.rgb, all[j]) << MENU_PICTURES[j].file;
        all.push_back(image.rgb);
    }
}

// Text and edges where the menu shows them: labels on both button states, both panel columns, the
// titles of the logo and the background; selected buttons brighter.
TEST(MenuPictures, ButtonsPanelsAndTitlesCarryTheirText)
{
    const struct {
        const char* file;
        int x0, y0, x1, y1, edges;
    } rows[] = {
        {"ogrze", 20, 80, 510, 480, 8000},     {"ogrze", 540, 80, 1010, 480, 6000},
        {"autobusy", 40, 90, 490, 440, 4000},  {"autobusy", 530, 90, 980, 440, 4000},
        {"nowagra", 200, 150, 824, 230, 1200}, {"logo", 0, 560, 1024, 700, 2000},
        {"tlo", 0, 40, 1024, 260, 2500},
    };
    for (const auto& r : rows)
        EXPECT_GT(edgeCount(menuPicture(r.file), r.x0, r.y0, r.x1, r.y1), r.edges) << r.file;
    for (const std::string name : {"nowagra", "autobusy", "ogrze", "wyjscie"}) {
        const Image up = menuPicture(name + "_gora"), down = menuPicture(name + "_dol");
        EXPECT_GT(meanBrightness(up), meanBrightness(down) + 60) << name;
        EXPECT_GT(edgeCount(up, 8, 8, 300, 56), 250) << name;
        EXPECT_GT(edgeCount(down, 8, 8, 300, 56), 250) << name;
    }
}

TEST(FontPicture, GreyGlyphsOnKeyBlackForTheVisibleCodesOfBothSetsEachItsOwn)
{
    const Image font = readPicture("Dane/czcionka.gfx");
    constexpr int CELL = 32;
    ASSERT_EQ(font.width, 16 * CELL);
    ASSERT_EQ(font.height, 16 * CELL);
    for (int y = 0; y < font.height; ++y)
        for (int x = 0; x < font.width; ++x) {
            const uint8_t* p = font.at(x, y);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;  // white glyphs, shaded edges
        }
    const auto cellRow = [&](int cell, int y) { return font.at((cell % 16) * CELL, (cell / 16) * CELL + y); };
    for (int cell = 0; cell < 256; ++cell) {
        int ink = 0;
        for (int y = 0; y < CELL; ++y)
            for (int x = 0; x < CELL; ++x)
                ink += !font.black((cell % 16) * CELL + x, (cell / 16) * CELL + y);
        const int code = cell % 128 + 32;
        EXPECT_EQ(ink > 0, code > 32 && code < 127) << "cell " << cell;
    }
    // Every visible glyph of a set is different from every other.
    for (int set = 0; set < 2; ++set)
        for (int a = 33; a < 127; ++a)
            for (int b = a + 1; b < 127; ++b) {
                bool same = true;
                for (int y = 0; y < CELL && same; ++y)
                    same = std::memcmp(cellRow(a - 32 + 128 * set, y), cellRow(b - 32 + 128 * set, y), CELL * 3) == 0;
                EXPECT_FALSE(same) << "set " << set << ": " << char(a) << " and " << char(b);
            }
}
