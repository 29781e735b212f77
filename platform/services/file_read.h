// Reading a data file whole into a staging buffer that lives only while the file is parsed.
#pragma once

#include <cstddef>
#include <cstdint>

// The bytes of one file; released when the holder goes.
struct FileBytes {
    uint8_t* data = nullptr;
    size_t size = 0;

    FileBytes() = default;
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    const char* text() const { return reinterpret_cast<const char*>(data); }
};

// No data file of the game comes near this; a larger one is refused rather than read.
constexpr uint64_t DATA_FILE_MAX_BYTES = uint64_t{64} << 20;

// Reads a regular file of at most DATA_FILE_MAX_BYTES, its path resolved as resolveDataPath does
// (folders separated by slashes or backslashes, names in any letter case). False when it cannot be opened or read, or
// is no regular file (a folder, a pipe, a device) or is larger; an empty file reads as true with
// size 0.
bool readFileBytes(const char* path, FileBytes& out);
