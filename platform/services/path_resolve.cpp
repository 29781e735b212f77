#include "platform/services/path_resolve.h"

#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(const char* a, const char* b, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

bool entryExists(const char* path)
{
    struct stat info;
    return lstat(path, &info) == 0;
}

// Replaces the last component of found (its `length` bytes from `start`) by the name in its folder
// that matches it ignoring case; false when there is none.
bool foldComponent(char* found, size_t start, size_t length)
{
    char folder[DATA_PATH_SIZE];
    std::memcpy(folder, found, start);
    folder[start] = 0;
    DIR* dir = opendir(start == 0 ? "." : folder);
    if (!dir)
        return false;
    char best[DATA_PATH_SIZE] = "";
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strlen(name) == length && sameIgnoringCase(name, found + start, length) &&
            (best[0] == 0 || std::strcmp(name, best) < 0))
            std::memcpy(best, name, length + 1);
    }
    closedir(dir);
    if (best[0] == 0)
        return false;
    std::memcpy(found + start, best, length);
    return true;
}

} // namespace

int32_t resolveDataPath(const char* path, char* out)
{
    size_t n = 0;
    for (; path[n] != 0 && n + 1 < DATA_PATH_SIZE; ++n)
        out[n] = path[n] == '\\' ? '/' : path[n];
    out[n] = 0;
    if (path[n] != 0) {
        out[0] = 0;
        return PATH_MISSING;
    }
    if (entryExists(out))
        return PATH_EXACT;
    // Component by component: each one that is missing as written is looked for in its folder.
    char found[DATA_PATH_SIZE];
    std::memcpy(found, out, n + 1);
    int32_t result = PATH_EXACT;
    size_t start = 0;
    while (start < n) {
        size_t end = start;
        while (end < n && found[end] != '/')
            ++end;
        const char kept = found[end];
        found[end] = 0;
        if (end > start && !entryExists(found)) {
            if (!foldComponent(found, start, end - start))
                return PATH_MISSING;
            result = PATH_CASE_FOLDED;
        }
        found[end] = kept;
        start = end + 1;
    }
    std::memcpy(out, found, n + 1);
    return result;
}
