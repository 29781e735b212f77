#include "platform/services/dirscan.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool endsWithNoCase(const std::string& name, const std::string& suffix)
{
    if (name.size() < suffix.size())
        return false;
    const size_t start = name.size() - suffix.size();
    for (size_t i = 0; i < suffix.size(); ++i) {
        if (lowerAscii(name[start + i]) != lowerAscii(suffix[i]))
            return false;
    }
    return true;
}

} // namespace

std::vector<std::string> selectNamesBySuffix(std::vector<std::string> names, const std::string& suffix)
{
    // A name that is only the suffix (".mp3") still counts: it is a file like any other.
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) { return !endsWithNoCase(name, suffix); }),
                names.end());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> findFilesBySuffix(const std::string& folder, const std::string& suffix)
{
    std::vector<std::string> names;
    const std::string dirPath = folder.empty() ? std::string(".") : folder;
    DIR* dir = opendir(dirPath.c_str());
    if (!dir)
        return names;
    std::string prefix = dirPath;
    if (prefix.back() != '/')
        prefix += '/';
    while (const dirent* entry = readdir(dir))
        names.push_back(entry->d_name);
    closedir(dir);
    names = selectNamesBySuffix(std::move(names), suffix);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) {
                                   // folders, devices and broken links are not files to play
                                   struct stat info;
                                   return stat((prefix + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode);
                               }),
                names.end());
    return names;
}
