#include "tools/data/content_route_paint.h"

#include "tools/data/content_stops.h"
#include "tools/data/content_text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr Rgb WHITE_PAINT{228, 228, 222};

Picture paintAsphalt(int n, uint32_t seed)
{
    Picture p = noisePicture(n, n, Rgb{78, 78, 82}, 0.10f, 16, seed);
    addGrain(p, 0, 0, n, n, 0.08f, seed + 1);
    return p;
}

// The loop road, 8 units across: edge lines and a dashed lane line; t repeats every 8 units.
Picture paintRoad()
{
    Picture p = paintAsphalt(256, 11);
    const int line = 5;  // 0.15 units
    fillBox(p, 10, 0, 10 + line, 256, WHITE_PAINT);
    fillBox(p, 256 - 10 - line, 0, 256 - 10, 256, WHITE_PAINT);
    fillBox(p, 128 - 2, 0, 128 + 3, 96, WHITE_PAINT);
    // Tyre-worn strips in each lane.
    for (int c : {64, 192})
        for (int d : {-22, 22})
            blendBox(p, c + d - 6, 0, c + d + 6, 256, Rgb{60, 60, 64}, 0.35f);
    addGrain(p, 0, 0, 256, 256, 0.05f, 12);
    return p;
}

Picture paintStripes(bool zebra)
{
    Picture p = paintAsphalt(128, 13);
    if (zebra)
        for (int x = 8; x < 128; x += 32)
            fillBox(p, x, 0, x + 16, 128, WHITE_PAINT);
    else
        fillBox(p, 0, 0, 128, 128, WHITE_PAINT);
    addGrain(p, 0, 0, 128, 128, 0.06f, 14);
    return p;
}

Picture paintGrass()
{
    Picture p = noisePicture(256, 256, Rgb{72, 118, 48}, 0.18f, 8, 21);
    Rng rng(22);
    for (int i = 0; i < 3000; ++i) {
        const int x = static_cast<int>(rng.range(0, 256)), y = static_cast<int>(rng.range(0, 256));
        putPixel(p, x, y, rng.next() % 3 ? Rgb{96, 150, 62} : Rgb{58, 92, 40});
    }
    return p;
}

Picture paintPavement()
{
    // 128 pixels for 2 units: slabs of half a unit.
    Picture p = noisePicture(128, 128, Rgb{162, 160, 152}, 0.05f, 8, 31);
    for (int k = 0; k < 128; k += 32) {
        fillBox(p, k, 0, k + 1, 128, Rgb{120, 118, 112});
        fillBox(p, 0, k, 128, k + 1, Rgb{120, 118, 112});
    }
    addGrain(p, 0, 0, 128, 128, 0.05f, 32);
    return p;
}

struct FacadeStyle {
    Rgb wall, frame, sill;
    bool bricks;
    int shop;  // which shop sign
};

const FacadeStyle FACADES[ROUTE_FACADE_STYLES] = {
    {{214, 196, 150}, {240, 236, 224}, {170, 150, 110}, false, 0},
    {{176, 86, 62}, {230, 222, 208}, {120, 60, 45}, true, 1},
    {{170, 174, 178}, {90, 94, 100}, {130, 132, 136}, false, 2},
    {{204, 168, 96}, {250, 246, 236}, {160, 120, 60}, false, 3},
    {{150, 176, 190}, {245, 245, 245}, {110, 130, 140}, false, 4},
    {{226, 222, 212}, {120, 80, 50}, {180, 176, 166}, false, 5},
};
const char* const SHOP_SIGNS[ROUTE_FACADE_STYLES] = {"PIEKARNIA", "APTEKA", "SKLEP", "KWIATY", "BAR MLECZNY", "KSIĘGARNIA"};

void paintBricks(Picture& p, Rgb base, uint32_t seed)
{
    Rng rng(seed);
    for (int row = 0; row * 8 < p.height; ++row)
        for (int col = -1; col * 16 < p.width; ++col) {
            const int x0 = col * 16 + (row % 2) * 8, y0 = row * 8;
            fillBox(p, x0, y0, x0 + 15, y0 + 7, scaleRgb(base, rng.range(0.85f, 1.1f)));
        }
}

