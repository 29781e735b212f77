// The BMP decoder on hand-made files: every depth and header form, and files that lie.
#include "assets/bmp.h"
#include "tests/support/bmp_build.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {

struct ImageDeleter {
    void operator()(ImageRecord* image) const { freeImage(image); }
};
using Image = std::unique_ptr<ImageRecord, ImageDeleter>;

struct Decoded {
    Image image;
    const char* error = nullptr;
};

Decoded decode(const std::vector<uint8_t>& bytes)
{
    Decoded d;
    d.image.reset(decodeBmp(bytes.data(), bytes.size(), &d.error));
    return d;
}

std::vector<uint8_t> pixelsOf(const ImageRecord& image)
{
    return std::vector<uint8_t>(image.pixels, image.pixels + static_cast<size_t>(image.width) * image.height * 3);
}

std::vector<uint8_t> rgbList(const std::vector<uint32_t>& colours)
{
    std::vector<uint8_t> out;
    for (uint32_t c : colours) {
        out.push_back(static_cast<uint8_t>(c >> 16));
        out.push_back(static_cast<uint8_t>(c >> 8));
        out.push_back(static_cast<uint8_t>(c));
    }
    return out;
}

BmpSpec picture24(int width, int height, uint32_t seed = 1)
{
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y][x] = (seed * 2654435761u + static_cast<uint32_t>(y * 977 + x * 131)) & 0xFFFFFF;
    spec.pixels = rows24(rows);
    return spec;
}

std::vector<uint32_t> greyPalette(int n)
{
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i) {
        const uint32_t v = static_cast<uint32_t>(i * 255 / (n > 1 ? n - 1 : 1));
        p.push_back((v << 16) | ((255 - v) << 8) | (i & 0xFF));
    }
    return p;
}

} // namespace

// ---------------------------------------------------------------- uncompressed pictures

TEST(BmpDecode, TwentyFourBitRowsComeOutRgbBottomFirst)
{
    BmpSpec spec;
    spec.width = 3;
    spec.height = 2;
    spec.pixels = rows24({{0x0000FF, 0x00FF00, 0xFF0000}, {0xFFFFFF, 0x000000, 0xFFFFFF}});
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(d.image->width, 3);
    EXPECT_EQ(d.image->height, 2);
    const std::vector<uint8_t> want = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255};
    EXPECT_EQ(pixelsOf(*d.image), want);
}

TEST(BmpDecode, RowPaddingNeverReachesThePicture)
{
    for (int width : {1, 2, 3, 4, 5}) {
        std::vector<std::vector<uint32_t>> rows(3);
        std::vector<uint32_t> all;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                rows[y].push_back(static_cast<uint32_t>(0x102030 * (y + 1) + 0x010101 * x));
                all.push_back(rows[y].back());
            }
        BmpSpec spec;
        spec.width = width;
        spec.height = 3;
        spec.pixels = rows24(rows);
        Decoded d = decode(buildBmp(spec));
        ASSERT_TRUE(d.image) << width;
        EXPECT_EQ(pixelsOf(*d.image), rgbList(all)) << width << " pixels wide";
    }
}

TEST(BmpDecode, ThirtyTwoBitIgnoresTheFourthByte)
{
    BmpSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bits = 32;
    spec.pixels = {0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0xFF};
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(pixelsOf(*d.image), (std::vector<uint8_t>{0x30, 0x20, 0x10, 0x60, 0x50, 0x40}));
}

TEST(BmpDecode, SixteenBitIsFiveFiveFiveWidenedToFullRange)
{
    BmpSpec spec;
    spec.width = 3;
    spec.height = 1;
    spec.bits = 16;
    // white, pure red, and (1, 16, 31) as 5-bit channels; one 16-bit padding word.
    const uint16_t a = 0x7FFF, b = 0x7C00, c = static_cast<uint16_t>((1 << 10) | (16 << 5) | 31);
    spec.pixels = {uint8_t(a), uint8_t(a >> 8), uint8_t(b), uint8_t(b >> 8), uint8_t(c), uint8_t(c >> 8), 0xEE, 0xEE};
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(pixelsOf(*d.image), (std::vector<uint8_t>{255, 255, 255, 255, 0, 0, 8, 132, 255}));
}

TEST(BmpDecode, EightBitUsesTheWholeColourTable)
{
    BmpSpec spec;
    spec.width = 4;
    spec.height = 1;
    spec.bits = 8;
    spec.palette = greyPalette(256);
    spec.pixels = {0, 1, 128, 255};
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(pixelsOf(*d.image), rgbList({spec.palette[0], spec.palette[1], spec.palette[128], spec.palette[255]}));
}

