#include "platform/services/instance_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file at path cannot be trusted (a link, someone else's, no regular file) or opened.
constexpr int LOCK_UNTRUSTED = -3;

int lockAt(const std::string& path, uint32_t uid)
{
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0)
        return LOCK_UNTRUSTED;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != uid) {
        close(fd);
        return LOCK_UNTRUSTED;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        return error == EWOULDBLOCK ? INSTANCE_LOCK_HELD : LOCK_UNTRUSTED;
    }
    return fd;
}

} // namespace

int takeInstanceLock(const char* name, uint32_t uid, const char* runtimeDir, const char* sharedDir,
                     const char* cacheDir)
{
    int result = LOCK_UNTRUSTED;
    if (runtimeDir && runtimeDir[0])
        result = lockAt(std::string(runtimeDir) + "/" + name + ".lock", uid);
    else if (sharedDir && sharedDir[0])
        result = lockAt(std::string(sharedDir) + "/" + name + "-" + std::to_string(uid) + ".lock", uid);
    if (result == LOCK_UNTRUSTED && cacheDir && cacheDir[0]) {
        mkdir(cacheDir, 0700);
        result = lockAt(std::string(cacheDir) + "/" + name + ".lock", uid);
    }
    return result == LOCK_UNTRUSTED ? INSTANCE_LOCK_NOWHERE : result;
}
