#include "tools/data/content_paint.h"

#include <algorithm>
#include <cmath>

static uint8_t clampByte(float v)
{
    if (v <= 0.0f)
        return 0;
    if (v >= 255.0f)
        return 255;
    return static_cast<uint8_t>(v + 0.5f);
}

Rgb mixRgb(Rgb a, Rgb b, float t)
{
    return Rgb{clampByte(a.r + (b.r - a.r) * t), clampByte(a.g + (b.g - a.g) * t), clampByte(a.b + (b.b - a.b) * t)};
}

Rgb scaleRgb(Rgb c, float f)
{
    return Rgb{clampByte(c.r * f), clampByte(c.g * f), clampByte(c.b * f)};
}

Rgb getPixel(const Picture& p, int x, int y)
{
    x = std::clamp(x, 0, p.width - 1);
    y = std::clamp(y, 0, p.height - 1);
    const uint8_t* q = p.at(x, y);
    return Rgb{q[0], q[1], q[2]};
}

void putPixel(Picture& p, int x, int y, Rgb c)
{
    p.set(x, y, c.r, c.g, c.b);
}

void blendPixel(Picture& p, int x, int y, Rgb c, float alpha)
{
    if (x < 0 || y < 0 || x >= p.width || y >= p.height || alpha <= 0.0f)
        return;
    if (alpha >= 1.0f) {
        putPixel(p, x, y, c);
        return;
    }
    putPixel(p, x, y, mixRgb(getPixel(p, x, y), c, alpha));
}

static uint32_t hash3(int x, int y, uint32_t seed)
{
    uint32_t h = seed * 0x9E3779B1u;
    h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
    h = (h << 13) | (h >> 19);
    h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h *= 0x27D4EB2Fu;
    h ^= h >> 15;
    h *= 0x165667B1u;
    h ^= h >> 13;
    return h;
}

static float lattice(int x, int y, int period, uint32_t seed)
{
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
    return static_cast<float>(hash3(x, y, seed) >> 8) / 16777216.0f;
}

float tileNoise(float x, float y, int period, uint32_t seed)
{
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    float fx = x - ix, fy = y - iy;
    fx = fx * fx * (3.0f - 2.0f * fx);
    fy = fy * fy * (3.0f - 2.0f * fy);
    const float a = lattice(ix, iy, period, seed), b = lattice(ix + 1, iy, period, seed);
    const float c = lattice(ix, iy + 1, period, seed), d = lattice(ix + 1, iy + 1, period, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

float fractalNoise(float x, float y, int size, int cells, int octaves, uint32_t seed)
{
    float sum = 0.0f, weight = 0.0f, amp = 1.0f;
    for (int o = 0; o < octaves; ++o) {
        const int period = cells << o;
        const float scale = static_cast<float>(period) / static_cast<float>(size);
        sum += amp * tileNoise(x * scale, y * scale, period, seed + 977u * static_cast<uint32_t>(o));
        weight += amp;
        amp *= 0.5f;
    }
    return sum / weight;
}

Picture noisePicture(int w, int h, Rgb base, float amount, int cells, uint32_t seed)
{
    Picture p(w, h);
    const int size = std::max(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float n = fractalNoise(static_cast<float>(x), static_cast<float>(y), size, cells, 4, seed);
            putPixel(p, x, y, scaleRgb(base, 1.0f + (n - 0.5f) * 2.0f * amount));
        }
    return p;
}

void addGrain(Picture& p, int x0, int y0, int x1, int y1, float amount, uint32_t seed)
{
    for (int y = std::max(0, y0); y < std::min(p.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(p.width, x1); ++x) {
            const float n = static_cast<float>(hash3(x, y, seed) >> 8) / 16777216.0f;
            putPixel(p, x, y, scaleRgb(getPixel(p, x, y), 1.0f + (n - 0.5f) * 2.0f * amount));
        }
}

void fillBox(Picture& p, int x0, int y0, int x1, int y1, Rgb c)
{
    p.fillRect(x0, y0, x1, y1, c.r, c.g, c.b);
}

void blendBox(Picture& p, int x0, int y0, int x1, int y1, Rgb c, float alpha)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            blendPixel(p, x, y, c, alpha);
}

void gradientBox(Picture& p, int x0, int y0, int x1, int y1, Rgb top, Rgb bottom)
{
    for (int y = y0; y < y1; ++y) {
        const float t = y1 - y0 > 1 ? static_cast<float>(y - y0) / static_cast<float>(y1 - y0 - 1) : 0.0f;
        const Rgb c = mixRgb(top, bottom, t);
        for (int x = x0; x < x1; ++x)
            putPixel(p, x, y, c);
    }
}

void frameBox(Picture& p, int x0, int y0, int x1, int y1, int t, Rgb c)
{
    fillBox(p, x0, y0, x1, y0 + t, c);
    fillBox(p, x0, y1 - t, x1, y1, c);
    fillBox(p, x0, y0, x0 + t, y1, c);
    fillBox(p, x1 - t, y0, x1, y1, c);
}

void fillDisc(Picture& p, float cx, float cy, float r, Rgb c)
{
    fillRing(p, cx, cy, r, r + 2.0f, c);
}

void fillRing(Picture& p, float cx, float cy, float r, float width, Rgb c)
{
    const float inner = r - width;
    const int x0 = static_cast<int>(std::floor(cx - r - 1)), x1 = static_cast<int>(std::ceil(cx + r + 1));
    const int y0 = static_cast<int>(std::floor(cy - r - 1)), y1 = static_cast<int>(std::ceil(cy + r + 1));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy);
            float a = std::clamp(r - d + 0.5f, 0.0f, 1.0f);
            if (inner > 0.0f)
                a = std::min(a, std::clamp(d - inner + 0.5f, 0.0f, 1.0f));
            blendPixel(p, x, y, c, a);
        }
}

