#include "tests/support/bmp_build.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

std::vector<uint8_t> buildBmp(const BmpSpec& spec)
{
    std::vector<uint8_t> info;
    const bool core = spec.headerSize == 12;
    put32(info, spec.headerSize);
    if (core) {
        put16(info, static_cast<uint32_t>(spec.width));
        put16(info, static_cast<uint32_t>(spec.height));
        put16(info, 1);
        put16(info, spec.bits);
    } else {
        put32(info, static_cast<uint32_t>(spec.width));
        put32(info, static_cast<uint32_t>(spec.height));
        put16(info, 1);
        put16(info, spec.bits);
        put32(info, spec.compression);
        put32(info, static_cast<uint32_t>(spec.pixels.size()));
        put32(info, 2835);
        put32(info, 2835);
        put32(info, spec.coloursUsed);
        put32(info, 0);
        for (uint32_t m : spec.masks)
            put32(info, m);
        while (info.size() < spec.headerSize)
            info.push_back(0);
    }
    for (uint32_t c : spec.palette) {
        info.push_back(static_cast<uint8_t>(c));
        info.push_back(static_cast<uint8_t>(c >> 8));
        info.push_back(static_cast<uint8_t>(c >> 16));
        if (!core)
            info.push_back(0);
    }
    std::vector<uint8_t> out;
    const uint32_t headerBytes = spec.fileHeader ? 14 : 0;
    if (spec.fileHeader) {
        const uint32_t offset =
            spec.pixelOffset >= 0 ? static_cast<uint32_t>(spec.pixelOffset) : headerBytes + static_cast<uint32_t>(info.size());
        out.push_back('B');
        out.push_back('M');
        put32(out, static_cast<uint32_t>(headerBytes + info.size() + spec.pixels.size()));
        put32(out, 0);
        put32(out, offset);
    }
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
    return out;
}

std::vector<uint8_t> rows24(const std::vector<std::vector<uint32_t>>& bottomFirst)
{
    std::vector<uint8_t> out;
    for (const auto& row : bottomFirst) {
        size_t start = out.size();
        for (uint32_t c : row) {
            out.push_back(static_cast<uint8_t>(c));
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c >> 16));
        }
        while ((out.size() - start) % 4)
            out.push_back(0xEE);  // padding that must never show up in the picture
    }
    return out;
}

std::string asString(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
