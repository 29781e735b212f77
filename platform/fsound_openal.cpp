// Placeholder sound library: behaves as after a failed initialisation (every call does nothing).
#include "platform/fsound.h"

float FSOUND_GetVersion() { return 3.75f; }
int FSOUND_SetOutput(int) { return 0; }
int FSOUND_SetDriver(int) { return 0; }
int FSOUND_SetMixer(int) { return 0; }
int FSOUND_SetBufferSize(int) { return 0; }
int FSOUND_Init(int, int, unsigned int) { return 0; }
void FSOUND_Close() {}
FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char*, unsigned int, int, int) { return nullptr; }
void FSOUND_Sample_Free(FSOUND_SAMPLE*) {}
int FSOUND_PlaySound(int, FSOUND_SAMPLE*) { return 0; }
int FSOUND_StopSound(int) { return 0; }
int FSOUND_IsPlaying(int) { return 0; }
int FSOUND_SetFrequency(int, int) { return 0; }
FSOUND_STREAM* FSOUND_Stream_Open(const char*, unsigned int, int, int) { return nullptr; }
int FSOUND_Stream_Play(int, FSOUND_STREAM*) { return 0; }
int FSOUND_Stream_Stop(FSOUND_STREAM*) { return 0; }
int FSOUND_Stream_SetTime(FSOUND_STREAM*, int) { return 0; }
int FSOUND_Stream_GetTime(FSOUND_STREAM*) { return 0; }
int FSOUND_Stream_GetLengthMs(FSOUND_STREAM*) { return 0; }
int FSOUND_Stream_Close(FSOUND_STREAM*) { return 0; }
