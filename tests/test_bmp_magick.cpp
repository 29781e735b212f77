// The BMP decoder against ImageMagick: pictures its BMP writer makes in every form it has, decoded
// by us and by ImageMagick itself, must be equal pixel for pixel.
#include "assets/bmp.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace {

struct Case {
    const char* name;
    const char* writeOptions;  // between the source picture and the output file
    const char* format;        // BMP3, BMP2 or BMP (the 124-byte header)
    int bits;                  // what the written file must hold; 0: any colour-table depth
    int compression;
    int headerSize;            // 108: the 124-byte header cut to the 108-byte one before reading
    // For run-length files the reference is the picture written uncompressed: ImageMagick's own
    // reader shifts the rows of a narrow run-length file whose runs cover the row padding.
    const char* referenceOptions;
};

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
    if (w.status != 0 || file.size() < 30) {
        ADD_FAILURE() << w.err;
        return true;
    }
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
        reference.size() < at + 1 + static_cast<size_t>(width) * height * 3) {
        ADD_FAILURE() << "no reference: " << r.err;
        return true;
    }
    const uint8_t* theirs = reinterpret_cast<const uint8_t*>(reference.data()) + at + 1;  // top row first
    const char* error = nullptr;
    std::unique_ptr<ImageRecord, void (*)(ImageRecord*)> image(
        decodeBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &error), freeImage);
    if (!image || image->width != width || image->height != height) {
        ADD_FAILURE() << "size differs or refused: " << (error ? error : "");
        return true;
    }
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
