// Painting the buses' textures: liveries on the sides, front and rear with their unlit lamps, glass,
// the cab (dashboard, speedometer, steering wheel), the saloon (walls with see-through windows,
// floor, ceiling, seats) and the lamps' lit faces.
#include "tools/data/content_bus.h"
#include "tools/data/content_stops.h"
#include "tools/data/content_text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr int SIDE_W = 512;
constexpr int SIDE_H = 128;

constexpr Rgb GLASS{28, 38, 46};
constexpr Rgb GLASS_LIGHT{70, 86, 98};
constexpr Rgb RUBBER{22, 22, 24};

int sideX(const BusLayout& l, float z)
{
    return static_cast<int>(std::lround((z - l.style.frontZ) / (l.style.rearZ - l.style.frontZ) * SIDE_W));
}

int sideY(float y)
{
    return static_cast<int>(std::lround((1.0f - y / BUS_TEX_HEIGHT) * SIDE_H));
}

// Front and rear pictures map x in [-W, W] to the width and y in [0, 3] to the height.
int capX(float x, int w)
{
    return static_cast<int>(std::lround((x + BUS_HALF_WIDTH) / (2 * BUS_HALF_WIDTH) * w));
}
int capY(float y, int h)
{
    return static_cast<int>(std::lround((1.0f - y / BUS_TEX_HEIGHT) * h));
}

struct TexelRect {
    int x0, y0, x1, y1;  // [x0, x1) x [y0, y1), rows from the top
};

// The glass of one side pane in the side picture.
TexelRect paneTexels(const BusLayout& l, bool right, const Span& w)
{
    TexelRect r{sideX(l, w.z0), sideY(BUS_WINDOW_TOP), sideX(l, w.z1), sideY(BUS_WINDOW_BOTTOM)};
    // The driver's window reaches lower.
    if (!right && w.z0 < l.style.frontZ + 1.0f)
        r.y1 = sideY(BUS_WINDSCREEN_BOTTOM);
    return r;
}

TexelRect windscreenTexels(const BusLayout& l, int w, int h)
{
    const float wx = BUS_HALF_WIDTH - l.style.corner - 0.02f;
    return TexelRect{capX(-wx, w), capY(BUS_WINDSCREEN_TOP, h), capX(wx, w), capY(BUS_WINDSCREEN_BOTTOM, h)};
}

TexelRect rearWindowTexels(int w, int h)
{
    return TexelRect{capX(-1.05f, w), capY(2.55f, h), capX(1.05f, w), capY(1.75f, h)};
}

// Keyed texels stay this many full-size texels inside the cut: the half-size picture and the
// filtering then find the same edge as before.
constexpr int HOLE_MARGIN = 2;

void glassPane(Picture& p, int x0, int y0, int x1, int y1, uint32_t seed)
{
    fillBox(p, x0, y0, x1, y1, RUBBER);
    gradientBox(p, x0 + 1, y0 + 1, x1 - 1, y1 - 1, GLASS_LIGHT, GLASS);
    // A slanted sky reflection.
    for (int y = y0 + 1; y < y1 - 1; ++y)
        for (int x = x0 + 1; x < x1 - 1; ++x) {
            const int d = (x - x0) + (y - y0) * 2;
            if ((d + static_cast<int>(seed % 13)) % 40 < 7)
                blendPixel(p, x, y, Rgb{150, 170, 185}, 0.25f);
        }
}

