#include "tools/data/content_shapes.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float PI = 3.14159265358979f;
}

Vec3 v3(float x, float y, float z)
{
    return Vec3{x, y, z};
}
Vec3 operator+(Vec3 a, Vec3 b)
{
    return Vec3{a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b)
{
    return Vec3{a.x - b.x, a.y - b.y, a.z - b.z};
}
Vec3 operator*(Vec3 a, float s)
{
    return Vec3{a.x * s, a.y * s, a.z * s};
}
Vec3 cross(Vec3 a, Vec3 b)
{
    return Vec3{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

void faceTri(ModelBuilder& m, Vec3 a, Vec3 b, Vec3 c, Uv ta, Uv tb, Uv tc, Vec3 facing, int tex)
{
    if (dot(cross(b - a, c - a), facing) < 0.0f)
        m.tri(a, c, b, ta, tc, tb, tex);
    else
        m.tri(a, b, c, ta, tb, tc, tex);
}

void faceQuad(ModelBuilder& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td, Vec3 facing, int tex)
{
    faceTri(m, a, b, c, ta, tb, tc, facing, tex);
    faceTri(m, a, c, d, ta, tc, td, facing, tex);
}

void twoSidedQuad(ModelBuilder& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Uv ta, Uv tb, Uv tc, Uv td, Vec3 facing,
                  int texFront, int texBack)
{
    faceQuad(m, a, b, c, d, ta, tb, tc, td, facing, texFront);
    faceQuad(m, a, b, c, d, ta, tb, tc, td, facing * -1.0f, texBack);
}

BoxTextures allFaces(int tex)
{
    return BoxTextures{{tex, tex, tex, tex, tex, tex}};
}

void texturedBox(ModelBuilder& m, Vec3 lo, Vec3 hi, const BoxTextures& t, float uvScale, bool inside)
{
    const float dx = hi.x - lo.x, dy = hi.y - lo.y, dz = hi.z - lo.z;
    auto uv = [&](float w, float h, float u, float v) {
        if (uvScale > 0.0f)
            return Uv{u * w / uvScale, v * h / uvScale};
        return Uv{u, v};
    };
    const float sign = inside ? -1.0f : 1.0f;
    // Side faces map s along the face as seen from outside, t upwards.
    if (t.tex[0] >= 0)  // +x: seen from +x, left is +z
        faceQuad(m, v3(hi.x, lo.y, hi.z), v3(hi.x, lo.y, lo.z), v3(hi.x, hi.y, lo.z), v3(hi.x, hi.y, hi.z),
                 uv(dz, dy, 0, 0), uv(dz, dy, 1, 0), uv(dz, dy, 1, 1), uv(dz, dy, 0, 1), v3(sign, 0, 0), t.tex[0]);
    if (t.tex[1] >= 0)  // -x
        faceQuad(m, v3(lo.x, lo.y, lo.z), v3(lo.x, lo.y, hi.z), v3(lo.x, hi.y, hi.z), v3(lo.x, hi.y, lo.z),
                 uv(dz, dy, 0, 0), uv(dz, dy, 1, 0), uv(dz, dy, 1, 1), uv(dz, dy, 0, 1), v3(-sign, 0, 0), t.tex[1]);
    if (t.tex[2] >= 0)  // top
        faceQuad(m, v3(lo.x, hi.y, hi.z), v3(hi.x, hi.y, hi.z), v3(hi.x, hi.y, lo.z), v3(lo.x, hi.y, lo.z),
                 uv(dx, dz, 0, 0), uv(dx, dz, 1, 0), uv(dx, dz, 1, 1), uv(dx, dz, 0, 1), v3(0, sign, 0), t.tex[2]);
    if (t.tex[3] >= 0)  // bottom
        faceQuad(m, v3(lo.x, lo.y, lo.z), v3(hi.x, lo.y, lo.z), v3(hi.x, lo.y, hi.z), v3(lo.x, lo.y, hi.z),
                 uv(dx, dz, 0, 0), uv(dx, dz, 1, 0), uv(dx, dz, 1, 1), uv(dx, dz, 0, 1), v3(0, -sign, 0), t.tex[3]);
    if (t.tex[4] >= 0)  // +z
        faceQuad(m, v3(lo.x, lo.y, hi.z), v3(hi.x, lo.y, hi.z), v3(hi.x, hi.y, hi.z), v3(lo.x, hi.y, hi.z),
                 uv(dx, dy, 0, 0), uv(dx, dy, 1, 0), uv(dx, dy, 1, 1), uv(dx, dy, 0, 1), v3(0, 0, sign), t.tex[4]);
    if (t.tex[5] >= 0)  // -z
        faceQuad(m, v3(hi.x, lo.y, lo.z), v3(lo.x, lo.y, lo.z), v3(lo.x, hi.y, lo.z), v3(hi.x, hi.y, lo.z),
                 uv(dx, dy, 0, 0), uv(dx, dy, 1, 0), uv(dx, dy, 1, 1), uv(dx, dy, 0, 1), v3(0, 0, -sign), t.tex[5]);
}

void groundRect(ModelBuilder& m, float x0, float z0, float x1, float z1, float y, int tex, float uvScale)
{
    const float s0 = x0 / uvScale, s1 = x1 / uvScale, t0 = z0 / uvScale, t1 = z1 / uvScale;
    faceQuad(m, v3(x0, y, z0), v3(x1, y, z0), v3(x1, y, z1), v3(x0, y, z1), Uv{s0, t0}, Uv{s1, t0}, Uv{s1, t1},
             Uv{s0, t1}, v3(0, 1, 0), tex);
}

void cylinderX(ModelBuilder& m, Vec3 c, float r, float hw, int n, int texTread, int texOuter, int texInner,
               float treadRepeat)
{
    const Vec3 outward = c.x >= 0 ? v3(1, 0, 0) : v3(-1, 0, 0);
    for (int i = 0; i < n; ++i) {
        const float a0 = 2 * PI * i / n, a1 = 2 * PI * (i + 1) / n;
        const float y0 = std::sin(a0) * r, z0 = std::cos(a0) * r, y1 = std::sin(a1) * r, z1 = std::cos(a1) * r;
        const Vec3 p0l = v3(c.x - hw, c.y + y0, c.z + z0), p1l = v3(c.x - hw, c.y + y1, c.z + z1);
        const Vec3 p0r = v3(c.x + hw, c.y + y0, c.z + z0), p1r = v3(c.x + hw, c.y + y1, c.z + z1);
        const float s0 = treadRepeat * i / n, s1 = treadRepeat * (i + 1) / n;
        const float mid = (a0 + a1) * 0.5f;
        if (texTread >= 0)
            faceQuad(m, p0l, p0r, p1r, p1l, Uv{s0, 0}, Uv{s0, 1}, Uv{s1, 1}, Uv{s1, 0},
                     v3(0, std::sin(mid), std::cos(mid)), texTread);
        const Uv cuv{0.5f, 0.5f};
        const Uv u0{0.5f + 0.5f * std::cos(a0), 0.5f + 0.5f * std::sin(a0)};
        const Uv u1{0.5f + 0.5f * std::cos(a1), 0.5f + 0.5f * std::sin(a1)};
        const Vec3 outerC = v3(c.x + (outward.x > 0 ? hw : -hw), c.y, c.z);
        const Vec3 innerC = v3(c.x - (outward.x > 0 ? hw : -hw), c.y, c.z);
        const Vec3 o0 = outward.x > 0 ? p0r : p0l, o1 = outward.x > 0 ? p1r : p1l;
        const Vec3 i0 = outward.x > 0 ? p0l : p0r, i1 = outward.x > 0 ? p1l : p1r;
        if (texOuter >= 0)
            faceTri(m, outerC, o0, o1, cuv, u0, u1, outward, texOuter);
        if (texInner >= 0)
            faceTri(m, innerC, i0, i1, cuv, u0, u1, outward * -1.0f, texInner);
    }
}

void cylinderY(ModelBuilder& m, float x, float z, float y0, float y1, float r, int n, int texSide, int texCap,
               float sRepeat, float tRepeat)
{
    for (int i = 0; i < n; ++i) {
        const float a0 = 2 * PI * i / n, a1 = 2 * PI * (i + 1) / n;
        const Vec3 b0 = v3(x + std::cos(a0) * r, y0, z + std::sin(a0) * r);
        const Vec3 b1 = v3(x + std::cos(a1) * r, y0, z + std::sin(a1) * r);
        const Vec3 t0 = v3(b0.x, y1, b0.z), t1 = v3(b1.x, y1, b1.z);
        const float s0 = sRepeat * i / n, s1 = sRepeat * (i + 1) / n;
        const float mid = (a0 + a1) * 0.5f;
        faceQuad(m, b0, b1, t1, t0, Uv{s0, 0}, Uv{s1, 0}, Uv{s1, tRepeat}, Uv{s0, tRepeat},
                 v3(std::cos(mid), 0, std::sin(mid)), texSide);
        if (texCap >= 0)
            faceTri(m, v3(x, y1, z), t0, t1, Uv{0.5f, 0.5f}, Uv{0.5f + 0.5f * std::cos(a0), 0.5f + 0.5f * std::sin(a0)},
                    Uv{0.5f + 0.5f * std::cos(a1), 0.5f + 0.5f * std::sin(a1)}, v3(0, 1, 0), texCap);
    }
}

void cylinderBetween(ModelBuilder& m, Vec3 a, Vec3 b, float r, int n, int tex)
{
    const Vec3 axis = b - a;
    const float len = std::sqrt(dot(axis, axis));
    if (len <= 0.0f)
        return;
    const Vec3 d = axis * (1.0f / len);
    Vec3 u = std::fabs(d.y) < 0.9f ? cross(d, v3(0, 1, 0)) : cross(d, v3(1, 0, 0));
    u = u * (1.0f / std::sqrt(dot(u, u)));
    const Vec3 w = cross(d, u);
    for (int i = 0; i < n; ++i) {
        const float a0 = 2 * PI * i / n, a1 = 2 * PI * (i + 1) / n;
        const Vec3 o0 = u * (std::cos(a0) * r) + w * (std::sin(a0) * r);
        const Vec3 o1 = u * (std::cos(a1) * r) + w * (std::sin(a1) * r);
        const float mid = (a0 + a1) * 0.5f;
        const Vec3 facing = u * std::cos(mid) + w * std::sin(mid);
        faceQuad(m, a + o0, a + o1, b + o1, b + o0, Uv{0, 0}, Uv{1, 0}, Uv{1, len}, Uv{0, len}, facing, tex);
    }
}

void disc(ModelBuilder& m, Vec3 c, Vec3 u, Vec3 v, float r, int n, Vec3 facing, int tex)
{
    for (int i = 0; i < n; ++i) {
        const float a0 = 2 * PI * i / n, a1 = 2 * PI * (i + 1) / n;
        const Vec3 p0 = c + u * (std::cos(a0) * r) + v * (std::sin(a0) * r);
        const Vec3 p1 = c + u * (std::cos(a1) * r) + v * (std::sin(a1) * r);
        faceTri(m, c, p0, p1, Uv{0.5f, 0.5f}, Uv{0.5f + 0.5f * std::cos(a0), 0.5f + 0.5f * std::sin(a0)},
                Uv{0.5f + 0.5f * std::cos(a1), 0.5f + 0.5f * std::sin(a1)}, facing, tex);
    }
}

namespace {

// Offset direction (to the right of travel) at each vertex, mitred at the joints.
std::vector<P2> rightNormals(const std::vector<P2>& line)
{
    const size_t n = line.size();
    std::vector<P2> segN(n > 1 ? n - 1 : 0);
    for (size_t i = 0; i + 1 < n; ++i) {
        float dx = line[i + 1].x - line[i].x, dz = line[i + 1].z - line[i].z;
        const float len = std::sqrt(dx * dx + dz * dz);
        // A segment of no length has no direction: it keeps the one before (or points right).
        if (!(len > 0.0f)) {
            segN[i] = i > 0 ? segN[i - 1] : P2{1.0f, 0.0f};
            continue;
        }
        dx /= len;
        dz /= len;
        segN[i] = P2{-dz, dx};
    }
    std::vector<P2> out(n);
    for (size_t i = 0; i < n; ++i) {
        if (i == 0)
            out[i] = segN[0];
        else if (i == n - 1)
            out[i] = segN[n - 2];
        else {
            P2 a = segN[i - 1], b = segN[i];
            P2 s{a.x + b.x, a.z + b.z};
            const float len = std::sqrt(s.x * s.x + s.z * s.z);
            // A line that turns straight back: its normals cancel, so the incoming one stands.
            if (!(len > 1e-6f)) {
                out[i] = a;
                continue;
            }
            s = P2{s.x / len, s.z / len};
            const float c = s.x * a.x + s.z * a.z;  // cos of half the turn
            const float k = c > 0.3f ? 1.0f / c : 1.0f / 0.3f;
            out[i] = P2{s.x * k, s.z * k};
        }
    }
    return out;
}

std::vector<float> lengthsAlong(const std::vector<P2>& line)
{
    std::vector<float> out(line.size(), 0.0f);
    for (size_t i = 1; i < line.size(); ++i)
        out[i] = out[i - 1] + std::hypot(line[i].x - line[i - 1].x, line[i].z - line[i - 1].z);
    return out;
}

}  // namespace

void groundStrip(ModelBuilder& m, const std::vector<P2>& line, float left, float right, float y, int tex,
                 float sAcross, float tLength)
{
    if (line.size() < 2)
        return;
    const std::vector<P2> nrm = rightNormals(line);
    const std::vector<float> len = lengthsAlong(line);
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const P2 a = line[i], b = line[i + 1], na = nrm[i], nb = nrm[i + 1];
        const Vec3 al = v3(a.x + na.x * left, y, a.z + na.z * left), ar = v3(a.x + na.x * right, y, a.z + na.z * right);
        const Vec3 bl = v3(b.x + nb.x * left, y, b.z + nb.z * left), br = v3(b.x + nb.x * right, y, b.z + nb.z * right);
        const float t0 = len[i] / tLength, t1 = len[i + 1] / tLength;
        faceQuad(m, al, ar, br, bl, Uv{0, t0}, Uv{sAcross, t0}, Uv{sAcross, t1}, Uv{0, t1}, v3(0, 1, 0), tex);
    }
}

void wallStrip(ModelBuilder& m, const std::vector<P2>& line, float offset, float y0, float y1, bool faceRight, int tex,
               float sLength, float tHeight)
{
    if (line.size() < 2)
        return;
    const std::vector<P2> nrm = rightNormals(line);
    const std::vector<float> len = lengthsAlong(line);
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const P2 a = line[i], b = line[i + 1], na = nrm[i], nb = nrm[i + 1];
        const Vec3 a0 = v3(a.x + na.x * offset, y0, a.z + na.z * offset);
        const Vec3 b0 = v3(b.x + nb.x * offset, y0, b.z + nb.z * offset);
        const Vec3 a1 = v3(a0.x, y1, a0.z), b1 = v3(b0.x, y1, b0.z);
        const P2 segRight{-(b.z - a.z), b.x - a.x};
        const Vec3 facing = faceRight ? v3(segRight.x, 0, segRight.z) : v3(-segRight.x, 0, -segRight.z);
        const float s0 = len[i] / sLength, s1 = len[i + 1] / sLength;
        const float t = (y1 - y0) / tHeight;
        faceQuad(m, a0, b0, b1, a1, Uv{s0, 0}, Uv{s1, 0}, Uv{s1, t}, Uv{s0, t}, facing, tex);
    }
}

std::vector<P2> offsetLine(const std::vector<P2>& line, float offset)
{
    if (line.size() < 2)
        return line;
    const std::vector<P2> nrm = rightNormals(line);
    std::vector<P2> out;
    for (size_t i = 0; i < line.size(); ++i)
        out.push_back(P2{line[i].x + nrm[i].x * offset, line[i].z + nrm[i].z * offset});
    return out;
}

namespace {

double turn(P2 o, P2 a, P2 b)
{
    return (static_cast<double>(a.x) - o.x) * (static_cast<double>(b.z) - o.z) -
           (static_cast<double>(a.z) - o.z) * (static_cast<double>(b.x) - o.x);
}

double signedArea(const std::vector<P2>& p)
{
    double a = 0.0;
    for (size_t i = 0; i < p.size(); ++i)
        a += turn(P2{0, 0}, p[i], p[(i + 1) % p.size()]);
    return a * 0.5;
}

bool samePoint(P2 a, P2 b)
{
    return a.x == b.x && a.z == b.z;
}

// Proper crossing of segments ab and cd (touching at an end does not count).
bool segmentsCross(P2 a, P2 b, P2 c, P2 d)
{
    if (samePoint(a, c) || samePoint(a, d) || samePoint(b, c) || samePoint(b, d))
        return false;
    const double d1 = turn(a, b, c), d2 = turn(a, b, d), d3 = turn(c, d, a), d4 = turn(c, d, b);
    return ((d1 > 0) != (d2 > 0)) && ((d3 > 0) != (d4 > 0));
}

bool insideOrOnTriangle(P2 p, P2 a, P2 b, P2 c)
{
    return turn(a, b, p) >= 0 && turn(b, c, p) >= 0 && turn(c, a, p) >= 0;
}

// One outline from an outer ring and a hole inside it, joined by a two-way cut between a hole
// corner and an outer corner that see each other.
bool bridged(std::vector<P2> outer, std::vector<P2> hole, std::vector<P2>& out)
{
    if (signedArea(outer) < 0)
        std::reverse(outer.begin(), outer.end());
    if (hole.empty()) {
        out = outer;
        return true;
    }
    if (signedArea(hole) > 0)
        std::reverse(hole.begin(), hole.end());
    auto crossesAnything = [&](P2 a, P2 b) {
        for (const std::vector<P2>* ring : {&outer, &hole})
            for (size_t k = 0; k < ring->size(); ++k)
                if (segmentsCross(a, b, (*ring)[k], (*ring)[(k + 1) % ring->size()]))
                    return true;
        return false;
    };
    for (size_t h = 0; h < hole.size(); ++h)
        for (size_t o = 0; o < outer.size(); ++o) {
            if (crossesAnything(hole[h], outer[o]))
                continue;
            out.assign(outer.begin(), outer.begin() + static_cast<long>(o) + 1);
            for (size_t k = 0; k <= hole.size(); ++k)
                out.push_back(hole[(h + k) % hole.size()]);
            out.insert(out.end(), outer.begin() + static_cast<long>(o), outer.end());
            return true;
        }
    return false;
}

} // namespace

bool groundPolygon(ModelBuilder& m, const std::vector<P2>& outline, const std::vector<P2>& hole, float y, int tex,
                   float uvScale)
{
    std::vector<P2> poly;
    if (outline.size() < 3 || !bridged(outline, hole, poly))
        return false;
    std::vector<std::array<P2, 3>> tris;
    while (poly.size() > 3) {
        bool cut = false;
        for (size_t i = 0; i < poly.size() && !cut; ++i) {
            const size_t ip = (i + poly.size() - 1) % poly.size(), in = (i + 1) % poly.size();
            const P2 a = poly[ip], b = poly[i], c = poly[in];
            const double t = turn(a, b, c);
            if (t == 0.0 && (b.x - a.x) * (c.x - b.x) + (b.z - a.z) * (c.z - b.z) > 0) {
                poly.erase(poly.begin() + static_cast<long>(i));  // straight on: nothing to fill
                cut = true;
                break;
            }
            if (t <= 0.0)
                continue;
            bool ear = true;
            for (const P2& p : poly)
                if (!samePoint(p, a) && !samePoint(p, b) && !samePoint(p, c) && insideOrOnTriangle(p, a, b, c)) {
                    ear = false;
                    break;
                }
            if (!ear)
                continue;
            tris.push_back({a, b, c});
            poly.erase(poly.begin() + static_cast<long>(i));
            cut = true;
        }
        if (!cut)
            return false;
    }
    if (turn(poly[0], poly[1], poly[2]) > 0.0)
        tris.push_back({poly[0], poly[1], poly[2]});
    auto uv = [&](P2 p) { return Uv{p.x / uvScale, p.z / uvScale}; };
    for (const auto& t : tris)
        faceTri(m, v3(t[0].x, y, t[0].z), v3(t[1].x, y, t[1].z), v3(t[2].x, y, t[2].z), uv(t[0]), uv(t[1]), uv(t[2]),
                v3(0, 1, 0), tex);
    return true;
}

std::vector<P2> simplifiedRing(const std::vector<P2>& ring, float tolerance)
{
    // From each kept corner, reach as far round as the straight line stays within tolerance of
    // every corner it skips; the ring closes on its first corner.
    const size_t n = ring.size();
    std::vector<P2> out;
    for (size_t i = 0; i < n;) {
        out.push_back(ring[i]);
        size_t j = i + 1;
        for (; j < n; ++j) {
            const P2 a = ring[i], b = ring[(j + 1) % n];
            const double len = std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.z) - a.z);
            bool ok = len > 0.0;
            for (size_t k = i + 1; ok && k <= j; ++k)
                ok = std::fabs(turn(a, b, ring[k])) / len <= tolerance;
            if (!ok)
                break;
        }
        i = j;
    }
    return out;
}

