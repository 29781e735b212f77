#include "tools/data/content_shelter.h"

#include <array>

namespace {

// A plate on the sign post facing dir along the road, its picture the right way round from there.
void postPlate(ModelBuilder& m, const Frame& f, float l, float po, float half, float yLow, float yHigh, float dir,
               int tex)
{
    const float u0 = dir > 0 ? 1.0f : 0.0f;
    const float u1 = dir > 0 ? 0.0f : 1.0f;
    faceQuad(m, f.at(l, po - half, yLow), f.at(l, po + half, yLow), f.at(l, po + half, yHigh),
             f.at(l, po - half, yHigh), Uv{u0, 0}, Uv{u1, 0}, Uv{u1, 1}, Uv{u0, 1}, f.dirA() * dir, tex);
}

}  // namespace

void buildShelter(ModelBuilder& m, const RouteTextures& t, const Frame& f, int nameTexture, float back,
                  uint8_t nameOnPost)
{
    const std::array<int, 5> glass{t.shelterGlass, t.shelterGlass, t.shelterGlass, t.shelterGlass, -1};
    const float y0 = ROUTE_KERB_Y;
    frameBox(m, f, -2.6f, 2.6f, back, back + 0.1f, y0, y0 + 2.3f, glass, 2.6f, 2.3f);
    for (float l : {-2.6f, 2.5f})
        frameBox(m, f, l, l + 0.1f, back - 1.1f, back, y0, y0 + 2.3f, glass, 1.1f, 2.3f);
    frameBox(m, f, -2.8f, 2.8f, back - 1.4f, back + 0.3f, y0 + 2.3f, y0 + 2.45f,
             {t.shelterRoof, t.shelterRoof, t.shelterRoof, nameTexture, t.shelterRoof}, 5.6f, 0.15f);
    // The name plate along the roof's front edge, facing the road.
    const float plate = back - 1.42f;
    faceQuad(m, f.at(-1.2f, plate, y0 + 2.47f), f.at(1.2f, plate, y0 + 2.47f), f.at(1.2f, plate, y0 + 3.05f),
             f.at(-1.2f, plate, y0 + 3.05f), Uv{1, 0}, Uv{0, 0}, Uv{0, 1}, Uv{1, 1}, f.dirR() * -1.0f, nameTexture);
    frameBox(m, f, -1.5f, 1.5f, back - 0.5f, back - 0.1f, y0 + 0.42f, y0 + 0.5f,
             {t.bench, t.bench, t.bench, t.bench, t.bench}, 1.0f, 0.1f);
    const float pl = -3.6f, po = 0.7f;
    frameBox(m, f, pl - 0.05f, pl + 0.05f, po - 0.05f, po + 0.05f, y0, y0 + 3.2f,
             {t.signPost, t.signPost, t.signPost, t.signPost, t.signPost}, 0.1f, 3.2f);
    for (float dir : {-1.0f, 1.0f}) {
        const float l = pl + dir * 0.06f;
        postPlate(m, f, l, po, 0.4f, y0 + 2.4f, y0 + 3.2f, dir, t.stopSign);
        if (nameOnPost)
            postPlate(m, f, l, po, 0.5f, y0 + 2.1f, y0 + 2.35f, dir, nameTexture);
    }
}