TEST(BmpDecode, ColoursUsedSizesTheTableAndIndexesPastItAreBlack)
{
    BmpSpec spec;
    spec.width = 3;
    spec.height = 1;
    spec.bits = 8;
    spec.coloursUsed = 16;
    spec.palette = greyPalette(16);
    spec.pixels = {15, 0, 200, 0};
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(pixelsOf(*d.image), rgbList({spec.palette[15], spec.palette[0], 0x000000}));

    // Without the file header the pixels follow the 16-entry table, not a 256-entry one.
    spec.fileHeader = false;
    d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(pixelsOf(*d.image), rgbList({spec.palette[15], spec.palette[0], 0x000000}));
}

TEST(BmpDecode, FourAndOneBitPixelsTakeTheHighBitsFirst)
{
    BmpSpec four;
    four.width = 3;
    four.height = 1;
    four.bits = 4;
    four.palette = greyPalette(16);
    four.pixels = {0x1F, 0x70, 0, 0};
    Decoded d = decode(buildBmp(four));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(pixelsOf(*d.image), rgbList({four.palette[1], four.palette[15], four.palette[7]}));

    BmpSpec one;
    one.width = 10;
    one.height = 1;
    one.bits = 1;
    one.palette = {0x102030, 0xA0B0C0};
    one.pixels = {0xA5, 0x40, 0, 0};  // 1010 0101 01
    d = decode(buildBmp(one));
    ASSERT_TRUE(d.image) << d.error;
    const uint32_t o = 0x102030, l = 0xA0B0C0;
    EXPECT_EQ(pixelsOf(*d.image), rgbList({l, o, l, o, o, l, o, l, o, l}));
}

TEST(BmpDecode, CoreHeaderHasThreeByteColourEntries)
{
    BmpSpec spec;
    spec.headerSize = 12;
    spec.width = 2;
    spec.height = 2;
    spec.bits = 8;
    spec.palette = greyPalette(256);
    spec.pixels = {3, 4, 0, 0, 250, 251, 0, 0};
    for (bool fileHeader : {true, false}) {
        spec.fileHeader = fileHeader;
        Decoded d = decode(buildBmp(spec));
        ASSERT_TRUE(d.image) << d.error;
        EXPECT_EQ(pixelsOf(*d.image),
                  rgbList({spec.palette[3], spec.palette[4], spec.palette[250], spec.palette[251]}));
    }
}

TEST(BmpDecode, FileWithoutFileHeaderAndLongerHeadersReadTheSame)
{
    BmpSpec spec = picture24(5, 4, 9);
    Decoded with = decode(buildBmp(spec));
    ASSERT_TRUE(with.image);
    for (uint32_t headerSize : {40u, 108u, 124u})
        for (bool fileHeader : {true, false}) {
            spec.headerSize = headerSize;
            spec.fileHeader = fileHeader;
            Decoded d = decode(buildBmp(spec));
            ASSERT_TRUE(d.image) << headerSize << " " << d.error;
            EXPECT_EQ(pixelsOf(*d.image), pixelsOf(*with.image)) << headerSize << " " << fileHeader;
        }
}

TEST(BmpDecode, BitFieldMasksInAnyLayout)
{
    struct Case {
        uint16_t bits;
        uint32_t headerSize;
        std::vector<uint32_t> masks;  // red, green, blue
        uint32_t pixel;
        std::vector<uint8_t> want;
    };
    const Case cases[] = {
        {16, 40, {0xF800, 0x07E0, 0x001F}, 0xFFFF, {255, 255, 255}},
        {16, 40, {0xF800, 0x07E0, 0x001F}, (1u << 11) | (32u << 5) | 31u, {8, 130, 255}},
        {16, 108, {0x0F00, 0x00F0, 0x000F}, 0xF5A3, {0x55, 0xAA, 0x33}},
        {16, 124, {0x001F, 0x03E0, 0x7C00}, 0x7C01, {8, 0, 255}},
        {32, 40, {0x000000FF, 0x0000FF00, 0x00FF0000}, 0xAA332211, {0x11, 0x22, 0x33}},
        {32, 124, {0xFFC00000, 0x003FF000, 0x00000FFC}, 0x80100804, {0x80, 0x40, 0x80}},
        {32, 40, {0, 0xFF, 0x3}, 0x00000102, {0, 2, 0xAA}},  // an empty mask reads as 0
    };
    for (const Case& c : cases) {
        BmpSpec spec;
        spec.bits = c.bits;
        spec.compression = 3;
        spec.headerSize = c.headerSize;
        spec.masks = c.masks;
        for (int i = 0; i < 4; ++i)
            spec.pixels.push_back(static_cast<uint8_t>((i < c.bits / 8 ? c.pixel >> (8 * i) : 0)));
        Decoded d = decode(buildBmp(spec));
        ASSERT_TRUE(d.image) << c.bits << " " << c.headerSize << " " << d.error;
        EXPECT_EQ(pixelsOf(*d.image), c.want) << c.bits << " " << c.headerSize << " " << std::hex << c.pixel;
    }
}