Frame frameOf(float x, float z, float dx, float dz)
{
    const float len = std::hypot(dx, dz);
    dx /= len;
    dz /= len;
    return Frame{P2{x, z}, P2{dx, dz}, P2{-dz, dx}};
}

void frameBox(ModelBuilder& m, const Frame& f, float l0, float l1, float o0, float o1, float y0, float y1,
              const std::array<int, 5>& tex, float sScale, float tScale)
{
    const float L = l1 - l0, O = o1 - o0, H = y1 - y0;
    auto side = [&](Vec3 p0, Vec3 p1, float w, Vec3 facing, int t) {
        if (t < 0)
            return;
        faceQuad(m, p0, p1, v3(p1.x, y1, p1.z), v3(p0.x, y1, p0.z), Uv{0, 0}, Uv{w / sScale, 0},
                 Uv{w / sScale, H / tScale}, Uv{0, H / tScale}, facing, t);
    };
    // Each face's s runs to the right of someone looking at it, so signs read the right way.
    side(f.at(l1, o1, y0), f.at(l1, o0, y0), O, f.dirA(), tex[0]);
    side(f.at(l0, o0, y0), f.at(l0, o1, y0), O, f.dirA() * -1.0f, tex[1]);
    side(f.at(l0, o1, y0), f.at(l1, o1, y0), L, f.dirR(), tex[2]);
    side(f.at(l1, o0, y0), f.at(l0, o0, y0), L, f.dirR() * -1.0f, tex[3]);
    if (tex[4] >= 0)
        faceQuad(m, f.at(l0, o0, y1), f.at(l1, o0, y1), f.at(l1, o1, y1), f.at(l0, o1, y1), Uv{0, 0},
                 Uv{L / sScale, 0}, Uv{L / sScale, O / sScale}, Uv{0, O / sScale}, v3(0, 1, 0), tex[4]);
}
