// The run frame on a real GL context, with tiny coloured display lists compiled under the fixed
// ids: where the views and mirrors land, which items each pass draws, the lamps' blending and
// depth, the interior lighting, the wheels' spin and the GL state a frame leaves behind.
#include "render/scene.h"
#include "render/font.h"
#include "core/options.h"
#include "assets/ids.h"
#include "sim/state.h"
#include "tests/support/gl_context_render.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr int W = 640;
constexpr int H = 480;
constexpr uint32_t LIST_LAST = 40;

struct Rgb {
    int r, g, b;
};
constexpr Rgb SKY_AHEAD = {0, 255, 0};
constexpr Rgb SKY_BEHIND = {0, 0, 255};
constexpr Rgb BAIT = {255, 0, 0};

void quadAtZ(float z, float half)
{
    glBegin(GL_QUADS);
    glVertex3f(-half, -half, z);
    glVertex3f(half, -half, z);
    glVertex3f(half, half, z);
    glVertex3f(-half, half, z);
    glEnd();
}

void emptyList(uint32_t id)
{
    glNewList(id, GL_COMPILE);
    glEndList();
}

// A box round the bus: green ahead (-Z), blue on every other side, so the main view sees green
// and the mirrors, looking back, see blue.
void compileSky()
{
    const float s = 150.0f;
    glNewList(LIST_NIEBO, GL_COMPILE);
    glColor3ub(SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b);
    quadAtZ(-s, s);
    glColor3ub(SKY_BEHIND.r, SKY_BEHIND.g, SKY_BEHIND.b);
    quadAtZ(s, s);
    glBegin(GL_QUADS);
    for (float x : {-s, s}) {
        glVertex3f(x, -s, -s);
        glVertex3f(x, s, -s);
        glVertex3f(x, s, s);
        glVertex3f(x, -s, s);
    }
    for (float y : {-s, s}) {
        glVertex3f(-s, y, -s);
        glVertex3f(s, y, -s);
        glVertex3f(s, y, s);
        glVertex3f(-s, y, s);
    }
    glEnd();
    glEndList();
}

// A 3D item that fills every view: one wall ahead of the bus, one behind it.
void compileBait3D(uint32_t id, Rgb c, bool withColour = true)
{
    glNewList(id, GL_COMPILE);
    if (withColour)
        glColor3ub(c.r, c.g, c.b);
    quadAtZ(-30.0f, 200.0f);
    quadAtZ(30.0f, 200.0f);
    glEndList();
}

// A panel item that fills whatever viewport its flat projection is drawn in.
void compileBait2D(uint32_t id, Rgb c)
{
    glNewList(id, GL_COMPILE);
    glColor3ub(c.r, c.g, c.b);
    quadAtZ(0.0f, 100.0f);
    glEndList();
}

void compileRect2D(uint32_t id, float x0, float y0, float x1, float y1)
{
    glNewList(id, GL_COMPILE);
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
    glEndList();
}

void setAmbient(float a)
{
    const GLfloat ambient[4] = {a, a, a, 1.0f};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
}

