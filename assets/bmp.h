// BMP image loading: every picture of the game (textures, menu pictures, the font picture) is a
// Windows bitmap, whatever its extension. The loader keeps no state; each image it returns belongs
// to the caller.
#pragma once

#include <cstddef>
#include <cstdint>

// One decoded picture: packed R, G, B rows without padding, the bottom row first. The record and
// its pixels are malloc'd; the caller releases both with free (or freeImage).
struct ImageRecord {
    int32_t width;
    int32_t height;
    uint8_t* pixels;
};

// Pictures larger than this on a side, or of more pixels than the largest texture the game can
// use (8192 a side, which it halves once to its largest), are refused before anything is
// allocated: 192 MB decoded at most, whatever the file's own length.
constexpr int32_t BMP_MAX_SIDE = 16384;
constexpr uint64_t BMP_MAX_PIXELS = uint64_t{8192} * 8192;

// The loader's messages (shown under the caption "Error").
extern const char* const BMP_MSG_OPEN;        // "Failed to open DIB file %s.\n"
extern const char* const BMP_MSG_FORMAT;      // "Unknown DIB file format."
extern const char* const BMP_MSG_CONVERSION;  // "Image file conversion error."
extern const char* const BMP_MSG_MEMORY;      // "Out of memory."

// Decodes a whole BMP file held in memory. Returns the new image, or nullptr with *error set to
// one of the messages above (never BMP_MSG_OPEN). Never reads outside data[0..size).
ImageRecord* decodeBmp(const uint8_t* data, size_t size, const char** error);

// Reads and decodes one file. On failure shows the message box and returns nullptr.
ImageRecord* loadBmpImage(const char* path);

// Reads and decodes one file without showing anything; on failure returns nullptr and writes the
// message (the open message with the path filled in) into message (up to messageSize bytes).
ImageRecord* loadBmpImageQuiet(const char* path, char* message, size_t messageSize);

void freeImage(ImageRecord* image);