Picture paintSide(const BusLayout& l, bool right, bool inside)
{
    const BusStyle& s = l.style;
    Picture p = inside ? noisePicture(SIDE_W, SIDE_H, Rgb{196, 198, 192}, 0.03f, 16, s.seed + 3)
                       : noisePicture(SIDE_W, SIDE_H, s.body, 0.025f, 16, s.seed + 1);
    const int sill = sideY(BUS_WINDOW_BOTTOM), top = sideY(BUS_WINDOW_TOP);
    if (!inside) {
        // Livery: skirt, a band round the windows, an accent line under them.
        fillBox(p, 0, sideY(0.62f), SIDE_W, SIDE_H, s.skirt);
        fillBox(p, 0, top - 6, SIDE_W, sill + 5, s.band);
        fillBox(p, 0, sill + 8, SIDE_W, sill + 12, s.accent);
        fillBox(p, 0, sideY(0.75f), SIDE_W, sideY(0.62f), scaleRgb(s.body, 0.8f));
        // Panel seams.
        for (float z = s.frontZ + 1.5f; z < s.rearZ; z += 1.5f)
            fillBox(p, sideX(l, z), sill + 12, sideX(l, z) + 1, sideY(0.62f), scaleRgb(s.body, 0.85f));
        // Fuel flap on the left, engine grille at the rear on the left.
        if (!right) {
            frameBox(p, sideX(l, l.frontAxleZ + 1.2f), sideY(0.95f), sideX(l, l.frontAxleZ + 1.6f), sideY(0.65f), 1,
                     scaleRgb(s.body, 0.7f));
            const int gx0 = sideX(l, s.rearZ - 1.5f), gx1 = sideX(l, s.rearZ - 0.35f);
            fillBox(p, gx0, sideY(1.2f), gx1, sideY(0.7f), Rgb{40, 40, 42});
            for (int y = sideY(1.2f) + 1; y < sideY(0.7f); y += 3)
                fillBox(p, gx0, y, gx1, y + 1, Rgb{80, 80, 84});
        }
    } else {
        // Saloon wall: plastic below the windows, a kick strip at the floor, adverts above.
        fillBox(p, 0, sideY(BUS_FLOOR_Y + 0.15f), SIDE_W, SIDE_H, Rgb{70, 72, 76});
        fillBox(p, 0, sill, SIDE_W, sill + 4, Rgb{120, 122, 126});
        fillBox(p, 0, sideY(BUS_CEILING_Y), SIDE_W, top - 3, Rgb{225, 225, 218});
        Rng rng(s.seed + (right ? 11u : 17u));
        for (float z = s.frontZ + 2.0f; z < s.rearZ - 1.0f; z += 1.8f) {
            const int x0 = sideX(l, z), x1 = sideX(l, z + 1.2f);
            const Rgb ad{static_cast<uint8_t>(rng.range(60, 240)), static_cast<uint8_t>(rng.range(60, 240)),
                         static_cast<uint8_t>(rng.range(60, 240))};
            fillBox(p, x0, sideY(BUS_CEILING_Y) + 1, x1, top - 4, ad);
            fillBox(p, x0 + 3, sideY(BUS_CEILING_Y) + 3, x0 + (x1 - x0) / 2, top - 6, scaleRgb(ad, 0.6f));
        }
    }
    const std::vector<Span>& panes = right ? l.windowsRight : l.windowsLeft;
    uint32_t k = 0;
    for (const Span& w : panes) {
        const TexelRect r = paneTexels(l, right, w);
        const int x0 = r.x0, x1 = r.x1, y0 = r.y0, y1 = r.y1;
        if (inside) {
            fillBox(p, x0 - 2, y0 - 2, x1 + 2, y1 + 2, Rgb{60, 60, 64});
            fillBox(p, x0, y0, x1, y1, KEY_BLACK);
        } else {
            glassPane(p, x0, y0, x1, y1, s.seed + k);
            // Top-hinged vent in every other pane.
            if (k % 2 == 1)
                fillBox(p, x0 + 1, y0 + (y1 - y0) / 4, x1 - 1, y0 + (y1 - y0) / 4 + 1, RUBBER);
        }
        ++k;
    }
    if (right)
        for (const Span& d : l.doors) {
            // The door header and a frame round the opening (the opening itself has no wall).
            const int x0 = sideX(l, d.z0), x1 = sideX(l, d.z1);
            fillBox(p, x0 - 2, sideY(BUS_DOOR_TOP + 0.1f), x1 + 2, sideY(BUS_DOOR_TOP), RUBBER);
            if (!inside)
                fillBox(p, x0 + 4, sideY(BUS_DOOR_TOP + 0.32f), x1 - 4, sideY(BUS_DOOR_TOP + 0.14f), Rgb{40, 40, 40});
        }
    // Wheel arch trims.
    if (!inside)
        for (float az : {l.frontAxleZ, l.rearAxleZ}) {
            const float cx = static_cast<float>(sideX(l, az)), cy = static_cast<float>(sideY(BUS_WHEEL_HUB_Y));
            const float r = BUS_ARCH_RADIUS / BUS_TEX_HEIGHT * SIDE_H;
            fillRing(p, cx, cy, r + 3, 4, RUBBER);
        }
    return p;
}

