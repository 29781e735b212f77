// BMP decoding from a file read whole into memory. Every offset is checked against the file's size
// before it is read, so a short or lying file is refused instead of being read past its end.
#include "assets/bmp.h"

#include "assets/file_read.h"
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* const BMP_MSG_OPEN = "Failed to open DIB file %s.\n";
const char* const BMP_MSG_FORMAT = "Unknown DIB file format.";
const char* const BMP_MSG_CONVERSION = "Image file conversion error.";
const char* const BMP_MSG_MEMORY = "Out of memory.";

namespace {

constexpr uint32_t BMP_FILE_HEADER_SIZE = 14;
constexpr uint32_t BMP_INFO_HEADER_SIZE = 40;
constexpr uint32_t BMP_CORE_HEADER_SIZE = 12;
constexpr uint32_t BMP_RGB = 0;
constexpr uint32_t BMP_RLE8 = 1;
constexpr uint32_t BMP_RLE4 = 2;

uint16_t read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t read32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

// What the headers say, already checked against the file.
struct BmpLayout {
    int32_t width;
    int32_t height;
    uint8_t topDown;
    uint32_t bitCount;
    uint32_t compression;
    uint64_t pixelStart;
    // The colour table as R, G, B; entries past the file's table stay black.
    uint8_t palette[256][3];
};

// Fills layout from the headers; returns the message of the first problem, or nullptr.
const char* readLayout(const uint8_t* data, size_t size, BmpLayout& layout)
{
    uint64_t header = 0;
    uint8_t haveFileHeader = 0;
    uint64_t pixelOffset = 0;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (size < BMP_FILE_HEADER_SIZE)
            return BMP_MSG_CONVERSION;
        pixelOffset = read32(data + 10);
        header = BMP_FILE_HEADER_SIZE;
        haveFileHeader = 1;
    }
    if (size < header + 4)
        return BMP_MSG_FORMAT;
    const uint32_t headerSize = read32(data + header);
    if (headerSize != BMP_INFO_HEADER_SIZE && headerSize != BMP_CORE_HEADER_SIZE)
        return BMP_MSG_FORMAT;
    if (size < header + headerSize)
        return BMP_MSG_CONVERSION;

    const uint8_t* h = data + header;
    int64_t width = 0, height = 0;
    uint32_t coloursUsed = 0;
    layout.topDown = 0;
    if (headerSize == BMP_INFO_HEADER_SIZE) {
        width = static_cast<int32_t>(read32(h + 4));
        height = static_cast<int32_t>(read32(h + 8));
        layout.bitCount = read16(h + 14);
        layout.compression = read32(h + 16);
        coloursUsed = read32(h + 32);
    } else {
        width = read16(h + 4);
        height = read16(h + 6);
        layout.bitCount = read16(h + 10);
        layout.compression = BMP_RGB;
    }
    if (height < 0) {
        // Stored top row first: accepted for plain rows; run-length data cannot be stored that way.
        if (layout.compression != BMP_RGB)
            return BMP_MSG_CONVERSION;
        layout.topDown = 1;
        height = -height;
    }
    if (width <= 0 || height <= 0 || width > BMP_MAX_SIDE || height > BMP_MAX_SIDE)
        return BMP_MSG_CONVERSION;
    layout.width = static_cast<int32_t>(width);
    layout.height = static_cast<int32_t>(height);

    const uint32_t bits = layout.bitCount;
    switch (layout.compression) {
    case BMP_RGB:
        if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
            return BMP_MSG_CONVERSION;
        break;
    case BMP_RLE8:
        if (bits != 8)
            return BMP_MSG_CONVERSION;
        break;
    case BMP_RLE4:
        if (bits != 4)
            return BMP_MSG_CONVERSION;
        break;
    default:
        return BMP_MSG_CONVERSION;
    }

