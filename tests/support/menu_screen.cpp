#include "tests/support/menu_screen.h"

#include <cmath>

namespace {
// A menu coordinate (-1..1) as a pixel across side pixels; y is passed negated (rows run down).
int pixel(float v, int side) { return static_cast<int>(std::lround((v + 1.0f) * 0.5f * side)); }
} // namespace

void meanOf(const Screenshot& s, const Area& a, double out[3])
{
    s.mean(pixel(a.x0, s.width), pixel(-a.y1, s.height), pixel(a.x1, s.width), pixel(-a.y0, s.height), out);
}

double meanLevel(const Screenshot& s, const Area& a)
{
    double m[3];
    meanOf(s, a, m);
    return (m[0] + m[1] + m[2]) / 3.0;
}

double amberShare(const Screenshot& s, const Area& a)
{
    return s.share(pixel(a.x0, s.width), pixel(-a.y1, s.height), pixel(a.x1, s.width), pixel(-a.y0, s.height),
                   [](const uint8_t* p) { return p[0] > 180 && p[1] > 100 && p[1] < 235 && p[2] < 120; });
}
