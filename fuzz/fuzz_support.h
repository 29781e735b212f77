// Shared by the fuzz targets: a check that keeps the input when a reader breaks a promise it
// makes in its header, and a scratch folder for readers that only take a path.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// A failed check aborts, so libFuzzer saves the input as a crash.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

// A private folder for this process, made at first use and removed when the process ends.
inline const std::string& fuzzScratchDir()
{
    static std::string path;
    if (path.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "velbrant-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        path = pattern;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        });
    }
    return path;
}

// Writes the bytes to a file, replacing it.
inline void fuzzWriteFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, f) != size) {
        std::perror(path.c_str());
        std::abort();
    }
    std::fclose(f);
}
