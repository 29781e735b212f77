// What velbrant-check found: one line per problem as "path: message", and the tallies.
#pragma once

#include <string>
#include <vector>

struct CheckReport {
    std::vector<std::string> lines;
    int errors = 0;
    int warnings = 0;
    // Above 0 while checking files the game reads only with other options: their problems do
    // not make the tree unplayable.
    int optionalDepth = 0;
};

// A problem that stops the tree from playing as made (or, inside optional content, a warning).
void reportProblem(CheckReport& report, const std::string& path, const std::string& message);
// Something the game copes with: an absent optional file, no radio tracks.
void reportWarning(CheckReport& report, const std::string& path, const std::string& message);
