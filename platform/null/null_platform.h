// The stand-in platform: the platform page (platform/platform.h) without a machine behind it, for
// tests, benchmarks and the tools. Two libraries, linked in place of the real ones:
//   null_sys.cpp    a settable clock and stick and a dialog that records (velbrant_null_sys)
//   null_sound.cpp  a sound library that plays nothing and records its calls (velbrant_null_sound)
// The window, event and display-mode part has no stand-in: code that needs it runs on the real one.
#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <string>
#include <vector>

// --- Clock, stick, dialog. All of it lives for the process; fakeSysReset puts it back. ---

struct FakeMessage {
    std::string text;
    std::string caption;
};

// The millisecond clock the game reads; its owner moves it by hand (the headless driver 20 ms a tick).
extern uint64_t fakeNowMs;
// The joystick reading handed out (centre by default).
extern JoyReading fakeJoystick;
// Every message box shown, in order.
extern std::vector<FakeMessage> fakeMessages;
// 1: each message is also printed on stderr as "caption: text" (the tools); default 0.
extern uint8_t fakeMessagesToStderr;

// Clock 0, stick centred, no messages (the stderr choice is kept).
void fakeSysReset();

// --- The recording sound library: plays nothing, remembers every call as a short text such as
// "PlaySound(13)" or "SetFrequency(0,4000)". The headless driver prints them (its sounds column);
// tests check which sounds the game asked for.
//
// Two lists: the calls (what plays, stops and retunes: PlaySound, StopSound, SetFrequency,
// StreamPlay, StreamStop, StreamSetTime, StreamClose, Init, Close) and the full log, which also
// has the settings, loads, frees and opens ("SetDriver(0)", "SampleLoad(path,2)",
// "SampleFree(3)", "StreamOpen(path,2)"). Handles are numbered from 1 in the order they are made.
// All of it lives for the process; fsoundRecordReset clears the lists and the settings.

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
