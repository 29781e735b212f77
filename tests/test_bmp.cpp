// The BMP decoder on hand-made files (every depth and header form, files that lie), the loader, and
// against ImageMagick: pictures its writer makes in every form it has must decode equal pixel for pixel.
#include "assets/bmp.h"
#include "tests/support/bmp_build.h"
#include "platform/null/null_platform.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {

using Image = std::unique_ptr<ImageRecord, void (*)(ImageRecord*)>;

Image decode(const std::vector<uint8_t>& bytes, const char** error = nullptr)
{
    return Image(decodeBmp(bytes.data(), bytes.size(), error), freeImage);
}

std::vector<uint8_t> pixelsOf(const ImageRecord& image)
{
    return std::vector<uint8_t>(image.pixels, image.pixels + static_cast<size_t>(image.width) * image.height * 3);
}

std::vector<uint8_t> rgbList(const std::vector<uint32_t>& colours)
{
    std::vector<uint8_t> out;
    for (uint32_t c : colours)
        out.insert(out.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    return out;
}

std::vector<uint32_t> greys(int n)
{
    std::vector<uint32_t> p;
    for (int i = 0; i < n; ++i) {
        const uint32_t v = static_cast<uint32_t>(i * 255 / (n > 1 ? n - 1 : 1));
        p.push_back((v << 16) | ((255 - v) << 8) | (i & 0xFF));
    }
    return p;
}

BmpSpec make(int width, int height, uint16_t bits, std::vector<uint8_t> pixels, uint32_t compression = 0,
             int colours = 0)
{
    BmpSpec s;
    s.width = width, s.height = height, s.bits = bits, s.compression = compression;
    s.pixels = std::move(pixels), s.palette = greys(colours);
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
    g.push_back({"24-bit", make(3, 2, 24, rows24({{0x0000FF, 0x00FF00, 0xFF0000}, {0xFFFFFF, 0, 0xFFFFFF}})), {},
                 {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 0, 0, 0, 255, 255, 255}});
    g.push_back({"32-bit ignores the fourth byte", make(2, 1, 32, {0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0xFF}), {},
                 {0x30, 0x20, 0x10, 0x60, 0x50, 0x40}});
    g.push_back({"16-bit 5-5-5 widened", make(3, 1, 16, {0xFF, 0x7F, 0x00, 0x7C, uint8_t(c555), uint8_t(c555 >> 8), 0xEE, 0xEE}),
                 {}, {255, 255, 255, 255, 0, 0, 8, 132, 255}});
    g.push_back({"top-down", make(2, -2, 24, rows24({{0x778899, 0xAABBCC}, {0x112233, 0x445566}})), {},
                 rgbList({0x112233, 0x445566, 0x778899, 0xAABBCC})});
    g.push_back({"8-bit whole table", make(4, 1, 8, {0, 1, 128, 255}, 0, 256), {0, 1, 128, 255}, {}});
    g.push_back({"colours used sizes the table", make(3, 1, 8, {15, 0, 200, 0}, 0, 16), {15, 0, -1}, {}});
    g.back().spec.coloursUsed = 16;
    g.push_back({"4-bit high nibble first", make(3, 1, 4, {0x1F, 0x70, 0, 0}, 0, 16), {1, 15, 7}, {}});
    g.push_back({"1-bit high bit first", make(10, 1, 1, {0xA5, 0x40, 0, 0}, 0, 2), {1, 0, 1, 0, 0, 1, 0, 1, 0, 1}, {}});
    g.push_back({"core header, 3-byte entries", make(2, 2, 8, {3, 4, 0, 0, 250, 251, 0, 0}, 0, 256), {3, 4, 250, 251}, {}});
    g.back().spec.headerSize = 12;
    // Run length: run, literal padded to a word, end of line, delta right 2 up 1, run, end.
    g.push_back({"RLE8", make(6, 3, 8, {3, 7, 0, 3, 1, 2, 9, 0, 0, 0, 0, 2, 2, 1, 2, 5, 0, 1}, 1, 256),
                 {7, 7, 7, 1, 2, 9, -1, -1, -1, -1, -1, -1, -1, -1, 5, 5, -1, -1}, {}});
    g.push_back({"RLE4 alternates nibbles", make(7, 1, 4, {4, 0x3A, 0, 3, 0x12, 0x30, 0, 1}, 2, 16), {3, 10, 3, 10, 1, 2, 3}, {}});
    g.push_back({"RLE runs past the row clipped, delta out ends", make(2, 2, 8, {255, 4, 0, 0, 1, 6, 0, 2, 200, 200}, 1, 256),
                 {4, 4, 6, -1}, {}});
    g.push_back({"RLE end of lines off the top", make(4, 2, 8, {4, 1, 0, 0, 4, 2, 0, 0}, 1, 256), {1, 1, 1, 1, 2, 2, 2, 2}, {}});
    g.push_back({"RLE delta past the last row", make(4, 3, 8, {2, 7, 0, 2, 0, 200, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE}, 1, 256),
                 {7, 7, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}, {}});
    g.push_back({"RLE4 run of 255 in a 3-pixel row", make(3, 1, 4, {0xFF, 0x09, 0, 1}, 2, 16), {0, 9, 0}, {}});
    // Bit fields, masks red, green, blue; an empty mask reads as 0.
    struct Mask { uint16_t bits; uint32_t headerSize; std::vector<uint32_t> masks; uint32_t pixel; std::vector<uint8_t> want; };
    const Mask masks[] = {
        {16, 40, {0xF800, 0x07E0, 0x001F}, 0xFFFF, {255, 255, 255}},
        {16, 40, {0xF800, 0x07E0, 0x001F}, (1u << 11) | (32u << 5) | 31u, {8, 130, 255}},
        {16, 108, {0x0F00, 0x00F0, 0x000F}, 0xF5A3, {0x55, 0xAA, 0x33}},
        {16, 124, {0x001F, 0x03E0, 0x7C00}, 0x7C01, {8, 0, 255}},
        {32, 40, {0x000000FF, 0x0000FF00, 0x00FF0000}, 0xAA332211, {0x11, 0x22, 0x33}},
        {32, 124, {0xFFC00000, 0x003FF000, 0x00000FFC}, 0x80100804, {0x80, 0x40, 0x80}},
        {32, 40, {0, 0xFF, 0x3}, 0x00000102, {0, 2, 0xAA}},
    };
    for (const Mask& m : masks) {
        std::vector<uint8_t> px;
        for (int i = 0; i < 4; ++i)
            px.push_back(static_cast<uint8_t>(i < m.bits / 8 ? m.pixel >> (8 * i) : 0));
        g.push_back({"bit fields", make(1, 1, m.bits, px, 3), {}, m.want});
        g.back().spec.headerSize = m.headerSize, g.back().spec.masks = m.masks;
    }
    // Row padding of every width, in every header length.
    for (int width = 1; width <= 5; ++width)
        for (uint32_t header : {40u, 108u, 124u}) {
            std::vector<uint32_t> colours;
            g.push_back({"24-bit padding and header lengths", picture24(width, 3, &colours), {}, {}});
            g.back().spec.headerSize = header, g.back().rgb = rgbList(colours);
        }
    return g;
}

// The writer's options and format (BMP3, BMP2, or BMP: the 124-byte header); the depth,
// compression and header the file must hold (bits 0: any colour table; header 108: the 124-byte one
// cut short before reading). Run-length files are checked against the picture written uncompressed:
// ImageMagick's own reader shifts the rows of a narrow one whose runs cover the row padding.
struct Case { const char *name, *writeOptions, *format; int bits, compression, headerSize; const char* referenceOptions; };

const Case cases[] = {
    {"24-bit", "-type truecolor", "BMP3", 24, 0, 40, nullptr},
    {"32-bit", "-alpha set -channel A -evaluate set 40% +channel -define bmp3:alpha=true", "BMP3", 32, 0, 40, nullptr},
    {"8-bit", "-colors 200 -type palette -compress none", "BMP3", 8, 0, 40, nullptr},
    {"4-bit", "-colors 12 -compress none", "BMP3", 4, 0, 40, nullptr},
    {"1-bit", "-monochrome", "BMP3", 1, 0, 40, nullptr},
    {"RLE8", "-colors 90 -compress RLE", "BMP3", 8, 1, 40, "-colors 90 -compress none"},
    {"core 24-bit", "-type truecolor", "BMP2", 24, 0, 12, nullptr},
    {"core colour table", "-colors 200 -type palette", "BMP2", 0, 0, 12, nullptr},
    {"124-byte 24-bit", "-type truecolor", "BMP", 24, 0, 124, nullptr},
    {"124-byte 8-bit", "-colors 200 -type palette -compress none", "BMP", 8, 0, 124, nullptr},
    {"124-byte 5-6-5", "-define bmp:subtype=RGB565", "BMP", 16, 3, 124, nullptr},
    {"124-byte 5-5-5", "-define bmp:subtype=RGB555", "BMP", 16, 3, 124, nullptr},
    {"124-byte 1-5-5-5", "-alpha set -define bmp:subtype=ARGB1555", "BMP", 16, 3, 124, nullptr},
    {"124-byte 32-bit", "-alpha set -channel A -evaluate set 40% +channel", "BMP", 32, 3, 124, nullptr},
    {"108-byte 5-6-5", "-define bmp:subtype=RGB565", "BMP", 16, 3, 108, nullptr},
    {"108-byte 32-bit", "-alpha set", "BMP", 32, 3, 108, nullptr},
};

// False when ImageMagick chose another form for this picture than the case names.
bool compareOne(const Case& c, const std::string& size, const TempDir& dir)
{
    SCOPED_TRACE(std::string(c.name) + " " + size);
    const std::string bmp = dir.file("picture.bmp"), ppm = dir.file("reference.ppm"), twin = dir.file("twin.bmp");
    const std::string source = "convert rose: -resize " + size + " ";
    CommandResult w = runCommand(source + c.writeOptions + " " + c.format + ":'" + bmp + "'");
    std::string file = readFile(bmp);
    if (w.status != 0 || file.size() < 30)
        return ADD_FAILURE() << w.err, true;
    auto byte = [&](size_t at) { return static_cast<uint8_t>(file[at]); };
    const int headerSize = byte(14), bits = byte(headerSize == 12 ? 24 : 28);
    const int compression = headerSize == 12 ? 0 : byte(30);
    if ((c.bits ? bits != c.bits : bits > 8) || compression != c.compression ||
        headerSize != (c.headerSize == 108 ? 124 : c.headerSize))
        return false;
    if (c.headerSize == 108) {  // drop the last 16 header bytes; the file size and offset follow
        file.erase(14 + 108, 16);
        file[14] = 108;
        for (size_t at : {size_t{2}, size_t{10}}) {
            uint32_t v = 0;
            for (int i = 3; i >= 0; --i)
                v = (v << 8) | byte(at + i);
            for (int i = 0; i < 4; ++i)
                file[at + i] = static_cast<char>((v - 16) >> (8 * i));
        }
        writeFile(bmp, file);
    }
    if (c.referenceOptions)
        runCommand(source + c.referenceOptions + " BMP3:'" + twin + "'");
    CommandResult r = runCommand("convert '" + (c.referenceOptions ? twin : bmp) + "' -alpha off -depth 8 ppm:'" + ppm + "'");
    const std::string reference = readFile(ppm);
    int width = 0, height = 0, at = 0;
    if (r.status != 0 || std::sscanf(reference.c_str(), "P6 %d %d 255%n", &width, &height, &at) != 2 ||
        reference.size() < at + 1 + static_cast<size_t>(width) * height * 3)
        return ADD_FAILURE() << "no reference: " << r.err, true;
    const uint8_t* theirs = reinterpret_cast<const uint8_t*>(reference.data()) + at + 1;  // top row first
    const char* error = nullptr;
    std::unique_ptr<ImageRecord, void (*)(ImageRecord*)> image(
        decodeBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &error), freeImage);
    if (!image || image->width != width || image->height != height)
        return ADD_FAILURE() << "size differs or refused: " << (error ? error : ""), true;
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    int mismatches = 0;
    for (int y = 0; y < height; ++y)
        for (size_t i = 0; i < rowBytes; ++i) {
            const uint8_t ours = image->pixels[rowBytes * (height - 1 - y) + i], want = theirs[rowBytes * y + i];
            if (ours != want && mismatches++ < 5)
                ADD_FAILURE() << "row " << y << " byte " << i << " ours " << int(ours) << " ImageMagick " << int(want);
        }
    EXPECT_EQ(mismatches, 0);
    return true;
}

} // namespace

