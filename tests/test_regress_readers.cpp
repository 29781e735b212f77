// Hostile inputs for the readers, kept from the fuzzing: the committed seed files of fuzz/corpus
// replayed through each reader (the sanitizer run of the suite checks them for bad reads), and
// the inputs that taught the fuzz targets something, each pinned with what the reader must do.
#include "core/options.h"
#include "assets/bmp.h"
#include "assets/model.h"
#include "assets/params.h"
#include "assets/textures.h"
#include "platform/services/dirscan.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> corpus(const std::string& kind)
{
    std::vector<std::string> files;
    const std::filesystem::path dir = std::filesystem::path(VELBRANT_SOURCE_DIR) / "fuzz" / "corpus" / kind;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// An exact copy on the heap, so a read one past the end is caught by the sanitizers.
std::vector<char> bytesOf(const std::string& text)
{
    return std::vector<char>(text.begin(), text.end());
}

void putLe32(std::string& s, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A bare 40-byte-header run-length picture: width, height, compression 1 (8 bits) or 2 (4 bits),
// 256 grey entries, then the given run-length bytes.
std::string runLengthPicture(int32_t width, int32_t height, uint32_t compression, const std::string& data)
{
    std::string s(40, '\0');
    putLe32(s, 0, 40);
    putLe32(s, 4, static_cast<uint32_t>(width));
    putLe32(s, 8, static_cast<uint32_t>(height));
    s[12] = 1;
    s[14] = compression == 1 ? 8 : 4;
    putLe32(s, 16, compression);
    const int entries = compression == 1 ? 256 : 16;
    for (int i = 0; i < entries; ++i)
        s += std::string{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), 0};
    return s + data;
}

} // namespace

TEST(RegressCorpus, EveryModelSeedStaysInsideTheRecord)
{
    static Model model;
    for (const std::string& f : corpus("qx")) {
        const std::vector<char> text = bytesOf(readFile(f));
        ModelReport report{};
        parseModel(model, text.data(), text.size(), &report);
        EXPECT_GE(model.triangleCount, 0) << f;
        EXPECT_LE(model.triangleCount, MAX_MODEL_TRIANGLES) << f;
        EXPECT_EQ(report.recordsRead + report.recordsMissing + report.badRecords, model.triangleCount) << f;
        for (int32_t i = 0; i < model.triangleCount; ++i)
            for (float v : model.vertices[i])
                EXPECT_TRUE(std::isfinite(v)) << f << " triangle " << i;
    }
}

TEST(RegressCorpus, EveryTextureListSeedGivesNamesThatFit)
{
    for (const std::string& f : corpus("tex")) {
        const std::vector<char> text = bytesOf(readFile(f));
        TextureListReader reader;
        beginTextureList(reader, text.data(), text.size());
        char name[TEXTURE_NAME_SIZE];
        int calls = 0;
        while (nextTextureName(reader, name) != SCAN_END) {
            EXPECT_LT(std::strlen(name), static_cast<size_t>(TEXTURE_NAME_SIZE)) << f;
            ASSERT_LT(++calls, 100000) << f << ": the reader does not move on";
        }
    }
}

TEST(RegressCorpus, EveryPictureSeedDecodesOrIsRefusedWithItsMessage)
{
    int decoded = 0;
    for (const std::string& f : corpus("bmp")) {
        const std::string data = readFile(f);
        const std::vector<uint8_t> bytes(data.begin(), data.end());
        const char* error = nullptr;
        ImageRecord* image = decodeBmp(bytes.data(), bytes.size(), &error);
        if (image) {
            ++decoded;
            EXPECT_GT(image->width, 0) << f;
            EXPECT_GT(image->height, 0) << f;
            freeImage(image);
        } else {
            EXPECT_TRUE(error == BMP_MSG_FORMAT || error == BMP_MSG_CONVERSION) << f;
        }
    }
    EXPECT_GE(decoded, 10);  // the seeds cover every pixel format the game reads
}

TEST(RegressCorpus, EveryRunFileSeedLetsOnlyFiniteValuesThrough)
{
    for (const std::string& f : corpus("busa")) {
        const std::vector<char> text = bytesOf(readFile(f));
        VehicleParameters p{};
        BusGeometry g{};
        const int32_t n = parseBusParameters(text.data(), text.size(), &p, &g);
        EXPECT_GE(n, 0);
        EXPECT_LE(n, PARAMS_BUS_VALUE_COUNT);
        EXPECT_TRUE(std::isfinite(p.topSpeed) && std::isfinite(g.door3LeafBZ)) << f;
    }
    for (const std::string& f : corpus("misji")) {
        const std::vector<char> text = bytesOf(readFile(f));
        MissionParameters m{};
        EXPECT_LE(parseMissionParameters(text.data(), text.size(), &m), PARAMS_MISSION_VALUE_COUNT);
        EXPECT_TRUE(std::isfinite(m.busX) && std::isfinite(m.fuelPointZ)) << f;
    }
    for (const std::string& f : corpus("roz")) {
        const std::vector<char> text = bytesOf(readFile(f));
        static RouteTable table;
        table = RouteTable{};
        parseStops(text.data(), text.size(), &table);
        EXPECT_GE(table.stopCount, 0) << f;
        EXPECT_LE(table.stopCount, MAX_STOPS) << f;
        for (int i = 0; i < MAX_STOPS; ++i)
            EXPECT_TRUE(std::isfinite(table.stopX[i]) && std::isfinite(table.stopZ[i])) << f;
    }
}