void window(Picture& p, int x0, int y0, int x1, int y1, const FacadeStyle& s, Rng& rng)
{
    fillBox(p, x0 - 3, y0 - 3, x1 + 3, y1 + 3, s.frame);
    const bool lit = rng.next() % 7 == 0;
    gradientBox(p, x0, y0, x1, y1, lit ? Rgb{240, 220, 150} : Rgb{70, 90, 110}, lit ? Rgb{200, 170, 100} : Rgb{36, 48, 60});
    if (!lit && rng.next() % 3 == 0)  // curtains
        fillBox(p, x0, y0, x0 + (x1 - x0) / 3, y1, Rgb{200, 190, 170});
    fillBox(p, (x0 + x1) / 2 - 1, y0, (x0 + x1) / 2 + 2, y1, s.frame);
    fillBox(p, x0, y0 + (y1 - y0) / 3, x1, y0 + (y1 - y0) / 3 + 3, s.frame);
    fillBox(p, x0 - 5, y1 + 3, x1 + 5, y1 + 7, s.sill);
}

// Two floors of three bays: 256 pixels for 9 units across, 6.4 units up.
Picture paintFacade(const FacadeStyle& s, uint32_t seed)
{
    Picture p = noisePicture(256, 256, s.wall, 0.05f, 8, seed);
    if (s.bricks)
        paintBricks(p, s.wall, seed + 1);
    Rng rng(seed + 2);
    for (int floor = 0; floor < 2; ++floor)
        for (int bay = 0; bay < 3; ++bay) {
            const int cx = 43 + bay * 85, top = 26 + floor * 128;
            window(p, cx - 22, top, cx + 22, top + 72, s, rng);
        }
    // A cornice line between floors.
    fillBox(p, 0, 124, 256, 128, scaleRgb(s.wall, 0.8f));
    return p;
}

// The ground floor: 256 x 128 for 9 units across and 4 up: shop windows, a door, the sign.
Picture paintShop(const FacadeStyle& s, uint32_t seed)
{
    Picture p = noisePicture(256, 128, scaleRgb(s.wall, 0.9f), 0.05f, 8, seed);
    if (s.bricks)
        paintBricks(p, scaleRgb(s.wall, 0.9f), seed + 1);
    const Rgb signBg = mixRgb(s.sill, Rgb{30, 60, 110}, 0.6f);
    fillBox(p, 8, 8, 248, 34, signBg);
    drawTextCentred(p, SHOP_SIGNS[s.shop], 128, 29, 20, Rgb{250, 240, 200}, FACE_SANS_BOLD);
    // Windows left and right of a door.
    for (int x : {14, 164}) {
        fillBox(p, x, 44, x + 78, 118, Rgb{60, 60, 64});
        gradientBox(p, x + 3, 47, x + 75, 115, Rgb{120, 140, 150}, Rgb{40, 52, 60});
        Rng rng(seed + static_cast<uint32_t>(x));
        for (int k = 0; k < 6; ++k)  // goods on display
            fillBox(p, x + 8 + k * 11, 96, x + 16 + k * 11, 115,
                    Rgb{static_cast<uint8_t>(rng.range(80, 240)), static_cast<uint8_t>(rng.range(80, 240)),
                        static_cast<uint8_t>(rng.range(80, 240))});
    }
    fillBox(p, 104, 44, 152, 128, Rgb{70, 50, 36});
    fillBox(p, 110, 50, 146, 100, Rgb{90, 110, 120});
    fillBox(p, 0, 122, 256, 128, Rgb{90, 90, 92});
    return p;
}

Picture paintTiles(float shade)
{
    Picture p = noisePicture(128, 128, Rgb{150, 62, 44}, 0.06f, 8, 41);
    for (int y = 0; y < 128; y += 8) {
        fillBox(p, 0, y, 128, y + 2, Rgb{100, 40, 30});
        for (int x = (y / 8) % 2 * 8; x < 128; x += 16)
            fillBox(p, x, y, x + 1, y + 8, Rgb{110, 44, 32});
    }
    for (int i = 0; i < 128 * 128; ++i)
        putPixel(p, i % 128, i / 128, scaleRgb(getPixel(p, i % 128, i / 128), shade));
    return p;
}