TEST(BmpDecode, PixelOffsetOfTheFileHeaderIsHonoured)
{
    BmpSpec spec = picture24(2, 1);
    spec.pixels.insert(spec.pixels.begin(), {0x11, 0x22, 0x33, 0x44});  // a gap before the rows
    spec.pixelOffset = 14 + 40 + 4;
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    EXPECT_EQ(d.image->pixels[0], spec.pixels[4 + 2]);
}

TEST(BmpDecode, NegativeHeightIsTopDownAndFlipped)
{
    BmpSpec up;
    up.width = 2;
    up.height = 2;
    up.pixels = rows24({{0x112233, 0x445566}, {0x778899, 0xAABBCC}});
    BmpSpec down = up;
    down.height = -2;
    down.pixels = rows24({{0x778899, 0xAABBCC}, {0x112233, 0x445566}});
    Decoded a = decode(buildBmp(up));
    Decoded b = decode(buildBmp(down));
    ASSERT_TRUE(a.image);
    ASSERT_TRUE(b.image) << b.error;
    EXPECT_EQ(b.image->height, 2);
    EXPECT_EQ(pixelsOf(*a.image), pixelsOf(*b.image));
}

// ---------------------------------------------------------------- run-length pictures

TEST(BmpDecode, RunLengthEightWithRunsLiteralsDeltaAndEnd)
{
    BmpSpec spec;
    spec.width = 6;
    spec.height = 3;
    spec.bits = 8;
    spec.compression = 1;
    spec.palette = greyPalette(256);
    spec.pixels = {
        3, 7,              // row 0: 7 7 7
        0, 3, 1, 2, 9, 0,  // literal 1 2 9, padded to a word
        0, 0,              // end of line
        0, 2, 2, 1,        // delta: right 2, up 1 -> row 2, x 2
        2, 5,              // 5 5 at x 2..3
        0, 1,              // end of picture
    };
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    const auto& p = spec.palette;
    std::vector<uint32_t> want = {p[7], p[7], p[7], p[1], p[2], p[9],  // row 0
                                  0, 0, 0, 0, 0, 0,                    // row 1 skipped: black
                                  0, 0, p[5], p[5], 0, 0};
    EXPECT_EQ(pixelsOf(*d.image), rgbList(want));
}

TEST(BmpDecode, RunLengthFourAlternatesNibbles)
{
    BmpSpec spec;
    spec.width = 7;
    spec.height = 1;
    spec.bits = 4;
    spec.compression = 2;
    spec.palette = greyPalette(16);
    spec.pixels = {
        4, 0x3A,           // 3 A 3 A
        0, 3, 0x12, 0x30,  // literal 1 2 3 (two bytes, already a word)
        0, 1,
    };
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    const auto& p = spec.palette;
    EXPECT_EQ(pixelsOf(*d.image), rgbList({p[3], p[10], p[3], p[10], p[1], p[2], p[3]}));
}

TEST(BmpDecode, RunLengthRunsPastTheRowAreClipped)
{
    BmpSpec spec;
    spec.width = 2;
    spec.height = 2;
    spec.bits = 8;
    spec.compression = 1;
    spec.palette = greyPalette(256);
    spec.pixels = {255, 4, 0, 0, 1, 6, 0, 2, 200, 200};  // the delta leaves the picture: done
    Decoded d = decode(buildBmp(spec));
    ASSERT_TRUE(d.image) << d.error;
    const auto& p = spec.palette;
    EXPECT_EQ(pixelsOf(*d.image), rgbList({p[4], p[4], p[6], 0}));
}

TEST(BmpDecode, RunLengthDataThatEndsEarlyIsRefused)
{
    BmpSpec spec;
    spec.width = 4;
    spec.height = 2;
    spec.bits = 8;
    spec.compression = 1;
    spec.palette = greyPalette(256);
    const std::vector<std::vector<uint8_t>> bad = {
        {4, 1, 0, 0},             // no end of picture and the next row missing
        {0, 5, 1, 2},             // literal of 5 with only 2 bytes there
        {0, 2, 1},                // delta without its second byte
        {4},                      // half a pair
    };
    for (const auto& data : bad) {
        spec.pixels = data;
        Decoded d = decode(buildBmp(spec));
        EXPECT_FALSE(d.image);
        EXPECT_STREQ(d.error, BMP_MSG_CONVERSION);
    }
    // Running off the top with end-of-line marks is a finished picture.
    spec.pixels = {4, 1, 0, 0, 4, 2, 0, 0};
    EXPECT_TRUE(decode(buildBmp(spec)).image);
}

