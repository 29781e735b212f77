#include "tests/support/menu_screen.h"

#include <cmath>

int pixelX(const Screenshot& s, float x)
{
    return static_cast<int>(std::lround((x + 1.0f) * 0.5f * s.width));
}
int pixelY(const Screenshot& s, float y)
{
    return static_cast<int>(std::lround((1.0f - y) * 0.5f * s.height));
}

void meanOf(const Screenshot& s, const Area& a, double out[3])
{
    s.mean(pixelX(s, a.x0), pixelY(s, a.y1), pixelX(s, a.x1), pixelY(s, a.y0), out);
}

double meanLevel(const Screenshot& s, const Area& a)
{
    double m[3];
    meanOf(s, a, m);
    return (m[0] + m[1] + m[2]) / 3.0;
}

double amberShare(const Screenshot& s, const Area& a)
{
    return s.share(pixelX(s, a.x0), pixelY(s, a.y1), pixelX(s, a.x1), pixelY(s, a.y0),
                   [](const uint8_t* p) { return p[0] > 180 && p[1] > 100 && p[1] < 235 && p[2] < 120; });
}