    uint64_t entries = 0;
    if (headerSize == BMP_INFO_HEADER_SIZE && coloursUsed != 0)
        entries = coloursUsed;
    else if (bits <= 8)
        entries = 1u << bits;
    const uint64_t maxEntries = bits <= 8 ? (1u << bits) : 256u;
    if (entries > maxEntries)
        return BMP_MSG_CONVERSION;
    const uint64_t entrySize = headerSize == BMP_INFO_HEADER_SIZE ? 4 : 3;
    const uint64_t tableStart = header + headerSize;
    const uint64_t tableEnd = tableStart + entries * entrySize;
    if (tableEnd > size)
        return BMP_MSG_CONVERSION;
    std::memset(layout.palette, 0, sizeof layout.palette);
    for (uint64_t i = 0; i < entries; ++i) {
        const uint8_t* e = data + tableStart + i * entrySize;
        layout.palette[i][0] = e[2];
        layout.palette[i][1] = e[1];
        layout.palette[i][2] = e[0];
    }

    layout.pixelStart = haveFileHeader ? pixelOffset : tableEnd;
    if (layout.pixelStart > size)
        return BMP_MSG_CONVERSION;
    if (layout.compression == BMP_RGB) {
        const uint64_t stride = (static_cast<uint64_t>(layout.width) * bits + 31) / 32 * 4;
        if (stride * static_cast<uint64_t>(layout.height) > size - layout.pixelStart)
            return BMP_MSG_CONVERSION;
    }
    return nullptr;
}

inline void putIndex(uint8_t* out, const BmpLayout& layout, uint32_t index)
{
    const uint8_t* c = layout.palette[index & 0xFF];
    out[0] = c[0];
    out[1] = c[1];
    out[2] = c[2];
}

// One 5-bit channel of a 5-5-5 pixel widened to 8 bits, so full intensity stays 255.
inline uint8_t widen5(uint32_t v)
{
    return static_cast<uint8_t>((v << 3) | (v >> 2));
}

void decodeRow(const uint8_t* src, uint8_t* out, const BmpLayout& layout)
{
    const int32_t width = layout.width;
    switch (layout.bitCount) {
    case 24:
        for (int32_t x = 0; x < width; ++x, src += 3, out += 3) {
            out[0] = src[2];
            out[1] = src[1];
            out[2] = src[0];
        }
        break;
    case 32:
        for (int32_t x = 0; x < width; ++x, src += 4, out += 3) {
            out[0] = src[2];
            out[1] = src[1];
            out[2] = src[0];
        }
        break;
    case 16:
        for (int32_t x = 0; x < width; ++x, src += 2, out += 3) {
            const uint32_t v = read16(src);
            out[0] = widen5((v >> 10) & 31);
            out[1] = widen5((v >> 5) & 31);
            out[2] = widen5(v & 31);
        }
        break;
    case 8:
        for (int32_t x = 0; x < width; ++x, out += 3)
            putIndex(out, layout, src[x]);
        break;
    case 4:
        for (int32_t x = 0; x < width; ++x, out += 3)
            putIndex(out, layout, (x & 1) ? (src[x >> 1] & 15) : (src[x >> 1] >> 4));
        break;
    case 1:
        for (int32_t x = 0; x < width; ++x, out += 3)
            putIndex(out, layout, (src[x >> 3] >> (7 - (x & 7))) & 1);
        break;
    default:
        break;
    }
}

