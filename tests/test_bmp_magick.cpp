// The BMP decoder against ImageMagick: pictures written by its BMP writer in every form it has
// (1, 4, 8, 24 and 32 bits, RLE8, the old core header, the 124-byte header with 16- and 32-bit
// bit fields, and that header cut to 108 bytes), decoded by us and by ImageMagick itself, must be
// equal pixel for pixel.
#include "assets/bmp.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>

namespace {

bool haveConvert()
{
    static const int found = runCommand("command -v convert").status == 0 ? 1 : 0;
    return found == 1;
}

struct Ppm {
    int width = 0;
    int height = 0;
    std::string rgb;  // top row first
};

// A binary PPM as ImageMagick writes it (maxval 255, no comments after the size).
bool parsePpm(const std::string& bytes, Ppm& out)
{
    size_t p = 0;
    auto number = [&](int& value) {
        while (p < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[p])))
            ++p;
        if (p >= bytes.size() || !std::isdigit(static_cast<unsigned char>(bytes[p])))
            return false;
        value = 0;
        while (p < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[p])))
            value = value * 10 + (bytes[p++] - '0');
        return true;
    };
    if (bytes.compare(0, 2, "P6") != 0)
        return false;
    p = 2;
    int maxval = 0;
    if (!number(out.width) || !number(out.height) || !number(maxval) || maxval != 255)
        return false;
    ++p;
    const size_t need = static_cast<size_t>(out.width) * out.height * 3;
    if (bytes.size() - p < need)
        return false;
    out.rgb = bytes.substr(p, need);
    return true;
}

struct Case {
    const char* name;
    const char* writeOptions;  // between the source picture and the output file
    const char* format;        // BMP3, BMP2 or BMP (the 124-byte header)
    int bits;                  // what the written file must hold; 0: any colour-table depth
    int compression;
    int headerSize;            // 108: the 124-byte header cut to the 108-byte one before reading
    // For run-length files the reference is the same picture written uncompressed: ImageMagick's
    // own reader shifts the rows of a narrow run-length file whose runs cover the row padding.
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

const char* const sizes[] = {"70x46!", "1x1!", "2x5!", "3x3!", "33x7!"};

// False when ImageMagick chose another form for this picture than the case names.
bool compareOne(const Case& c, const char* size, const TempDir& dir)
{
    const std::string bmp = dir.file("picture.bmp"), ppm = dir.file("reference.ppm");
    const std::string write = std::string("convert rose: -resize ") + size + " " + c.writeOptions + " " + c.format + ":'" +
                              bmp + "'";
    CommandResult w = runCommand(write);
    if (w.status != 0) {
        ADD_FAILURE() << write << "\n" << w.err;
        return true;
    }
    std::string file = readFile(bmp);
    if (file.size() < 30) {
        ADD_FAILURE() << "short file";
        return true;
    }
    const size_t header = 14;
    const int headerSize = static_cast<uint8_t>(file[header]);
    const bool core = headerSize == 12;
    const int bits = static_cast<uint8_t>(file[header + (core ? 10 : 14)]);
    const int compression = core ? 0 : static_cast<uint8_t>(file[header + 16]);
    // ImageMagick picks the depth itself; a case only counts when it wrote what it is named for.
    if ((c.bits ? bits != c.bits : bits > 8) || compression != c.compression ||
        headerSize != (c.headerSize == 108 ? 124 : c.headerSize))
        return false;
    if (c.headerSize == 108) {
        // The same file with the older header: its last 16 bytes (intent and profile) left out.
        file.erase(header + 108, 16);
        file[header] = 108;
        for (size_t at : {size_t{2}, size_t{10}}) {  // the file size and the pixel offset
            uint32_t v = 0;
            for (int i = 3; i >= 0; --i)
                v = (v << 8) | static_cast<uint8_t>(file[at + i]);
            for (int i = 0; i < 4; ++i)
                file[at + i] = static_cast<char>((v - 16) >> (8 * i));
        }
        writeFile(bmp, file);
    }
    std::string referenceSource = bmp;
    if (c.referenceOptions) {
        referenceSource = dir.file("twin.bmp");
        runCommand(std::string("convert rose: -resize ") + size + " " + c.referenceOptions + " BMP3:'" + referenceSource + "'");
    }
    CommandResult r = runCommand("convert '" + referenceSource + "' -alpha off -depth 8 ppm:'" + ppm + "'");
    if (r.status != 0) {
        ADD_FAILURE() << r.err;
        return true;
    }

    Ppm reference;
    EXPECT_TRUE(parsePpm(readFile(ppm), reference));
    const char* error = nullptr;
    std::unique_ptr<ImageRecord, void (*)(ImageRecord*)> image(
        decodeBmp(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &error), freeImage);
    EXPECT_TRUE(image) << c.name << " " << size << ": " << error;
    if (!image || image->width != reference.width || image->height != reference.height) {
        ADD_FAILURE() << c.name << " " << size << ": size differs";
        return true;
    }
    const size_t rowBytes = static_cast<size_t>(reference.width) * 3;
    int mismatches = 0;
    for (int y = 0; y < reference.height; ++y) {
        const uint8_t* ours = image->pixels + rowBytes * (reference.height - 1 - y);
        const uint8_t* theirs = reinterpret_cast<const uint8_t*>(reference.rgb.data()) + rowBytes * y;
        for (size_t i = 0; i < rowBytes; ++i)
            if (ours[i] != theirs[i] && mismatches++ < 5)
                ADD_FAILURE() << c.name << " " << size << ": row " << y << " byte " << i << " ours "
                              << int(ours[i]) << " ImageMagick " << int(theirs[i]);
    }
    EXPECT_EQ(mismatches, 0) << c.name << " " << size;
    return true;
}

} // namespace

TEST(BmpAgainstImageMagick, EveryWrittenFormAndSizeDecodesTheSame)
{
    if (!haveConvert())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    TempDir dir;
    for (const Case& c : cases) {
        int compared = 0;
        for (const char* size : sizes)
            compared += compareOne(c, size, dir) ? 1 : 0;
        EXPECT_GE(compared, 2) << c.name << ": ImageMagick seldom wrote this form";
    }
}