// The fixed state the frame finds, with a light that adds nothing but the global ambient, so a
// lit item shows its colour times the ambient.
void fixedState(bool blending)
{
    glClearColor(0, 0, 0, 1);
    glShadeModel(GL_FLAT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    if (blending) {
        glDisable(GL_ALPHA_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
        glAlphaFunc(GL_GREATER, 0.5f);
        glEnable(GL_ALPHA_TEST);
    }
    glDisable(GL_TEXTURE_2D);  // no pictures: glyphs and items show as solid colour
    glDisable(GL_CULL_FACE);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_LIGHTING);
    const GLfloat none[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, none);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT, GL_SPECULAR, none);
    glEnable(GL_LIGHT0);
    setAmbient(1.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

class GlScene : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        haveContext = openRenderTestContext(W, H);
        if (!haveContext)
            return;
        // The fixed ids exist before the font, as after a load.
        for (uint32_t id = 1; id <= LIST_LAST; ++id)
            emptyList(id);
        buildFont();
    }

    void SetUp() override
    {
        if (!haveContext)
            GTEST_SKIP() << "no GL context";
        for (uint32_t id = 1; id <= LIST_LAST; ++id)
            emptyList(id);
        compileSky();
        fixedState(false);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        screenWidth = W;
        screenHeight = H;
        resetAllRunState();
        // The step leaves the run state alone; the pause notice at (280, 255) and the dashboard
        // and penalty lines at the top and bottom are the only texts, and the checks keep off them.
        run.paused = 1;
        otherCar.otherCarX = 0.0f;
        otherCar.otherCarZ = 0.0f;
        otherCar.otherCarHeading = 0.0f;
        view.cameraEyeX = 0.0f;
        view.cameraEyeY = 1.6f;
        view.cameraLookX = 0.0f;
        view.cameraLookZ = -40.0f;
        view.cameraOffsetZ = 5.0f;
        view.cameraAtFront = 1;
        view.viewportCount = 1;
        traffic.trafficRed = 0;
        wheelSpin = 0.0f;
    }

    static bool is(const ReadPixels& p, int x, int y, Rgb c, int tolerance = 3)
    {
        const uint8_t* px = p.at(x, y);
        return std::abs(px[0] - c.r) <= tolerance && std::abs(px[1] - c.g) <= tolerance &&
               std::abs(px[2] - c.b) <= tolerance;
    }

    static std::string colourAt(const ReadPixels& p, int x, int y)
    {
        const uint8_t* px = p.at(x, y);
        return std::to_string(px[0]) + "," + std::to_string(px[1]) + "," + std::to_string(px[2]);
    }

    static bool haveContext;
};

bool GlScene::haveContext = false;

TEST_F(GlScene, OneViewFillsTheScreenWithTheViewAhead)
{
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(p.all(0, 20, W, 254, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3));
    EXPECT_TRUE(p.all(0, 272, W, 460, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3));
}

TEST_F(GlScene, TwoViewsPutTheLeftMirrorInTheUpperLeftQuarter)
{
    view.viewportCount = 2;
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(p.all(0, 240, 160, 480, SKY_BEHIND.r, SKY_BEHIND.g, SKY_BEHIND.b, 3));
    EXPECT_TRUE(p.all(160, 272, W, 460, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3));
    EXPECT_TRUE(p.all(0, 20, W, 240, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3));
}

TEST_F(GlScene, ThreeViewsAddTheRightMirrorFromR)
{
    view.viewportCount = 3;
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(p.all(0, 240, 160, 480, SKY_BEHIND.r, SKY_BEHIND.g, SKY_BEHIND.b, 3));
    EXPECT_TRUE(p.all(160, 272, 481, 460, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3));
    EXPECT_TRUE(p.all(481, 240, W, 480, SKY_BEHIND.r, SKY_BEHIND.g, SKY_BEHIND.b, 3));
    EXPECT_TRUE(p.all(0, 20, W, 240, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3));
}

TEST_F(GlScene, AViewCountBeyondThreeDrawsTheThreeViews)
{
    view.viewportCount = 9;
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(p.all(481, 240, W, 480, SKY_BEHIND.r, SKY_BEHIND.g, SKY_BEHIND.b, 3));
    EXPECT_TRUE(p.all(160, 272, 481, 460, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3));
}

// Each list with whatever turns it on, and whether it belongs to the mirrors too.
struct ListCase {
    uint32_t list;
    bool inMirrors;
    bool flat;
    void (*enable)();
};

