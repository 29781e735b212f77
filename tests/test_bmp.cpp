// The BMP decoder on hand-made files (every depth and header form, files that lie) and the loader.
#include "assets/bmp.h"
#include "tests/support/bmp_build.h"
#include "platform/null/null_platform.h"
#include "platform/services/path_resolve.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <tuple>
#include <sys/stat.h>

namespace {

using Image = std::unique_ptr<ImageRecord, void (*)(ImageRecord*)>;

Image decode(const std::vector<uint8_t>& bytes, const char** error = nullptr)
{
    return Image(decodeBmp(bytes.data(), bytes.size(), error), freeImage);
}

std::vector<uint8_t> rgbList(const std::vector<uint32_t>& colours)
{
    std::vector<uint8_t> out;
    for (uint32_t c : colours)
        out.insert(out.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return out;
}

BmpSpec make(int width, int height, uint16_t bits, std::vector<uint8_t> pixels, uint32_t compression = 0,
             int colours = 0)
{
    BmpSpec s;
    s.width = width, s.height = height, s.bits = bits, s.compression = compression;
    s.pixels = std::move(pixels);
    for (int i = 0; i < colours; ++i) {  // distinct entries
        const uint32_t v = static_cast<uint32_t>(i * 255 / (colours > 1 ? colours - 1 : 1));
        s.palette.push_back((v << 16) | ((255 - v) << 8) | (i & 0xFF));
    }
    return s;
}

// A 24-bit picture of distinct colours; `colours` gets them bottom row first, as decoded.
BmpSpec picture24(int width, int height, std::vector<uint32_t>* colours = nullptr)
{
    std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            rows[y][x] = (2654435761u + static_cast<uint32_t>(y * 977 + x * 131)) & 0xFFFFFF;
            if (colours)
                colours->push_back(rows[y][x]);
        }
    return make(width, height, 24, rows24(rows));
}

// The pixels as colour-table entries (-1: black), or else as RGB bytes, bottom row first.
struct Good { const char* what; BmpSpec spec; std::vector<int> index; std::vector<uint8_t> rgb; };

std::vector<Good> goodFiles()
{
    std::vector<Good> g;
    const uint16_t c555 = (1 << 10) | (16 << 5) | 31;
    const std::vector<uint8_t> p555 = {0xFF, 0x7F, 0x00, 0x7C, uint8_t(c555), uint8_t(c555 >> 8), 0xEE, 0xEE};
    auto rgb = [&](const char* w, BmpSpec s, std::vector<uint8_t> want) { g.push_back({w, s, {}, want}); };
    auto indexed = [&](const char* w, BmpSpec s, std::vector<int> want) { g.push_back({w, s, want, {}}); };
    rgb("32-bit ignores the fourth byte", make(2, 1, 32, {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0xFF}),
        {0x30, 0x20, 0x10, 0x60, 0x50, 0x40});
    rgb("16-bit 5-5-5 widened", make(3, 1, 16, p555), {255, 255, 255, 255, 0, 0, 8, 132, 255});
    rgb("top-down", make(2, -2, 24, rows24({{0x778899, 0xAABBCC}, {0x112233, 0x445566}})),
        rgbList({0x112233, 0x445566, 0x778899, 0xAABBCC}));
    indexed("8-bit whole table", make(4, 1, 8, {0, 1, 128, 255}, 0, 256), {0, 1, 128, 255});
    indexed("colours used sizes the table", make(3, 1, 8, {15, 0, 200, 0}, 0, 16), {15, 0, -1});
    g.back().spec.coloursUsed = 16;
    indexed("4-bit high nibble first", make(3, 1, 4, {0x1F, 0x70, 0, 0}, 0, 16), {1, 15, 7});
    indexed("1-bit high bit first", make(10, 1, 1, {0xA5, 0x40, 0, 0}, 0, 2), {1, 0, 1, 0, 0, 1, 0, 1, 0, 1});
    indexed("core header, 3-byte entries", make(2, 2, 8, {3, 4, 0, 0, 250, 251, 0, 0}, 0, 256),
            {3, 4, 250, 251});
    g.back().spec.headerSize = 12;
    // Run length: run, literal padded to a word, end of line, delta right 2 up 1, run, end.
    indexed("RLE8", make(6, 3, 8, {3, 7, 0, 3, 1, 2, 9, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 1}, 1, 256),
            {7, 7, 7, 1, 2, 9, -1, -1, -1, -1, -1, -1, -1, -1, 5, 5, -1, -1});
    indexed("RLE4 alternates nibbles", make(7, 1, 4, {4, 0x3A, 0, 3, 0x12, 0x30, 0, 1}, 2, 16),
            {3, 10, 3, 10, 1, 2, 3});
    indexed("RLE runs past the row clipped, delta out ends",
            make(2, 2, 8, {255, 4, 0, 0, 1, 6, 0, 2, 200, 200}, 1, 256), {4, 4, 6, -1});
    indexed("RLE end of lines off the top", make(4, 2, 8, {4, 1, 0, 0, 4, 2, 0, 0}, 1, 256),
            {1, 1, 1, 1, 2, 2, 2, 2});
    indexed("RLE delta past the last row", make(4, 3, 8, {2, 7, 0, 2, 0, 200}, 1, 256),
            {7, 7, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1});
    indexed("RLE8 end of picture only", make(64, 64, 8, {0, 1}, 1, 256), std::vector<int>(64 * 64, -1));
    indexed("RLE4 run of 255 in a 3-pixel row", make(3, 1, 4, {0xFF, 0x09, 0, 1}, 2, 16), {0, 9, 0});
    // Bit fields, masks red, green, blue; an empty mask reads as 0.
    struct Mask { uint16_t bits; uint32_t header; std::vector<uint32_t> masks; uint32_t px;
                  std::vector<uint8_t> rgb; };
    const Mask masks[] = {
        {16, 40, {0xF800, 0x07E0, 0x001F}, (1u << 11) | (32u << 5) | 31u, {8, 130, 255}},
        {16, 108, {0x0F00, 0x00F0, 0x000F}, 0xF5A3, {0x55, 0xAA, 0x33}},
        {16, 124, {0x001F, 0x03E0, 0x7C00}, 0x7C01, {8, 0, 255}},
        {32, 40, {0x000000FF, 0x0000FF00, 0x00FF0000}, 0xAA332211, {0x11, 0x22, 0x33}},
        {32, 124, {0xFFC00000, 0x003FF000, 0x00000FFC}, 0x80100804, {0x80, 0x40, 0x80}},
        {32, 40, {0, 0xFF, 0x3}, 0x00000102, {0, 2, 0xAA}},
    };
    for (const Mask& m : masks) {
        const uint8_t high = m.bits == 32 ? 0xFF : 0;
        rgb("bit fields", make(1, 1, m.bits, {uint8_t(m.px), uint8_t(m.px >> 8), uint8_t(m.px >> 16 & high),
                                               uint8_t(m.px >> 24 & high)}, 3), m.rgb);
        g.back().spec.headerSize = m.header, g.back().spec.masks = m.masks;
    }
    for (int width = 1; width <= 5; ++width)
        for (uint32_t header : {40u, 108u, 124u}) {
            std::vector<uint32_t> colours;
            rgb("24-bit padding and header lengths", picture24(width, 3, &colours), {});
            g.back().spec.headerSize = header, g.back().rgb = rgbList(colours);
        }
    return g;
}

} // namespace

