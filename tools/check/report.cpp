#include "tools/check/report.h"

void reportProblem(CheckReport& report, const std::string& path, const std::string& message)
{
    if (report.optionalDepth > 0) {
        reportWarning(report, path, message);
        return;
    }
    report.lines.push_back(path + ": " + message);
    ++report.errors;
}

void reportWarning(CheckReport& report, const std::string& path, const std::string& message)
{
    report.lines.push_back(path + ": " + message + " (optional)");
    ++report.warnings;
}