// ---------------------------------------------------------------- refused files

TEST(BmpRefuse, UnknownHeaderSizes)
{
    for (uint32_t size : {64u, 0u, 41u, 56u}) {
        BmpSpec spec = picture24(2, 2);
        spec.headerSize = size;
        Decoded d = decode(buildBmp(spec));
        EXPECT_FALSE(d.image) << size;
        EXPECT_STREQ(d.error, BMP_MSG_FORMAT) << size;
    }
}

TEST(BmpRefuse, SizesDepthsAndCompressionsThatCannotConvert)
{
    struct Case {
        const char* what;
        void (*edit)(BmpSpec&);
    };
    const Case cases[] = {
        {"zero width", [](BmpSpec& s) { s.width = 0; }},
        {"zero height", [](BmpSpec& s) { s.height = 0; }},
        {"negative width", [](BmpSpec& s) { s.width = -2; }},
        {"absurd width", [](BmpSpec& s) { s.width = 16385; }},
        {"absurd height", [](BmpSpec& s) { s.height = -16385; }},
        {"most negative height", [](BmpSpec& s) { s.height = INT32_MIN; }},
        {"2 bits", [](BmpSpec& s) { s.bits = 2; }},
        {"0 bits", [](BmpSpec& s) { s.bits = 0; }},
        {"bit fields at 24 bits", [](BmpSpec& s) { s.compression = 3; }},
        {"bit fields without their masks", [](BmpSpec& s) { s.compression = 3; s.bits = 32; s.pixels.resize(8); }},
        {"jpeg inside", [](BmpSpec& s) { s.compression = 4; }},
        {"RLE8 at 24 bits", [](BmpSpec& s) { s.compression = 1; }},
        {"RLE4 at 8 bits", [](BmpSpec& s) { s.compression = 2; s.bits = 8; }},
        {"top-down RLE", [](BmpSpec& s) { s.compression = 1; s.bits = 8; s.height = -2; }},
    };
    for (const Case& c : cases) {
        BmpSpec spec = picture24(2, 2);
        c.edit(spec);
        Decoded d = decode(buildBmp(spec));
        EXPECT_FALSE(d.image) << c.what;
        EXPECT_STREQ(d.error, BMP_MSG_CONVERSION) << c.what;
    }
}

TEST(BmpRefuse, ColourTablesLargerThanTheDepthOrTheFile)
{
    BmpSpec spec;
    spec.width = 2;
    spec.height = 1;
    spec.bits = 4;
    spec.coloursUsed = 17;
    spec.palette = greyPalette(17);
    spec.pixels = {0x12, 0, 0, 0};
    Decoded d = decode(buildBmp(spec));
    EXPECT_FALSE(d.image);
    EXPECT_STREQ(d.error, BMP_MSG_CONVERSION);

    spec.bits = 8;
    spec.coloursUsed = 0xFFFFFFFF;  // would be 16 GB of table
    d = decode(buildBmp(spec));
    EXPECT_FALSE(d.image);

    spec.coloursUsed = 200;  // allowed by the depth, but the file holds only 17 entries and 4 bytes
    d = decode(buildBmp(spec));
    EXPECT_FALSE(d.image);
    EXPECT_STREQ(d.error, BMP_MSG_CONVERSION);
}

TEST(BmpRefuse, PixelOffsetPastTheEnd)
{
    for (int64_t offset : {int64_t{1000}, int64_t{0xFFFFFFFF}, int64_t{14 + 40 + 1}}) {
        BmpSpec spec = picture24(2, 2);
        spec.pixelOffset = offset;
        Decoded d = decode(buildBmp(spec));
        EXPECT_FALSE(d.image) << offset;
        EXPECT_STREQ(d.error, BMP_MSG_CONVERSION) << offset;
    }
}

TEST(BmpRefuse, LyingSizeWithTooFewRows)
{
    BmpSpec spec = picture24(4, 4);
    spec.height = 5;  // one row more than the data holds
    Decoded d = decode(buildBmp(spec));
    EXPECT_FALSE(d.image);
    EXPECT_STREQ(d.error, BMP_MSG_CONVERSION);
    spec.height = 16384;
    spec.width = 16384;
    d = decode(buildBmp(spec));
    EXPECT_FALSE(d.image) << "a huge size is refused from the file size, before allocating";
}

