#include "assets/file_read.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

FileBytes::~FileBytes()
{
    std::free(data);
}

bool readFileBytes(const char* path, FileBytes& out)
{
    std::free(out.data);
    out.data = nullptr;
    out.size = 0;
    if (!path)
        return false;
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(file);
        return false;
    }
    const size_t length = static_cast<size_t>(info.st_size);
    // One spare byte so that a reader may look one past the text without a special case.
    out.data = static_cast<uint8_t*>(std::malloc(length + 1));
    if (!out.data) {
        std::fclose(file);
        return false;
    }
    const size_t got = std::fread(out.data, 1, length, file);
    std::fclose(file);
    if (got != length) {
        std::free(out.data);
        out.data = nullptr;
        return false;
    }
    out.data[length] = 0;
    out.size = length;
    return true;
}
