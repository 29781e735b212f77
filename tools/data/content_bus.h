// The generated buses: one style record per bus (shape, livery, the geometry numbers of its
// parameter file), the window and door layout both the paint and the models follow, and the two
// halves of the work: painting the textures and building the 13 models.
//
// All lengths here are in the bus frame as the game draws it (+X right, +Y up, -Z forward, the cab
// eye at z = -5); the body models are written with 4 added to Z (see tools/common/bus_designs.h).
#pragma once

#include "assets/bus_pivots.h"
#include "tools/data/content_paint.h"
#include "tools/data/content_shapes.h"

#include <string>
#include <vector>

struct BusStyle {
    std::string folder;  // "Dane/Autobusy/Volvo7000/"
    float frontZ;        // front face at the bottom
    float rearZ;
    float rake;          // how far the front face leans back at the roof edge
    float corner;        // chamfer of the plan's corners
    float roofY;         // top of the roof (the side walls end at BUS_EAVES_Y)
    bool roofPod;        // air-conditioning pod on the roof
    Rgb body, band, skirt, accent, seat, seatShell;
    uint32_t seed;
    // The parameter file's geometry numbers (bus_designs.h).
    float frontLeftWheelZ, frontRightWheelZ, rearWheelsZ;
    float doorCentreZ[3];
};

constexpr float BUS_HALF_WIDTH = 1.47f;
constexpr float BUS_SKIRT_Y = 0.3f;
constexpr float BUS_EAVES_Y = 2.9f;
constexpr float BUS_TEX_HEIGHT = 3.0f;  // side pictures cover y 0..3
constexpr float BUS_FLOOR_Y = 0.42f;
constexpr float BUS_CEILING_Y = 2.78f;
constexpr float BUS_INNER_X = 1.42f;
constexpr float BUS_WINDOW_BOTTOM = 1.28f;
constexpr float BUS_WINDOW_TOP = 2.62f;
constexpr float BUS_DOOR_TOP = 2.5f;
constexpr float BUS_WINDSCREEN_BOTTOM = 1.2f;
constexpr float BUS_WINDSCREEN_TOP = 2.7f;
constexpr float BUS_ARCH_RADIUS = 0.62f;
constexpr float BUS_WHEEL_RADIUS = 0.45f;

// A span along the bus's side, z0 < z1.
struct Span {
    float z0, z1;
};

// What the paint and the models share about one bus.
struct BusLayout {
    BusStyle style;
    float frontAxleZ, rearAxleZ;
    std::vector<Span> doors;        // right side, the three openings front to back
    std::vector<Span> windowsLeft;  // glass panes
    std::vector<Span> windowsRight;
    float sideZ0, sideZ1;           // where the straight side walls begin and end (after the chamfers)
};

BusLayout makeBusLayout(const BusStyle& style);
// Front face z at height y (the face leans back by `rake` up to the eaves).
float busFrontZAt(const BusLayout& l, float y);

// Texture slots of a bus's list, filled by paintBusTextures.
struct BusTextures {
    int sideRight, sideLeft, front, rear, roof;
    int tyre, wheelCap, archWell, blackPlastic, mirrorGlass, chrome;
    int wallRight, wallLeft, wallFront, wallRear, floor, ceiling, seat, seatShell, pole, greyPlastic;
    int dash, dial, needle, steeringWheel, doorOutside, doorInside;
    int lampHead, lampIndicator, lampBrake, lampReverse;
    int doorLamp[3];
    int podSide;
};

BusTextures paintBusTextures(TextureSet& set, const BusLayout& l);

// A see-through hole of a saloon wall picture where the wall's geometry is cut away, in the wall's
// own lengths: a along the wall (z for the sides, x for the front and rear), y up. The cut stays
// a little inside the keyed texels, so the picture's own edge still shapes the window; what the
// cut saves is filling the window's pixels only to throw them away.
struct WallHole {
    float a0, a1, y0, y1;
};
std::vector<WallHole> sideWallHoles(const BusLayout& l, bool right);
WallHole windscreenHole(const BusLayout& l);
WallHole rearWindowHole();
// Writes the 13 model files of the bus into dir + style.folder.
void buildBusModels(const std::string& dir, const BusLayout& l, const BusTextures& t);
