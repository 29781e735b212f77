// The BMP decoder on hand-made files: every depth and header form, run-length data, files that lie,
// and the loader's messages.
#include "assets/bmp.h"
#include "tests/support/bmp_build.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

struct ImageDeleter {
    void operator()(ImageRecord* image) const { freeImage(image); }
};
using Image = std::unique_ptr<ImageRecord, ImageDeleter>;

// The decoded picture as 0xRRGGBB values, bottom row first; empty when refused.
std::vector<uint32_t> decoded(const BmpSpec& spec, const char** error = nullptr)
{
    const std::vector<uint8_t> bytes = buildBmp(spec);
    const char* e = nullptr;
    Image image(decodeBmp(bytes.data(), bytes.size(), &e));
    if (error)
        *error = e;
    std::vector<uint32_t> out;
    for (int i = 0; image && i < image->width * image->height; ++i)
        out.push_back(static_cast<uint32_t>(image->pixels[i * 3] << 16 | image->pixels[i * 3 + 1] << 8 | image->pixels[i * 3 + 2]));
    return out;
}

BmpSpec indexed(int w, int h, uint16_t bits, std::vector<uint8_t> pixels, uint32_t compression = 0, uint32_t coloursUsed = 0)
{
    BmpSpec s;
    s.width = w;
    s.height = h;
    s.bits = bits;
    s.compression = compression;
    s.coloursUsed = coloursUsed;
    const int n = coloursUsed ? static_cast<int>(coloursUsed) : 1 << bits;
    for (int i = 0; i < n; ++i)  // entry i is 0x0i0i0i-ish: easy to read back
        s.palette.push_back(static_cast<uint32_t>(0x010000 * i + 0x000100 * (255 - i) + 7));
    s.pixels = std::move(pixels);
    return s;
}
uint32_t P(int i) { return static_cast<uint32_t>(0x010000 * i + 0x000100 * (255 - i) + 7); }