TEST(BmpDecode, EveryDepthAndHeaderFormWithAndWithoutTheFileHeader)
{
    for (Good& c : goodFiles())
        for (bool fileHeader : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (fileHeader ? "" : ", no file header"));
            c.spec.fileHeader = fileHeader;
            Image image = decode(buildBmp(c.spec));
            ASSERT_TRUE(image) << "refused";
            EXPECT_EQ(image->width, c.spec.width);
            EXPECT_EQ(image->height, std::abs(c.spec.height));
            std::vector<uint32_t> colours;
            for (int i : c.index)
                colours.push_back(i < 0 ? 0 : c.spec.palette[i]);
            const std::vector<uint8_t> pixels(image->pixels, image->pixels + size_t(image->width) * image->height * 3);
            EXPECT_EQ(pixels, c.index.empty() ? c.rgb : rgbList(colours));
        }
    BmpSpec gap = picture24(2, 1);
    gap.pixels.insert(gap.pixels.begin(), {0x11, 0x22, 0x33, 0x44});
    gap.pixelOffset = 14 + 40 + 4;
    Image image = decode(buildBmp(gap));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], gap.pixels[4 + 2]);
}

// The largest picture a texture can use decodes from one end-of-picture mark, all black.
TEST(BmpDecode, TheLargestCompactRunLengthPictureDecodes)
{
    Image image = decode(buildBmp(make(8192, 8192, 8, {0, 1}, 1, 256)));
    ASSERT_TRUE(image);
    EXPECT_EQ(std::make_tuple(image->width, image->height, image->pixels[0]), std::make_tuple(8192, 8192, 0));
}