void drawLine(Picture& p, float x0, float y0, float x1, float y1, float width, Rgb c)
{
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = dx * dx + dy * dy;
    const float half = width * 0.5f;
    const int bx0 = static_cast<int>(std::floor(std::min(x0, x1) - half - 1));
    const int bx1 = static_cast<int>(std::ceil(std::max(x0, x1) + half + 1));
    const int by0 = static_cast<int>(std::floor(std::min(y0, y1) - half - 1));
    const int by1 = static_cast<int>(std::ceil(std::max(y0, y1) + half + 1));
    for (int y = by0; y <= by1; ++y)
        for (int x = bx0; x <= bx1; ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = len2 > 0 ? (px * dx + py * dy) / len2 : 0.0f;
            t = std::clamp(t, 0.0f, 1.0f);
            const float d = std::hypot(px - t * dx, py - t * dy);
            blendPixel(p, x, y, c, std::clamp(half - d + 0.5f, 0.0f, 1.0f));
        }
}

void fillPolygon(Picture& p, const std::vector<float>& xy, Rgb c)
{
    const size_t n = xy.size() / 2;
    if (n < 3)
        return;
    float minY = xy[1], maxY = xy[1];
    for (size_t i = 0; i < n; ++i) {
        minY = std::min(minY, xy[2 * i + 1]);
        maxY = std::max(maxY, xy[2 * i + 1]);
    }
    for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(std::ceil(maxY)); ++y) {
        const float sy = y + 0.5f;
        std::vector<float> xs;
        for (size_t i = 0; i < n; ++i) {
            const float ax = xy[2 * i], ay = xy[2 * i + 1];
            const float bx = xy[2 * ((i + 1) % n)], by = xy[2 * ((i + 1) % n) + 1];
            if ((ay <= sy && by > sy) || (by <= sy && ay > sy))
                xs.push_back(ax + (sy - ay) / (by - ay) * (bx - ax));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            for (int x = static_cast<int>(std::lround(xs[k])); x < static_cast<int>(std::lround(xs[k + 1])); ++x)
                putPixel(p, x, y, c);
    }
}

void liftBlack(Picture& p)
{
    for (size_t i = 0; i + 2 < p.rgb.size(); i += 3)
        if (p.rgb[i] == 0 && p.rgb[i + 1] == 0 && p.rgb[i + 2] == 0)
            p.rgb[i] = p.rgb[i + 1] = p.rgb[i + 2] = 1;
}

int TextureSet::add(const std::string& name, Picture picture, bool keyed)
{
    if (!keyed)
        liftBlack(picture);
    const std::string fullPath = folder + name + ".bmp";
    const std::string halfPath = folder + name + "_n.bmp";
    writeBmp(dir + "/" + fullPath, picture);
    Picture small = picture.halfSize();
    if (keyed) {
        // Keep holes crisp: a half-size texel is a hole only when its whole block was one.
        for (int y = 0; y < small.height; ++y)
            for (int x = 0; x < small.width; ++x) {
                int holes = 0;
                for (int k = 0; k < 4; ++k) {
                    const Rgb c = getPixel(picture, x * 2 + (k & 1), y * 2 + (k >> 1));
                    holes += (c.r == 0 && c.g == 0 && c.b == 0) ? 1 : 0;
                }
                const Rgb s = getPixel(small, x, y);
                if (holes >= 3)
                    putPixel(small, x, y, KEY_BLACK);
                else if (s.r == 0 && s.g == 0 && s.b == 0)
                    putPixel(small, x, y, Rgb{1, 1, 1});
            }
    } else {
        liftBlack(small);
    }
    writeBmp(dir + "/" + halfPath, small);
    full.push_back(fullPath);
    half.push_back(halfPath);
    return static_cast<int>(full.size()) - 1;
}

void TextureSet::writeQualityLists() const
{
    writeTexList(dir + "/" + folder + "TeksturyW.tex", full);
    writeTexList(dir + "/" + folder + "TeksturyN.tex", half);
}

void TextureSet::writeSingleList(const std::string& listName) const
{
    writeTexList(dir + "/" + folder + listName, full);
}