Picture paintLeaves(float shade, uint32_t seed)
{
    Picture p = noisePicture(128, 128, scaleRgb(Rgb{52, 104, 40}, shade), 0.3f, 8, seed);
    Rng rng(seed + 1);
    for (int i = 0; i < 900; ++i)
        fillDisc(p, rng.range(0, 128), rng.range(0, 128), rng.range(1.0f, 2.5f),
                 scaleRgb(rng.next() % 2 ? Rgb{84, 140, 56} : Rgb{34, 74, 28}, shade));
    return p;
}

Picture paintStopSign()
{
    // The stop sign: a yellow plate with a green border, a bus and the line number.
    Picture p(128, 128, 250, 210, 30);
    frameBox(p, 0, 0, 128, 128, 8, Rgb{20, 120, 60});
    fillBox(p, 28, 34, 100, 72, Rgb{20, 120, 60});
    fillBox(p, 34, 40, 56, 54, Rgb{250, 210, 30});
    fillBox(p, 60, 40, 94, 54, Rgb{250, 210, 30});
    fillDisc(p, 42, 74, 7, Rgb{20, 20, 20});
    fillDisc(p, 86, 74, 7, Rgb{20, 20, 20});
    drawTextCentred(p, lineRef(), 64, 112, 26, Rgb{20, 20, 20}, FACE_SANS_BOLD);
    return p;
}

Picture paintStopName(const std::string& name)
{
    Picture p(256, 64, 245, 245, 240);
    frameBox(p, 0, 0, 256, 64, 4, Rgb{20, 120, 60});
    int size = 30;
    while (size > 12 && textWidth(name, size, FACE_SANS_BOLD) > 236)
        --size;
    drawTextCentred(p, name, 128, 32 + size / 2 - 2, size, Rgb{20, 40, 30}, FACE_SANS_BOLD);
    return p;
}

Picture paintShelterGlass()
{
    Picture p(128, 128);
    gradientBox(p, 0, 0, 128, 128, Rgb{170, 196, 206}, Rgb{120, 146, 158});
    frameBox(p, 0, 0, 128, 128, 5, Rgb{70, 74, 80});
    for (int d = 0; d < 128; d += 40)
        drawLine(p, static_cast<float>(d), 128, static_cast<float>(d + 60), 0, 6, Rgb{200, 222, 230});
    // An advert in the side panel.
    fillBox(p, 20, 20, 108, 100, Rgb{40, 90, 160});
    drawTextCentred(p, "MIASTO", 64, 66, 18, Rgb{250, 250, 250}, FACE_SANS_BOLD);
    return p;
}

Picture paintDepotWall()
{
    Picture p = noisePicture(256, 256, Rgb{178, 180, 182}, 0.04f, 8, 51);
    for (int x = 0; x < 256; x += 8)
        fillBox(p, x, 0, x + 2, 256, Rgb{150, 152, 156});
    fillBox(p, 0, 20, 256, 60, Rgb{30, 90, 160});
    drawTextCentred(p, "ZAJEZDNIA", 128, 52, 30, Rgb{250, 250, 250}, FACE_SANS_BOLD);
    return p;
}

Picture paintDepotDoor()
{
    Picture p = noisePicture(128, 128, Rgb{200, 160, 40}, 0.04f, 4, 53);
    for (int y = 0; y < 128; y += 10)
        fillBox(p, 0, y, 128, y + 2, Rgb{150, 120, 30});
    frameBox(p, 0, 0, 128, 128, 4, Rgb{60, 60, 60});
    return p;
}

Picture paintPump()
{
    Picture p(64, 128, 200, 30, 30);
    fillBox(p, 8, 16, 56, 56, Rgb{230, 230, 230});
    drawTextCentred(p, "ON", 32, 44, 20, Rgb{20, 20, 20}, FACE_SANS_BOLD);
    fillBox(p, 12, 70, 52, 110, Rgb{40, 40, 40});
    return p;
}