// Each edit of a good 2x2 24-bit file; all but the header lengths are conversion errors.
#define EDIT(code) [](BmpSpec& s) { code; }
TEST(BmpRefuse, HostileLyingAndTruncatedFiles)
{
    struct Case { const char* what; void (*edit)(BmpSpec&); };
    const Case cases[] = {
        {"header 64", EDIT(s.headerSize = 64)}, {"header 0", EDIT(s.headerSize = 0)},
        {"header 41", EDIT(s.headerSize = 41)}, {"header 56", EDIT(s.headerSize = 56)},
        {"zero width", EDIT(s.width = 0)}, {"zero height", EDIT(s.height = 0)},
        {"negative width", EDIT(s.width = -2)},
        // One over the largest side, with all the pixel data the header asks for.
        {"absurd width", EDIT(s = make(BMP_MAX_SIDE + 1, 1, 24, std::vector<uint8_t>(3 * BMP_MAX_SIDE + 6)))},
        {"absurd height",
         EDIT(s = make(1, -BMP_MAX_SIDE - 1, 24, std::vector<uint8_t>(4 * BMP_MAX_SIDE + 4)))},
        {"lowest height", EDIT(s.height = INT32_MIN)},
        {"2 bits", EDIT(s.bits = 2)}, {"0 bits", EDIT(s.bits = 0)},
        {"bit fields at 24 bits", EDIT(s.compression = 3)}, {"jpeg inside", EDIT(s.compression = 4)},
        {"bit fields without masks", EDIT(s.compression = 3; s.bits = 32; s.pixels.resize(8))},
        {"RLE8 at 24 bits", EDIT(s.compression = 1)}, {"RLE4 at 8 bits", EDIT(s.compression = 2; s.bits = 8)},
        {"top-down RLE", EDIT(s.compression = 1; s.bits = 8; s.height = -2)},
        {"offset 1000", EDIT(s.pixelOffset = 1000)}, {"offset 2^32-1", EDIT(s.pixelOffset = 0xFFFFFFFF)},
        {"offset one past", EDIT(s.pixelOffset = 14 + 40 + 1)}, {"a row short", EDIT(s.height = 3)},
        {"huge size, tiny file", EDIT(s.width = s.height = BMP_MAX_SIDE)},
        {"17 colours at 4 bits", EDIT(s = make(2, 1, 4, {0x12, 0, 0, 0}, 0, 17); s.coloursUsed = 17)},
        {"16 GB of table", EDIT(s = make(2, 1, 8, {0x12, 0, 0, 0}, 0, 17); s.coloursUsed = 0xFFFFFFFF)},
        {"table past the file", EDIT(s = make(2, 1, 8, {0x12, 0, 0, 0}, 0, 17); s.coloursUsed = 200)},
        {"RLE without its next row", EDIT(s = make(4, 2, 8, {4, 1, 0, 0}, 1, 256))},
        {"RLE literal past the end", EDIT(s = make(4, 2, 8, {0, 5, 1, 2}, 1, 256))},
        {"RLE half a delta", EDIT(s = make(4, 2, 8, {0, 2, 1}, 1, 256))},
        {"RLE half a pair", EDIT(s = make(4, 2, 8, {4}, 1, 256))},
        // The largest sides in about 1 KB: refused before an 805 MB black picture is allocated.
        {"huge RLE, data ends", EDIT(s = make(BMP_MAX_SIDE, BMP_MAX_SIDE, 8, {1}, 1, 256))},
        {"huge RLE, ends at once", EDIT(s = make(BMP_MAX_SIDE, BMP_MAX_SIDE, 8, {0, 1}, 1, 256))},
        {"huge RLE, 64 zeros", EDIT(s = make(BMP_MAX_SIDE, BMP_MAX_SIDE, 8, std::vector<uint8_t>(64), 1,
                                               256))},
        {"RLE a row over 8192 square", EDIT(s = make(8192, 8193, 8, {0, 1}, 1, 256))},
    };
    for (const Case& c : cases) {
        BmpSpec spec = picture24(2, 2);
        c.edit(spec);
        spec.fileHeader = spec.width != BMP_MAX_SIDE || spec.compression != 1;
        const char* error = nullptr;
        EXPECT_FALSE(decode(buildBmp(spec), &error)) << c.what;
        EXPECT_EQ(error, &c - cases < 4 ? BMP_MSG_FORMAT : BMP_MSG_CONVERSION) << c.what;
    }
    // Every prefix of a good file is refused or decoded without reading past its end (sanitizer builds).
    BmpSpec eight = make(5, 2, 8, {0, 1, 2, 3, 0, 0, 0, 0, 3, 2, 1, 0, 1, 0, 0, 0}, 0, 4);
    eight.coloursUsed = 4;
    BmpSpec rle = make(5, 2, 8, {5, 1, 0, 0, 0, 3, 1, 2, 3, 0, 2, 0, 0, 1}, 1, 4);
    BmpSpec core = make(5, 2, 8, eight.pixels, 0, 256);
    rle.coloursUsed = 4;
    core.headerSize = 12;
    for (const BmpSpec& spec : {picture24(3, 3), eight, rle, core}) {
        const std::vector<uint8_t> file = buildBmp(spec);
        ASSERT_TRUE(decode(file));
        for (size_t n = 0; n < file.size(); ++n) {
            std::unique_ptr<uint8_t[]> prefix(new uint8_t[n > 0 ? n : 1]);  // exactly n bytes
            std::memcpy(prefix.get(), file.data(), n);
            const char* error = nullptr;
            Image image(decodeBmp(prefix.get(), n, &error), freeImage);
            if (!image)
                ASSERT_NE(error, nullptr) << n << " bytes: no picture and no message";
        }
    }
}
#undef EDIT

