#include "render/scene.h"
#include "render/dashboard.h"
#include "render/mirror_gaps.h"
#include "render/route_cull.h"
#include "render/views.h"
#include "core/options.h"
#include "assets/bus_pivots.h"
#include "assets/ids.h"
#include "platform/platform.h"
#include "sim/state.h"

#include <GL/gl.h>
#include <GL/glu.h>

float wheelSpin = 0.0f;

namespace {

constexpr float SCENE_REAR_WHEEL_SPIN = 100.0f;
constexpr float SCENE_FRONT_WHEEL_SPIN = 40.0f;
constexpr float SCENE_WHEEL_STEER = -130.0f;
constexpr float SCENE_BODY_Z = -2.0f;       // the body pivots 2 units ahead of the reference point
constexpr float SCENE_BODY_BACK_Z = 2.0f;   // back from the pivot to the reference point
constexpr float SCENE_BODY_ROLL = 17.0f;
constexpr float SCENE_OTHER_CAR_Z = 14.0f;
constexpr float SCENE_NEEDLE_TURN = -400.0f;
constexpr float SCENE_STEERING_TURN = -1000.0f;

// Lamps add their light to what is behind them.
void additiveLamps()
{
    glDisable(GL_LIGHTING);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

void normalBlending()
{
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_LIGHTING);
}

// A list drawn unlit while the interior lighting is on.
void callInteriorList(uint32_t list)
{
    const bool unlit = lights.interiorLighting == 1;
    if (unlit)
        glDisable(GL_LIGHTING);
    glCallList(list);
    if (unlit)
        glEnable(GL_LIGHTING);
}

// The world turns by the bus's heading and shifts by its position around the fixed bus.
void worldTransform()
{
    glRotatef(vehicle.busHeading, 0.0f, 1.0f, 0.0f);
    glTranslatef(-vehicle.busX, 0.0f, vehicle.busZ);
}

// The body's pitch and roll about a point 2 units ahead of the reference point.
void bodyTransform()
{
    glTranslatef(0.0f, 0.0f, SCENE_BODY_Z);
    glRotatef(vehicle.pitchSway, 1.0f, 0.0f, 0.0f);
    glRotatef(vehicle.bodyRoll * SCENE_BODY_ROLL, 0.0f, 0.0f, 1.0f);
}

void drawSky()
{
    glPushMatrix();
    glRotatef(vehicle.busHeading, 0.0f, 1.0f, 0.0f);
    glCallList(LIST_NIEBO);
    glPopMatrix();
}

void drawRoute()
{
    glPushMatrix();
    worldTransform();
    callRoutePieces();
    // Head A shows red while head B shows green and the other way round; yellow on both.
    additiveLamps();
    if (traffic.yellow == 1) {
        glCallList(LIST_ZOLTY_A);
        glCallList(LIST_ZOLTY_B);
    }
    if (traffic.red == 1) {
        glCallList(LIST_CZERWONY_A);
        glCallList(LIST_ZIELONY_B);
    }
    if (traffic.green == 1) {
        glCallList(LIST_ZIELONY_A);
        glCallList(LIST_CZERWONY_B);
    }
    normalBlending();
    glPopMatrix();
}

void drawOtherCar()
{
    glPushMatrix();
    worldTransform();
    glTranslatef(otherCar.x, 0.0f, otherCar.z);
    glRotatef(otherCar.heading, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, SCENE_OTHER_CAR_Z);
    glCallList(LIST_F125);
    glPopMatrix();
}

void drawRearWheels()
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, busGeometry.rearWheelsZ);
    glTranslatef(0.0f, BUS_WHEEL_HUB_Y, BUS_REAR_HUB_Z);
    wheelSpin -= vehicle.busSpeedAbs * SCENE_REAR_WHEEL_SPIN;
    glRotatef(wheelSpin, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, -BUS_WHEEL_HUB_Y, -BUS_REAR_HUB_Z);
    glCallList(LIST_KOLA_TYLNE);
    glPopMatrix();
}

// A front wheel steers about its own hub at hubX, then spins.
void drawFrontWheel(float wheelZ, float hubX, uint32_t list)
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, wheelZ);
    glTranslatef(hubX, BUS_WHEEL_HUB_Y, BUS_FRONT_HUB_Z);
    glRotatef(vehicle.steer * SCENE_WHEEL_STEER, 0.0f, 1.0f, 0.0f);
    glTranslatef(-hubX, -BUS_WHEEL_HUB_Y, -BUS_FRONT_HUB_Z);
    glTranslatef(0.0f, BUS_WHEEL_HUB_Y, BUS_FRONT_HUB_Z);
    wheelSpin -= vehicle.busSpeedAbs * SCENE_FRONT_WHEEL_SPIN;
    glRotatef(wheelSpin, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, -BUS_WHEEL_HUB_Y, -BUS_FRONT_HUB_Z);
    glCallList(list);
    glPopMatrix();
}

