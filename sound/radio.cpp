#include "sound/radio.h"

int32_t radioTrack = 1;
int32_t radioLastTrack = 0;
int32_t radioPosition = 0;
int32_t radioLength = 0;

void scanRadioFolder(const char*) {}
void radioStep() {}
void radioStopCurrent() {}
