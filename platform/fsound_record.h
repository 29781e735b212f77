// The recording sound library: plays nothing, remembers every call as a short text such as
// "PlaySound(13)" or "SetFrequency(0,4000)". Used by the headless driver (its sounds column)
// and by tests that check which sounds the game asked for.
//
// Two lists: the calls (what plays, stops and retunes: PlaySound, StopSound, SetFrequency,
// StreamPlay, StreamStop, StreamSetTime, StreamClose, Init, Close) and the full log, which also
// has the settings, loads, frees and opens ("SetDriver(0)", "SampleLoad(path,2)",
// "SampleFree(3)", "StreamOpen(path,2)"). Handles are numbered from 1 in the order they are made.
// All of it lives for the process; fsoundRecordReset clears the lists and the settings.
#pragma once

#include <string>
#include <vector>

struct FSOUND_STREAM;

// Calls recorded since the last take, oldest first; taking clears the list.
std::vector<std::string> fsoundRecordTake();
// What FSOUND_IsPlaying answers for a channel (0 unless set).
void fsoundRecordSetPlaying(int channel, int playing);
// Whether FSOUND_Init succeeds (default yes).
void fsoundRecordSetInitResult(int result);
void fsoundRecordReset();

// The full log since the last take of it; taking clears it.
std::vector<std::string> fsoundRecordTakeLog();
// What FSOUND_GetVersion answers (default 3.75).
void fsoundRecordSetVersion(float version);
// 1: loading or opening a file that does not exist gives a null handle, as the real library
// does (default 0: every load succeeds).
void fsoundRecordSetCheckFiles(int on);
// The number a handle has in the records (0 for null), the path and mode it was made from.
int fsoundRecordHandleId(const void* handle);
std::string fsoundRecordHandlePath(const void* handle);
unsigned int fsoundRecordHandleMode(const void* handle);
// What FSOUND_Stream_GetTime and FSOUND_Stream_GetLengthMs answer for a stream (0 unless set;
// FSOUND_Stream_SetTime also sets the time).
void fsoundRecordSetStreamTime(const FSOUND_STREAM* stream, int ms);
void fsoundRecordSetStreamLength(const FSOUND_STREAM* stream, int ms);
// Streams opened and not yet closed, samples loaded and not yet freed (FSOUND_Close ends all).
int fsoundRecordOpenStreams();
int fsoundRecordLiveSamples();
