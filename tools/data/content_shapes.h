// Shapes built into a ModelBuilder for the generated models: quads that face a chosen way, boxes
// with a texture per face and world-scaled texture coordinates, cylinders, discs and flat strips
// along a polyline. The game culls back faces, so every face is emitted counter-clockwise as seen
// from the side it faces.
#pragma once

#include "tools/data/writers.h"

#include <array>
#include <vector>

Vec3 v3(float x, float y, float z);
Vec3 operator+(Vec3 a, Vec3 b);
Vec3 operator-(Vec3 a, Vec3 b);
Vec3 operator*(Vec3 a, float s);
Vec3 cross(Vec3 a, Vec3 b);
float dot(Vec3 a, Vec3 b);

// A triangle turned so that it faces `facing` (swaps two corners when needed).
void faceTri(ModelBuilder& m, Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc, Vec3 facing, int tex);
// A quad a-b-c-d (in order round its edge) with a texture coordinate per corner, facing `facing`.
void faceQuad(ModelBuilder& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td, Vec3 facing, int tex);
// Both sides of a quad (for thin parts seen from both sides: door leaves, signs).
void twoSidedQuad(ModelBuilder& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td, Vec3 facing,
                  int texFront, int texBack);

// Box faces in the order +x, -x, +y, -y, +z, -z. A texture of -1 leaves that face out.
// uvScale > 0: texture coordinates are world size / uvScale (textures repeat); 0: 0..1 per face.
struct BoxTextures {
    std::array<int, 6> tex;
};
BoxTextures allFaces(int tex);
void texturedBox(ModelBuilder& m, Vec3 lo, Vec3 hi, const BoxTextures& t, float uvScale = 0.0f, bool inside = false);

// An upward-facing rectangle on the ground plane at height y, texture repeating every uvScale.
void groundRect(ModelBuilder& m, float x0, float z0, float x1, float z1, float y, int tex, float uvScale);

// A cylinder along the X axis (wheels): tread and both caps; caps map the whole texture.
void cylinderX(ModelBuilder& m, Vec3 centre, float radius, float halfWidth, int segments, int texTread,
               int texOuterCap, int texInnerCap, float treadRepeat = 1.0f);
// A vertical cylinder (poles, trunks) from y0 to y1; no caps unless texCap >= 0 (top only).
void cylinderY(ModelBuilder& m, float x, float z, float y0, float y1, float radius, int segments, int texSide,
               int texCap = -1, float sRepeat = 1.0f, float tRepeat = 1.0f);
// A cylinder between two points (rails); sides only.
void cylinderBetween(ModelBuilder& m, Vec3 a, Vec3 b, float radius, int segments, int tex);
// A flat disc (polygon fan) in the plane through centre spanned by axes u and v, facing `facing`,
// mapping the whole texture square onto the disc's bounding square.
void disc(ModelBuilder& m, Vec3 centre, Vec3 u, Vec3 v, float radius, int segments, Vec3 facing, int tex);

// A point on the ground plane (x, z) and a polyline of them.
struct P2 {
    float x, z;
};
// An upward-facing strip along a polyline, from offset `left` to offset `right` across it
// (offsets measured to the right of the direction of travel), at height y. The texture's s runs
// across the strip from 0 to sAcross, t along it, one repeat every tLength units.
void groundStrip(ModelBuilder& m, const std::vector<P2>& line, float left, float right, float y, int tex,
                 float sAcross, float tLength);
// A vertical face along a polyline at offset `offset`, from y0 to y1, facing to the right of the
// direction of travel when faceRight, else to the left (kerb faces, walls, fences).
void wallStrip(ModelBuilder& m, const std::vector<P2>& line, float offset, float y0, float y1, bool faceRight, int tex,
               float sLength, float tHeight);

// The polyline moved sideways by `offset` (to the right of travel), mitred at the joints the way
// groundStrip and wallStrip place their edges.
std::vector<P2> offsetLine(const std::vector<P2>& line, float offset);
// A closed ring with the corners left out that lie within `tolerance` of the straight line past them.
std::vector<P2> simplifiedRing(const std::vector<P2>& ring, float tolerance);
// An upward-facing ground polygon at height y, less an optional hole inside it, textured as
// groundRect does. False, with nothing added, when the outline cannot be cut into triangles.
bool groundPolygon(ModelBuilder& m, const std::vector<P2>& outline, const std::vector<P2>& hole, float y, int tex,
                   float uvScale);

// A local frame on the ground: origin, unit direction along, unit right of it.
struct Frame {
    P2 o, a, r;
    Vec3 at(float along, float right, float y) const
    {
        return v3(o.x + a.x * along + r.x * right, y, o.z + a.z * along + r.z * right);
    }
    Vec3 dirA() const { return v3(a.x, 0, a.z); }
    Vec3 dirR() const { return v3(r.x, 0, r.z); }
};
Frame frameOf(float x, float z, float dx, float dz);
// A box in a local frame: along [l0, l1], right [o0, o1], up [y0, y1]. Textures: +along, -along,
// +right, -right, top; -1 leaves a face out. Texture coordinates scale with the world.
void frameBox(ModelBuilder& m, const Frame& f, float l0, float l1, float o0, float o1, float y0, float y1,
              const std::array<int, 5>& tex, float sScale, float tScale);
