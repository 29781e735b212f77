// The checks of the three run files (.busa, .misji, .roz) beyond what the readers take: the line
// of a bad number, a number out of range, a stop count that does not match its pairs. velbrant-check
// prints them as "path: message" and refuses the tree; the game prints the same lines on standard
// error at every new game and plays on with what the readers took.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr int32_t PARAMS_CHECK_MAX_PROBLEMS = 4;
constexpr int32_t PARAMS_CHECK_MESSAGE_SIZE = 128;

// The problems of one file, each a message without the path. Filled by one call, lives with it.
struct ParamsProblems {
    int32_t count;
    char messages[PARAMS_CHECK_MAX_PROBLEMS][PARAMS_CHECK_MESSAGE_SIZE];
};

void checkBusParametersText(const char* text, size_t length, ParamsProblems* out);
void checkMissionParametersText(const char* text, size_t length, ParamsProblems* out);
void checkStopsText(const char* text, size_t length, ParamsProblems* out);

// Each problem as "path: message" on standard error.
void printParamsProblems(const char* path, const ParamsProblems& problems);
