// BMP decoding from a file read whole into memory. Every offset is checked against the file's size
// before it is read, so a short or lying file is refused instead of being read past its end.
#include "assets/bmp.h"

#include "platform/services/file_read.h"
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
// The longer headers that painting programs write: the 40-byte fields, then the channel masks
// and colour-space data the game has no use for.
constexpr uint32_t BMP_V4_HEADER_SIZE = 108;
constexpr uint32_t BMP_V5_HEADER_SIZE = 124;
constexpr uint32_t BMP_RGB = 0;
constexpr uint32_t BMP_RLE8 = 1;
constexpr uint32_t BMP_RLE4 = 2;
constexpr uint32_t BMP_BITFIELDS = 3;

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
    // Red, green and blue of a 16- or 32-bit pixel: where each channel sits and how wide it is.
    uint32_t mask[3];
    uint32_t shift[3];
    uint32_t bitsOf[3];
    // The colour table as R, G, B; entries past the file's table stay black.
    uint8_t palette[256][3];
};

// Where the headers sit in the file, and where the masks and the colour table end once read.
struct BmpHeaders {
    uint64_t start;         // offset of the info or core header
    uint32_t size;          // its length, which says which kind it is
    uint8_t infoHeader;     // 0 for the 12-byte core header
    uint8_t haveFileHeader;
    uint64_t pixelOffset;   // from the file header, when there is one
    uint64_t masksEnd;      // set by readMasks
    uint64_t tableEnd;      // set by readPalette
};

// Finds the info or core header, after the file header when there is one.
const char* findHeader(const uint8_t* data, size_t size, BmpHeaders& headers)
{
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (size < BMP_FILE_HEADER_SIZE)
            return BMP_MSG_CONVERSION;
        headers.pixelOffset = read32(data + 10);
        headers.start = BMP_FILE_HEADER_SIZE;
        headers.haveFileHeader = 1;
    }
    if (size < headers.start + 4)
        return BMP_MSG_FORMAT;
    const uint32_t headerSize = read32(data + headers.start);
    if (headerSize != BMP_INFO_HEADER_SIZE && headerSize != BMP_CORE_HEADER_SIZE && headerSize != BMP_V4_HEADER_SIZE &&
        headerSize != BMP_V5_HEADER_SIZE)
        return BMP_MSG_FORMAT;
    headers.size = headerSize;
    headers.infoHeader = headerSize != BMP_CORE_HEADER_SIZE;
    if (size < headers.start + headerSize)
        return BMP_MSG_CONVERSION;
    return nullptr;
}

// Width, height, row order, bit depth and compression; a picture that would cost too much once
// decoded is refused here, before anything is allocated.
const char* readSize(const uint8_t* data, const BmpHeaders& headers, BmpLayout& layout)
{
    const uint8_t* h = data + headers.start;
    int64_t width = 0, height = 0;
    layout.topDown = 0;
    if (headers.infoHeader) {
        width = static_cast<int32_t>(read32(h + 4));
        height = static_cast<int32_t>(read32(h + 8));
        layout.bitCount = read16(h + 14);
        layout.compression = read32(h + 16);
    } else {
        width = read16(h + 4);
        height = read16(h + 6);
        layout.bitCount = read16(h + 10);
        layout.compression = BMP_RGB;
    }
    if (height < 0) {
        // Stored top row first: accepted for plain rows; run-length data cannot be stored that way.
        if (layout.compression != BMP_RGB && layout.compression != BMP_BITFIELDS)
            return BMP_MSG_CONVERSION;
        layout.topDown = 1;
        height = -height;
    }
    if (width <= 0 || height <= 0 || width > BMP_MAX_SIDE || height > BMP_MAX_SIDE ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > BMP_MAX_PIXELS)
        return BMP_MSG_CONVERSION;
    layout.width = static_cast<int32_t>(width);
    layout.height = static_cast<int32_t>(height);
    return nullptr;
}