void lampBlob(Picture& p, float x0, float y0, float x1, float y1, Rgb c)
{
    fillBox(p, static_cast<int>(x0) - 1, static_cast<int>(y0) - 1, static_cast<int>(x1) + 1, static_cast<int>(y1) + 1,
            RUBBER);
    gradientBox(p, static_cast<int>(x0), static_cast<int>(y0), static_cast<int>(x1), static_cast<int>(y1),
                scaleRgb(c, 1.0f), scaleRgb(c, 0.7f));
}

Picture paintFront(const BusLayout& l, bool inside)
{
    const BusStyle& s = l.style;
    const int W = 256, H = 256;
    Picture p = inside ? noisePicture(W, H, Rgb{60, 62, 66}, 0.03f, 8, s.seed + 5)
                       : noisePicture(W, H, s.body, 0.025f, 8, s.seed + 4);
    const TexelRect screen = windscreenTexels(l, W, H);
    const int x0 = screen.x0, x1 = screen.x1, yTop = screen.y0, yBot = screen.y1;
    if (!inside) {
        fillBox(p, 0, capY(0.62f, H), W, H, s.skirt);
        fillBox(p, 0, capY(1.05f, H), W, capY(0.95f, H), s.accent);
        // Windscreen with the destination display above it.
        fillBox(p, x0 - 3, capY(BUS_EAVES_Y, H), x1 + 3, yBot + 3, RUBBER);
        glassPane(p, x0, yTop, x1, yBot, s.seed);
        fillBox(p, (x0 + x1) / 2 - 1, yTop, (x0 + x1) / 2 + 1, yBot, RUBBER);  // centre pillar of the split screen
        const int dy0 = capY(BUS_EAVES_Y - 0.04f, H), dy1 = yTop - 3;
        fillBox(p, x0 + 6, dy0, x1 - 6, dy1, Rgb{14, 12, 8});
        const int led = (dy1 - dy0) * 8 / 10;
        drawText(p, lineRef(), x0 + 12, dy1 - (dy1 - dy0 - led) / 2 - 2, led, Rgb{255, 170, 20}, FACE_MONO_BOLD);
        drawText(p, lineDestination("CENTRUM"), x0 + 12 + textWidth(lineRef() + " ", led, FACE_MONO_BOLD), dy1 - (dy1 - dy0 - led) / 2 - 2,
                 led * 8 / 10, Rgb{255, 170, 20}, FACE_MONO_BOLD);
        // Unlit lamps: headlamps, indicators at the outer ends.
        const float ly0 = static_cast<float>(capY(0.8f, H)), ly1 = static_cast<float>(capY(0.58f, H));
        for (int side = -1; side <= 1; side += 2) {
            const float hx = side * (BUS_HALF_WIDTH - s.corner - 0.45f);
            const float a = static_cast<float>(capX(hx - 0.22f, W)), b = static_cast<float>(capX(hx + 0.22f, W));
            lampBlob(p, a, ly0, b, ly1, Rgb{200, 205, 210});
            const float ix = side * (BUS_HALF_WIDTH - s.corner - 0.1f);
            lampBlob(p, static_cast<float>(capX(ix - 0.1f, W)), ly0, static_cast<float>(capX(ix + 0.1f, W)), ly1,
                     Rgb{200, 130, 40});
        }
        // Fleet number plate.
        fillBox(p, capX(-0.3f, W), capY(0.5f, H), capX(0.3f, W), capY(0.38f, H), Rgb{235, 235, 235});
        drawTextCentred(p, "WX 1280", W / 2, capY(0.4f, H), 11, Rgb{20, 20, 20}, FACE_SANS_BOLD);
    } else {
        fillBox(p, x0 - 4, yTop - 4, x1 + 4, yBot + 4, Rgb{30, 30, 32});
        fillBox(p, x0, yTop, x1, yBot, KEY_BLACK);
        // The destination box seen from inside.
        fillBox(p, x0, capY(BUS_EAVES_Y, H), x1, yTop - 4, Rgb{45, 45, 48});
    }
    return p;
}

