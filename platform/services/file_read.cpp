#include "platform/services/file_read.h"
#include "platform/services/path_resolve.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // Opened without waiting, so a pipe or a device in the data tree is refused instead of
    // blocking the load; only regular files of a sane size are read.
    char resolved[DATA_PATH_SIZE];
    resolveDataPath(path, resolved);  // backslashes, and names in another letter case
    const int fd = open(resolved, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
        static_cast<uint64_t>(info.st_size) > DATA_FILE_MAX_BYTES) {
        close(fd);
        return false;
    }
    const size_t length = static_cast<size_t>(info.st_size);
    // One spare byte so that a reader may look one past the text without a special case.
    out.data = static_cast<uint8_t*>(std::malloc(length + 1));
    if (!out.data) {
        close(fd);
        return false;
    }
    size_t got = 0;
    while (got < length) {
        const ssize_t n = read(fd, out.data + got, length - got);
        if (n <= 0)
            break;
        got += static_cast<size_t>(n);
    }
    close(fd);
    if (got != length) {
        std::free(out.data);
        out.data = nullptr;
        return false;
    }
    out.data[length] = 0;
    out.size = length;
    return true;
}
