// velbrant-check's stand-ins for the operating-system services: no clock or stick is needed, and
// every message a loader shows is kept so the checker can print it against the file it read.
#include "tools/check/report.h"

#include "platform/platform.h"

std::vector<std::string> checkMessages;

uint64_t platformNowMs()
{
    return 0;
}

void platformReadJoystick(JoyInfo* info)
{
    *info = JoyInfo{32768, 32768, 32768, 0};
}

void platformMessageBox(const char* text, const char*)
{
    checkMessages.push_back(text ? text : "");
}