const ListCase LIST_CASES[] = {
    {LIST_PLANSZA, true, false, [] {}},
    {LIST_ZEW, true, false, [] {}},
    {LIST_WEW, true, false, [] {}},
    {LIST_F125, true, false, [] {}},
    {LIST_KOLA_TYLNE, true, false, [] {}},
    {LIST_KOLO_P, true, false, [] {}},
    {LIST_KOLO_L, true, false, [] {}},
    {LIST_ZOLTY_A, true, false, [] { traffic.trafficYellow = 1; }},
    {LIST_ZOLTY_B, true, false, [] { traffic.trafficYellow = 1; }},
    {LIST_CZERWONY_A, true, false, [] { traffic.trafficRed = 1; }},
    {LIST_ZIELONY_B, true, false, [] { traffic.trafficRed = 1; }},
    {LIST_ZIELONY_A, true, false, [] { traffic.trafficGreen = 1; }},
    {LIST_CZERWONY_B, true, false, [] { traffic.trafficGreen = 1; }},
    {LIST_STANDRZWI_1, true, false, [] { doors.door1Open = 1; }},
    {LIST_STANDRZWI_2, true, false, [] { doors.door2Open = 1; }},
    {LIST_STANDRZWI_3, true, false, [] { doors.door3Open = 1; }},
    {LIST_DRZWI_A1, true, false, [] {}},
    {LIST_DRZWI_A2, true, false, [] {}},
    {LIST_DRZWI_A3, true, false, [] {}},
    {LIST_DRZWI_B1, true, false, [] {}},
    {LIST_DRZWI_B2, true, false, [] {}},
    {LIST_DRZWI_B3, true, false, [] {}},
    {LIST_DROGOWE, false, false, [] { lights.headlightsOn = 1; }},
    {LIST_KIER_P, false, false, [] { lights.rightIndicatorLamp = 1; }},
    {LIST_KIER_L, false, false, [] { lights.leftIndicatorLamp = 1; }},
    {LIST_STOP, false, false, [] { vehicle.brakeLightOn = 1; }},
    {LIST_WSTECZNE, false, false, [] { vehicle.reverseLightOn = 1; }},
    {LIST_SPEED_NEEDLE, false, false, [] {}},
    {LIST_STEERING_WHEEL, false, false, [] {}},
    {LIST_WSKAZNIKI, false, true, [] {}},
    {LIST_STOP_ARROW, false, true, [] {}},
    {LIST_ROZKLAD, false, true, [] { view.timetableShown = 1; }},
};

TEST_F(GlScene, EachItemShowsInTheMainViewAndOnlyWorldItemsInTheMirrors)
{
    for (const ListCase& c : LIST_CASES) {
        SetUp();
        if (c.flat)
            compileBait2D(c.list, BAIT);
        else
            compileBait3D(c.list, BAIT);
        c.enable();
        view.viewportCount = 3;
        drawRunFrame();
        ReadPixels p = readBackBuffer();
        const std::string id = "list " + std::to_string(c.list);
        EXPECT_TRUE(is(p, 320, 120, BAIT)) << id << " main view " << colourAt(p, 320, 120);
        const Rgb mirror = c.inMirrors ? BAIT : SKY_BEHIND;
        EXPECT_TRUE(is(p, 80, 360, mirror)) << id << " left mirror " << colourAt(p, 80, 360);
        EXPECT_TRUE(is(p, 560, 360, mirror)) << id << " right mirror " << colourAt(p, 560, 360);
        emptyList(c.list);
    }
}

TEST_F(GlScene, SwitchedOffItemsAreNotDrawn)
{
    const uint32_t switched[] = {LIST_DROGOWE, LIST_KIER_P, LIST_KIER_L, LIST_STOP, LIST_WSTECZNE,
                                 LIST_ROZKLAD, LIST_STANDRZWI_1, LIST_STANDRZWI_2, LIST_STANDRZWI_3,
                                 LIST_ZOLTY_A, LIST_ZOLTY_B, LIST_CZERWONY_A, LIST_CZERWONY_B,
                                 LIST_ZIELONY_A, LIST_ZIELONY_B};
    for (uint32_t list : switched) {
        if (list == LIST_ROZKLAD)
            compileBait2D(list, BAIT);
        else
            compileBait3D(list, BAIT);
    }
    view.viewportCount = 3;
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(p.all(0, 20, W, 240, SKY_AHEAD.r, SKY_AHEAD.g, SKY_AHEAD.b, 3)) << colourAt(p, 320, 120);
}

