#include "tools/osm/osm_line.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr float CORNER_RADIUS = 10.0f;  // corners are rounded to this where there is room

}  // namespace

float len(P2 a, P2 b)
{
    return std::hypot(b.x - a.x, b.z - a.z);
}

std::vector<float> alongOf(const std::vector<P2>& line)
{
    std::vector<float> s(line.size(), 0.0f);
    for (size_t i = 1; i < line.size(); ++i)
        s[i] = s[i - 1] + len(line[i - 1], line[i]);
    return s;
}

// The nearest point of the polyline at or after along-distance `from`: its along and distance.
std::pair<float, float> projectAfter(const std::vector<P2>& line, const std::vector<float>& s, P2 p, float from)
{
    float bestD = 1e30f, bestS = from;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        if (s[i + 1] < from)
            continue;
        const float dx = line[i + 1].x - line[i].x, dz = line[i + 1].z - line[i].z;
        const float l2 = dx * dx + dz * dz;
        float t = l2 > 0 ? ((p.x - line[i].x) * dx + (p.z - line[i].z) * dz) / l2 : 0.0f;
        t = std::max(0.0f, std::min(1.0f, t));
        if (s[i] + t * (s[i + 1] - s[i]) < from)
            t = (from - s[i]) / std::max(1e-6f, s[i + 1] - s[i]);
        const P2 q{line[i].x + dx * t, line[i].z + dz * t};
        const float d = len(p, q);
        if (d < bestD) {
            bestD = d;
            bestS = s[i] + t * (s[i + 1] - s[i]);
        }
    }
    return {bestS, bestD};
}

P2 pointAt(const std::vector<P2>& line, const std::vector<float>& s, float at, P2* dir)
{
    size_t i = 0;
    while (i + 2 < line.size() && s[i + 1] < at)
        ++i;
    const float seg = std::max(1e-6f, s[i + 1] - s[i]);
    const float t = std::max(0.0f, std::min(1.0f, (at - s[i]) / seg));
    if (dir)
        *dir = P2{(line[i + 1].x - line[i].x) / seg, (line[i + 1].z - line[i].z) / seg};
    return P2{line[i].x + (line[i + 1].x - line[i].x) * t, line[i].z + (line[i + 1].z - line[i].z) * t};
}

// Corners rounded: each becomes an arc of CORNER_RADIUS, or of what the neighbouring segments leave.
// The widths follow their points; the tightest radius left is returned.
float roundCorners(std::vector<P2>& line, std::vector<float>& width)
{
    float tightest = 1e30f;
    std::vector<P2> out{line.front()};
    std::vector<float> w{width.front()};
    for (size_t i = 1; i + 1 < line.size(); ++i) {
        const P2 a = line[i - 1], b = line[i], c = line[i + 1];
        const float l0 = len(a, b), l1 = len(b, c);
        const P2 d0{(b.x - a.x) / l0, (b.z - a.z) / l0}, d1{(c.x - b.x) / l1, (c.z - b.z) / l1};
        const float turn = std::acos(std::max(-1.0f, std::min(1.0f, d0.x * d1.x + d0.z * d1.z)));
        // Straight on needs no arc; straight back has none (the tangent of half the turn runs
        // off to infinity and would fling the corner away).
        if (turn < 0.05f || turn > PI - 0.05f) {
            out.push_back(b);
            w.push_back(width[i]);
            continue;
        }
        const float half = std::tan(turn * 0.5f);
        const float cut = std::min(CORNER_RADIUS * half, 0.5f * std::min(l0, l1));
        if (turn > PI / 6.0f)
            tightest = std::min(tightest, cut / half);
        const int steps = std::max(2, static_cast<int>(turn / (PI / 12.0f)) + 1);
        const P2 p0{b.x - d0.x * cut, b.z - d0.z * cut}, p1{b.x + d1.x * cut, b.z + d1.z * cut};
        for (int k = 0; k <= steps; ++k) {
            // A quadratic curve through the corner: close enough to the arc, and tangent at both ends.
            const float t = static_cast<float>(k) / steps, u = 1.0f - t;
            out.push_back(P2{u * u * p0.x + 2 * u * t * b.x + t * t * p1.x, u * u * p0.z + 2 * u * t * b.z + t * t * p1.z});
            w.push_back(width[i]);
        }
    }
    out.push_back(line.back());
    w.push_back(width.back());
    line.swap(out);
    width.swap(w);
    return tightest;
}

// Points closer than `gap` to the one kept before them are dropped.
void dropClosePoints(std::vector<P2>& line, std::vector<float>* width, float gap)
{
    std::vector<P2> out;
    std::vector<float> w;
    for (size_t i = 0; i < line.size(); ++i)
        if (out.empty() || len(out.back(), line[i]) >= gap || i + 1 == line.size()) {
            if (!out.empty() && len(out.back(), line[i]) < gap) {
                out.back() = line[i];
                continue;
            }
            out.push_back(line[i]);
            if (width)
                w.push_back((*width)[i]);
        }
    line.swap(out);
    if (width)
        width->swap(w);
}

// Douglas-Peucker: points within `tolerance` of the line past them are dropped (the widths with them).
void simplify(std::vector<P2>& line, std::vector<float>& width, float tolerance)
{
    std::vector<uint8_t> keep(line.size(), 0);
    keep.front() = keep.back() = 1;
    std::vector<std::pair<size_t, size_t>> spans{{0, line.size() - 1}};
    while (!spans.empty()) {
        const auto sp = spans.back();
        spans.pop_back();
        const P2 a = line[sp.first], b = line[sp.second];
        const float l = std::max(1e-6f, len(a, b));
        float worst = 0.0f;
        size_t at = sp.first;
        for (size_t i = sp.first + 1; i < sp.second; ++i) {
            const float d = std::fabs((b.x - a.x) * (line[i].z - a.z) - (b.z - a.z) * (line[i].x - a.x)) / l;
            if (d > worst) {
                worst = d;
                at = i;
            }
        }
        if (worst > tolerance) {
            keep[at] = 1;
            spans.push_back({sp.first, at});
            spans.push_back({at, sp.second});
        }
    }
    std::vector<P2> out;
    std::vector<float> w;
    for (size_t i = 0; i < line.size(); ++i)
        if (keep[i]) {
            out.push_back(line[i]);
            w.push_back(width[i]);
        }
    line.swap(out);
    width.swap(w);
}
