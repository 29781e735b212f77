// The generated menu pictures and font picture, read back with the game's own BMP reader.
#include "assets/bmp.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

// A picture as the reader gives it, looked at with row 0 at the top.
struct Image {
    std::unique_ptr<ImageRecord, void (*)(ImageRecord*)> record{nullptr, freeImage};
    int width = 0, height = 0;
    const uint8_t* at(int x, int y) const { return record->pixels + ((height - 1 - y) * width + x) * 3; }
    int brightness(int x, int y) const { return (at(x, y)[0] + at(x, y)[1] + at(x, y)[2]) / 3; }
    bool black(int x, int y) const { return at(x, y)[0] == 0 && at(x, y)[1] == 0 && at(x, y)[2] == 0; }
    std::string bytes() const { return {reinterpret_cast<char*>(record->pixels), width * height * 3u}; }
};

Image readPicture(const std::string& relative)
{
    char message[512] = {0};
    Image image;
    const std::string path = generatedTree() + "/" + relative;
    image.record.reset(loadBmpImageQuiet(path.c_str(), message, sizeof message));
    if (image.record) {
        image.width = image.record->width;
        image.height = image.record->height;
    }
    EXPECT_TRUE(image.record) << relative << ": " << message;
    return image;
}
Image menuPicture(const std::string& name) { return readPicture("Dane/Menu/" + name + ".gfx"); }

double meanBrightness(const Image& image)
{
    double sum = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            sum += image.brightness(x, y);
    return sum / (image.width * image.height);
}

// The pixels that differ strongly from their right-hand neighbour (text and edges).
int edgeCount(const Image& image, int x0, int y0, int x1, int y1)
{
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x + 1 < x1; ++x)
            count += std::abs(image.brightness(x, y) - image.brightness(x + 1, y)) > 60;
    return count;
}

} // namespace

TEST(MenuPictures, AllThirteenReadWithTheirSizesNoKeyColourAndNoTwoAlike)
{
    const struct {
        const char* file;
        int width, height;
    } pictures[] = {
        {"logo", 1024, 1024},     {"tlo", 1024, 1024},        {"nowagra_gora", 512, 64},
        {"nowagra_dol", 512, 64}, {"autobusy_gora", 512, 64}, {"autobusy_dol", 512, 64},
        {"ogrze_gora", 512, 64},  {"ogrze_dol", 512, 64},     {"wyjscie_gora", 512, 64},
        {"wyjscie_dol", 512, 64}, {"ogrze", 1024, 512},       {"autobusy", 1024, 512},
        {"nowagra", 1024, 512},
    };
    std::vector<std::string> seen;
    for (const auto& expected : pictures) {
        SCOPED_TRACE(expected.file);
        const Image image = menuPicture(expected.file);
        ASSERT_TRUE(image.width == expected.width && image.height == expected.height)
            << image.width << "x" << image.height;
        // After a run the menu draws without the alpha test: a black texel would show as a hole.
        int keyed = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                keyed += image.black(x, y);
        EXPECT_EQ(keyed, 0);
        EXPECT_EQ(std::find(seen.begin(), seen.end(), image.bytes()), seen.end()) << "the same as another";
        seen.push_back(image.bytes());
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
        EXPECT_GT(std::min(edgeCount(up, 8, 8, 300, 56), edgeCount(down, 8, 8, 300, 56)), 250) << name;
    }
}

TEST(FontPicture, GreyGlyphsOnKeyBlackForTheVisibleCodesOfBothSetsEachItsOwn)
{
    const Image font = readPicture("Dane/czcionka.gfx");
    constexpr int CELL = 32;
    ASSERT_TRUE(font.width == 16 * CELL && font.height == 16 * CELL);
    for (int y = 0; y < font.height; ++y)
        for (int x = 0; x < font.width; ++x) {
            const uint8_t* p = font.at(x, y);
            ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << x << "," << y;  // white glyphs, shaded edges
        }
    // A cell's rows, top to bottom, as one string.
    const auto cell = [&](int k) {
        std::string rows;
        for (int y = 0; y < CELL; ++y)
            rows.append(reinterpret_cast<const char*>(font.at(k % 16 * CELL, k / 16 * CELL + y)), CELL * 3);
        return rows;
    };
    const std::string blank(CELL * CELL * 3, '\0');
    for (int k = 0; k < 256; ++k) {
        const int code = k % 128 + 32;
        EXPECT_EQ(cell(k) != blank, code > 32 && code < 127) << "cell " << k;
    }
    // Every visible glyph of a set is different from every other.
    for (int set = 0; set < 2; ++set)
        for (int a = 33; a < 127; ++a)
            for (int b = a + 1; b < 127; ++b)
                EXPECT_NE(cell(a - 32 + 128 * set), cell(b - 32 + 128 * set))
                    << "set " << set << ": " << char(a) << char(b);
}
