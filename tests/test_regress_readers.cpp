// The committed fuzz seeds replayed through each reader as exact heap copies, for the sanitizer run.
#include "core/options.h"
#include "assets/bmp.h"
#include "assets/model.h"
#include "assets/params.h"
#include "assets/textures.h"
#include "platform/services/dirscan.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <set>

namespace {

// Every seed of one kind, each as an exact copy of its bytes.
std::vector<std::pair<std::string, std::vector<char>>> corpus(const std::string& kind)
{
    std::vector<std::pair<std::string, std::vector<char>>> files;
    namespace fs = std::filesystem;
    for (const auto& e : fs::directory_iterator(fs::path(VELBRANT_SOURCE_DIR) / "fuzz/corpus" / kind))
        if (e.is_regular_file()) {
            const std::string text = readFile(e.path().string());
            files.push_back({e.path().string(), std::vector<char>(text.begin(), text.end())});
        }
    std::sort(files.begin(), files.end());
    EXPECT_FALSE(files.empty()) << kind;
    return files;
}

} // namespace

TEST(RegressCorpus, EverySeedStaysInsideTheRecordsAndGivesFiniteValuesAndOddRadioNamesSort)
{
    static ModelWithStorage<MAX_MODEL_TRIANGLES> model;
    for (const auto& [f, text] : corpus("qx")) {
        ModelReport report{};
        parseModel(model, text.data(), text.size(), &report);
        ASSERT_GE(model.triangleCount, 0) << f;
        ASSERT_LE(model.triangleCount, MAX_MODEL_TRIANGLES) << f;
        // Every triangle is accounted for once: read, missing (zero-filled) or bad.
        EXPECT_EQ(model.triangleCount, report.recordsRead + report.recordsMissing + report.badRecords)
            << f << ": read " << report.recordsRead << ", missing " << report.recordsMissing << ", bad "
            << report.badRecords;
        for (int32_t i = 0; i < model.triangleCount; ++i)
            for (float v : model.vertices[i])
                EXPECT_TRUE(std::isfinite(v)) << f << " triangle " << i;
    }
    for (const auto& [f, text] : corpus("tex")) {
        TextureListReader reader;
        beginTextureList(reader, text.data(), text.size());
        char name[TEXTURE_NAME_SIZE];
        for (int calls = 0; nextTextureName(reader, name) != SCAN_END;) {
            EXPECT_LT(std::strlen(name), static_cast<size_t>(TEXTURE_NAME_SIZE)) << f;
            ASSERT_LT(++calls, 100000) << f << ": the reader does not move on";
        }
    }
    int decoded = 0;
    for (const auto& [f, text] : corpus("bmp")) {
        const char* error = nullptr;
        ImageRecord* image = decodeBmp(reinterpret_cast<const uint8_t*>(text.data()), text.size(), &error);
        decoded += image ? 1 : 0;
        if (image) {
            EXPECT_GT(image->width, 0) << f;
            EXPECT_GT(image->height, 0) << f;
        } else if (error != BMP_MSG_FORMAT) {
            EXPECT_EQ(error, BMP_MSG_CONVERSION) << f;
        }
        freeImage(image);
    }
    EXPECT_GE(decoded, 10);  // the seeds cover every pixel format the game reads
    for (const auto& [f, text] : corpus("busa")) {
        VehicleParameters p{};
        BusGeometry g{};
        const int32_t n = parseBusParameters(text.data(), text.size(), &p, &g);
        EXPECT_GE(n, 0) << f;
        EXPECT_LE(n, PARAMS_BUS_VALUE_COUNT) << f;
        EXPECT_TRUE(std::isfinite(p.topSpeed)) << f;
        EXPECT_TRUE(std::isfinite(g.leafZ[2][1])) << f;
    }
    for (const auto& [f, text] : corpus("misji")) {
        MissionParameters m{};
        EXPECT_LE(parseMissionParameters(text.data(), text.size(), &m), PARAMS_MISSION_VALUE_COUNT);
        EXPECT_TRUE(std::isfinite(m.busX)) << f;
        EXPECT_TRUE(std::isfinite(m.fuelPointZ)) << f;
    }
    static RouteTable table;
    for (const auto& [f, text] : corpus("roz")) {
        table = RouteTable{};
        parseStops(text.data(), text.size(), &table);
        EXPECT_GE(table.stopCount, 0) << f;
        EXPECT_LE(table.stopCount, MAX_STOPS) << f;
        for (int i = 0; i < MAX_STOPS; ++i) {
            EXPECT_TRUE(std::isfinite(table.stopX[i])) << f << " stop " << i;
            EXPECT_TRUE(std::isfinite(table.stopZ[i])) << f << " stop " << i;
        }
    }
    TempDir dir;
    for (const auto& [f, text] : corpus("options")) {
        writeFile(dir.file("Opcje.ini"), std::string(text.begin(), text.end()));
        readOptionsFrom(dir.file("Opcje.ini"));
        EXPECT_EQ((std::set<int32_t>{640, 800, 1024}.count(options.screenWidth)), 1u) << f << ": " << options.screenWidth;
        EXPECT_NE(std::memchr(options.mp3Folder, '\0', sizeof options.mp3Folder), nullptr) << f;
    }
    // Radio names: only .mp3 ones, in byte order whatever their bytes.
    const std::string nul("a\0.mp3", 6);
    const std::vector<std::string> names = {"b.mp3", nul, "\xff.MP3", ".mp3", "mp3", "x.mp3 ",
                                            "c.mP3", "A.Mp3"};
    const std::vector<std::string> expected = {".mp3", "A.Mp3", nul, "b.mp3", "c.mP3", "\xff.MP3"};
    EXPECT_EQ(selectNamesBySuffix(names, ".mp3"), expected);
    EXPECT_EQ(selectNamesBySuffix(names, ".MP3"), expected);
    EXPECT_TRUE(selectNamesBySuffix({}, ".mp3").empty());
}
