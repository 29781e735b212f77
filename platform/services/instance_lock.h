// The single-instance lock file: where it lives and how it is opened, so that no other user can
// hold it first or turn it into a link to a file of the player's. Plain POSIX, no state of its own.
#pragma once

#include <cstdint>

// What takeInstanceLock gives besides a locked descriptor.
constexpr int INSTANCE_LOCK_HELD = -1;     // another copy holds the lock
constexpr int INSTANCE_LOCK_NOWHERE = -2;  // no place could take a lock file

// Opens "<name>.lock" in runtimeDir when there is one, else "<name>-<uid>.lock" in the shared
// sharedDir; when the file there is not the player's own regular file (another user made it first,
// or it is a symbolic link), "<name>.lock" in the player's cacheDir (made when missing) instead.
// Never follows a link and never writes to the file. Returns the locked descriptor, to be kept
// open for the process's life, or one of the values above.
int takeInstanceLock(const char* name, uint32_t uid, const char* runtimeDir, const char* sharedDir,
                     const char* cacheDir);
