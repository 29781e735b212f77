// The run frame on a real GL context, with coloured display lists under the fixed ids: where the
// views land, which items each pass draws and how they are lit, the wheels' spin, the state left.
#include "render/route_cull.h"
#include "render/scene.h"
#include "render/font.h"
#include "core/options.h"
#include "assets/ids.h"
#include "sim/state.h"
#include "tests/support/gl_context_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <tuple>

namespace {

constexpr int W = 640, H = 480;
constexpr uint32_t LIST_LAST = 40;

struct Rgb {
    int r, g, b;
};
constexpr Rgb AHEAD = {0, 255, 0}, BEHIND = {0, 0, 255}, BAIT = {255, 0, 0};

void quadAtZ(float z, float half)
{
    glBegin(GL_QUADS);
    glVertex3f(-half, -half, z), glVertex3f(half, -half, z);
    glVertex3f(half, half, z), glVertex3f(-half, half, z);
    glEnd();
}

// An item that fills every view: walls ahead and behind (flat, a panel item filling its viewport).
void compileBait(uint32_t id, Rgb c, bool flat = false)
{
    compileList(id, [&] {
        glColor3ub(c.r, c.g, c.b);
        quadAtZ(flat ? 0.0f : -30.0f, flat ? 100.0f : 200.0f);
        if (!flat)
            quadAtZ(30.0f, 200.0f);
    });
}

void setAmbient(float a)
{
    const GLfloat ambient[4] = {a, a, a, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

// The fixed state the frame finds; lit items show their colour times the global ambient.
void fixedState(bool blending)
{
    glShadeModel(GL_FLAT);
    glDepthFunc(GL_LEQUAL);
    glAlphaFunc(GL_GREATER, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    for (GLenum cap : {GL_DEPTH_TEST, GL_COLOR_MATERIAL, GL_LIGHTING, GL_LIGHT0})
        glEnable(cap);
    glEnable(blending ? GL_BLEND : GL_ALPHA_TEST);
    for (GLenum cap : {GL_TEXTURE_2D, GL_CULL_FACE, blending ? GL_ALPHA_TEST : GL_BLEND})
        glDisable(cap);
    const GLfloat none[4] = {0, 0, 0, 1};
    for (GLenum which : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR})
        glLightfv(GL_LIGHT0, which, none);
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
    setAmbient(1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

class GlScene : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!openRenderTestContext(W, H))
            return;
        frameSwitches.plainOrder = 1;  // the route is list 1 here, with no pieces
        for (uint32_t id = 1; id <= LIST_LAST; ++id)  // the fixed ids exist before the font
            compileList(id, [] {});
        buildFont();
    }

    void SetUp() override
    {
        SKIP_WITHOUT_CONTEXT(W, H);
        for (uint32_t id = 1; id <= LIST_LAST; ++id)
            compileList(id, [] {});
        // A box round the bus: green ahead (-Z), blue on every other side (what the mirrors see).
        compileList(LIST_NIEBO, [] {
            const float s = 150.0f;
            glColor3ub(AHEAD.r, AHEAD.g, AHEAD.b);
            quadAtZ(-s, s);
            glColor3ub(BEHIND.r, BEHIND.g, BEHIND.b);
            quadAtZ(s, s);
            glBegin(GL_QUADS);
            for (float x : {-s, s}) {
                glVertex3f(x, -s, -s), glVertex3f(x, s, -s), glVertex3f(x, s, s), glVertex3f(x, -s, s);
                glVertex3f(-s, x, -s), glVertex3f(s, x, -s), glVertex3f(s, x, s), glVertex3f(-s, x, s);
            }
            glEnd();
        });
        fixedState(false);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        options.screenWidth = W, options.screenHeight = H;
        resetAllRunState();
        // Paused: the step leaves the state alone; the checks keep off the texts.
        run.paused = 1;
        otherCar.x = otherCar.z = otherCar.heading = 0.0f;
        view.cameraEyeX = view.cameraLookX = 0.0f, view.cameraEyeY = 1.6f, view.cameraLookZ = -40.0f;
        view.cameraOffsetZ = 5.0f, view.cameraAtFront = 1, view.viewportCount = 1;
    }

    static bool is(int x, int y, Rgb c, const ReadPixels& p = readBackBuffer())
    {
        return p.count(x, y, x + 1, y + 1, c.r, c.g, c.b, 3) == 1;
    }
};

TEST_F(GlScene, MirrorsLookBackInTheUpperCornersAtMostThreeViewsDrawAndEachTurnsTheWheels)
{
    vehicle.busSpeedAbs = 0.1f;
    for (int32_t count : {1, 2, 3, 9, 0}) {
        SCOPED_TRACE(count);
        view.viewportCount = count;
        wheelSpin = 0.0f;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawRunFrame();
        EXPECT_NEAR(wheelSpin, -18.0f * std::max(1, std::min(count, 3)), 1e-4f);
        ReadPixels p = readBackBuffer();
        const Rgb left = count >= 2 ? BEHIND : AHEAD, right = count >= 3 ? BEHIND : AHEAD;
        EXPECT_TRUE(p.all(0, 20, W, 240, AHEAD.r, AHEAD.g, AHEAD.b, 3));
        EXPECT_TRUE(p.all(0, 272, 160, 460, left.r, left.g, left.b, 3));
        EXPECT_TRUE(p.all(160, 272, 481, 460, AHEAD.r, AHEAD.g, AHEAD.b, 3));
        EXPECT_TRUE(p.all(481, 272, W, 460, right.r, right.g, right.b, 3));
    }
}

// Each list, the flag that turns it on, where it shows (1 in mirrors too, 2 flat: a panel item) and
// how it is lit: l by the scene, i unlit under the interior lighting, a added to what is behind, u unlit.
struct SceneItem { uint32_t list; int kind; uint8_t* flag; char light; };
uint8_t* const yellow = &traffic.yellow;
uint8_t* const red = &traffic.red;
uint8_t* const green = &traffic.green;
const SceneItem SCENE_ITEMS[] = {
    {LIST_PLANSZA, 1, nullptr, 'l'}, {LIST_ZEW, 1, nullptr, 'l'}, {LIST_WEW, 1, nullptr, 'i'},
    {LIST_F125, 1, nullptr, 'l'}, {LIST_KOLA_TYLNE, 1, nullptr, 'l'}, {LIST_KOLO_P, 1, nullptr, 'l'},
    {LIST_KOLO_L, 1, nullptr, 'l'}, {LIST_ZOLTY_A, 1, yellow, 'a'}, {LIST_ZOLTY_B, 1, yellow, 'a'},
    {LIST_CZERWONY_A, 1, red, 'a'}, {LIST_ZIELONY_B, 1, red, 'a'}, {LIST_ZIELONY_A, 1, green, 'a'},
    {LIST_CZERWONY_B, 1, green, 'a'}, {LIST_STANDRZWI_1, 1, &doors.open[0], 'l'},
    {LIST_STANDRZWI_2, 1, &doors.open[1], 'l'}, {LIST_STANDRZWI_3, 1, &doors.open[2], 'l'},
    {LIST_DRZWI_A1, 1, nullptr, 'l'}, {LIST_DRZWI_A2, 1, nullptr, 'l'}, {LIST_DRZWI_A3, 1, nullptr, 'l'},
    {LIST_DRZWI_B1, 1, nullptr, 'l'}, {LIST_DRZWI_B2, 1, nullptr, 'l'}, {LIST_DRZWI_B3, 1, nullptr, 'l'},
    {LIST_DROGOWE, 0, &lights.headlightsOn, 'a'}, {LIST_KIER_P, 0, &lights.rightIndicatorLamp, 'a'},
    {LIST_KIER_L, 0, &lights.leftIndicatorLamp, 'a'}, {LIST_STOP, 0, &vehicle.brakeLightOn, 'a'},
    {LIST_WSTECZNE, 0, &vehicle.reverseLightOn, 'a'}, {LIST_SPEED_NEEDLE, 0, nullptr, 'i'},
    {LIST_STEERING_WHEEL, 0, nullptr, 'i'}, {LIST_WSKAZNIKI, 2, nullptr, 'u'},
    {LIST_STOP_ARROW, 2, nullptr, 'u'}, {LIST_ROZKLAD, 2, &view.timetableShown, 'u'},
};

// An item drawn plain (run 0), or blending at half light with the interior light off (1) and on (2).
struct SceneItems : GlScene, ::testing::WithParamInterface<std::tuple<SceneItem, int>> {};

TEST_P(SceneItems, ShowInTheirViewsWithTheirLighting)
{
    const auto [c, run] = GetParam();
    SCOPED_TRACE(testing::Message() << "list " << c.list << " run " << run);
    if (run > 0) {
        fixedState(true);
        setAmbient(0.5f);
        lights.interiorLighting = uint8_t(run - 1);
    }
    compileBait(c.list, BAIT, c.kind == 2);
    if (c.flag)
        *c.flag = 1;
    view.viewportCount = 3;
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    if (run > 0) {
        const bool full = c.light == 'u' || c.light == 'a' || (c.light == 'i' && run == 2);
        EXPECT_TRUE(is(320, 120, {full ? 255 : 128, c.light == 'a' ? 128 : 0, 0}, p));
        return;
    }
    EXPECT_TRUE(is(320, 120, BAIT, p));
    EXPECT_TRUE(is(80, 360, c.kind == 1 ? BAIT : BEHIND, p));
    EXPECT_TRUE(is(560, 360, c.kind == 1 ? BAIT : BEHIND, p));
}

INSTANTIATE_TEST_SUITE_P(GlScene, SceneItems,
                         ::testing::Combine(::testing::ValuesIn(SCENE_ITEMS), ::testing::Values(0, 1, 2)));

TEST_F(GlScene, TheFrameLeavesLightingAndPlainTransparencyOn)
{
    fixedState(true);
    compileBait(LIST_DROGOWE, BAIT);  // added to what is behind: the frame changes the blending for it
    lights.headlightsOn = 1;
    drawRunFrame();
    GLint blend[2] = {0, 0};
    glGetIntegerv(GL_BLEND_SRC, &blend[0]);
    glGetIntegerv(GL_BLEND_DST, &blend[1]);
    EXPECT_EQ(std::make_tuple(blend[0], blend[1]),
              std::make_tuple(GLint{GL_SRC_ALPHA}, GLint{GL_ONE_MINUS_SRC_ALPHA}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(GlScene, HeadlightsShowThroughTheBusOnlyFromTheFront)
{
    compileList(LIST_ZEW, [] { glColor3ub(128, 128, 128), quadAtZ(-10.0f, 100.0f); });
    compileList(LIST_DROGOWE, [] { glColor3ub(BAIT.r, BAIT.g, BAIT.b), quadAtZ(-30.0f, 100.0f); });
    lights.headlightsOn = 1;
    drawRunFrame();
    EXPECT_TRUE(is(320, 240, BAIT));
    view.cameraAtFront = 0;
    drawRunFrame();
    EXPECT_TRUE(is(320, 240, {128, 128, 128}));
}

// A small square round the arrow's pivot at (0.3, 3.175) of the 5 x 3.75 panel, 128 px a unit.
TEST_F(GlScene, TheStopArrowIsRedAwayFromAStopAndGreenAtIt)
{
    compileList(LIST_STOP_ARROW, [] { glRectf(0.25f, 3.125f, 0.35f, 3.225f); });
    for (uint8_t atStop : {0, 1}) {
        stops.atStop = atStop;
        drawRunFrame();
        EXPECT_TRUE(is(38, 406, {atStop ? 0 : 255, atStop ? 255 : 0, 0})) << int(atStop);
    }
}

TEST_F(GlScene, TheStopArrowStaysUnturnedWithNoBearing)
{
    compileList(LIST_STOP_ARROW, [] { glRectf(0.5f, 3.125f, 0.6f, 3.225f); });  // right of the pivot
    stops.stopBearing = std::numeric_limits<float>::quiet_NaN();
    drawRunFrame();
    EXPECT_TRUE(is(70, 406, {255, 0, 0}));
}

} // namespace
