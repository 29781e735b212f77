// The desktop icon: the menu logo's emblem, a red bus front with its windscreen, amber destination
// display and lamps, on a dark rounded square. Drawn from shapes in a unit square, so every size is
// drawn afresh rather than scaled, and written as an RGBA PNG (stored deflate blocks: the bytes
// follow from the picture alone).
#include "tools/data/gen.h"
#include "tools/data/writers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int ICON_SUBSAMPLES = 4;  // per pixel and axis, for smooth edges

struct Rgba {
    float r, g, b, a;
};

// Inside a rectangle [x0,x1) x [y0,y1) with corners rounded by radius r.
bool inRoundedRect(float x, float y, float x0, float y0, float x1, float y1, float r)
{
    if (x < x0 || x >= x1 || y < y0 || y >= y1)
        return false;
    const float cx = std::clamp(x, x0 + r, x1 - r);
    const float cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

bool inCircle(float x, float y, float cx, float cy, float r)
{
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

Rgba rgb(int r, int g, int b)
{
    return Rgba{r / 255.0f, g / 255.0f, b / 255.0f, 1.0f};
}

// The icon's colour at (x, y) of the unit square, y down; the topmost shape wins.
Rgba iconAt(float x, float y)
{
    if (inCircle(x, y, 0.28f, 0.86f, 0.045f) || inCircle(x, y, 0.72f, 0.86f, 0.045f))
        return rgb(255, 246, 200);  // lamps
    if (inRoundedRect(x, y, 0.17f, 0.90f, 0.83f, 0.95f, 0.015f))
        return rgb(40, 42, 50);     // bumper
    if (inRoundedRect(x, y, 0.25f, 0.19f, 0.75f, 0.29f, 0.01f))
        return rgb(255, 200, 70);   // destination display
    if (inRoundedRect(x, y, 0.25f, 0.33f, 0.75f, 0.66f, 0.02f)) {
        const Rgba glass = rgb(60, 92, 124);
        const float glare = y < 0.44f ? 0.35f : 0.0f;
        return Rgba{glass.r + (0.59f - glass.r) * glare, glass.g + (0.75f - glass.g) * glare,
                    glass.b + (0.86f - glass.b) * glare, 1.0f};
    }
    if (inRoundedRect(x, y, 0.20f, 0.70f, 0.80f, 0.75f, 0.0f))
        return rgb(240, 232, 210);  // the white band under the windscreen
    if (inRoundedRect(x, y, 0.20f, 0.13f, 0.80f, 0.92f, 0.06f))
        return rgb(214, 60, 44);    // body
    if (inRoundedRect(x, y, 0.04f, 0.04f, 0.96f, 0.96f, 0.18f)) {
        const float t = std::clamp((y - 0.04f) / 0.92f, 0.0f, 1.0f);
        return Rgba{(10 + 16 * t) / 255.0f, (14 + 22 * t) / 255.0f, (30 + 34 * t) / 255.0f, 1.0f};
    }
    return Rgba{0, 0, 0, 0};
}

uint8_t toByte(float v)
{
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}

std::vector<uint8_t> drawIcon(int size)
{
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    const float step = 1.0f / (static_cast<float>(size) * ICON_SUBSAMPLES);
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            float r = 0, g = 0, b = 0, a = 0;  // premultiplied sums
            for (int sy = 0; sy < ICON_SUBSAMPLES; ++sy)
                for (int sx = 0; sx < ICON_SUBSAMPLES; ++sx) {
                    const Rgba c = iconAt((px * ICON_SUBSAMPLES + sx + 0.5f) * step,
                                          (py * ICON_SUBSAMPLES + sy + 0.5f) * step);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            uint8_t* out = &rgba[(static_cast<size_t>(py) * size + px) * 4];
            out[0] = a > 0 ? toByte(r / a) : 0;
            out[1] = a > 0 ? toByte(g / a) : 0;
            out[2] = a > 0 ? toByte(b / a) : 0;
            out[3] = toByte(a / (ICON_SUBSAMPLES * ICON_SUBSAMPLES));
        }
    return rgba;
}

// --- PNG ------------------------------------------------------------------------------------

uint32_t crc32(const uint8_t* data, size_t n, uint32_t crc = 0)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBe32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& body)
{
    putBe32(png, static_cast<uint32_t>(body.size()));
    const size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    putBe32(png, crc32(&png[start], png.size() - start));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> z{0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(n));
        z.push_back(static_cast<uint8_t>(n >> 8));
        z.push_back(static_cast<uint8_t>(~n));
        z.push_back(static_cast<uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<long>(at), raw.begin() + static_cast<long>(at + n));
        at += n;
    } while (at < raw.size());
    uint32_t s1 = 1, s2 = 0;  // Adler-32
    for (uint8_t byte : raw) {
        s1 = (s1 + byte) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    putBe32(z, (s2 << 16) | s1);
    return z;
}

std::vector<uint8_t> encodePngRgba(int width, int height, const std::vector<uint8_t>& rgba)
{
    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBe32(header, static_cast<uint32_t>(width));
    putBe32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    chunk(png, "IHDR", header);
    std::vector<uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // filter: none
        const auto row = rgba.begin() + static_cast<long>(y) * width * 4;
        rows.insert(rows.end(), row, row + static_cast<long>(width) * 4);
    }
    chunk(png, "IDAT", zlibStored(rows));
    chunk(png, "IEND", {});
    return png;
}

} // namespace

void writeIcon(const std::string& path, int size)
{
    writeBinaryFile(path, encodePngRgba(size, size, drawIcon(size)));
}