BmpSpec picture24(int width, int height)
{
    std::vector<std::vector<uint32_t>> rows(height, std::vector<uint32_t>(width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rows[y][x] = static_cast<uint32_t>(0x102030 * (y + 1) + 0x010101 * x);
    BmpSpec spec;
    spec.width = width;
    spec.height = height;
    spec.pixels = rows24(rows);
    return spec;
}
std::vector<uint32_t> colours24(int width, int height)
{
    std::vector<uint32_t> out;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            out.push_back(static_cast<uint32_t>(0x102030 * (y + 1) + 0x010101 * x));
    return out;
}

template <typename Edit>
BmpSpec with(BmpSpec s, Edit edit)
{
    edit(s);
    return s;
}

} // namespace

TEST(BmpDecode, EveryDepthAndHeaderForm)
{
    const uint16_t c16 = static_cast<uint16_t>((1 << 10) | (16 << 5) | 31);
    struct Row {
        const char* what;
        BmpSpec spec;
        std::vector<uint32_t> want;
    };
    const Row rows[] = {
        {"24 bits, rows padded", picture24(3, 2), colours24(3, 2)},
        {"24 bits, one wide", picture24(1, 3), colours24(1, 3)},
        {"24 bits, five wide", picture24(5, 2), colours24(5, 2)},
        {"no file header", with(picture24(5, 4), [](BmpSpec& s) { s.fileHeader = false; }), colours24(5, 4)},
        {"top-down", with(picture24(2, 2), [](BmpSpec& s) { s.height = -2; s.pixels = rows24({{0x204060, 0x214161}, {0x102030, 0x112131}}); }),
         colours24(2, 2)},
        {"pixel offset past a gap", with(picture24(2, 1), [](BmpSpec& s) { s.pixels.insert(s.pixels.begin(), {1, 2, 3, 4}); s.pixelOffset = 58; }),
         colours24(2, 1)},
        {"32 bits, fourth byte ignored", with(BmpSpec{}, [](BmpSpec& s) { s.width = 2; s.bits = 32; s.pixels = {0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0xFF}; }),
         {0x302010, 0x605040}},
        {"16 bits, 5-5-5 widened", with(BmpSpec{}, [&](BmpSpec& s) { s.width = 3; s.bits = 16; s.pixels = {0xFF, 0x7F, 0x00, 0x7C, uint8_t(c16), uint8_t(c16 >> 8), 0xEE, 0xEE}; }),
         {0xFFFFFF, 0xFF0000, 0x0884FF}},
        {"8 bits, whole table", indexed(4, 1, 8, {0, 1, 128, 255}), {P(0), P(1), P(128), P(255)}},
        {"8 bits, 16 colours used, index past them black", indexed(3, 1, 8, {15, 0, 200, 0}, 0, 16), {P(15), P(0), 0}},
        {"16 colours used, no file header", with(indexed(3, 1, 8, {15, 0, 200, 0}, 0, 16), [](BmpSpec& s) { s.fileHeader = false; }),
         {P(15), P(0), 0}},
        {"4 bits, high nibble first", indexed(3, 1, 4, {0x1F, 0x70, 0, 0}), {P(1), P(15), P(7)}},
        {"1 bit, high bit first", indexed(10, 1, 1, {0xA5, 0x40, 0, 0}), {P(1), P(0), P(1), P(0), P(0), P(1), P(0), P(1), P(0), P(1)}},
        {"core header", with(indexed(2, 2, 8, {3, 4, 0, 0, 250, 251, 0, 0}), [](BmpSpec& s) { s.headerSize = 12; }),
         {P(3), P(4), P(250), P(251)}},
        {"core header, no file header", with(indexed(2, 2, 8, {3, 4, 0, 0, 250, 251, 0, 0}), [](BmpSpec& s) { s.headerSize = 12; s.fileHeader = false; }),
         {P(3), P(4), P(250), P(251)}},
        // run 3 of 7; literal 1 2 9 padded to a word; end of line; delta right 2 up 1; run 2 of 5; end.
        {"RLE8 runs, literal, delta, end", indexed(6, 3, 8, {3, 7, 0, 3, 1, 2, 9, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 1}, 1),
         {P(7), P(7), P(7), P(1), P(2), P(9), 0, 0, 0, 0, 0, 0, 0, 0, P(5), P(5), 0, 0}},
        {"RLE4 alternates nibbles", indexed(7, 1, 4, {4, 0x3A, 0, 3, 0x12, 0x30, 0, 1}, 2), {P(3), P(10), P(3), P(10), P(1), P(2), P(3)}},
        {"RLE runs past the row clipped, delta off the picture ends it", indexed(2, 2, 8, {255, 4, 0, 0, 1, 6, 0, 2, 200, 200}, 1),
         {P(4), P(4), P(6), 0}},
        {"RLE run past the row's end does not spill into the next row", indexed(2, 2, 8, {3, 5, 0, 1}, 1), {P(5), P(5), 0, 0}},
        {"RLE4 run of 255 in a 3-pixel row", indexed(3, 1, 4, {0xFF, 0x09, 0, 1}, 2), {P(0), P(9), P(0)}},
        {"RLE delta past the last row ends the picture", indexed(4, 3, 8, {2, 7, 0, 2, 0, 200}, 1),
         {P(7), P(7), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"RLE running off the top with end-of-line marks", indexed(4, 2, 8, {4, 1, 0, 0, 4, 2, 0, 0}, 1),
         {P(1), P(1), P(1), P(1), P(2), P(2), P(2), P(2)}},
    };
    for (const Row& r : rows) {
        const char* error = nullptr;
        EXPECT_EQ(decoded(r.spec, &error), r.want) << r.what << ": " << (error ? error : "");
    }
}

TEST(BmpDecode, FilesThatLieAreRefusedWithTheirMessage)
{
    struct Row {
        const char* what;
        BmpSpec spec;
        const char* message;
    };
    auto p = [](void (*edit)(BmpSpec&)) { return with(picture24(2, 2), edit); };
    const Row rows[] = {
        {"V4 header", p([](BmpSpec& s) { s.headerSize = 108; }), BMP_MSG_FORMAT},
        {"V5 header", p([](BmpSpec& s) { s.headerSize = 124; }), BMP_MSG_FORMAT},
        {"64-byte header", p([](BmpSpec& s) { s.headerSize = 64; }), BMP_MSG_FORMAT},
        {"zero header", p([](BmpSpec& s) { s.headerSize = 0; }), BMP_MSG_FORMAT},
        {"41-byte header", p([](BmpSpec& s) { s.headerSize = 41; }), BMP_MSG_FORMAT},
        {"zero width", p([](BmpSpec& s) { s.width = 0; }), BMP_MSG_CONVERSION},
        {"zero height", p([](BmpSpec& s) { s.height = 0; }), BMP_MSG_CONVERSION},
        {"negative width", p([](BmpSpec& s) { s.width = -2; }), BMP_MSG_CONVERSION},
        {"absurd width", p([](BmpSpec& s) { s.width = 16385; }), BMP_MSG_CONVERSION},
        {"absurd height", p([](BmpSpec& s) { s.height = -16385; }), BMP_MSG_CONVERSION},
        {"most negative height", p([](BmpSpec& s) { s.height = INT32_MIN; }), BMP_MSG_CONVERSION},
        {"2 bits", p([](BmpSpec& s) { s.bits = 2; }), BMP_MSG_CONVERSION},
        {"0 bits", p([](BmpSpec& s) { s.bits = 0; }), BMP_MSG_CONVERSION},
        {"bit fields", p([](BmpSpec& s) { s.compression = 3; }), BMP_MSG_CONVERSION},
        {"jpeg inside", p([](BmpSpec& s) { s.compression = 4; }), BMP_MSG_CONVERSION},
        {"RLE8 at 24 bits", p([](BmpSpec& s) { s.compression = 1; }), BMP_MSG_CONVERSION},
        {"RLE4 at 8 bits", p([](BmpSpec& s) { s.compression = 2; s.bits = 8; }), BMP_MSG_CONVERSION},
        {"top-down RLE", p([](BmpSpec& s) { s.compression = 1; s.bits = 8; s.height = -2; }), BMP_MSG_CONVERSION},
        {"pixel offset past the end", p([](BmpSpec& s) { s.pixelOffset = 1000; }), BMP_MSG_CONVERSION},
        {"pixel offset at 4 GB", p([](BmpSpec& s) { s.pixelOffset = 0xFFFFFFFF; }), BMP_MSG_CONVERSION},
        {"pixel offset inside the last row", p([](BmpSpec& s) { s.pixelOffset = 14 + 40 + 1; }), BMP_MSG_CONVERSION},
        {"one row more than the data", p([](BmpSpec& s) { s.height = 3; }), BMP_MSG_CONVERSION},
        {"huge size, refused before allocating", p([](BmpSpec& s) { s.width = s.height = 16384; }), BMP_MSG_CONVERSION},
        {"17 colours at 4 bits", indexed(2, 1, 4, {0x12, 0, 0, 0}, 0, 17), BMP_MSG_CONVERSION},
        {"a 16 GB colour table", with(indexed(2, 1, 8, {1, 2, 0, 0}, 0, 17), [](BmpSpec& s) { s.coloursUsed = 0xFFFFFFFF; }), BMP_MSG_CONVERSION},
        {"200 colours, 17 in the file", with(indexed(2, 1, 8, {1, 2, 0, 0}, 0, 17), [](BmpSpec& s) { s.coloursUsed = 200; }), BMP_MSG_CONVERSION},
        {"RLE without its end and next row", indexed(4, 2, 8, {4, 1, 0, 0}, 1), BMP_MSG_CONVERSION},
        {"RLE literal longer than the data", indexed(4, 2, 8, {0, 5, 1, 2}, 1), BMP_MSG_CONVERSION},
        {"RLE delta without its second byte", indexed(4, 2, 8, {0, 2, 1}, 1), BMP_MSG_CONVERSION},
        {"RLE half a pair", indexed(4, 2, 8, {4}, 1), BMP_MSG_CONVERSION},
        {"RLE at the largest side with no data", with(indexed(4, 2, 8, {1}, 1), [](BmpSpec& s) { s.width = BMP_MAX_SIDE; }), BMP_MSG_CONVERSION},
    };
    for (const Row& r : rows) {
        const char* error = nullptr;
        EXPECT_TRUE(decoded(r.spec, &error).empty()) << r.what;
        EXPECT_STREQ(error, r.message) << r.what;
    }
}

// Every prefix of a good file is refused (or, for the prefixes that still hold everything,
// decoded) without reading past its end; AddressSanitizer builds check the "past its end" part.
TEST(BmpDecode, EveryTruncationIsRefusedCleanly)
{
    const BmpSpec eight = indexed(5, 2, 8, {0, 1, 2, 3, 0, 0, 0, 0, 3, 2, 1, 0, 1, 0, 0, 0}, 0, 4);
    for (const BmpSpec& spec : {picture24(3, 3), eight, with(eight, [](BmpSpec& s) { s.compression = 1; s.pixels = {5, 1, 0, 0, 0, 3, 1, 2, 3, 0, 2, 0, 0, 1}; }),
                                with(indexed(5, 2, 8, eight.pixels), [](BmpSpec& s) { s.headerSize = 12; })}) {
        const std::vector<uint8_t> file = buildBmp(spec);
        ASSERT_FALSE(decoded(spec).empty());
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

TEST(BmpLoad, MessagesUnderErrorForWhatCannotBeOpenedOrDecoded)
{
    fakeSysReset();
    TempDir dir;
    writeFile(dir.file("empty.gfx"), "");
    writeFile(dir.file("v5.bmp"), asString(buildBmp(with(picture24(2, 2), [](BmpSpec& s) { s.headerSize = 124; }))));
    writeFile(dir.file("a.gfx"), asString(buildBmp(picture24(7, 5))));
    for (const std::string& path : {dir.file("Dane/Menu/logo.gfx"), dir.file("empty.gfx"), dir.path, dir.file("v5.bmp")})
        EXPECT_EQ(loadBmpImage(path.c_str()), nullptr) << path;
    Image good(loadBmpImage(dir.file("a.gfx").c_str()));
    ASSERT_TRUE(good);
    EXPECT_EQ(good->width * 10 + good->height, 75);
    const std::vector<std::string> want = {"Failed to open DIB file " + dir.file("Dane/Menu/logo.gfx") + ".\n",
                                           "Failed to open DIB file " + dir.file("empty.gfx") + ".\n",
                                           "Failed to open DIB file " + dir.path + ".\n", "Unknown DIB file format."};
    ASSERT_EQ(fakeMessages.size(), want.size()) << "a good file loads silently";
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(fakeMessages[i].text, want[i]);
        EXPECT_EQ(fakeMessages[i].caption, "Error");
    }
}