Picture paintLightFace()
{
    // The front of a signal head (0.4 x 1.2 units on 64 x 256 pixels, so the lenses are drawn as
    // ellipses that come out round): three unlit lenses, red at the top.
    Picture p(64, 256, 24, 26, 24);
    const Rgb lens[3] = {{90, 20, 16}, {96, 74, 12}, {14, 70, 30}};
    const float sx = 64 / 0.4f, sy = 256 / 1.2f;
    for (int i = 0; i < 3; ++i) {
        const float cy = (0.2f + 0.4f * i) * sy;
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 64; ++x) {
                const float d = std::hypot((x + 0.5f - 32) / sx, (y + 0.5f - cy) / sy);
                if (d < 0.145f)
                    putPixel(p, x, y, d < 0.13f ? lens[i] : Rgb{10, 10, 10});
            }
    }
    frameBox(p, 0, 0, 64, 256, 3, Rgb{200, 200, 200});
    return p;
}

Picture paintLitLens(Rgb core, Rgb rim)
{
    Picture p(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const float d = std::hypot(x + 0.5f - 32, y + 0.5f - 32) / 32;
            putPixel(p, x, y, mixRgb(Rgb{255, 255, 240}, mixRgb(core, rim, std::min(1.0f, d)), std::min(1.0f, d * 2.5f)));
        }
    return p;
}

// The sky round the viewer: s goes once round, t from the nadir (0) to the zenith (1). The horizon
// (t = 0.5) carries a far skyline; clouds thin out towards the top.
Picture paintSky()
{
    const int W = 512, H = 256;
    Picture p(W, H);
    const int horizon = H / 2;
    for (int y = 0; y < H; ++y) {
        const float elev = static_cast<float>(horizon - y) / horizon;  // 1 at the zenith
        for (int x = 0; x < W; ++x) {
            Rgb c;
            if (elev >= 0) {
                c = mixRgb(Rgb{196, 214, 228}, Rgb{72, 124, 196}, std::pow(elev, 0.6f));
                const float n = fractalNoise(static_cast<float>(x), static_cast<float>(y) * 2.5f, W, 8, 5, 61);
                const float cloud = std::clamp((n - 0.52f) * 5.0f, 0.0f, 1.0f) * (1.0f - elev * 0.7f);
                c = mixRgb(c, Rgb{246, 246, 244}, cloud);
            } else {
                c = mixRgb(Rgb{118, 132, 110}, Rgb{86, 104, 72}, std::min(1.0f, -elev * 4));
            }
            putPixel(p, x, y, c);
        }
    }
    // Far skyline just above the horizon, in haze.
    Rng rng(62);
    for (int x = 0; x < W;) {
        const int w = static_cast<int>(rng.range(6, 22));
        const int h = static_cast<int>(rng.range(2, 12)) + (rng.next() % 9 == 0 ? 10 : 0);
        const Rgb c = mixRgb(Rgb{150, 160, 170}, Rgb{120, 130, 140}, rng.unit());
        fillBox(p, x, horizon - h, x + w, horizon + 1, c);
        x += w + static_cast<int>(rng.range(0, 4));
    }
    fillBox(p, 0, horizon, W, horizon + 2, Rgb{130, 140, 126});
    return p;
}

}  // namespace