TEST_F(GlScene, TextsNeverAppearInAMirror)
{
    view.helpShown = 1;
    drawRunFrame();
    ReadPixels alone = readBackBuffer();
    // The help's first heading sits at the top left, where the left mirror goes.
    EXPECT_GT(alone.count(0, 240, 160, 480, 255, 255, 255, 3), 1000);
    view.viewportCount = 3;
    view.infoShown = 0;
    drawRunFrame();
    ReadPixels mirrored = readBackBuffer();
    EXPECT_TRUE(mirrored.all(0, 240, 160, 480, SKY_BEHIND.r, SKY_BEHIND.g, SKY_BEHIND.b, 3));
    EXPECT_TRUE(mirrored.all(481, 240, W, 480, SKY_BEHIND.r, SKY_BEHIND.g, SKY_BEHIND.b, 3));
}

TEST_F(GlScene, DashboardLineAndPenaltyLineColours)
{
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    // " 0KM/H" at x 445: its third glyph is the first digit, always drawn.
    EXPECT_TRUE(is(p, 445 + 22 + 3, 462 + 3, {151, 179, 228})) << colourAt(p, 470, 465);
    EXPECT_TRUE(is(p, 2, 2, {0, 255, 0})) << colourAt(p, 2, 2);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
    EXPECT_FLOAT_EQ(colour[2], 1.0f);
}

TEST_F(GlScene, HeadlightsShowThroughTheBusOnlyFromTheFront)
{
    // The exterior stands 10 units ahead of the camera, the beams 30 units ahead behind it.
    glNewList(LIST_ZEW, GL_COMPILE);
    glColor3ub(128, 128, 128);
    quadAtZ(-10.0f, 100.0f);
    glEndList();
    glNewList(LIST_DROGOWE, GL_COMPILE);
    glColor3ub(BAIT.r, BAIT.g, BAIT.b);
    quadAtZ(-30.0f, 100.0f);
    glEndList();
    lights.headlightsOn = 1;
    view.cameraAtFront = 1;
    drawRunFrame();
    EXPECT_TRUE(is(readBackBuffer(), 320, 240, BAIT));
    view.cameraAtFront = 0;
    drawRunFrame();
    EXPECT_TRUE(is(readBackBuffer(), 320, 240, {128, 128, 128}));
}

TEST_F(GlScene, LampsAndTrafficLightsAddTheirLightWhenBlending)
{
    fixedState(true);
    compileBait3D(LIST_KIER_P, {255, 0, 0});
    lights.rightIndicatorLamp = 1;
    drawRunFrame();
    // Red added to the green sky.
    EXPECT_TRUE(is(readBackBuffer(), 320, 120, {255, 255, 0}));
    emptyList(LIST_KIER_P);
    compileBait3D(LIST_ZOLTY_A, {255, 0, 0});
    traffic.trafficYellow = 1;
    drawRunFrame();
    EXPECT_TRUE(is(readBackBuffer(), 320, 120, {255, 255, 0}));
    // The blend function is back to plain transparency afterwards.
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE_MINUS_SRC_ALPHA);
}

TEST_F(GlScene, OrdinaryItemsCoverRatherThanAddWhenBlending)
{
    fixedState(true);
    compileBait3D(LIST_ZEW, {255, 0, 0});
    drawRunFrame();
    EXPECT_TRUE(is(readBackBuffer(), 320, 120, BAIT));
}

