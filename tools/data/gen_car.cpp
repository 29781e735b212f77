// The second car, a small four-door saloon. Its model faces +Z; the game draws it 14 units ahead
// of the car's position (translate(0, 0, 14) after the heading), so the model is built 14 units
// behind its origin and the car is seen exactly where it drives: on the inner lane of the loop.
#include "tools/data/content_paint.h"
#include "tools/data/content_shapes.h"
#include "tools/data/content_text.h"
#include "tools/data/gen.h"

#include <cmath>

namespace {

constexpr float CAR_OFFSET_Z = -14.0f;
constexpr float HALF_W = 0.85f, HALF_L = 2.25f;
constexpr float SILL_Y = 0.28f, BELT_Y = 0.86f, ROOF_Y = 1.42f;
constexpr float WHEEL_R = 0.32f, WHEEL_Z = 1.4f;
constexpr Rgb PAINT{112, 146, 186};
constexpr Rgb DARK{24, 24, 26};

Vec3 carPoint(float x, float y, float z)
{
    return v3(x, y, z + CAR_OFFSET_Z);
}

Picture paintSide()
{
    // 256 x 128 covering z -2.25..2.25 (s, front at s = 1) and y 0..1.5.
    Picture p = noisePicture(256, 128, PAINT, 0.03f, 8, 301);
    auto px = [](float z) { return static_cast<int>((z + HALF_L) / (2 * HALF_L) * 256); };
    auto py = [](float y) { return static_cast<int>((1.0f - y / 1.5f) * 128); };
    fillBox(p, 0, py(0.5f), 256, py(0.46f), Rgb{200, 200, 204});  // rubbing strip
    fillBox(p, px(-0.05f), py(0.82f), px(-0.03f), py(0.3f), scaleRgb(PAINT, 0.75f));
    fillBox(p, px(1.2f), py(0.82f), px(1.22f), py(0.3f), scaleRgb(PAINT, 0.75f));
    fillBox(p, px(-1.3f), py(0.82f), px(-1.28f), py(0.3f), scaleRgb(PAINT, 0.75f));
    for (float z : {-0.6f, 0.7f})
        fillBox(p, px(z), py(0.72f), px(z + 0.18f), py(0.69f), Rgb{200, 200, 204});  // handles
    return p;
}

Picture paintGlass()
{
    Picture p(64, 64);
    gradientBox(p, 0, 0, 64, 64, Rgb{120, 140, 156}, Rgb{40, 50, 60});
    drawLine(p, 8, 64, 40, 0, 6, Rgb{150, 170, 182});
    return p;
}

Picture paintFront()
{
    Picture p = noisePicture(128, 64, PAINT, 0.03f, 4, 303);
    fillBox(p, 36, 20, 92, 40, Rgb{40, 40, 44});
    for (int y = 23; y < 40; y += 4)
        fillBox(p, 38, y, 90, y + 1, Rgb{170, 170, 176});
    fillDisc(p, 20, 30, 10, Rgb{230, 232, 220});
    fillDisc(p, 108, 30, 10, Rgb{230, 232, 220});
    fillBox(p, 0, 48, 128, 56, Rgb{190, 190, 196});  // bumper
    fillBox(p, 48, 50, 80, 60, Rgb{240, 240, 240});
    drawTextCentred(p, "KR 125", 64, 59, 9, Rgb{20, 20, 20}, FACE_SANS_BOLD);
    return p;
}

Picture paintRear()
{
    Picture p = noisePicture(128, 64, PAINT, 0.03f, 4, 305);
    for (int x : {6, 94}) {
        fillBox(p, x, 18, x + 28, 30, Rgb{180, 20, 20});
        fillBox(p, x, 30, x + 28, 36, Rgb{220, 140, 30});
    }
    fillBox(p, 0, 48, 128, 56, Rgb{190, 190, 196});
    fillBox(p, 48, 36, 80, 46, Rgb{240, 240, 240});
    drawTextCentred(p, "KR 125", 64, 45, 9, Rgb{20, 20, 20}, FACE_SANS_BOLD);
    return p;
}

Picture paintWheel()
{
    Picture p(64, 64, 24, 24, 26);
    fillDisc(p, 32, 32, 19, Rgb{170, 172, 176});
    fillDisc(p, 32, 32, 8, Rgb{110, 110, 114});
    return p;
}

}  // namespace