void decodeRows(const uint8_t* data, const BmpLayout& layout, uint8_t* out)
{
    const uint64_t stride = (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
    const uint64_t outStride = static_cast<uint64_t>(layout.width) * 3;
    for (int32_t y = 0; y < layout.height; ++y) {
        const int32_t fileRow = layout.topDown ? layout.height - 1 - y : y;
        decodeRow(data + layout.pixelStart + stride * static_cast<uint64_t>(fileRow), out + outStride * y, layout);
    }
}

// Run-length data (8 or 4 bits per index). Pixels that the data skips stay black; runs past the
// row's end are clipped. Data that ends before its end-of-picture mark is refused.
bool decodeRunLength(const uint8_t* data, size_t size, const BmpLayout& layout, uint8_t* out)
{
    const uint8_t nibbles = layout.compression == BMP_RLE4;
    const int64_t width = layout.width, height = layout.height;
    uint64_t p = layout.pixelStart;
    int64_t x = 0, y = 0;
    auto put = [&](uint32_t index) {
        if (x < width)
            putIndex(out + (static_cast<uint64_t>(y) * width + x) * 3, layout, index);
        ++x;
    };
    while (y < height) {
        if (size - p < 2)
            return false;
        const uint32_t count = data[p], value = data[p + 1];
        p += 2;
        if (count > 0) {
            for (uint32_t i = 0; i < count; ++i)
                put(nibbles ? ((i & 1) ? (value & 15) : (value >> 4)) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return true;
        } else if (value == 2) {
            if (size - p < 2)
                return false;
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else {
            // Literal run of `value` indices, padded to a 16-bit boundary.
            const uint64_t bytes = nibbles ? (value + 1) / 2 : value;
            const uint64_t padded = (bytes + 1) & ~uint64_t{1};
            if (size - p < padded)
                return false;
            for (uint32_t i = 0; i < value; ++i) {
                const uint8_t b = data[p + (nibbles ? i / 2 : i)];
                put(nibbles ? ((i & 1) ? (b & 15) : (b >> 4)) : b);
            }
            p += padded;
        }
    }
    return true;
}

} // namespace

ImageRecord* decodeBmp(const uint8_t* data, size_t size, const char** error)
{
    const char* ignored = nullptr;
    if (!error)
        error = &ignored;
    *error = nullptr;
    if (!data || size == 0) {
        *error = BMP_MSG_FORMAT;
        return nullptr;
    }
    BmpLayout layout;
    if (const char* problem = readLayout(data, size, layout)) {
        *error = problem;
        return nullptr;
    }
    const size_t pixelBytes = static_cast<size_t>(layout.width) * static_cast<size_t>(layout.height) * 3;
    const uint8_t runLength = layout.compression != BMP_RGB;
    uint8_t* pixels = static_cast<uint8_t*>(runLength ? std::calloc(pixelBytes, 1) : std::malloc(pixelBytes));
    ImageRecord* image = static_cast<ImageRecord*>(std::malloc(sizeof(ImageRecord)));
    if (!pixels || !image) {
        std::free(pixels);
        std::free(image);
        *error = BMP_MSG_MEMORY;
        return nullptr;
    }
    if (runLength) {
        if (!decodeRunLength(data, size, layout, pixels)) {
            std::free(pixels);
            std::free(image);
            *error = BMP_MSG_CONVERSION;
            return nullptr;
        }
    } else {
        decodeRows(data, layout, pixels);
    }
    image->width = layout.width;
    image->height = layout.height;
    image->pixels = pixels;
    return image;
}

ImageRecord* loadBmpImageQuiet(const char* path, char* message, size_t messageSize)
{
    FileBytes bytes;
    // A missing file, a folder and an empty file all count as one that cannot be opened.
    if (!readFileBytes(path, bytes) || bytes.size == 0) {
        if (message && messageSize > 0)
            std::snprintf(message, messageSize, BMP_MSG_OPEN, path ? path : "");
        return nullptr;
    }
    const char* error = nullptr;
    ImageRecord* image = decodeBmp(bytes.data, bytes.size, &error);
    if (!image && message && messageSize > 0)
        std::snprintf(message, messageSize, "%s", error);
    return image;
}

ImageRecord* loadBmpImage(const char* path)
{
    char message[1100];
    ImageRecord* image = loadBmpImageQuiet(path, message, sizeof message);
    if (!image)
        platformMessageBox(message, "Error");
    return image;
}

void freeImage(ImageRecord* image)
{
    if (!image)
        return;
    std::free(image->pixels);
    std::free(image);
}