TEST_F(GlScene, InteriorLightingShowsTheCabAtFullBrightness)
{
    setAmbient(0.5f);
    const uint32_t cab[] = {LIST_WEW, LIST_SPEED_NEEDLE, LIST_STEERING_WHEEL};
    for (uint32_t list : cab) {
        SetUp();
        setAmbient(0.5f);
        compileBait3D(list, {200, 200, 200});
        lights.interiorLighting = 0;
        drawRunFrame();
        EXPECT_TRUE(is(readBackBuffer(), 320, 120, {100, 100, 100})) << list;
        lights.interiorLighting = 1;
        drawRunFrame();
        EXPECT_TRUE(is(readBackBuffer(), 320, 120, {200, 200, 200})) << list;
        EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
        emptyList(list);
    }
    // The outside of the bus is lit by the scene light whatever the interior lighting.
    SetUp();
    setAmbient(0.5f);
    compileBait3D(LIST_ZEW, {200, 200, 200});
    lights.interiorLighting = 1;
    drawRunFrame();
    EXPECT_TRUE(is(readBackBuffer(), 320, 120, {100, 100, 100}));
}

TEST_F(GlScene, StopArrowIsRedAwayFromAStopAndGreenAtIt)
{
    // A small square round the arrow's pivot at (0.3, 3.175) of the 5 x 3.75 panel.
    compileRect2D(LIST_STOP_ARROW, 0.25f, 3.125f, 0.35f, 3.225f);
    drawRunFrame();
    const int px = 38, py = 406;  // the pivot in pixels: 128 per panel unit
    EXPECT_TRUE(is(readBackBuffer(), px, py, {255, 0, 0}));
    stops.atStop = 1;
    drawRunFrame();
    EXPECT_TRUE(is(readBackBuffer(), px, py, {0, 255, 0}));
}

TEST_F(GlScene, StopArrowTurnsByTheBearingPlusTheHeading)
{
    // A square a quarter unit right of the pivot.
    compileRect2D(LIST_STOP_ARROW, 0.5f, 3.125f, 0.6f, 3.225f);
    stops.stopBearing = 60.0f;
    vehicle.busHeading = 30.0f;  // together a quarter turn, counter-clockwise
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(is(p, 38, 406 + 38, {255, 0, 0})) << colourAt(p, 38, 444);
    EXPECT_TRUE(is(p, 70, 406, SKY_AHEAD));
}

TEST_F(GlScene, StopArrowWithNoBearingStaysUnturned)
{
    compileRect2D(LIST_STOP_ARROW, 0.5f, 3.125f, 0.6f, 3.225f);
    stops.stopBearing = std::numeric_limits<float>::quiet_NaN();
    drawRunFrame();
    ReadPixels p = readBackBuffer();
    EXPECT_TRUE(is(p, 70, 406, {255, 0, 0})) << colourAt(p, 70, 406);
}

TEST_F(GlScene, EveryPassTurnsTheWheelsAgain)
{
    vehicle.busSpeedAbs = 0.1f;
    drawViewPass(0);
    EXPECT_NEAR(wheelSpin, -18.0f, 1e-4f);
    drawViewPass(1);
    EXPECT_NEAR(wheelSpin, -36.0f, 1e-4f);
    wheelSpin = 0.0f;
    view.viewportCount = 3;
    drawRunFrame();
    EXPECT_NEAR(wheelSpin, -54.0f, 1e-4f);
}

TEST_F(GlScene, WheelsKeepTheirAngleAtAStandstill)
{
    wheelSpin = 123.0f;
    vehicle.busSpeedAbs = 0.0f;
    view.viewportCount = 3;
    drawRunFrame();
    EXPECT_FLOAT_EQ(wheelSpin, 123.0f);
}

TEST_F(GlScene, AFrameLeavesTheStateAsItFoundItButTheAlphaTest)
{
    view.viewportCount = 3;
    view.helpShown = 1;
    view.infoShown = 1;
    run.runFinished = 1;
    lights.headlightsOn = 1;
    lights.interiorLighting = 1;
    GLint projDepth = 0, viewDepth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &projDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &viewDepth);
    for (int i = 0; i < 3; ++i)
        drawRunFrame();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint depth = 0, mode = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, projDepth);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, viewDepth);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

} // namespace
