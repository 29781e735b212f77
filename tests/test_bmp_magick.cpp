// The BMP decoder against ImageMagick: pictures written by its BMP writer in every form it has
// (1, 4, 8, 24 and 32 bits, RLE8, the old core header), decoded by us and by ImageMagick itself,
// must be equal pixel for pixel.
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
    const char* format;        // BMP3 or BMP2
    int bits;                  // what the written file must hold; 0: any colour-table depth
    int compression;
    // For run-length files the reference is the same picture written uncompressed: ImageMagick's
    // own reader shifts the rows of a narrow run-length file whose runs cover the row padding.
    const char* referenceOptions;
};

const Case cases[] = {
    {"24-bit", "-type truecolor", "BMP3", 24, 0, nullptr},
    {"32-bit", "-alpha set -channel A -evaluate set 40% +channel -define bmp3:alpha=true", "BMP3", 32, 0, nullptr},
    {"8-bit", "-colors 200 -type palette -compress none", "BMP3", 8, 0, nullptr},
    {"4-bit", "-colors 12 -compress none", "BMP3", 4, 0, nullptr},
    {"1-bit", "-monochrome", "BMP3", 1, 0, nullptr},
    {"RLE8", "-colors 90 -compress RLE", "BMP3", 8, 1, "-colors 90 -compress none"},
    {"core 24-bit", "-type truecolor", "BMP2", 24, 0, nullptr},
    {"core colour table", "-colors 200 -type palette", "BMP2", 0, 0, nullptr},
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

    const std::string file = readFile(bmp);
    if (file.size() < 30) {
        ADD_FAILURE() << "short file";
        return true;
    }
    const size_t header = 14;
    const bool core = static_cast<uint8_t>(file[header]) == 12;
    const int bits = static_cast<uint8_t>(file[header + (core ? 10 : 14)]);
    const int compression = core ? 0 : static_cast<uint8_t>(file[header + 16]);
    // ImageMagick picks the depth itself; a case only counts when it wrote what it is named for.
    if ((c.bits ? bits != c.bits : bits > 8) || compression != c.compression || core != (std::string(c.format) == "BMP2"))
        return false;

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
