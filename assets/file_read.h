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

// Reads a regular file. False when it cannot be opened or read (a folder counts as unopenable);
// an empty file reads as true with size 0.
bool readFileBytes(const char* path, FileBytes& out);
