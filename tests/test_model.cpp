// Model files (".qx"): count, label and records on good, short and hostile files; texture lookup.
#include "assets/ids.h"
#include "assets/model.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

namespace {

// Records are 640 KB: keep them off the stack, zeroed.
std::unique_ptr<ModelWithStorage<MAX_MODEL_TRIANGLES>> freshModel() { return std::make_unique<ModelWithStorage<MAX_MODEL_TRIANGLES>>(); }

ModelReport parse(Model& m, const std::string& text)
{
    ModelReport report;
    parseModel(m, text.data(), text.size(), &report);
    return report;
}

const std::string REC_A = "0 0 0 1 0 0 0 1 0 0 0 1 0 0 1 3";
const std::string REC_B = "5 6 7 8 9 10 11 12 13 0.5 0.25 -1 2 1e1 -2.5e-1 7";

void expectRec(const Model& m, int i, bool b)
{
    std::vector<float> got(m.vertices[i], m.vertices[i] + 9);
    got.insert(got.end(), m.texCoords[i], m.texCoords[i] + 6);
    got.push_back(float(m.textureIndex[i]));
    const std::vector<float> recA = {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 1, 3};
    const std::vector<float> recB = {5, 6, 7, 8, 9, 10, 11, 12, 13, 0.5f, 0.25f, -1, 2, 10, -0.25f, 7};
    EXPECT_EQ(got, b ? recB : recA) << "triangle " << i;
}

} // namespace

TEST(ModelParse, CountLabelAndRecordsInEveryLayout)
{
    const std::string& a = REC_A;
    const std::string& b = REC_B;
    const std::string rows[] = {
        "2\nmy label\n" + a + "\n" + b + "\n",
        "2 my label\n" + a + "\n" + b + "\n",                                 // label after the count
        "2\nlabel\n" + a + " comment words 9 9 9\n" + b + "  # trailing\n",  // text after the 16th value
        "2\r\n\r\nlabel\r\n" + a + "\r\n" + b + "\r\n",                       // Windows line ends, blank line
        "2\nlabel\n0 0 0 1 0 0 0 1 0\n0 0 1 0 0 1 3 8 8\n" + b + "\n",        // a record over two lines
        // Lines past the read buffer.
        "2\n" + std::string(1000, 'L') + " 9 9 9\n" + a + std::string(600, ' ') +
            "1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7\n" + b + "\n",
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text.substr(0, 40));
        auto m = freshModel();
        ModelReport r = parse(*m, text);
        EXPECT_EQ(m->triangleCount, 2);
        expectRec(*m, 0, false);
        expectRec(*m, 1, true);
        EXPECT_EQ(r.recordsRead, 2);
        EXPECT_EQ(r.badRecords, 0);
    }
    auto m = freshModel();
    EXPECT_STREQ(parse(*m, rows[0]).label, "my label");
    TempDir dir;
    writeFile(dir.file("a.qx"), rows[0]);
    EXPECT_TRUE(loadModel(*m, dir.file("a.qx").c_str()));
    EXPECT_FALSE(loadModel(*m, dir.file("none.qx").c_str()));
    EXPECT_FALSE(loadModel(*m, dir.path.c_str())) << "a folder is no model";
    EXPECT_EQ(m->triangleCount, 2) << "a failed load leaves the record";
    expectRec(*m, 1, true);
}

