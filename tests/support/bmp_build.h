// Hand-made BMP files for the image tests: every header field settable, so files can lie.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BmpSpec {
    int32_t width = 1, height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0, coloursUsed = 0;
    uint32_t headerSize = 40;             // 40, or 12 for the core header; others make a bad file
    bool fileHeader = true;               // the 14-byte "BM" header
    int64_t pixelOffset = -1;             // -1: right after the colour table
    std::vector<uint32_t> masks;          // channel masks: inside a longer header, else after it
    std::vector<uint32_t> palette;        // 0xRRGGBB entries, written as the header form wants
    std::vector<uint8_t> pixels;          // the pixel data as stored (rows padded by the caller)
};

std::vector<uint8_t> buildBmp(const BmpSpec& spec);

// 24-bit pixel data from rows of 0xRRGGBB values given bottom row first, padded to 4 bytes.
std::vector<uint8_t> rows24(const std::vector<std::vector<uint32_t>>& bottomFirst);

std::string asString(const std::vector<uint8_t>& bytes);