Picture paintRear(const BusLayout& l, bool inside)
{
    const BusStyle& s = l.style;
    const int W = 256, H = 256;
    Picture p = inside ? noisePicture(W, H, Rgb{196, 198, 192}, 0.03f, 8, s.seed + 7)
                       : noisePicture(W, H, s.body, 0.025f, 8, s.seed + 6);
    const TexelRect window = rearWindowTexels(W, H);
    const int x0 = window.x0, x1 = window.x1, yTop = window.y0, yBot = window.y1;
    if (inside) {
        fillBox(p, 0, capY(BUS_FLOOR_Y + 0.15f, H), W, H, Rgb{70, 72, 76});
        fillBox(p, x0 - 3, yTop - 3, x1 + 3, yBot + 3, Rgb{60, 60, 64});
        fillBox(p, x0, yTop, x1, yBot, KEY_BLACK);
        return p;
    }
    fillBox(p, 0, capY(0.62f, H), W, H, s.skirt);
    glassPane(p, x0, yTop, x1, yBot, s.seed + 2);
    // Route number box in the rear window.
    fillBox(p, x1 - 44, yTop + 4, x1 - 4, yTop + 24, Rgb{14, 12, 8});
    drawText(p, lineRef(), x1 - 42, yTop + 21, 18, Rgb{255, 170, 20}, FACE_MONO_BOLD);
    // Engine compartment lid with louvres.
    const int gy0 = capY(1.55f, H), gy1 = capY(0.75f, H);
    fillBox(p, capX(-1.1f, W), gy0, capX(1.1f, W), gy1, scaleRgb(s.body, 0.85f));
    for (int y = gy0 + 6; y < gy0 + 30; y += 4)
        fillBox(p, capX(-0.6f, W), y, capX(0.6f, W), y + 2, Rgb{40, 40, 42});
    // Lamp clusters: brake (top), indicator, reversing (bottom).
    for (int side = -1; side <= 1; side += 2) {
        const float cx = side * 1.18f;
        const float a = static_cast<float>(capX(cx - 0.14f, W)), b = static_cast<float>(capX(cx + 0.14f, W));
        lampBlob(p, a, static_cast<float>(capY(1.5f, H)), b, static_cast<float>(capY(1.2f, H)), Rgb{150, 30, 30});
        lampBlob(p, a, static_cast<float>(capY(1.18f, H)), b, static_cast<float>(capY(1.0f, H)), Rgb{200, 130, 40});
        lampBlob(p, a, static_cast<float>(capY(0.98f, H)), b, static_cast<float>(capY(0.85f, H)), Rgb{210, 210, 210});
    }
    fillBox(p, capX(-0.3f, W), capY(0.58f, H), capX(0.3f, W), capY(0.46f, H), Rgb{235, 235, 235});
    drawTextCentred(p, "WX 1280", W / 2, capY(0.48f, H), 11, Rgb{20, 20, 20}, FACE_SANS_BOLD);
    return p;
}

