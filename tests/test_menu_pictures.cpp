// The generated menu pictures and font picture, read back with the game's own BMP reader.
#include "assets/bmp.h"
#include "render/font_layout.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include <tuple>

namespace {

// A picture as the reader gives it, looked at with row 0 at the top.
struct Image {
    std::unique_ptr<ImageRecord, void (*)(ImageRecord*)> record{nullptr, freeImage};
    int width = 0, height = 0;
    const uint8_t* at(int x, int y) const { return record->pixels + ((height - 1 - y) * width + x) * 3; }
    int sum(int x, int y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; }
    int brightness(int x, int y) const { return sum(x, y) / 3; }
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

// Each at its size, like no other, with text and edges where the menu shows them (labels, panel
// columns, titles); a selected button brighter than its plain state.
TEST(MenuPictures, AllThirteenReadWithTheirSizesTextNoKeyColourAndNoTwoAlike)
{
    const struct { const char* file; int width, height, x0, y0, x1, y1, edges; } pictures[] = {
        {"logo", 1024, 1024, 0, 560, 1024, 700, 2000},    {"tlo", 1024, 1024, 0, 40, 1024, 260, 2500},
        {"nowagra_gora", 512, 64, 8, 8, 300, 56, 250},    {"nowagra_dol", 512, 64, 8, 8, 300, 56, 250},
        {"autobusy_gora", 512, 64, 8, 8, 300, 56, 250},   {"autobusy_dol", 512, 64, 8, 8, 300, 56, 250},
        {"ogrze_gora", 512, 64, 8, 8, 300, 56, 250},      {"ogrze_dol", 512, 64, 8, 8, 300, 56, 250},
        {"wyjscie_gora", 512, 64, 8, 8, 300, 56, 250},    {"wyjscie_dol", 512, 64, 8, 8, 300, 56, 250},
        {"ogrze", 1024, 512, 20, 80, 510, 480, 8000},     {"autobusy", 1024, 512, 40, 90, 490, 440, 4000},
        {"nowagra", 1024, 512, 200, 150, 824, 230, 1200},
    };
    std::vector<std::string> seen;
    double selected = 0;
    for (const auto& e : pictures) {
        SCOPED_TRACE(e.file);
        const Image image = menuPicture(e.file);
        ASSERT_EQ(std::make_tuple(image.width, image.height), std::make_tuple(e.width, e.height));
        // After a run the menu draws without the alpha test: a black texel would show as a hole.
        int keyed = 0;
        double brightness = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                keyed += image.sum(x, y) == 0, brightness += image.brightness(x, y);
        EXPECT_EQ(keyed, 0);
        EXPECT_GT(edgeCount(image, e.x0, e.y0, e.x1, e.y1), e.edges);
        brightness /= image.width * image.height;
        const bool plain = std::string(e.file).find("_dol") != std::string::npos;
        if (plain)
            EXPECT_GT(selected, brightness + 60) << "the selected state is brighter";
        selected = brightness;
        EXPECT_EQ(std::find(seen.begin(), seen.end(), image.bytes()), seen.end()) << "the same as another";
        seen.push_back(image.bytes());
    }
    EXPECT_GT(edgeCount(menuPicture("ogrze"), 540, 80, 1010, 480), 6000) << "the right column";
    EXPECT_GT(edgeCount(menuPicture("autobusy"), 530, 90, 980, 440), 4000) << "the right column";
}

TEST(FontPicture, GreyGlyphsOnKeyBlackForTheVisibleCodesOfBothSetsEachItsOwn)
{
    const Image font = readPicture("Dane/czcionka.gfx");
    constexpr int CELL = 32;
    ASSERT_EQ(std::make_tuple(font.width, font.height), std::make_tuple(16 * CELL, 16 * CELL));
    const std::string blank(CELL * CELL * 3, '\0');
    std::set<std::string> glyphs;  // each visible glyph of a set unlike every other of that set
    for (int k = 0; k < 256; ++k) {
        std::string cell;  // its rows, top to bottom
        for (int y = 0; y < CELL; ++y)
            cell.append(reinterpret_cast<const char*>(font.at(k % 16 * CELL, k / 16 * CELL + y)), CELL * 3);
        for (size_t i = 0; i < cell.size(); i += 3)  // white glyphs, shaded edges
            ASSERT_EQ(std::make_tuple(cell[i], cell[i]), std::make_tuple(cell[i + 1], cell[i + 2]))
                << "cell " << k << ": red against green and blue";
        const int code = k % 128 + 32;
        const bool visible = (code > 32 && code < 127) || k == FONT_COPYRIGHT_CELL;
        EXPECT_EQ(cell != blank, visible) << "cell " << k;
        if (cell != blank)
            glyphs.insert(std::to_string(k / 128) + cell);
    }
    EXPECT_EQ(glyphs.size(), 2u * 94u + 1u) << "and the copyright sign";
}
