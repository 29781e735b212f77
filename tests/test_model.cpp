// Model files (".qx"): the formatted reads of count, label and records on good, short and hostile
// files, the number format in any locale, and the triangle ranges of the display lists.
#include "assets/ids.h"
#include "assets/model.h"
#include "assets/tokens.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace {

// Records are 640 KB: keep them off the stack.
std::unique_ptr<Model> freshModel()
{
    std::unique_ptr<Model> m(new Model);
    std::memset(m.get(), 0, sizeof(Model));
    return m;
}

ModelReport parse(Model& m, const std::string& text)
{
    ModelReport report;
    parseModel(m, text.data(), text.size(), &report);
    return report;
}

const char* const REC_A = "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 3";
const char* const REC_B = "5 6 7 8 9 10 11 12 13 0.5 0.25 -1 2 1e1 -2.5e-1 7";

void expectRecA(const Model& m, int i)
{
    const float v[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float t[6] = {0, 0, 1, 0, 0, 1};
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(m.vertices[i][k], v[k]) << "triangle " << i << " vertex value " << k;
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(m.texCoords[i][k], t[k]) << "triangle " << i << " texture value " << k;
    EXPECT_EQ(m.textureIndex[i], 3);
}

void expectRecB(const Model& m, int i)
{
    for (int k = 0; k < 9; ++k)
        EXPECT_EQ(m.vertices[i][k], static_cast<float>(5 + k));
    const float t[6] = {0.5f, 0.25f, -1.0f, 2.0f, 10.0f, -0.25f};
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(m.texCoords[i][k], t[k]);
    EXPECT_EQ(m.textureIndex[i], 7);
}

} // namespace

// ---------------------------------------------------------------- the format

TEST(ModelParse, CountLabelAndRecordsInEveryLayout)
{
    const std::string a = REC_A, b = REC_B;
    const std::string rows[] = {
        "2\nmy label\n" + a + "\n" + b + "\n",
        "2 my label\n" + a + "\n" + b + "\n",                                     // label after the count
        "2\nlabel\n" + a + " comment words 9 9 9\n" + b + "  # trailing\n",      // text after the 16th value
        "2\r\n\r\nlabel\r\n" + a + "\r\n" + b + "\r\n",                       // Windows line ends, blank line
        "2\nlabel\n0 0 0 1 0 0 0 1 0\n0 0 1 0 0 1 3 8 8\n" + b + "\n",            // a record over two lines
        "2\n" + std::string(1000, 'L') + " 9 9 9\n" + a + std::string(600, ' ') +  // lines past the read buffer
            "1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7\n" + b + "\n",
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text.substr(0, 40));
        auto m = freshModel();
        ModelReport r = parse(*m, text);
        EXPECT_EQ(m->triangleCount, 2);
        expectRecA(*m, 0);
        expectRecB(*m, 1);
        EXPECT_EQ(r.recordsRead, 2);
        EXPECT_EQ(r.badRecords, 0);
    }
    auto m = freshModel();
    EXPECT_STREQ(parse(*m, rows[0]).label, "my label");
    TempDir dir;
    writeFile(dir.file("a.qx"), rows[0]);
    auto f = freshModel();
    EXPECT_TRUE(loadModel(*f, dir.file("a.qx").c_str()));
    expectRecB(*f, 1);
}

TEST(ModelParse, RecordRightAfterTheCountIsSwallowedAsTheLabel)
{
    auto m = freshModel();
    m->vertices[1][0] = 42.0f;
    ModelReport r = parse(*m, std::string("2\n") + REC_B + "\n" + REC_A + "\n");
    EXPECT_EQ(m->triangleCount, 2);
    expectRecA(*m, 0);
    EXPECT_EQ(m->vertices[1][0], 42.0f) << "triangle 1 meets the end of the file and keeps its old values";
    EXPECT_EQ(r.recordsMissing, 1);
}

