// The run frame on the generated tree along a drive round the route, in every camera view, with
// no mirror, one and two, the lights on and off and both transparency modes: drawn from the
// culled, reordered pieces it has the pixels of the plain order, and calls fewer pieces.
// VELBRANT_FRAME_DUMP=file keeps every frame's pixels, to set one build's frames beside another's.
#include "app/gl_setup.h"
#include "core/game.h"
#include "core/keys.h"
#include "core/options.h"
#include "render/route_cull.h"
#include "render/scene.h"
#include "render/views.h"
#include "sim/controls.h"
#include "sim/other_car.h"
#include "sim/state.h"
#include "tests/support/gl_context_render.h"
#include "tests/support/test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int W = 200, H = 150;
constexpr int FRAMES = 72;        // each view, mirror count, lighting and transparency once
constexpr int TICKS_BETWEEN = 90;  // the second car's ticks from one frame's place to the next

// The bus on the second car's place and course, the view and switches of frame i.
void placeFrame(int i)
{
    for (int t = 0; t < TICKS_BETWEEN; ++t)
        updateOtherCar();
    vehicle.busX = otherCar.x;
    vehicle.busZ = -otherCar.z;
    vehicle.busHeading = 180.0f - otherCar.heading;
    // Far off the route the mirrors see past the edge of the ground, twice running: the first
    // frame finds the gaps after holding the mirrors back, the second expects them. Only with the
    // alpha test: blended over that void, even the plain frame shows whatever the buffer held before.
    if (i % 12 >= 10 && i < 36)
        vehicle.busX = 5000.0f;
    vehicle.busSpeedAbs = 0.2f;
    keyState[VK_F1 + i % 6] = 1;
    handleCameraKeys();
    keyState[VK_F1 + i % 6] = 0;
    view.viewportCount = 1 + i / 6 % 3;
    lights.headlightsOn = static_cast<uint8_t>(i / 18 % 2);
    lights.interiorLighting = lights.headlightsOn;
    const bool blending = i / 36 % 2 == 1;
    glEnable(blending ? GL_BLEND : GL_ALPHA_TEST);
    glDisable(blending ? GL_ALPHA_TEST : GL_BLEND);
}

// One frame without the swap, over a colour no part of the picture has.
ReadPixels drawFrame(uint8_t plainOrder)
{
    frameSwitches.plainOrder = plainOrder;
    wheelSpin = 0.0f;
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    drawRunFramePicture();
    return readBackBuffer();
}

int pixelsDiffering(const ReadPixels& a, const ReadPixels& b)
{
    int n = 0;
    for (size_t p = 0; p < a.rgb.size(); p += 3)
        n += a.rgb[p] != b.rgb[p] || a.rgb[p + 1] != b.rgb[p + 1] || a.rgb[p + 2] != b.rgb[p + 2];
    return n;
}

} // namespace

TEST(GlRoutePieces, CulledFramesMatchThePlainOrderPixelForPixel)
{
    SKIP_WITHOUT_CONTEXT(W, H);
    const std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(generatedTree());
    game.busChoice = 1;
    readOptionsFrom("Opcje.ini");
    options.windowMode = 2;  // the test's window keeps its mode
    game.inGame = 1;
    options.screenWidth = W;
    options.screenHeight = H;
    initGL();
    std::filesystem::current_path(saved);
    const char* dumpPath = std::getenv("VELBRANT_FRAME_DUMP");
    FILE* dump = dumpPath ? std::fopen(dumpPath, "wb") : nullptr;
    int differing = 0;
    int32_t plainPieces = 0;
    int32_t culledPieces = 0;
    for (int i = 0; i < FRAMES; ++i) {
        placeFrame(i);
        frameSwitches.piecesCalled = 0;
        const ReadPixels plain = drawFrame(1);
        plainPieces += frameSwitches.piecesCalled;
        frameSwitches.piecesCalled = 0;
        const ReadPixels culled = drawFrame(0);
        culledPieces += frameSwitches.piecesCalled;
        differing += pixelsDiffering(plain, culled);
        if (dump)
            std::fwrite(culled.rgb.data(), 1, culled.rgb.size(), dump);
    }
    if (dump)
        std::fclose(dump);
    EXPECT_EQ(differing, 0) << "pixels over " << FRAMES << " frames";
    EXPECT_LT(culledPieces, plainPieces);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