TEST(BmpDecode, EveryDepthAndHeaderFormWithAndWithoutTheFileHeader)
{
    for (Good& c : goodFiles())
        for (bool fileHeader : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (fileHeader ? "" : ", no file header"));
            c.spec.fileHeader = fileHeader;
            Image image = decode(buildBmp(c.spec));
            if (!image) {
                ADD_FAILURE() << "refused";
                continue;
            }
            EXPECT_EQ(image->width, c.spec.width);
            EXPECT_EQ(image->height, std::abs(c.spec.height));
            std::vector<uint32_t> colours;
            for (int i : c.index)
                colours.push_back(i < 0 ? 0 : c.spec.palette[i]);
            EXPECT_EQ(pixelsOf(*image), c.index.empty() ? c.rgb : rgbList(colours));
        }
    BmpSpec gap = picture24(2, 1);
    gap.pixels.insert(gap.pixels.begin(), {0x11, 0x22, 0x33, 0x44});
    gap.pixelOffset = 14 + 40 + 4;
    Image image = decode(buildBmp(gap));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels[0], gap.pixels[4 + 2]);
}

TEST(BmpRefuse, HostileAndLyingFiles)
{
    struct Case { const char* what; void (*edit)(BmpSpec&); const char* error; };
    const char* const CONV = BMP_MSG_CONVERSION;
    const Case cases[] = {
        {"header 64", [](BmpSpec& s) { s.headerSize = 64; }, BMP_MSG_FORMAT},
        {"header 0", [](BmpSpec& s) { s.headerSize = 0; }, BMP_MSG_FORMAT},
        {"header 41", [](BmpSpec& s) { s.headerSize = 41; }, BMP_MSG_FORMAT},
        {"header 56", [](BmpSpec& s) { s.headerSize = 56; }, BMP_MSG_FORMAT},
        {"zero width", [](BmpSpec& s) { s.width = 0; }, CONV},
        {"zero height", [](BmpSpec& s) { s.height = 0; }, CONV},
        {"negative width", [](BmpSpec& s) { s.width = -2; }, CONV},
        {"absurd width", [](BmpSpec& s) { s.width = BMP_MAX_SIDE + 1; }, CONV},
        {"absurd height", [](BmpSpec& s) { s.height = -BMP_MAX_SIDE - 1; }, CONV},
        {"most negative height", [](BmpSpec& s) { s.height = INT32_MIN; }, CONV},
        {"2 bits", [](BmpSpec& s) { s.bits = 2; }, CONV},
        {"0 bits", [](BmpSpec& s) { s.bits = 0; }, CONV},
        {"bit fields at 24 bits", [](BmpSpec& s) { s.compression = 3; }, CONV},
        {"bit fields without masks", [](BmpSpec& s) { s.compression = 3; s.bits = 32; s.pixels.resize(8); }, CONV},
        {"jpeg inside", [](BmpSpec& s) { s.compression = 4; }, CONV},
        {"RLE8 at 24 bits", [](BmpSpec& s) { s.compression = 1; }, CONV},
        {"RLE4 at 8 bits", [](BmpSpec& s) { s.compression = 2; s.bits = 8; }, CONV},
        {"top-down RLE", [](BmpSpec& s) { s.compression = 1; s.bits = 8; s.height = -2; }, CONV},
        {"pixel offset 1000", [](BmpSpec& s) { s.pixelOffset = 1000; }, CONV},
        {"pixel offset 2^32-1", [](BmpSpec& s) { s.pixelOffset = 0xFFFFFFFF; }, CONV},
        {"pixel offset one past", [](BmpSpec& s) { s.pixelOffset = 14 + 40 + 1; }, CONV},
        {"a row more than the data", [](BmpSpec& s) { s.height = 3; }, CONV},
        {"huge size, tiny file", [](BmpSpec& s) { s.width = s.height = BMP_MAX_SIDE; }, CONV},
        {"17 colours at 4 bits", [](BmpSpec& s) { s = make(2, 1, 4, {0x12, 0, 0, 0}, 0, 17); s.coloursUsed = 17; }, CONV},
        {"16 GB of table", [](BmpSpec& s) { s = make(2, 1, 8, {0x12, 0, 0, 0}, 0, 17); s.coloursUsed = 0xFFFFFFFF; }, CONV},
        {"table past the file", [](BmpSpec& s) { s = make(2, 1, 8, {0x12, 0, 0, 0}, 0, 17); s.coloursUsed = 200; }, CONV},
        {"RLE without its next row", [](BmpSpec& s) { s = make(4, 2, 8, {4, 1, 0, 0}, 1, 256); }, CONV},
        {"RLE literal past the end", [](BmpSpec& s) { s = make(4, 2, 8, {0, 5, 1, 2}, 1, 256); }, CONV},
        {"RLE half a delta", [](BmpSpec& s) { s = make(4, 2, 8, {0, 2, 1}, 1, 256); }, CONV},
        {"RLE half a pair", [](BmpSpec& s) { s = make(4, 2, 8, {4}, 1, 256); }, CONV},
        // The largest sides in about 1 KB: refused before an 805 MB black picture is allocated.
        {"huge RLE, data ends", [](BmpSpec& s) { s = make(BMP_MAX_SIDE, BMP_MAX_SIDE, 8, {1}, 1, 256); s.fileHeader = false; }, CONV},
        {"huge RLE, ends at once", [](BmpSpec& s) { s = make(BMP_MAX_SIDE, BMP_MAX_SIDE, 8, {0, 1}, 1, 256); s.fileHeader = false; }, CONV},
        {"huge RLE, 64 zeros", [](BmpSpec& s) { s = make(BMP_MAX_SIDE, BMP_MAX_SIDE, 8, std::vector<uint8_t>(64), 1, 256); s.fileHeader = false; }, CONV},
    };
    for (const Case& c : cases) {
        BmpSpec spec = picture24(2, 2);
        c.edit(spec);
        const char* error = nullptr;
        EXPECT_FALSE(decode(buildBmp(spec), &error)) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
    }
}