// Every prefix of a good file is refused (or, for the prefixes that still hold everything,
// decoded) without reading past its end; AddressSanitizer builds check the "past its end" part.
TEST(BmpRefuse, EveryTruncationIsRefusedCleanly)
{
    std::vector<std::vector<uint8_t>> files;
    files.push_back(buildBmp(picture24(3, 3)));
    BmpSpec eight;
    eight.width = 5;
    eight.height = 2;
    eight.bits = 8;
    eight.coloursUsed = 4;
    eight.palette = greyPalette(4);
    eight.pixels = {0, 1, 2, 3, 0, 0, 0, 0, 3, 2, 1, 0, 1, 0, 0, 0};
    files.push_back(buildBmp(eight));
    BmpSpec rle = eight;
    rle.compression = 1;
    rle.pixels = {5, 1, 0, 0, 0, 3, 1, 2, 3, 0, 2, 0, 0, 1};
    files.push_back(buildBmp(rle));
    BmpSpec core = eight;
    core.headerSize = 12;
    core.palette = greyPalette(256);
    core.coloursUsed = 0;
    files.push_back(buildBmp(core));

    for (const auto& file : files) {
        ASSERT_TRUE(decode(file).image);
        for (size_t n = 0; n < file.size(); ++n) {
            // A copy of exactly n bytes, so any read past it is a heap overflow.
            std::unique_ptr<uint8_t[]> prefix(new uint8_t[n > 0 ? n : 1]);
            std::memcpy(prefix.get(), file.data(), n);
            const char* error = nullptr;
            Image image(decodeBmp(prefix.get(), n, &error));
            if (!image) {
                ASSERT_NE(error, nullptr) << n;
            }
        }
    }
}

// ---------------------------------------------------------------- the file loader

TEST(BmpLoad, MissingFileShowsTheOpenMessageWithThePath)
{
    fakeSysReset();
    TempDir dir;
    const std::string path = dir.file("Dane/Menu/logo.gfx");
    EXPECT_EQ(loadBmpImage(path.c_str()), nullptr);
    ASSERT_EQ(fakeMessages.size(), 1u);
    EXPECT_EQ(fakeMessages[0].text, "Failed to open DIB file " + path + ".\n");
    EXPECT_EQ(fakeMessages[0].caption, "Error");
}

TEST(BmpLoad, EmptyFileAndFolderCountAsUnopenable)
{
    fakeSysReset();
    TempDir dir;
    writeFile(dir.file("empty.gfx"), "");
    ASSERT_EQ(mkfifo(dir.file("pipe.gfx").c_str(), 0600), 0);
    EXPECT_EQ(loadBmpImage(dir.file("empty.gfx").c_str()), nullptr);
    EXPECT_EQ(loadBmpImage(dir.path.c_str()), nullptr);
    EXPECT_EQ(loadBmpImage(dir.file("pipe.gfx").c_str()), nullptr) << "a pipe is refused, not waited on";
    ASSERT_EQ(fakeMessages.size(), 3u);
    EXPECT_EQ(fakeMessages[0].text, "Failed to open DIB file " + dir.file("empty.gfx") + ".\n");
    EXPECT_EQ(fakeMessages[1].text, "Failed to open DIB file " + dir.path + ".\n");
    EXPECT_EQ(fakeMessages[2].text, "Failed to open DIB file " + dir.file("pipe.gfx") + ".\n");
}

TEST(BmpLoad, RefusedFileShowsItsReasonUnderError)
{
    fakeSysReset();
    TempDir dir;
    BmpSpec spec = picture24(2, 2);
    spec.headerSize = 64;
    writeFile(dir.file("v5.bmp"), asString(buildBmp(spec)));
    EXPECT_EQ(loadBmpImage(dir.file("v5.bmp").c_str()), nullptr);
    ASSERT_EQ(fakeMessages.size(), 1u);
    EXPECT_EQ(fakeMessages[0].text, "Unknown DIB file format.");
    EXPECT_EQ(fakeMessages[0].caption, "Error");
}

TEST(BmpLoad, GoodFileLoadsSilently)
{
    fakeSysReset();
    TempDir dir;
    writeFile(dir.file("a.gfx"), asString(buildBmp(picture24(7, 5))));
    Image image(loadBmpImage(dir.file("a.gfx").c_str()));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 7);
    EXPECT_EQ(image->height, 5);
    EXPECT_TRUE(fakeMessages.empty());
}