void drawInterior()
{
    glPushMatrix();
    bodyTransform();
    glTranslatef(0.0f, 0.0f, SCENE_BODY_Z);
    // Cut-out texels of the interior and the door leaves are dropped, not blended.
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnable(GL_ALPHA_TEST);
    callInteriorList(LIST_WEW);
    for (int32_t d = 0; d < DOOR_COUNT; ++d) {
        if (doors.open[d] == 1)
            glCallList(LIST_STANDRZWI_1 + d);
    }
    glPopMatrix();
}

void drawDoorLeaf(uint32_t list, float leafZ, float slide, float swing)
{
    glPushMatrix();
    bodyTransform();
    glTranslatef(0.0f, 0.0f, SCENE_BODY_BACK_Z);
    glTranslatef(0.0f, 0.0f, leafZ);
    glTranslatef(0.0f, 0.0f, slide);
    glTranslatef(BUS_DOOR_HINGE_X, 0.0f, BUS_DOOR_HINGE_Z);
    glRotatef(swing, 0.0f, 1.0f, 0.0f);
    glTranslatef(-BUS_DOOR_HINGE_X, 0.0f, -BUS_DOOR_HINGE_Z);
    glCallList(list);
    glPopMatrix();
}

void drawDoorLeaves()
{
    // The two leaves of a door slide and swing in opposite directions.
    for (int32_t d = 0; d < DOOR_COUNT; ++d) {
        drawDoorLeaf(LIST_DRZWI_A1 + d, busGeometry.leafZ[d][0], -doors.slide[d], doors.swing[d]);
        drawDoorLeaf(LIST_DRZWI_B1 + d, busGeometry.leafZ[d][1], doors.slide[d], -doors.swing[d]);
    }
    // Off until the next pass's interior: the sky and route of that pass draw without it.
    glDisable(GL_ALPHA_TEST);
}

void drawExterior()
{
    glPushMatrix();
    bodyTransform();
    glTranslatef(0.0f, 0.0f, SCENE_BODY_Z);
    glCallList(LIST_ZEW);
    glPopMatrix();
}

void drawLamps()
{
    glPushMatrix();
    bodyTransform();
    glTranslatef(0.0f, 0.0f, SCENE_BODY_BACK_Z);
    glTranslatef(0.0f, 0.0f, BUS_MODEL_Z);
    additiveLamps();
    if (lights.headlightsOn == 1) {
        // Seen from the cab or the bumper the beams would hide behind the bus's own front.
        const bool overAll = view.cameraAtFront == 1;
        if (overAll)
            glDisable(GL_DEPTH_TEST);
        glCallList(LIST_DROGOWE);
        if (overAll)
            glEnable(GL_DEPTH_TEST);
    }
    if (lights.rightIndicatorLamp == 1)
        glCallList(LIST_KIER_P);
    if (lights.leftIndicatorLamp == 1)
        glCallList(LIST_KIER_L);
    if (vehicle.reverseLightOn == 1)
        glCallList(LIST_WSTECZNE);
    if (vehicle.brakeLightOn == 1)
        glCallList(LIST_STOP);
    normalBlending();
    glPopMatrix();
}

void drawSpeedNeedle()
{
    glPushMatrix();
    bodyTransform();
    glTranslatef(0.0f, 0.0f, SCENE_BODY_BACK_Z);
    glTranslatef(BUS_NEEDLE_PIVOT_X, BUS_NEEDLE_PIVOT_Y, 0.0f);
    glRotatef(vehicle.busSpeedAbs * SCENE_NEEDLE_TURN, 0.0f, 0.0f, 1.0f);
    glTranslatef(-BUS_NEEDLE_PIVOT_X, -BUS_NEEDLE_PIVOT_Y, BUS_MODEL_Z);
    callInteriorList(LIST_SPEED_NEEDLE);
    glPopMatrix();
}

// The steering wheel pitches with the body but does not roll.
void drawSteeringWheel()
{
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, SCENE_BODY_Z);
    glRotatef(vehicle.pitchSway, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, SCENE_BODY_BACK_Z);
    glTranslatef(BUS_STEERING_PIVOT_X, BUS_STEERING_PIVOT_Y, 0.0f);
    glRotatef(vehicle.steer * SCENE_STEERING_TURN, 0.0f, 0.0f, 1.0f);
    glTranslatef(-BUS_STEERING_PIVOT_X, -BUS_STEERING_PIVOT_Y, BUS_MODEL_Z);
    callInteriorList(LIST_STEERING_WHEEL);
    glPopMatrix();
}

