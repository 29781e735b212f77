// Data paths as trees made on other systems write them: the backslash as a folder separator, and
// names whose letter case differs from the files on disk. Plain C++ and POSIX, no state of its own.
#pragma once

#include <cstddef>
#include <cstdint>

// Room for one resolved path, its terminating zero included (the system's longest path).
constexpr size_t DATA_PATH_SIZE = 4096;

// How a path was found.
constexpr int32_t PATH_MISSING = 0;      // no entry matches it, even ignoring letter case
constexpr int32_t PATH_EXACT = 1;        // an entry has exactly that name (backslashes read as slashes)
constexpr int32_t PATH_CASE_FOLDED = 2;  // found only by ignoring the letter case of some component

// Writes into out (DATA_PATH_SIZE bytes) the path of the entry that path names. Backslashes are
// read as slashes. When no entry has exactly that name, each component that is missing is looked
// up, ignoring ASCII letter case, among the names of its own folder only (one folder read per
// component, never a walk of the tree); of several matches the first in byte order is taken.
// When nothing matches, out holds the path with slashes; a path too long for out leaves it empty,
// so that nothing is opened in its place.
int32_t resolveDataPath(const char* path, char* out);