Picture paintDash()
{
    // The cab's dashboard face, seen by the driver: matte black so the steering wheel's corners
    // disappear against it; switches and warning lamps to the right of the wheel.
    Picture p = noisePicture(256, 128, Rgb{16, 16, 18}, 0.06f, 8, 91);
    Rng rng(93);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 8; ++col) {
            const int x = 150 + col * 12, y = 30 + row * 14;
            fillBox(p, x, y, x + 9, y + 10, Rgb{44, 44, 48});
            const uint32_t kind = rng.next() % 5;
            const Rgb led = kind == 0 ? Rgb{200, 40, 30} : kind == 1 ? Rgb{40, 180, 60} : Rgb{70, 70, 74};
            fillBox(p, x + 3, y + 2, x + 6, y + 4, led);
        }
    fillBox(p, 0, 0, 256, 4, Rgb{30, 30, 33});
    return p;
}

Picture paintDial()
{
    const int N = 128;
    Picture p(N, N, 0, 0, 0);
    const float c = N / 2.0f, r = N / 2.0f - 1;
    fillDisc(p, c, c, r, Rgb{60, 60, 64});
    fillDisc(p, c, c, r - 4, Rgb{12, 12, 14});
    // 0 km/h points left, every 10 km/h is 18 degrees clockwise; the scale ends at 100 on the right.
    for (int k = 0; k <= 20; ++k) {
        const float a = PI - k * (PI / 20.0f);
        const float outer = r - 7, inner = k % 2 == 0 ? r - 17 : r - 12;
        drawLine(p, c + std::cos(a) * inner, c - std::sin(a) * inner, c + std::cos(a) * outer, c - std::sin(a) * outer,
                 k % 2 == 0 ? 2.2f : 1.2f, Rgb{235, 235, 235});
        if (k % 4 == 0) {
            const std::string label = std::to_string(k * 5);
            drawTextCentred(p, label, static_cast<int>(c + std::cos(a) * (r - 28)),
                            static_cast<int>(c - std::sin(a) * (r - 28)) + 5, 12, Rgb{235, 235, 235}, FACE_SANS_BOLD);
        }
    }
    // The red zone above the town limit.
    for (int k = 13; k <= 20; ++k) {
        const float a = PI - k * (PI / 20.0f);
        drawLine(p, c + std::cos(a) * (r - 6), c - std::sin(a) * (r - 6), c + std::cos(a) * (r - 5),
                 c - std::sin(a) * (r - 5), 3.0f, Rgb{200, 40, 30});
    }
    drawTextCentred(p, "km/h", N / 2, N / 2 + 26, 12, Rgb{200, 200, 200}, FACE_SANS);
    fillBox(p, N / 2 - 18, N / 2 + 32, N / 2 + 18, N / 2 + 44, Rgb{30, 30, 30});
    drawTextCentred(p, "012804", N / 2, N / 2 + 42, 10, Rgb{220, 220, 220}, FACE_MONO_BOLD);
    fillDisc(p, c, c, 6, Rgb{150, 150, 150});
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const Rgb q = getPixel(p, x, y);
            if (std::hypot(x + 0.5f - c, y + 0.5f - c) > r - 0.5f)
                putPixel(p, x, y, KEY_BLACK);
            else if (q.r == 0 && q.g == 0 && q.b == 0)
                putPixel(p, x, y, Rgb{1, 1, 1});
        }
    return p;
}

Picture paintSteeringWheel()
{
    const int N = 128;
    Picture p(N, N, 0, 0, 0);
    const float c = N / 2.0f;
    fillRing(p, c, c, c - 2, 11, Rgb{34, 34, 36});
    fillRing(p, c, c, c - 4, 3, Rgb{58, 58, 62});
    // Three spokes: left, right and down, and the hub.
    drawLine(p, c - (c - 10), c + 4, c, c + 4, 9, Rgb{40, 40, 44});
    drawLine(p, c, c + 4, c + (c - 10), c + 4, 9, Rgb{40, 40, 44});
    drawLine(p, c, c, c, c + (c - 8), 11, Rgb{40, 40, 44});
    fillDisc(p, c, c + 4, 19, Rgb{46, 46, 50});
    fillRing(p, c, c + 4, 19, 2, Rgb{90, 90, 95});
    fillDisc(p, c, c + 4, 6, Rgb{160, 160, 165});
    return p;
}