RouteTextures paintRouteTextures(TextureSet& set, const std::vector<std::string>& stopNames)
{
    RouteTextures t{};
    t.road = set.add("jezdnia", paintRoad());
    t.asphalt = set.add("asfalt", paintAsphalt(128, 15));
    t.zebra = set.add("zebra", paintStripes(true));
    t.stopLine = set.add("linia", paintStripes(false));
    t.grass = set.add("trawa", paintGrass());
    t.pavement = set.add("chodnik", paintPavement());
    t.kerb = set.add("kraweznik", noisePicture(64, 16, Rgb{190, 188, 180}, 0.06f, 4, 33));
    t.concrete = set.add("beton", noisePicture(128, 128, Rgb{150, 148, 140}, 0.08f, 8, 34));
    for (int i = 0; i < ROUTE_FACADE_STYLES; ++i) {
        const Picture facade = paintFacade(FACADES[i], 100 + 10 * static_cast<uint32_t>(i));
        const Picture shop = paintShop(FACADES[i], 200 + 10 * static_cast<uint32_t>(i));
        t.facadeLit[i] = set.add("fasada" + std::to_string(i), facade);
        t.shopLit[i] = set.add("sklep" + std::to_string(i), shop);
        Picture dark = facade, darkShop = shop;
        for (uint8_t& v : dark.rgb)
            v = static_cast<uint8_t>(v * 0.72f);
        for (uint8_t& v : darkShop.rgb)
            v = static_cast<uint8_t>(v * 0.72f);
        t.facadeShade[i] = set.add("fasada" + std::to_string(i) + "_cien", dark);
        t.shopShade[i] = set.add("sklep" + std::to_string(i) + "_cien", darkShop);
    }
    t.roofFlat = set.add("dach_plaski", noisePicture(128, 128, Rgb{110, 108, 104}, 0.12f, 8, 42));
    t.roofTiles = set.add("dachowki", paintTiles(1.0f));
    t.roofTilesShade = set.add("dachowki_cien", paintTiles(0.75f));
    t.wallPlain = set.add("mur", noisePicture(128, 128, Rgb{196, 190, 176}, 0.06f, 8, 43));
    t.bark = set.add("kora", noisePicture(32, 64, Rgb{92, 70, 50}, 0.2f, 4, 44));
    t.leaves = set.add("liscie", paintLeaves(1.0f, 45));
    t.leavesShade = set.add("liscie_cien", paintLeaves(0.72f, 45));
    t.hedge = set.add("zywoplot", paintLeaves(0.85f, 46));
    t.shelterGlass = set.add("wiata_szyba", paintShelterGlass());
    t.shelterRoof = set.add("wiata_dach", noisePicture(64, 64, Rgb{80, 84, 90}, 0.05f, 4, 47));
    t.bench = set.add("lawka", [] {
        Picture p = noisePicture(64, 32, Rgb{150, 100, 56}, 0.1f, 4, 48);
        for (int y = 0; y < 32; y += 8)
            fillBox(p, 0, y, 64, y + 1, Rgb{90, 60, 34});
        return p;
    }());
    t.signPost = set.add("slupek", noisePicture(16, 64, Rgb{140, 142, 146}, 0.05f, 4, 49));
    t.stopSign = set.add("znak_przystanek", paintStopSign());
    for (size_t i = 0; i < stopNames.size() && i < static_cast<size_t>(ROUTE_MAX_STOP_NAMES); ++i)
        t.stopName[i] = set.add("nazwa" + std::to_string(i), paintStopName(stopNames[i]));
    t.depotWall = set.add("zajezdnia", paintDepotWall());
    t.depotDoor = set.add("brama", paintDepotDoor());
    t.canopy = set.add("wiata_stacji", noisePicture(64, 64, Rgb{236, 236, 232}, 0.03f, 4, 52));
    t.canopyEdge = set.add("wiata_stacji_pas", [] {
        Picture p(128, 32, 200, 30, 30);
        fillBox(p, 0, 0, 128, 6, Rgb{240, 240, 240});
        drawTextCentred(p, "PALIWO", 64, 26, 18, Rgb{250, 250, 250}, FACE_SANS_BOLD);
        return p;
    }());
    t.pump = set.add("dystrybutor", paintPump());
    t.lightHousing = set.add("sygnalizator", noisePicture(32, 32, Rgb{30, 32, 30}, 0.06f, 4, 54));
    t.lightFace = set.add("sygnalizator_przod", paintLightFace());
    t.lampRed = set.add("swiatlo_czerwone", paintLitLens(Rgb{255, 60, 40}, Rgb{200, 20, 10}));
    t.lampYellow = set.add("swiatlo_zolte", paintLitLens(Rgb{255, 200, 40}, Rgb{230, 140, 0}));
    t.lampGreen = set.add("swiatlo_zielone", paintLitLens(Rgb{60, 255, 120}, Rgb{0, 170, 70}));
    t.streetLamp = set.add("latarnia", noisePicture(16, 64, Rgb{70, 80, 76}, 0.08f, 4, 55));
    t.streetLampHead = set.add("latarnia_klosz", [] {
        Picture p(32, 32, 60, 66, 64);
        fillBox(p, 4, 20, 28, 30, Rgb{250, 240, 200});
        return p;
    }());
    t.sky = set.add("niebo", paintSky());
    return t;
}