TEST(BmpLoad, MessagesForFilesThatCannotBeOpenedOrDecoded)
{
    fakeSysReset();
    TempDir dir;
    writeFile(dir.file("empty.gfx"), "");
    ASSERT_EQ(mkfifo(dir.file("pipe.gfx").c_str(), 0600), 0);  // refused, not waited on
    BmpSpec v5 = picture24(2, 2);
    v5.headerSize = 64;
    writeFile(dir.file("v5.bmp"), asString(buildBmp(v5)));
    writeFile(dir.file("a.gfx"), asString(buildBmp(picture24(7, 5))));
    const std::string paths[] = {dir.file("Dane/Menu/logo.gfx"), dir.file("empty.gfx"), dir.path,
                                 dir.file("pipe.gfx")};
    for (const std::string& path : paths) {  // each gives one message
        fakeMessages.clear();
        EXPECT_EQ(loadBmpImage(path.c_str()), nullptr);
        ASSERT_EQ(fakeMessages.size(), 1u) << path;
        EXPECT_EQ(fakeMessages[0].text, "Failed to open DIB file " + path + ".\n");
    }
    fakeMessages.clear();
    EXPECT_EQ(loadBmpImage(dir.file("v5.bmp").c_str()), nullptr);
    Image image(loadBmpImage(dir.file("a.gfx").c_str()), freeImage);
    ASSERT_EQ(fakeMessages.size(), 1u) << "a good file loads silently";
    EXPECT_EQ(fakeMessages[0].text, "Unknown DIB file format.");
    ASSERT_TRUE(image);
    EXPECT_EQ(std::make_tuple(image->width, image->height), std::make_tuple(7, 5));
}

// Lists made on other systems: backslashes between folders, names in another letter case.
TEST(DataPath, FoundThroughBackslashesAndAnotherLetterCaseOneFolderAtATime)
{
    TempDir dir;
    writeFile(dir.file("Dane/Trasy/asfalt.bmp"), asString(buildBmp(picture24(2, 2))));
    const struct { std::string path; int32_t how; std::string found; } rows[] = {
        {"Dane\\Trasy\\asfalt.bmp", PATH_EXACT, "Dane/Trasy/asfalt.bmp"},
        {"DANE/trasy\\Asfalt.BMP", PATH_CASE_FOLDED, "Dane/Trasy/asfalt.bmp"},
        {"Dane\\TRASY\\brak.bmp", PATH_MISSING, "Dane/TRASY/brak.bmp"},
    };
    for (const auto& r : rows) {
        const std::string path = dir.path + "/" + r.path;
        char found[DATA_PATH_SIZE];
        EXPECT_EQ(resolveDataPath(path.c_str(), found), r.how) << r.path;
        EXPECT_EQ(found, dir.path + "/" + r.found) << r.path;
    }
}