// Short, broken and hostile files over a record holding A, B, -5 in two fields of A, -7 in triangle 2.
TEST(ModelParse, ShortBrokenAndHostileFilesKeepWhatTheyDoNotRead)
{
    // The count, the report (count read, records read, missing, bad, first bad line) and the first
    // texture index; then vertex values 0, 1 and 3 of triangle 0 and value 0 of triangle 2.
    struct Row { std::string text; std::vector<int32_t> report; std::vector<float> kept; };
    const std::string n = "\n";
    const int32_t M = MAX_MODEL_TRIANGLES;
    const Row rows[] = {
        // A record right after the count is swallowed as the label; triangles 1 and 2 meet the end.
        {"3\n" + REC_B + n + REC_A + n, {3, 1, 1, 2, 0, 0, 3}, {0, 0, 1, -7}},
        // A bad value leaves the rest of its record; the next record resynchronises.
        {"2\nl\n1 2 3 x 5 6 7 8 9 0 0 0 0 0 0 4\n" + REC_B + n, {2, 1, 1, 0, 1, 3, 3}, {1, 2, -5, -7}},
        // Not finite: a number to the C library, so the record reads on, but the field is kept.
        {"1\nl\n1 inf 3 0 0 0 0 0 0 0 0 0 0 0 0 1\n", {1, 1, 0, 0, 1, 3, 1}, {1, -5, 0, -7}},
        {"1\nl\n1 NaN(0x1) 3 0 0 0 0 0 0 0 0 0 0 0 0 1\n", {1, 1, 0, 0, 1, 3, 1}, {1, -5, 0, -7}},
        // Counts past the record are held to its capacity; negative ones mean none.
        {"99999999999\nl\n1 2 3 4 5 6 7 8 9 1 2 3 4 5 6 7\n", {M, 1, 1, M - 1, 0, 0, 7}, {1, 2, 4, -7}},
        {"2147483647\nl\n" + REC_A + n, {M, 1, 1, M - 1, 0, 0, 3}, {0, 0, 1, -7}},
        {"-1\nl\n" + REC_A + n, {0, 1, 0, 0, 0, 0, 3}, {0, -5, -5, -7}},
        {"-2147483648\nl\n" + REC_A + n, {0, 1, 0, 0, 0, 0, 3}, {0, -5, -5, -7}},
        // No number at all: the old count and records stay.
        {"sky\n", {2, 0, 0, 2, 0, 1, 3}, {0, -5, -5, -7}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 30));
        auto m = freshModel();
        parse(*m, "2\nl\n" + REC_A + n + REC_B + n);
        m->vertices[2][0] = -7.0f;
        m->vertices[0][1] = m->vertices[0][3] = -5.0f;
        const ModelReport rep = parse(*m, r.text);
        EXPECT_EQ((std::vector<int32_t>{m->triangleCount, rep.countRead, rep.recordsRead, rep.recordsMissing,
                                        rep.badRecords, rep.firstBadLine, m->textureIndex[0]}),
                  r.report);
        const float* v0 = m->vertices[0];
        const std::vector<float> kept = {v0[0], v0[1], v0[3], m->vertices[2][0]};
        EXPECT_EQ(kept, r.kept);
        for (float v : m->vertices[0])
            EXPECT_TRUE(std::isfinite(v));
    }
    auto m = freshModel();
    std::string text = "10001\nbig\n";  // one past the capacity
    for (int i = 0; i < 10001; ++i)
        text += (i < MAX_MODEL_TRIANGLES ? REC_A : REC_B) + n;
    const ModelReport r = parse(*m, text);
    EXPECT_EQ((std::vector<int32_t>{r.declaredCount, m->triangleCount, r.recordsRead}),
              (std::vector<int32_t>{10001, MAX_MODEL_TRIANGLES, MAX_MODEL_TRIANGLES}));
    expectRec(*m, MAX_MODEL_TRIANGLES - 1, false);
}

// A town of 40000 triangles reads whole into the route record, and no further than its capacity.
TEST(Model, TheRouteRecordTakesATownAndStopsAtItsCapacity)
{
    for (int32_t count : {40000, MAX_ROUTE_TRIANGLES + 1}) {
        std::string text = std::to_string(count) + "\ntown\n";
        for (int32_t i = 0; i < count; ++i)
            text += REC_B + "\n";
        const ModelReport r = parse(modelPlansza, text);
        EXPECT_EQ(modelPlansza.triangleCount, std::min(count, MAX_ROUTE_TRIANGLES)) << count;
        EXPECT_EQ(r.recordsRead, std::min(count, MAX_ROUTE_TRIANGLES)) << count;
    }
    expectRec(modelPlansza, MAX_ROUTE_TRIANGLES - 1, true);
}

TEST(ModelLists, TextureIndexesOutsideTheirGroupBindNothing)
{
    texBus[99] = 555;
    EXPECT_EQ(textureNameFor(TEX_BUS, 99), 555u);
    for (auto [group, index] : {std::pair<int, int>{TEX_BUS, 100}, {TEX_BUS, -1}, {TEX_ROUTE, 200}, {9, 0}})
        EXPECT_EQ(textureNameFor(group, index), 0u) << group << " " << index;
    texBus[99] = 0;
}