Picture paintDoorLeaf(const BusLayout& l, bool inside)
{
    // 64 x 256 covering the leaf's 0.6 x 2.2 (y 0.3 to 2.5): glass over most of it, see-through.
    const BusStyle& s = l.style;
    Picture p = noisePicture(64, 256, inside ? Rgb{150, 152, 150} : s.body, 0.02f, 4, s.seed + 9);
    fillBox(p, 0, 0, 64, 4, RUBBER);
    fillBox(p, 0, 252, 64, 256, RUBBER);
    fillBox(p, 0, 0, 3, 256, RUBBER);
    fillBox(p, 61, 0, 64, 256, RUBBER);
    fillBox(p, 8, 12, 56, 140, KEY_BLACK);
    fillBox(p, 8, 150, 56, 232, KEY_BLACK);
    fillBox(p, 6, 140, 58, 150, inside ? Rgb{230, 190, 30} : Rgb{200, 200, 200});  // grab bar
    if (!inside)
        fillBox(p, 0, 232, 64, 252, s.skirt);
    return p;
}

Picture paintLamp(Rgb core, Rgb edge)
{
    // A lit lens: bright core fading to the lamp's colour at the rim (never to black, since the
    // lamps are drawn without blending in the alpha-test mode).
    const int N = 32;
    Picture p(N, N);
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            const float d = std::hypot(x + 0.5f - N / 2.0f, y + 0.5f - N / 2.0f) / (N / 2.0f);
            putPixel(p, x, y, mixRgb(core, edge, std::clamp(d * 1.2f, 0.0f, 1.0f)));
        }
    return p;
}

Picture paintDoorLamp(int door)
{
    Picture p(64, 64, 20, 20, 20);
    fillDisc(p, 32, 32, 29, Rgb{40, 230, 80});
    fillDisc(p, 32, 32, 22, Rgb{150, 255, 170});
    drawTextCentred(p, std::to_string(door), 32, 46, 38, Rgb{10, 70, 20}, FACE_SANS_BOLD);
    return p;
}

Picture paintTyre()
{
    Picture p = noisePicture(64, 64, Rgb{30, 30, 32}, 0.1f, 4, 71);
    for (int x = 0; x < 64; x += 8)
        fillBox(p, x, 0, x + 3, 64, Rgb{18, 18, 19});
    for (int y = 14; y < 64; y += 18)
        fillBox(p, 0, y, 64, y + 2, Rgb{18, 18, 19});
    return p;
}

Picture paintWheelCap(Rgb hub)
{
    const int N = 128;
    Picture p(N, N, 28, 28, 30);
    const float c = N / 2.0f;
    fillDisc(p, c, c, 44, Rgb{150, 152, 156});
    fillDisc(p, c, c, 36, hub);
    fillRing(p, c, c, 36, 2, Rgb{90, 90, 94});
    for (int k = 0; k < 10; ++k) {
        const float a = k * 2 * PI / 10;
        fillDisc(p, c + std::cos(a) * 26, c + std::sin(a) * 26, 3, Rgb{200, 200, 204});
    }
    fillDisc(p, c, c, 12, Rgb{120, 120, 124});
    return p;
}

Picture paintSeat(Rgb base, uint32_t seed)
{
    Picture p = noisePicture(64, 64, base, 0.12f, 8, seed);
    Rng rng(seed + 1);
    for (int i = 0; i < 40; ++i) {
        const float x = rng.range(0, 64), y = rng.range(0, 64);
        drawLine(p, x, y, x + rng.range(-6, 6), y + rng.range(-6, 6), 1.5f,
                 i % 2 ? scaleRgb(base, 1.6f) : Rgb{230, 200, 40});
    }
    return p;
}