TEST(ModelParse, BadValueLeavesTheRestOfItsRecordAndTheNextResynchronises)
{
    auto m = freshModel();
    for (int k = 0; k < 9; ++k)
        m->vertices[0][k] = -7.0f;
    m->textureIndex[0] = -7;
    ModelReport r = parse(*m, std::string("2\nlabel\n1 2 3 x 5 6 7 8 9 0 0 0 0 0 0 4\n") + REC_B + "\n");
    EXPECT_EQ(m->vertices[0][0], 1.0f);
    EXPECT_EQ(m->vertices[0][2], 3.0f);
    EXPECT_EQ(m->vertices[0][3], -7.0f) << "the value that failed";
    EXPECT_EQ(m->vertices[0][4], -7.0f) << "and every later one of the same record";
    EXPECT_EQ(m->textureIndex[0], -7);
    expectRecB(*m, 1);
    EXPECT_EQ(r.badRecords, 1);
    EXPECT_EQ(r.firstBadLine, 3);
}

TEST(ModelParse, FewerRecordsThanTheCountKeepTheOldTriangles)
{
    auto m = freshModel();
    parse(*m, std::string("2\nfirst\n") + REC_A + "\n" + REC_B + "\n");
    ModelReport r = parse(*m, std::string("3\nsecond\n") + REC_B + "\n");
    EXPECT_EQ(m->triangleCount, 3);
    expectRecB(*m, 0);
    expectRecB(*m, 1);  // kept from the first read
    EXPECT_EQ(r.recordsRead, 1);
    EXPECT_EQ(r.recordsMissing, 2);
}

TEST(ModelParse, NumberFormsOfTheCLibrary)
{
    auto m = freshModel();
    parse(*m, "1\nl\n+1.5 -.5 5. 1E2 0x1p3 -0X.8P1 1e-50 0 0  0 0 0 0 0 0  -12\n");
    EXPECT_EQ(m->vertices[0][0], 1.5f);
    EXPECT_EQ(m->vertices[0][1], -0.5f);
    EXPECT_EQ(m->vertices[0][2], 5.0f);
    EXPECT_EQ(m->vertices[0][3], 100.0f);
    EXPECT_EQ(m->vertices[0][4], 8.0f);
    EXPECT_EQ(m->vertices[0][5], -1.0f);
    EXPECT_EQ(m->vertices[0][6], 0.0f) << "too small for a float: zero";
    EXPECT_EQ(m->textureIndex[0], -12);
}

TEST(ModelParse, InfinityNanAndOverflowNeverReachTheRecord)
{
    for (const char* bad : {"inf", "-INFINITY", "nan", "NaN(0x1)", "1e39", "-3e400"}) {
        auto m = freshModel();
        m->vertices[0][1] = 9.0f;
        m->vertices[0][2] = 9.0f;
        ModelReport r = parse(*m, std::string("1\nl\n1 ") + bad + " 3 0 0 0 0 0 0 0 0 0 0 0 0 1\n");
        EXPECT_EQ(m->vertices[0][0], 1.0f) << bad;
        EXPECT_EQ(m->vertices[0][1], 9.0f) << bad;
        EXPECT_EQ(m->vertices[0][2], 3.0f) << bad << ": a number to the library, so the record reads on";
        EXPECT_EQ(r.badRecords, 1) << bad;
        for (int k = 0; k < 9; ++k)
            EXPECT_TRUE(std::isfinite(m->vertices[0][k])) << bad;
    }
}

// ---------------------------------------------------------------- hostile headers and lines

TEST(ModelParse, CountAboveTheCapacityReadsOnlyTheCapacity)
{
    auto m = freshModel();
    std::string text = "10005\nbig\n";
    for (int i = 0; i < 10005; ++i)
        text += std::string(i < 10000 ? REC_A : REC_B) + "\n";
    ModelReport r = parse(*m, text);
    EXPECT_EQ(r.declaredCount, 10005);
    EXPECT_EQ(m->triangleCount, MAX_MODEL_TRIANGLES);
    EXPECT_EQ(r.recordsRead, MAX_MODEL_TRIANGLES);
    expectRecA(*m, MAX_MODEL_TRIANGLES - 1);
}

TEST(ModelParse, HugeAndNegativeCountsWriteNothingOutside)
{
    for (const char* header : {"2147483647", "99999999999999", "-1", "-2147483648"}) {
        auto m = freshModel();
        ModelReport r = parse(*m, std::string(header) + "\nl\n" + REC_A + "\n");
        EXPECT_GE(m->triangleCount, 0) << header;
        EXPECT_LE(m->triangleCount, MAX_MODEL_TRIANGLES) << header;
        EXPECT_EQ(r.countRead, 1) << header;
    }
}

