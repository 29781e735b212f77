#include "render/views.h"

namespace {

// Keeps the eye practically at Z = 0 while still depending on the bus's position.
constexpr float VIEW_EYE_Z_FACTOR = -1e-7f;
constexpr double VIEW_FOVY = 45.0;
constexpr double VIEW_MAIN_NEAR = 0.1;
constexpr double VIEW_MAIN_FAR = 440.0;
constexpr double VIEW_MIRROR_NEAR = static_cast<double>(0.1f);
constexpr double VIEW_MIRROR_FAR = 500.0;
constexpr double VIEW_LEFT_ASPECT_FACTOR = 0.6666666666666666;
constexpr double VIEW_RIGHT_EDGE_FACTOR = 0.7518796992481203;
constexpr double VIEW_RIGHT_ASPECT_FACTOR = 0.625;
constexpr float VIEW_MIRROR_OFFSET_Z = 7.0f;

struct MirrorCamera {
    float eyeX, eyeY;
    float centreX, centreY, centreZ;
};
// Both mirrors look backwards from the bus's front corners; the right one far across to the left.
constexpr MirrorCamera VIEW_LEFT_CAMERA = {-1.8f, 1.6f, 5.0f, -2.0f, 100.0f};
constexpr MirrorCamera VIEW_RIGHT_CAMERA = {1.8f, 2.0f, -50.0f, -20.0f, 100.0f};

void setMirrorCamera(ViewPass& pass, const MirrorCamera& camera, float eyeZ)
{
    pass.eyeX = camera.eyeX;
    pass.eyeY = camera.eyeY;
    pass.eyeZ = eyeZ;
    pass.centreX = camera.centreX;
    pass.centreY = camera.centreY;
    pass.centreZ = camera.centreZ;
    pass.offsetZ = VIEW_MIRROR_OFFSET_Z;
}

} // namespace

int viewPassCount(const ViewState& viewState)
{
    if (viewState.viewportCount < 1)
        return 1;
    if (viewState.viewportCount > VIEW_PASS_MAX)
        return VIEW_PASS_MAX;
    return viewState.viewportCount;
}

ViewPass viewPassFor(int v, int32_t width, int32_t height, const VehicleState& bus,
                     const ViewState& viewState)
{
    // A zero height would put an infinite aspect into the projection.
    const int32_t w = width;
    const int32_t h = height > 0 ? height : 1;
    const double wd = static_cast<double>(w);
    const double hd = static_cast<double>(h);
    const float eyeZ = VIEW_EYE_Z_FACTOR * bus.busZ;

    ViewPass pass{};
    pass.fovy = VIEW_FOVY;
    if (v == VIEW_LEFT_MIRROR) {
        pass.x = 0;
        pass.y = h / 2;
        pass.width = w / 4;
        pass.height = h / 2;
        pass.aspect = wd * VIEW_LEFT_ASPECT_FACTOR / hd;
        pass.zNear = VIEW_MIRROR_NEAR;
        pass.zFar = VIEW_MIRROR_FAR;
        setMirrorCamera(pass, VIEW_LEFT_CAMERA, eyeZ);
        return pass;
    }
    if (v == VIEW_RIGHT_MIRROR) {
        // Left edge and width are the same number, so only the part from R to the window's
        // right edge is seen.
        const int32_t r = static_cast<int32_t>(wd * VIEW_RIGHT_EDGE_FACTOR);
        pass.x = r;
        pass.y = h / 2;
        pass.width = r;
        pass.height = h / 2;
        pass.aspect = wd / (hd * VIEW_RIGHT_ASPECT_FACTOR);
        pass.zNear = VIEW_MIRROR_NEAR;
        pass.zFar = VIEW_MIRROR_FAR;
        setMirrorCamera(pass, VIEW_RIGHT_CAMERA, eyeZ);
        return pass;
    }
    pass.x = 0;
    pass.y = 0;
    pass.width = w;
    pass.height = h;
    pass.aspect = wd / hd;
    pass.zNear = VIEW_MAIN_NEAR;
    pass.zFar = VIEW_MAIN_FAR;
    pass.eyeX = viewState.cameraEyeX;
    pass.eyeY = viewState.cameraEyeY;
    pass.eyeZ = eyeZ;
    pass.centreX = viewState.cameraLookX;
    pass.centreY = 2.0f * bus.pitchSway;  // the main view nods with the suspension
    pass.centreZ = viewState.cameraLookZ;
    pass.offsetZ = viewState.cameraOffsetZ;
    return pass;
}