// Whether the compression allows the bit depth.
bool depthFits(const BmpLayout& layout)
{
    const uint32_t bits = layout.bitCount;
    switch (layout.compression) {
    case BMP_RGB:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case BMP_RLE8:
        return bits == 8;
    case BMP_RLE4:
        return bits == 4;
    case BMP_BITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// The channel masks: inside the longer headers, right after the 40-byte one. Plain 16-bit
// pixels are 5-5-5 and plain 32-bit ones B, G, R and a spare byte.
const char* readMasks(const uint8_t* data, size_t size, BmpHeaders& headers, BmpLayout& layout)
{
    headers.masksEnd = headers.start + headers.size;
    if (layout.compression == BMP_BITFIELDS) {
        const uint8_t* m = data + headers.start + BMP_INFO_HEADER_SIZE;
        if (headers.size == BMP_INFO_HEADER_SIZE) {
            headers.masksEnd += 12;
            if (headers.masksEnd > size)
                return BMP_MSG_CONVERSION;
        }
        for (int i = 0; i < 3; ++i)
            layout.mask[i] = read32(m + 4 * i);
    } else if (layout.bitCount == 16) {
        layout.mask[0] = 0x7C00;
        layout.mask[1] = 0x03E0;
        layout.mask[2] = 0x001F;
    } else {
        layout.mask[0] = 0xFF0000;
        layout.mask[1] = 0x00FF00;
        layout.mask[2] = 0x0000FF;
    }
    return nullptr;
}

// A channel is its mask's lowest run of set bits; a 16-bit picture has no bits above 15.
void findChannels(BmpLayout& layout)
{
    for (int i = 0; i < 3; ++i) {
        uint32_t mask = layout.bitCount == 16 ? layout.mask[i] & 0xFFFF : layout.mask[i];
        uint32_t shift = 0, width = 0;
        while (mask != 0 && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++width;
        }
        layout.shift[i] = shift;
        layout.bitsOf[i] = width;
    }
}

// The colour table, right after the masks: as many entries as the header says, or all the depth
// allows, never more.
const char* readPalette(const uint8_t* data, size_t size, BmpHeaders& headers, BmpLayout& layout)
{
    const uint32_t bits = layout.bitCount;
    const uint32_t coloursUsed = headers.infoHeader ? read32(data + headers.start + 32) : 0;
    uint64_t entries = 0;
    if (coloursUsed != 0)
        entries = coloursUsed;
    else if (bits <= 8)
        entries = 1u << bits;
    const uint64_t maxEntries = bits <= 8 ? (1u << bits) : 256u;
    if (entries > maxEntries)
        return BMP_MSG_CONVERSION;
    const uint64_t entrySize = headers.infoHeader ? 4 : 3;
    const uint64_t tableStart = headers.masksEnd;
    headers.tableEnd = tableStart + entries * entrySize;
    if (headers.tableEnd > size)
        return BMP_MSG_CONVERSION;
    std::memset(layout.palette, 0, sizeof layout.palette);
    for (uint64_t i = 0; i < entries; ++i) {
        const uint8_t* e = data + tableStart + i * entrySize;
        layout.palette[i][0] = e[2];
        layout.palette[i][1] = e[1];
        layout.palette[i][2] = e[0];
    }
    return nullptr;
}

// The pixels start where the file header says, or right after the colour table without one.
const char* checkPixelBounds(size_t size, const BmpHeaders& headers, BmpLayout& layout)
{
    layout.pixelStart = headers.haveFileHeader ? headers.pixelOffset : headers.tableEnd;
    if (layout.pixelStart > size)
        return BMP_MSG_CONVERSION;
    // Plain rows must all be in the file. Run-length data may be as short as one end-of-picture
    // mark (the pixels it skips are black), so only the size ceiling bounds it.
    if (layout.compression == BMP_RGB || layout.compression == BMP_BITFIELDS) {
        const uint64_t rowBytes = (static_cast<uint64_t>(layout.width) * layout.bitCount + 31) / 32 * 4;
        if (rowBytes * static_cast<uint64_t>(layout.height) > size - layout.pixelStart)
            return BMP_MSG_CONVERSION;
    }
    return nullptr;
}

// Fills layout from the headers; returns the message of the first problem, or nullptr.
const char* readLayout(const uint8_t* data, size_t size, BmpLayout& layout)
{
    BmpHeaders headers{};
    if (const char* problem = findHeader(data, size, headers))
        return problem;
    if (const char* problem = readSize(data, headers, layout))
        return problem;
    if (!depthFits(layout))
        return BMP_MSG_CONVERSION;
    if (const char* problem = readMasks(data, size, headers, layout))
        return problem;
    findChannels(layout);
    if (const char* problem = readPalette(data, size, headers, layout))
        return problem;
    return checkPixelBounds(size, headers, layout);
}

inline void putIndex(uint8_t* out, const BmpLayout& layout, uint32_t index)
{
    const uint8_t* c = layout.palette[index & 0xFF];
    out[0] = c[0];
    out[1] = c[1];
    out[2] = c[2];
}

// One channel of a 16- or 32-bit pixel as 8 bits: a narrower channel repeats its bits, so full
// intensity stays 255; a wider one keeps its top 8 bits.
inline uint8_t channel(uint32_t pixel, const BmpLayout& layout, int i)
{
    const uint32_t bits = layout.bitsOf[i];
    if (bits == 0)
        return 0;
    const uint32_t v = static_cast<uint32_t>((uint64_t{pixel} >> layout.shift[i]) & ((uint64_t{1} << bits) - 1));
    if (bits >= 8)
        return static_cast<uint8_t>(v >> (bits - 8));
    uint32_t out = 0;
    for (uint32_t filled = 0; filled < 8; filled += bits)
        out = (out << bits) | v;
    return static_cast<uint8_t>(out >> (((8 + bits - 1) / bits) * bits - 8));
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
            const uint32_t v = read32(src);
            out[0] = channel(v, layout, 0);
            out[1] = channel(v, layout, 1);
            out[2] = channel(v, layout, 2);
        }
        break;
    case 16:
        for (int32_t x = 0; x < width; ++x, src += 2, out += 3) {
            const uint32_t v = read16(src);
            out[0] = channel(v, layout, 0);
            out[1] = channel(v, layout, 1);
            out[2] = channel(v, layout, 2);
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
    const uint8_t runLength = layout.compression == BMP_RLE8 || layout.compression == BMP_RLE4;
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