void genCar(const std::string& dir)
{
    TextureSet set{dir, "Dane/Pojazdy/F125/", {}, {}};
    const int side = set.add("bok", paintSide());
    const int glass = set.add("szyba", paintGlass());
    const int front = set.add("przod", paintFront());
    const int rear = set.add("tyl", paintRear());
    const int roof = set.add("dach", noisePicture(32, 32, PAINT, 0.04f, 4, 307));
    const int tyre = set.add("opona", noisePicture(32, 32, DARK, 0.15f, 4, 309));
    const int wheel = set.add("kolo", paintWheel());
    const int under = set.add("spod", noisePicture(16, 16, DARK, 0.1f, 2, 311));
    set.writeQualityLists();

    ModelBuilder m;
    // Lower body: sides map the side picture, front and rear their own.
    auto sideUv = [](float z, float y) { return Uv{(z + HALF_L) / (2 * HALF_L), y / 1.5f}; };
    for (float sx : {-1.0f, 1.0f}) {
        const float x = sx * HALF_W;
        faceQuad(m, carPoint(x, SILL_Y, -HALF_L), carPoint(x, SILL_Y, HALF_L), carPoint(x, BELT_Y, HALF_L),
                 carPoint(x, BELT_Y, -HALF_L), sideUv(-HALF_L, SILL_Y), sideUv(HALF_L, SILL_Y), sideUv(HALF_L, BELT_Y),
                 sideUv(-HALF_L, BELT_Y), v3(sx, 0, 0), side);
    }
    faceQuad(m, carPoint(-HALF_W, SILL_Y, HALF_L), carPoint(HALF_W, SILL_Y, HALF_L), carPoint(HALF_W, BELT_Y, HALF_L),
             carPoint(-HALF_W, BELT_Y, HALF_L), Uv{1, 0}, Uv{0, 0}, Uv{0, 1}, Uv{1, 1}, v3(0, 0, 1), front);
    faceQuad(m, carPoint(-HALF_W, SILL_Y, -HALF_L), carPoint(HALF_W, SILL_Y, -HALF_L), carPoint(HALF_W, BELT_Y, -HALF_L),
             carPoint(-HALF_W, BELT_Y, -HALF_L), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 0, -1), rear);
    // Bonnet and boot lids.
    const float bonnetZ = 0.95f, bootZ = -1.45f;
    faceQuad(m, carPoint(-HALF_W, BELT_Y, bonnetZ), carPoint(HALF_W, BELT_Y, bonnetZ), carPoint(HALF_W, BELT_Y - 0.06f, HALF_L),
             carPoint(-HALF_W, BELT_Y - 0.06f, HALF_L), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 1, 0), roof);
    faceQuad(m, carPoint(-HALF_W, BELT_Y, -HALF_L), carPoint(HALF_W, BELT_Y, -HALF_L), carPoint(HALF_W, BELT_Y, bootZ),
             carPoint(-HALF_W, BELT_Y, bootZ), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 1, 0), roof);
    faceQuad(m, carPoint(-HALF_W, SILL_Y, -HALF_L), carPoint(HALF_W, SILL_Y, -HALF_L), carPoint(HALF_W, SILL_Y, HALF_L),
             carPoint(-HALF_W, SILL_Y, HALF_L), Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, -1, 0), under);
    // The cabin: a glasshouse narrower at the roof, screens leaning in.
    const float rw = HALF_W - 0.12f, roofFront = 0.35f, roofRear = -1.0f;
    const Vec3 bfl = carPoint(-HALF_W, BELT_Y, bonnetZ), bfr = carPoint(HALF_W, BELT_Y, bonnetZ);
    const Vec3 brl = carPoint(-HALF_W, BELT_Y, bootZ), brr = carPoint(HALF_W, BELT_Y, bootZ);
    const Vec3 tfl = carPoint(-rw, ROOF_Y, roofFront), tfr = carPoint(rw, ROOF_Y, roofFront);
    const Vec3 trl = carPoint(-rw, ROOF_Y, roofRear), trr = carPoint(rw, ROOF_Y, roofRear);
    faceQuad(m, bfl, bfr, tfr, tfl, Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 0.6f, 1), glass);
    faceQuad(m, brr, brl, trl, trr, Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 0.6f, -1), glass);
    faceQuad(m, tfl, tfr, trr, trl, Uv{0, 0}, Uv{1, 0}, Uv{1, 1}, Uv{0, 1}, v3(0, 1, 0), roof);
    faceQuad(m, bfl, tfl, trl, brl, Uv{1, 0}, Uv{0.8f, 1}, Uv{0.2f, 1}, Uv{0, 0}, v3(-1, 0.2f, 0), glass);
    faceQuad(m, bfr, brr, trr, tfr, Uv{1, 0}, Uv{0, 0}, Uv{0.2f, 1}, Uv{0.8f, 1}, v3(1, 0.2f, 0), glass);
    // Wheels.
    for (float sx : {-1.0f, 1.0f})
        for (float z : {-WHEEL_Z, WHEEL_Z})
            cylinderX(m, carPoint(sx * (HALF_W - 0.08f), WHEEL_R, z), WHEEL_R, 0.1f, 10, tyre, wheel, -1);
    m.groupByTexture();
    m.write(dir + "/Dane/Pojazdy/F125/Model.qx", "second car, built 14 units behind its origin");
}
