// The game's texts are Windows-1250; the desktop and terminals want UTF-8.
#pragma once

#include <string>

std::string utf8From1250(const std::string& text);
