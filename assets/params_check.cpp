#include "assets/params_check.h"

#include "assets/params.h"
#include "assets/tokens.h"

#include <cstdarg>
#include <cstdio>

namespace {

void addProblem(ParamsProblems* out, const char* format, ...)
{
    if (out->count >= PARAMS_CHECK_MAX_PROBLEMS)
        return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(out->messages[out->count++], PARAMS_CHECK_MESSAGE_SIZE, format, args);
    va_end(args);
}

// Reads up to `wanted` numbers as the readers do; returns how many it read. A failed number is
// reported at the line where it starts, a number that is not finite at its own line.
int32_t checkNumbers(TextCursor& c, int32_t wanted, ParamsProblems* out, int32_t* badLine)
{
    *badLine = 0;
    uint8_t outOfRange = 0;
    for (int32_t i = 0; i < wanted; ++i) {
        skipSpace(c);
        const int32_t line = c.line;
        float value;
        const int result = scanFloat(c, value);
        if (result == SCAN_NOT_FINITE && !outOfRange) {
            outOfRange = 1;
            addProblem(out, "number out of range at line %d", line);
        } else if (result == SCAN_MISMATCH) {
            *badLine = line;
            return i;
        } else if (result == SCAN_END) {
            return i;
        }
    }
    return wanted;
}

void checkValueText(const char* text, size_t length, int32_t wanted, ParamsProblems* out)
{
    out->count = 0;
    TextCursor c = textCursor(text ? text : "", text ? length : 0);
    int32_t badLine = 0;
    const int32_t read = checkNumbers(c, wanted, out, &badLine);
    if (badLine > 0)
        addProblem(out, "bad number at line %d", badLine);
    else if (read < wanted)
        addProblem(out, "only %d of %d values", read, wanted);
}

} // namespace

void checkBusParametersText(const char* text, size_t length, ParamsProblems* out)
{
    checkValueText(text, length, PARAMS_BUS_VALUE_COUNT, out);
}

void checkMissionParametersText(const char* text, size_t length, ParamsProblems* out)
{
    checkValueText(text, length, PARAMS_MISSION_VALUE_COUNT, out);
}

void checkStopsText(const char* text, size_t length, ParamsProblems* out)
{
    out->count = 0;
    TextCursor c = textCursor(text ? text : "", text ? length : 0);
    skipSpace(c);
    const int32_t countLine = c.line;
    int32_t declared = 0;
    if (scanInt(c, declared) != SCAN_OK) {
        addProblem(out, "bad number at line %d: the count of stops", countLine);
        return;
    }
    if (declared < 0 || declared > MAX_STOPS)
        addProblem(out, "count %d out of range (0..%d)", declared, MAX_STOPS);
    const int32_t counted = declared < 0 ? 0 : (declared > MAX_STOPS ? MAX_STOPS : declared);
    // The pairs the count takes, then whatever numbers follow them: stops the count leaves out.
    int32_t badLine = 0;
    const int32_t read = checkNumbers(c, 2 * counted, out, &badLine);
    if (badLine > 0) {
        addProblem(out, "bad number at line %d", badLine);
        return;
    }
    int32_t extra = 0;
    float value;
    for (int result = scanFloat(c, value); result == SCAN_OK || result == SCAN_NOT_FINITE; result = scanFloat(c, value))
        ++extra;
    const int32_t pairs = (read + extra) / 2;
    if (read < 2 * counted)
        addProblem(out, "count %d but %d stop pairs: the game reads stops that are not there", counted, pairs);
    else if (extra >= 2 && declared >= 0 && declared <= MAX_STOPS)
        addProblem(out, "count %d but %d stop pairs: the game drops the stops past the count", counted, pairs);
    if (counted == 0)
        addProblem(out, "no stops: the run can never end");
}

void printParamsProblems(const char* path, const ParamsProblems& problems)
{
    for (int32_t i = 0; i < problems.count; ++i)
        std::fprintf(stderr, "%s: %s\n", path, problems.messages[i]);
}
