#include "tests/support/bmp_build.h"

#include <algorithm>

namespace {

void put(std::vector<uint8_t>& out, uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

} // namespace

std::vector<uint8_t> buildBmp(const BmpSpec& spec)
{
    std::vector<uint8_t> info;
    const bool core = spec.headerSize == 12;
    const int side = core ? 2 : 4;  // the core header has 16-bit sides and 3-byte colour entries
    put(info, spec.headerSize, 4);
    put(info, static_cast<uint32_t>(spec.width), side);
    put(info, static_cast<uint32_t>(spec.height), side);
    put(info, 1, 2);
    put(info, spec.bits, 2);
    if (!core) {
        for (uint32_t v : {spec.compression, static_cast<uint32_t>(spec.pixels.size()), 2835u, 2835u,
                           spec.coloursUsed, 0u})
            put(info, v, 4);
        for (uint32_t m : spec.masks)
            put(info, m, 4);
        info.resize(std::max<size_t>(info.size(), spec.headerSize), 0);
    }
    for (uint32_t c : spec.palette)
        put(info, c, core ? 3 : 4);
    std::vector<uint8_t> out;
    if (spec.fileHeader) {
        const uint32_t start = 14 + static_cast<uint32_t>(info.size());
        out = {'B', 'M'};
        put(out, start + static_cast<uint32_t>(spec.pixels.size()), 4);
        put(out, 0, 4);
        put(out, spec.pixelOffset >= 0 ? static_cast<uint32_t>(spec.pixelOffset) : start, 4);
    }
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
    return out;
}

std::vector<uint8_t> rows24(const std::vector<std::vector<uint32_t>>& bottomFirst)
{
    std::vector<uint8_t> out;
    for (const auto& row : bottomFirst) {
        for (uint32_t c : row)
            put(out, c, 3);
        out.resize(out.size() + (4 - row.size() * 3 % 4) % 4, 0xEE);  // padding that must never show
    }
    return out;
}

std::string asString(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