Picture paintFloor(uint32_t seed)
{
    Picture p = noisePicture(128, 128, Rgb{92, 96, 104}, 0.05f, 8, seed);
    Rng rng(seed);
    for (int i = 0; i < 500; ++i) {
        const int x = static_cast<int>(rng.range(0, 128)), y = static_cast<int>(rng.range(0, 128));
        putPixel(p, x, y, rng.next() % 2 ? Rgb{150, 150, 150} : Rgb{50, 52, 56});
    }
    return p;
}

Picture paintCeiling()
{
    Picture p = noisePicture(128, 128, Rgb{215, 215, 208}, 0.02f, 4, 55);
    fillBox(p, 0, 40, 128, 88, Rgb{190, 190, 185});
    fillBox(p, 4, 54, 124, 74, Rgb{255, 252, 235});  // light strip along the middle
    fillBox(p, 63, 0, 65, 128, Rgb{170, 170, 166});
    return p;
}

Picture paintRoof(Rgb base)
{
    Picture p = noisePicture(128, 128, base, 0.05f, 8, 61);
    for (int y = 0; y < 128; y += 32)
        fillBox(p, 0, y, 128, y + 1, scaleRgb(base, 0.8f));
    return p;
}

Picture paintPodSide()
{
    Picture p = noisePicture(128, 32, Rgb{200, 202, 205}, 0.03f, 4, 63);
    for (int x = 8; x < 120; x += 6)
        fillBox(p, x, 10, x + 3, 24, Rgb{90, 92, 96});
    return p;
}

}  // namespace

BusTextures paintBusTextures(TextureSet& set, const BusLayout& l)
{
    const BusStyle& s = l.style;
    BusTextures t{};
    t.sideRight = set.add("bok_prawy", paintSide(l, true, false));
    t.sideLeft = set.add("bok_lewy", paintSide(l, false, false));
    t.front = set.add("przod", paintFront(l, false));
    t.rear = set.add("tyl", paintRear(l, false));
    t.roof = set.add("dach", paintRoof(Rgb{205, 207, 210}));
    t.tyre = set.add("opona", paintTyre());
    t.wheelCap = set.add("felga", paintWheelCap(scaleRgb(s.body, 0.9f)));
    t.archWell = set.add("nadkole", noisePicture(32, 32, Rgb{24, 24, 26}, 0.1f, 4, 81));
    t.blackPlastic = set.add("plastik", noisePicture(32, 32, Rgb{36, 36, 38}, 0.08f, 4, 83));
    t.mirrorGlass = set.add("lustro", [&s] {
        // What the mirror shows, roughly: sky, a building line, the road and the bus's flank.
        Picture p(32, 64);
        gradientBox(p, 0, 0, 32, 26, Rgb{150, 180, 215}, Rgb{200, 214, 226});
        fillBox(p, 0, 18, 32, 34, Rgb{176, 150, 120});
        fillBox(p, 0, 34, 32, 64, Rgb{96, 96, 100});
        fillPolygon(p, {22, 8, 32, 0, 32, 64, 26, 64}, s.body);
        frameBox(p, 0, 0, 32, 64, 2, RUBBER);
        return p;
    }());
    t.chrome = set.add("chrom", noisePicture(32, 32, Rgb{170, 172, 176}, 0.1f, 4, 85));
    t.wallRight = set.add("sciana_prawa", paintSide(l, true, true), true);
    t.wallLeft = set.add("sciana_lewa", paintSide(l, false, true), true);
    t.wallFront = set.add("sciana_przod", paintFront(l, true), true);
    t.wallRear = set.add("sciana_tyl", paintRear(l, true), true);
    t.floor = set.add("podloga", paintFloor(s.seed + 20));
    t.ceiling = set.add("sufit", paintCeiling());
    t.seat = set.add("siedzenie", paintSeat(s.seat, s.seed + 30));
    t.seatShell = set.add("siedzenie_tyl", noisePicture(32, 32, s.seatShell, 0.05f, 4, s.seed + 31));
    t.pole = set.add("porecz", [] {
        Picture p(16, 16);
        gradientBox(p, 0, 0, 16, 16, Rgb{250, 210, 40}, Rgb{220, 170, 20});
        return p;
    }());
    t.greyPlastic = set.add("szary", noisePicture(32, 32, Rgb{120, 122, 126}, 0.05f, 4, 87));
    t.dash = set.add("deska", paintDash());
    t.dial = set.add("predkosciomierz", paintDial(), true);
    t.needle = set.add("wskazowka", Picture(16, 16, 240, 60, 30));
    t.steeringWheel = set.add("kierownica", paintSteeringWheel(), true);
    t.doorOutside = set.add("drzwi_zew", paintDoorLeaf(l, false), true);
    t.doorInside = set.add("drzwi_wew", paintDoorLeaf(l, true), true);
    t.lampHead = set.add("lampa_drogowa", paintLamp(Rgb{255, 255, 245}, Rgb{230, 230, 200}));
    t.lampIndicator = set.add("lampa_kierunek", paintLamp(Rgb{255, 230, 150}, Rgb{255, 140, 0}));
    t.lampBrake = set.add("lampa_stop", paintLamp(Rgb{255, 140, 130}, Rgb{230, 10, 10}));
    t.lampReverse = set.add("lampa_cofanie", paintLamp(Rgb{255, 255, 255}, Rgb{220, 225, 235}));
    for (int d = 0; d < 3; ++d)
        t.doorLamp[d] = set.add("drzwi_lampka" + std::to_string(d + 1), paintDoorLamp(d + 1));
    t.podSide = set.add("klimatyzacja", paintPodSide());
    return t;
}

