// Reading an INI ("private profile") file with the semantics the options rely on:
// a missing file, section or key gives the default; section and key names match
// case-insensitively; a number is read from its leading digits (with a sign) and text that is no
// number gives 0; a string is cut to its buffer.
#pragma once

#include <cstddef>
#include <cstdint>

int32_t profileReadInt(const char* section, const char* key, int32_t defaultValue, const char* path);
// Copies the value (or the default) into out, at most size - 1 bytes plus the terminator.
// Returns the number of bytes copied, not counting the terminator.
size_t profileReadString(const char* section, const char* key, const char* defaultValue, char* out,
                         size_t size, const char* path);
