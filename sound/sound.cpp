#include "sound/sound.h"

FSOUND_SAMPLE* soundSamples[SOUND_SAMPLE_COUNT];
FSOUND_STREAM* soundStreams[SOUND_STREAM_COUNT];

void initSound() {}
void playSoundEvent(int, int) {}
void shutdownSound() {}