namespace {

WallHole sideHole(const BusLayout& l, const TexelRect& r)
{
    const float len = l.style.rearZ - l.style.frontZ;
    return WallHole{l.style.frontZ + static_cast<float>(r.x0 + HOLE_MARGIN) / SIDE_W * len,
                    l.style.frontZ + static_cast<float>(r.x1 - HOLE_MARGIN) / SIDE_W * len,
                    (1.0f - static_cast<float>(r.y1 - HOLE_MARGIN) / SIDE_H) * BUS_TEX_HEIGHT,
                    (1.0f - static_cast<float>(r.y0 + HOLE_MARGIN) / SIDE_H) * BUS_TEX_HEIGHT};
}

// Front and rear pictures are 256 square and span x in [-W, W].
WallHole capHole(const TexelRect& r)
{
    constexpr float N = 256.0f;
    return WallHole{static_cast<float>(r.x0 + HOLE_MARGIN) / N * 2 * BUS_HALF_WIDTH - BUS_HALF_WIDTH,
                    static_cast<float>(r.x1 - HOLE_MARGIN) / N * 2 * BUS_HALF_WIDTH - BUS_HALF_WIDTH,
                    (1.0f - static_cast<float>(r.y1 - HOLE_MARGIN) / N) * BUS_TEX_HEIGHT,
                    (1.0f - static_cast<float>(r.y0 + HOLE_MARGIN) / N) * BUS_TEX_HEIGHT};
}

}  // namespace

std::vector<WallHole> sideWallHoles(const BusLayout& l, bool right)
{
    std::vector<WallHole> out;
    for (const Span& w : right ? l.windowsRight : l.windowsLeft)
        out.push_back(sideHole(l, paneTexels(l, right, w)));
    return out;
}

WallHole windscreenHole(const BusLayout& l)
{
    return capHole(windscreenTexels(l, 256, 256));
}

WallHole rearWindowHole()
{
    return capHole(rearWindowTexels(256, 256));
}