TEST(RegressCorpus, EveryOptionsSeedGivesASupportedDisplayMode)
{
    TempDir dir;
    for (const std::string& f : corpus("options")) {
        writeFile(dir.file("Opcje.ini"), readFile(f));
        readOptionsFrom(dir.file("Opcje.ini"));
        EXPECT_TRUE(screenWidth == 640 || screenWidth == 800 || screenWidth == 1024) << f;
        EXPECT_NE(std::memchr(mp3Folder, '\0', sizeof mp3Folder), nullptr) << f;
    }
}

// --- Inputs the fuzz targets met. ---

TEST(RegressTextureList, ANulByteInANameEndsTheNameForTheLoaderAndNothingElse)
{
    const std::string text("2\nab\0cd.bmp\nnext.bmp\n", 21);
    const std::vector<char> bytes = bytesOf(text);
    TextureListReader reader;
    beginTextureList(reader, bytes.data(), bytes.size());
    char name[TEXTURE_NAME_SIZE];
    ASSERT_EQ(nextTextureName(reader, name), SCAN_OK);
    // The word runs to the blank; as a C string the loader sees "ab".
    EXPECT_EQ(reader.wordLength, 9u);
    EXPECT_STREQ(name, "ab");
    ASSERT_EQ(nextTextureName(reader, name), SCAN_OK);
    EXPECT_STREQ(name, "next.bmp");
    EXPECT_EQ(nextTextureName(reader, name), SCAN_END);
}

TEST(RegressBmp, RunLengthDeltaPastTheLastRowEndsThePicture)
{
    // Two pixels, then a delta 200 rows down (past the picture), then bytes never read (there so
    // the file is as long as the shortest encoding of its rows).
    const std::string rle = std::string("\x02\x07", 2) + std::string("\x00\x02\x00\xc8", 4) + std::string(6, '\xee');
    const std::string data = runLengthPicture(4, 3, 1, rle);
    const std::vector<uint8_t> bytes(data.begin(), data.end());
    const char* error = nullptr;
    ImageRecord* image = decodeBmp(bytes.data(), bytes.size(), &error);
    ASSERT_NE(image, nullptr) << error;
    EXPECT_EQ(image->pixels[0], 7);
    EXPECT_EQ(image->pixels[3 * 2], 0);  // skipped pixels stay black
    freeImage(image);
}

TEST(RegressBmp, RunsLongerThanTheRowAreClipped)
{
    // A run of 255 in a 3-pixel row, end of picture: no write beyond the row or the block.
    const std::string rle = std::string("\xff\x09\x00\x01", 4);
    const std::string data = runLengthPicture(3, 1, 2, rle);
    const std::vector<uint8_t> bytes(data.begin(), data.end());
    ImageRecord* image = decodeBmp(bytes.data(), bytes.size(), nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels[0], 0);   // high nibble 0
    EXPECT_EQ(image->pixels[3], 9);   // low nibble 9
    freeImage(image);
}

TEST(RegressBmp, AHugeRunLengthPictureInATinyFileIsRefusedBeforeAllocating)
{
    // The largest sides the decoder takes in about 1 KB: data that ends at once, or an end of
    // picture at once (which would have been an 805 MB black picture).
    for (const std::string& rle : {std::string("\x01", 1), std::string("\x00\x01", 2), std::string(64, '\0')}) {
        const std::string data = runLengthPicture(BMP_MAX_SIDE, BMP_MAX_SIDE, 1, rle);
        const std::vector<uint8_t> bytes(data.begin(), data.end());
        const char* error = nullptr;
        EXPECT_EQ(decodeBmp(bytes.data(), bytes.size(), &error), nullptr);
        EXPECT_EQ(error, BMP_MSG_CONVERSION);
    }
}

TEST(RegressModel, ACountBeyondTheRecordIsHeldToItsCapacity)
{
    static Model model;
    const std::vector<char> text = bytesOf("99999999999\nlabel\n1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7\n");
    ModelReport report{};
    parseModel(model, text.data(), text.size(), &report);
    EXPECT_EQ(model.triangleCount, MAX_MODEL_TRIANGLES);
    EXPECT_EQ(report.recordsRead, 1);
    EXPECT_EQ(report.recordsMissing, MAX_MODEL_TRIANGLES - 1);
}

TEST(RegressRadioNames, OnlyMp3NamesInByteOrderWhateverTheirBytes)
{
    const std::vector<std::string> names = {"b.mp3", std::string("a\0.mp3", 6), "\xff.MP3", ".mp3", "mp3", "x.mp3 ",
                                            "c.mP3", "A.Mp3"};
    const std::vector<std::string> expected = {std::string(".mp3"), std::string("A.Mp3"), std::string("a\0.mp3", 6),
                                               std::string("b.mp3"), std::string("c.mP3"), std::string("\xff.MP3")};
    EXPECT_EQ(selectNamesBySuffix(names, ".mp3"), expected);
    EXPECT_EQ(selectNamesBySuffix(names, ".MP3"), expected);
    EXPECT_TRUE(selectNamesBySuffix({}, ".mp3").empty());
}
