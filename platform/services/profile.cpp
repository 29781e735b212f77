#include "platform/services/profile.h"

#include "platform/services/file_read.h"

#include <cctype>
#include <climits>
#include <cstring>
#include <sstream>
#include <string>

namespace {

std::string trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool equalsNoCase(const std::string& a, const char* b)
{
    size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Finds the value of section/key; false when the file, the section or the key is missing.
bool findValue(const char* section, const char* key, const char* path, std::string* value)
{
    if (!path || !section || !key)
        return false;
    // Read whole through the data files' bounded reader: a pipe, a device or a huge file counts
    // as a missing file, so every key takes its default instead of the start waiting or filling
    // memory.
    FileBytes bytes;
    if (!readFileBytes(path, bytes))
        return false;
    std::istringstream in(std::string(bytes.text() ? bytes.text() : "", bytes.size));
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        std::string t = trim(line);
        if (t.empty() || t[0] == ';')
            continue;
        if (t[0] == '[') {
            size_t close = t.find(']');
            std::string name = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = equalsNoCase(name, section);
            continue;
        }
        if (!inSection)
            continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos)
            continue;
        if (equalsNoCase(trim(t.substr(0, eq)), key)) {
            std::string v = trim(t.substr(eq + 1));
            // A value in matching quotes loses them, as the profile reader does.
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            *value = v;
            return true;
        }
    }
    return false;
}

} // namespace

int32_t profileReadInt(const char* section, const char* key, int32_t defaultValue, const char* path)
{
    std::string v;
    if (!findValue(section, key, path, &v))
        return defaultValue;
    size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+')) {
        negative = v[i] == '-';
        ++i;
    }
    // Accumulate in 32 bits unsigned, wrapping as the platform's reader does for huge numbers.
    uint32_t n = 0;
    bool any = false;
    while (i < v.size() && std::isdigit(static_cast<unsigned char>(v[i]))) {
        n = n * 10u + static_cast<uint32_t>(v[i] - '0');
        any = true;
        ++i;
    }
    if (!any)
        return 0;
    if (negative)
        n = 0u - n;
    int32_t out;
    std::memcpy(&out, &n, sizeof out);
    return out;
}

size_t profileReadString(const char* section, const char* key, const char* defaultValue, char* out,
                         size_t size, const char* path)
{
    if (!out || size == 0)
        return 0;
    std::string v;
    if (!findValue(section, key, path, &v))
        v = defaultValue ? defaultValue : "";
    size_t n = v.size() < size - 1 ? v.size() : size - 1;
    std::memcpy(out, v.data(), n);
    out[n] = '\0';
    return n;
}