// Every prefix of a good file is refused or decoded without reading past its end (the sanitizer
// builds check that part).
TEST(BmpRefuse, EveryTruncationIsRefusedCleanly)
{
    BmpSpec eight = make(5, 2, 8, {0, 1, 2, 3, 0, 0, 0, 0, 3, 2, 1, 0, 1, 0, 0, 0}, 0, 4);
    eight.coloursUsed = 4;
    BmpSpec rle = make(5, 2, 8, {5, 1, 0, 0, 0, 3, 1, 2, 3, 0, 2, 0, 0, 1}, 1, 4), core = make(5, 2, 8, eight.pixels, 0, 256);
    rle.coloursUsed = 4, core.headerSize = 12;
    for (const BmpSpec& spec : {picture24(3, 3), eight, rle, core}) {
        const std::vector<uint8_t> file = buildBmp(spec);
        ASSERT_TRUE(decode(file));
        for (size_t n = 0; n < file.size(); ++n) {
            std::unique_ptr<uint8_t[]> prefix(new uint8_t[n > 0 ? n : 1]);  // exactly n bytes
            std::memcpy(prefix.get(), file.data(), n);
            const char* error = nullptr;
            Image image(decodeBmp(prefix.get(), n, &error), freeImage);
            if (!image) {
                ASSERT_NE(error, nullptr) << n;
            }
        }
    }
}

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
    const std::string paths[] = {dir.file("Dane/Menu/logo.gfx"), dir.file("empty.gfx"), dir.path, dir.file("pipe.gfx")};
    for (const std::string& path : paths) {
        fakeMessages.clear();
        EXPECT_EQ(loadBmpImage(path.c_str()), nullptr) << path;
        ASSERT_EQ(fakeMessages.size(), 1u) << path;
        EXPECT_EQ(fakeMessages[0].text, "Failed to open DIB file " + path + ".\n");
        EXPECT_EQ(fakeMessages[0].caption, "Error");
    }
    fakeMessages.clear();
    EXPECT_EQ(loadBmpImage(dir.file("v5.bmp").c_str()), nullptr);
    Image image(loadBmpImage(dir.file("a.gfx").c_str()), freeImage);
    ASSERT_EQ(fakeMessages.size(), 1u) << "a good file loads silently";
    EXPECT_EQ(fakeMessages[0].text, "Unknown DIB file format.");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width * 10 + image->height, 75);
}

TEST(BmpAgainstImageMagick, EveryWrittenFormAndSizeDecodesTheSame)
{
    if (runCommand("command -v convert").status != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    TempDir dir;
    for (const Case& c : cases) {
        int compared = 0;
        for (const char* size : {"70x46!", "1x1!", "2x5!", "3x3!", "33x7!"})
            compared += compareOne(c, size, dir) ? 1 : 0;
        EXPECT_GE(compared, 2) << c.name << ": ImageMagick seldom wrote this form";
    }
}
