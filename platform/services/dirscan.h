// Folder search: the regular files of one folder whose names end in a given suffix.
// Plain C++ and POSIX, no state of its own.
#pragma once

#include <string>
#include <vector>

// Names (without the folder) of the regular files in folder whose names end in suffix, compared
// without regard to ASCII case, sorted by name in byte order so every machine lists them alike.
// An empty folder text means the working directory. A folder that cannot be read gives none.
std::vector<std::string> findFilesBySuffix(const std::string& folder, const std::string& suffix);

// The name handling of the search, without the folder: the names that end in suffix (ASCII case
// ignored), sorted in byte order. findFilesBySuffix keeps those of them that are regular files.
std::vector<std::string> selectNamesBySuffix(std::vector<std::string> names, const std::string& suffix);