// ---------------------------------------------------------------- files

TEST(ModelLoad, MissingFileLeavesTheRecordAndSaysSo)
{
    auto m = freshModel();
    parse(*m, std::string("1\nl\n") + REC_A + "\n");
    TempDir dir;
    EXPECT_FALSE(loadModel(*m, dir.file("none.qx").c_str()));
    EXPECT_FALSE(loadModel(*m, dir.path.c_str())) << "a folder is no model";
    EXPECT_EQ(m->triangleCount, 1);
    expectRecA(*m, 0);
}

// ---------------------------------------------------------------- display-list ranges

namespace {

struct Span {
    int32_t begin, end;
};

Span spanOf(uint32_t list)
{
    for (const ModelList& e : modelLists)
        if (e.list == list) {
            Span s{0, 0};
            modelListSpan(e, &s.begin, &s.end);
            return s;
        }
    ADD_FAILURE() << "no list " << list;
    return Span{-1, -1};
}

} // namespace

TEST(ModelLists, RangesFollowTheCounts)
{
    const int32_t saved[] = {modelWew.triangleCount, modelStandrzwi.triangleCount, modelWskazniki.triangleCount,
                             modelPlansza.triangleCount};
    modelWew.triangleCount = 6;
    EXPECT_EQ(spanOf(LIST_WEW).end - spanOf(LIST_WEW).begin, 0) << "6 interior triangles: empty cab";
    modelWew.triangleCount = 7;
    EXPECT_EQ(spanOf(LIST_WEW).begin, 6);
    EXPECT_EQ(spanOf(LIST_WEW).end, 7);
    modelWew.triangleCount = 0;
    EXPECT_EQ(spanOf(LIST_STEERING_WHEEL).begin, 0);
    EXPECT_EQ(spanOf(LIST_STEERING_WHEEL).end, 2) << "fixed ranges ignore the count";
    EXPECT_EQ(spanOf(LIST_SPEED_NEEDLE).begin, 2);
    EXPECT_EQ(spanOf(LIST_SPEED_NEEDLE).end, 4);
    modelStandrzwi.triangleCount = 4;
    EXPECT_EQ(spanOf(LIST_STANDRZWI_3).end - spanOf(LIST_STANDRZWI_3).begin, 0);
    EXPECT_EQ(spanOf(LIST_STANDRZWI_2).end, 4);
    modelWskazniki.triangleCount = 9;
    EXPECT_EQ(spanOf(LIST_WSKAZNIKI).end, 4);
    EXPECT_EQ(spanOf(LIST_STOP_ARROW).begin, 4);
    EXPECT_EQ(spanOf(LIST_STOP_ARROW).end, 9);
    modelPlansza.triangleCount = 0;
    EXPECT_EQ(spanOf(LIST_PLANSZA).end, 0);
    modelPlansza.triangleCount = 123;
    EXPECT_EQ(spanOf(LIST_PLANSZA).end, 123);
    modelWew.triangleCount = saved[0];
    modelStandrzwi.triangleCount = saved[1];
    modelWskazniki.triangleCount = saved[2];
    modelPlansza.triangleCount = saved[3];
}

TEST(ModelLists, TextureIndexOutsideItsGroupBindsNothing)
{
    texBus[99] = 555;
    texRoute[199] = 777;
    EXPECT_EQ(textureNameFor(TEX_BUS, 99), 555u);
    EXPECT_EQ(textureNameFor(TEX_BUS, 100), 0u);
    EXPECT_EQ(textureNameFor(TEX_BUS, -1), 0u);
    EXPECT_EQ(textureNameFor(TEX_ROUTE, 199), 777u);
    EXPECT_EQ(textureNameFor(TEX_ROUTE, 200), 0u);
    EXPECT_EQ(textureNameFor(9, 0), 0u);
    texBus[99] = 0;
    texRoute[199] = 0;
}

TEST(ModelParse, HeaderWithoutANumberKeepsTheOldCount)
{
    auto m = freshModel();
    parse(*m, std::string("1\nl\n") + REC_A + "\n");
    ModelReport r = parse(*m, "sky\n");
    EXPECT_EQ(r.countRead, 0);
    EXPECT_EQ(r.firstBadLine, 1);
    EXPECT_EQ(m->triangleCount, 1);
    expectRecA(*m, 0);
}
