// Texture upload, the model display lists and the whole load sequence on a real GL context.
#include "app/gl_setup.h"
#include "core/game.h"
#include "core/options.h"
#include "assets/ids.h"
#include "flow/load.h"
#include "assets/model.h"
#include "assets/textures.h"
#include "render/font.h"
#include "sim/state.h"
#include "tests/support/bmp_build.h"
#include "tests/support/gl_context_render.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include <tuple>

namespace {

constexpr int W = 96, H = 64;

class GlAssets : public ::testing::Test {
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_CONTEXT(W, H);
        game.quitRequested = game.shutdownRequested = game.exitStatus = 0;
        options.textureMinFilter = GL_LINEAR_MIPMAP_NEAREST;
        glViewport(0, 0, W, H);
        for (GLenum cap : {GL_LIGHTING, GL_BLEND, GL_ALPHA_TEST, GL_DEPTH_TEST})
            glDisable(cap);
        glEnable(GL_CULL_FACE);
        for (GLenum matrix : {GL_PROJECTION, GL_MODELVIEW})
            glMatrixMode(matrix), glLoadIdentity();
        glColor4f(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // A picture file of `rows` rows of 0xRRGGBB texels.
    std::string writePicture(const std::string& name, const std::vector<uint32_t>& row, int rows = 1)
    {
        BmpSpec spec;
        spec.width = static_cast<int32_t>(row.size()), spec.height = rows;
        spec.pixels = rows24(std::vector<std::vector<uint32_t>>(rows, row));
        writeFile(dir.file(name), asString(buildBmp(spec)));
        return dir.file(name);
    }
    TempDir dir;
};

// A texture's parameter, or with a level that level's size.
GLint texInfo(GLuint name, GLenum which, int level = -1)
{
    glBindTexture(GL_TEXTURE_2D, name);
    GLint v = 0;
    if (level < 0)
        glGetTexParameteriv(GL_TEXTURE_2D, which, &v);
    else
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, which, &v);
    return v;
}

struct Cwd {
    std::filesystem::path saved = std::filesystem::current_path();
    explicit Cwd(const std::string& to) { std::filesystem::current_path(to); }
    ~Cwd() { std::filesystem::current_path(saved); }
};

} // namespace