void setViewAndCamera(const ViewPass& pass)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(pass.x, pass.y, pass.width, pass.height);
    gluPerspective(pass.fovy, pass.aspect, pass.zNear, pass.zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The sky covers the background, so only depth is cleared. A mirror clears only its own
    // part of the window (drawing never leaves the viewport): the main view's depth is not read
    // again, and clearing the whole buffer twice more is a cost a software renderer feels.
    const bool mirror = pass.x != 0 || pass.y != 0;
    if (mirror) {
        glScissor(pass.x, pass.y, pass.width, pass.height);
        glEnable(GL_SCISSOR_TEST);
    }
    glClear(GL_DEPTH_BUFFER_BIT);
    if (mirror)
        glDisable(GL_SCISSOR_TEST);
    gluLookAt(pass.eyeX, pass.eyeY, pass.eyeZ, pass.centreX, pass.centreY, pass.centreZ,
              0.0, 1.0, 0.0);
    glTranslatef(0.0f, 0.0f, pass.offsetZ);
}

// The mirrors are drawn over the main view afterwards, so what it would put under them is never
// seen. Their parts of the depth buffer are set to the nearest depth first: the depth test then
// turns the main view away there before anything is textured.
void holdBackMirrorAreas(int passes)
{
    glEnable(GL_SCISSOR_TEST);
    glClearDepth(0.0);
    for (int m = 1; m < passes; ++m) {
        const ViewPass mirror = viewPassFor(m, options.screenWidth, options.screenHeight, vehicle, view);
        glScissor(mirror.x, mirror.y, mirror.width, mirror.height);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glClearDepth(1.0);
    glDisable(GL_SCISSOR_TEST);
}

} // namespace

void drawViewPass(int v)
{
    setViewAndCamera(viewPassFor(v, options.screenWidth, options.screenHeight, vehicle, view));
    const int passes = viewPassCount(view);
    if (v == VIEW_MAIN && passes > 1 && frameSwitches.plainOrder == 0 && mirrorGaps.seenLastFrame == 0)
        holdBackMirrorAreas(passes);
    // With blending off no pixel depends on what was drawn under it, so the bus, which covers
    // the lower part of the cab view, goes first and the world behind it is turned away before
    // it is textured; the sky goes last and fills only what is left. Blended surfaces keep the
    // plain order. The world is drawn with the alpha test as the pass found it either way.
    const GLboolean alphaTestAtStart = glIsEnabled(GL_ALPHA_TEST);
    const bool coverFirst = frameSwitches.plainOrder == 0 && glIsEnabled(GL_BLEND) == GL_FALSE;
    if (coverFirst) {
        drawInterior();
        drawDoorLeaves();
        drawExterior();
        if (alphaTestAtStart)
            glEnable(GL_ALPHA_TEST);
    } else {
        drawSky();
    }
    drawRoute();
    drawOtherCar();
    drawRearWheels();
    drawFrontWheel(busGeometry.frontRightWheelZ, BUS_WHEEL_HUB_X, LIST_KOLO_P);
    drawFrontWheel(busGeometry.frontLeftWheelZ, -BUS_WHEEL_HUB_X, LIST_KOLO_L);
    if (coverFirst) {
        // Far off, the dome and the world's far edge can round to one depth: drawn first, the
        // sky loses such a tie to the world, so drawn last it must not win it either.
        glDepthFunc(GL_LESS);
        drawSky();
        glDepthFunc(GL_LEQUAL);
        glDisable(GL_ALPHA_TEST);
    } else {
        drawInterior();
        drawDoorLeaves();
        drawExterior();
    }
    if (v != VIEW_MAIN)
        return;
    // Lamps, gauges and texts belong to the main view only.
    drawLamps();
    drawSpeedNeedle();
    drawSteeringWheel();
    drawDashboard();
}

void drawRunFramePicture()
{
    const float spinAtStart = wheelSpin;
    const GLboolean alphaTestAtStart = glIsEnabled(GL_ALPHA_TEST);
    const int passes = viewPassCount(view);
    const bool heldBack = mirrorGaps.seenLastFrame == 0;
    for (int v = 0; v < passes; ++v)
        drawViewPass(v);
    if (passes == 1 || frameSwitches.plainOrder == 1)
        return;
    mirrorGaps.seenLastFrame = mirrorsLeaveGaps(passes) ? 1 : 0;
    if (!heldBack || mirrorGaps.seenLastFrame == 0)
        return;
    // A mirror left part of its held-back rectangle undrawn: the frame again from the state it
    // started with, the main view whole under the mirrors, which fills the gap.
    wheelSpin = spinAtStart;
    if (alphaTestAtStart)
        glEnable(GL_ALPHA_TEST);
    for (int v = 0; v < passes; ++v)
        drawViewPass(v);
}

void drawRunFrame()
{
    drawRunFramePicture();
    glFlush();
    platformSwapBuffers();
}
