// The sound library: samples played on numbered channels, and streams (music, radio).
//
// Two implementations: platform/fsound_openal.cpp (OpenAL Soft for output, libsndfile for
// reading files) and platform/fsound_record.cpp (plays nothing, records each call; used by the
// headless driver and tests).
//
// Rules every implementation keeps, because the game never checks a handle:
// - every operation on a null handle, before FSOUND_Init or after a failed one, does nothing,
//   fails nothing and answers 0;
// - FSOUND_PlaySound plays on exactly the channel given, replacing what it played;
// - FSOUND_Stream_Play on a channel where another stream plays makes that stream give way.
#pragma once

#include <cstdint>

struct FSOUND_SAMPLE;
struct FSOUND_STREAM;

// Load modes.
constexpr unsigned int FSOUND_LOOP_OFF = 1;
constexpr unsigned int FSOUND_LOOP_NORMAL = 2;
// FSOUND_Sample_Load index meaning "any free slot".
constexpr int FSOUND_FREE = -1;

float FSOUND_GetVersion();

int FSOUND_SetOutput(int outputType);
int FSOUND_SetDriver(int driver);
int FSOUND_SetMixer(int mixer);
int FSOUND_SetBufferSize(int lengthMs);

// 0 means failure (for example no sound device); the game then runs silently.
int FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
void FSOUND_Close();

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* path, unsigned int mode, int offset, int length);
void FSOUND_Sample_Free(FSOUND_SAMPLE* sample);

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
int FSOUND_StopSound(int channel);
int FSOUND_IsPlaying(int channel);
// Playback rate in Hz, relative to the sample's own rate; takes effect at once.
int FSOUND_SetFrequency(int channel, int frequency);

FSOUND_STREAM* FSOUND_Stream_Open(const char* path, unsigned int mode, int offset, int length);
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
int FSOUND_Stream_Stop(FSOUND_STREAM* stream);
int FSOUND_Stream_SetTime(FSOUND_STREAM* stream, int ms);
int FSOUND_Stream_GetTime(FSOUND_STREAM* stream);
int FSOUND_Stream_GetLengthMs(FSOUND_STREAM* stream);
int FSOUND_Stream_Close(FSOUND_STREAM* stream);