TEST_F(GlAssets, UploadStateFiltersMipmapsScalingAndReload)
{
    const std::string path = writePicture("f.bmp", {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
    // The chosen filter, GL's default when no valid one was chosen.
    const std::pair<GLint, GLint> filters[] = {{GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR_MIPMAP_NEAREST},
                                               {GL_LINEAR, GL_LINEAR}, {0, GL_NEAREST_MIPMAP_LINEAR}};
    for (int i = 0; i < 3; ++i) {
        options.textureMinFilter = filters[i].first;
        loadTexture(path.c_str(), i, TEX_GAUGES);
        EXPECT_EQ(texInfo(texGauges[i], GL_TEXTURE_MIN_FILTER), filters[i].second) << i;
    }
    EXPECT_EQ(texInfo(texGauges[0], GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    GLint env = 0, alignment = 0, rowLength = -1;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env);
    EXPECT_EQ(env, GL_MODULATE);
    EXPECT_EQ(texInfo(texGauges[0], GL_TEXTURE_WIDTH, 1) * 2 + texInfo(texGauges[0], GL_TEXTURE_WIDTH, 2), 5)
        << "mipmaps are built";
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &rowLength);
    EXPECT_EQ(std::make_tuple(alignment, rowLength), std::make_tuple(4, 0)) << "GL's default unpack state";
    // Any size is scaled to powers of two under the ceiling (the wide one would be 8192 texels).
    for (int w : {100, 2 * TEXTURE_MAX_SIDE + 8}) {
        const std::string odd = writePicture("odd.bmp", std::vector<uint32_t>(w, 0x808080), 50);
        loadTexture(odd.c_str(), 3, TEX_TIMETABLE);
        const GLint width = texInfo(texTimetable[3], GL_TEXTURE_WIDTH, 0);
        const GLint height = texInfo(texTimetable[3], GL_TEXTURE_HEIGHT, 0);
        for (GLint side : {width, height}) {
            EXPECT_GT(side, 0);
            EXPECT_EQ(side & (side - 1), 0) << side << " is no power of two";
        }
        EXPECT_LE(width, TEXTURE_MAX_SIDE);
    }
    // A reload gives a new name and frees the old; a failed image keeps the slot.
    const GLuint first = texGauges[1];
    loadTexture(path.c_str(), 1, TEX_GAUGES);
    const GLuint second = texGauges[1];
    EXPECT_NE(second, first);
    EXPECT_NE(second, 0u);
    EXPECT_EQ(glIsTexture(first), GL_FALSE);
    loadTexture(dir.file("missing.bmp").c_str(), 1, TEX_GAUGES);
    EXPECT_EQ(texGauges[1], second);
    EXPECT_EQ(glIsTexture(second), GL_TRUE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlAssets, ModelListsBindTheirGroupsTexturesOutsideIndexesBindNothingAndDoorLeavesAreCopied)
{
    loadTexture(writePicture("red.bmp", {0xFF0000}).c_str(), 0, TEX_ROUTE);
    loadTexture(writePicture("green.bmp", {0x00FF00}).c_str(), 1, TEX_ROUTE);
    // Three vertical strips: slot 0 (red), slot 1 (green), slot 200 (outside the group: untextured).
    std::string text = "6\nstrips\n";
    for (int s = 0; s < 3; ++s) {
        char line[256];
        const float a = -1.0f + s * 2.0f / 3, b = a + 2.0f / 3;
        const int slot = s == 2 ? 200 : s;
        std::snprintf(line, sizeof line, "%f -1 -1 %f -1 -1 %f 1 -1 0 0 1 0 1 1 %d\n"
                      "%f -1 -1 %f 1 -1 %f 1 -1 0 0 1 1 0 1 %d\n", a, b, b, slot, a, b, a, slot);
        text += line;
    }
    parseModel(modelPlansza, text.data(), text.size(), nullptr);
    // The door leaf is compiled once and copied into every leaf's list; no list has id 8.
    const std::string door = "1\nleaf\n-1 -1 0 0.5 -1 0 -1 0.8 0 0 0 1 0 0 1 0\n";
    parseModel(modelDrzwiA, door.data(), door.size(), nullptr);
    parseModel(modelDrzwiB, door.data(), door.size(), nullptr);
    compileModelLists();
    glEnable(GL_TEXTURE_2D);
    glCallList(LIST_PLANSZA);
    const ReadPixels p = readBackBuffer();
    glDisable(GL_TEXTURE_2D);
    EXPECT_TRUE(p.all(2, 2, W / 3 - 2, H - 2, 255, 0, 0, 2));
    EXPECT_TRUE(p.all(W / 3 + 2, 2, 2 * W / 3 - 2, H - 2, 0, 255, 0, 2));
    EXPECT_TRUE(p.all(2 * W / 3 + 2, 2, W - 2, H - 2, 255, 255, 255, 2));
    const auto drawn = [](GLuint list) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glCallList(list);
        return readBackBuffer().rgb;
    };
    const std::vector<uint8_t> a1 = drawn(LIST_DRZWI_A1);
    EXPECT_GT(std::count(a1.begin(), a1.end(), 255), W * H / 4) << "the leaf shows";
    for (GLuint list : {LIST_DRZWI_A2, LIST_DRZWI_A3, LIST_DRZWI_B1, LIST_DRZWI_B2, LIST_DRZWI_B3})
        EXPECT_TRUE(drawn(list) == a1) << list;
    EXPECT_EQ(glIsList(8), GL_FALSE);
}

// The start-up state the frame relies on: the alpha option picks the test or blending, never both.
TEST_F(GlAssets, StartUpStateFollowsTheAlphaOptionAndTheLoadSequenceTwiceDefinesTheSameLists)
{
    Cwd cwd(generatedTree());
    game.busChoice = 1;
    readOptionsFrom("Opcje.ini");
    options.screenWidth = game.inGame = 0;  // no display mode matches: the test's window stays as it is
    for (int32_t alpha : {0, 1}) {
        options.alphaFunc = alpha;
        glDisable(GL_ALPHA_TEST);
        glDisable(GL_BLEND);
        initGL();
        EXPECT_EQ(glIsEnabled(GL_ALPHA_TEST), alpha == 0 ? GL_TRUE : GL_FALSE) << alpha;
        EXPECT_EQ(glIsEnabled(GL_BLEND), alpha == 1 ? GL_TRUE : GL_FALSE) << alpha;
        for (GLenum cap :
             {GL_DEPTH_TEST, GL_TEXTURE_2D, GL_CULL_FACE, GL_LIGHTING, GL_LIGHT0, GL_COLOR_MATERIAL})
            EXPECT_EQ(glIsEnabled(cap), GL_TRUE) << cap;
    }
    view.cameraOffsetZ = 99.0f, stops.currentStop = 3, vehicle.busSpeed = 1.0f;
    // The fixed ids, then how many lists exist in all (the font's 256 come from the driver).
    const auto lists = [] {
        std::vector<GLuint> ids;
        for (GLuint id = 1; id < 4000; ++id)
            if (glIsList(id))
                ids.push_back(id <= 40 ? id : 0);
        return ids;
    };
    loadAssets();
    EXPECT_EQ(game.quitRequested, 0);
    // The camera and the run start over; the models, font picture and font lists are there.
    EXPECT_EQ(std::make_tuple(view.cameraOffsetZ, stops.currentStop, vehicle.busSpeed),
              std::make_tuple(5.0f, 0, 0.0f));
    EXPECT_GT(modelPlansza.triangleCount, 0);
    EXPECT_NE(texFont[0], 0u);
    EXPECT_NE(fontBase, 0u);
    const std::vector<GLuint> first = lists();
    const GLuint firstRoute = texRoute[0];
    loadAssets();
    EXPECT_EQ(lists(), first) << "the second load replaces lists, it does not add any";
    EXPECT_EQ(std::make_tuple(glIsList(fontBase), glIsList(fontBase + 255)),
              std::make_tuple(GLboolean{GL_TRUE}, GLboolean{GL_TRUE}));
    EXPECT_NE(texRoute[0], firstRoute) << "a new load gives new texture names";
    EXPECT_EQ(glIsTexture(firstRoute), GL_FALSE);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GlAssets, FailedTextureListEndsTheLoadEarly)
{
    TempDir empty;
    Cwd cwd(empty.path);
    const char* savedRoute = options.routeTextureList;
    options.routeTextureList = nullptr;  // the options chose no quality
    modelPlansza.triangleCount = 12345;
    loadAssets();
    options.routeTextureList = savedRoute;
    EXPECT_EQ(std::make_tuple(game.quitRequested, game.exitStatus), std::make_tuple(uint8_t{1}, 1));
    EXPECT_EQ(modelPlansza.triangleCount, 12345) << "nothing after the failed list is read";
}
