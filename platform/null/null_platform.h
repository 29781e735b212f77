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
// Two lists: the calls (what plays, stops and retunes, and the device opening and closing:
// PlaySound, StopSound, SetFrequency, StreamPlay, StreamStop, StreamSetTime, StreamClose,
// OpenDevice, CloseDevice) and the full log, which also has the abilities asked for, the device
// opened, loads, frees and opens ("Abilities", "OpenDevice(0,44100,32)", "SampleLoad(path,2)",
// "SampleFree(3)", "StreamOpen(path,2)"). Handles are numbered from 1 in the order they are made.
// All of it lives for the process; sndRecordReset clears the lists and the settings.

// Calls recorded since the last take, oldest first; taking clears the list.
std::vector<std::string> sndRecordTake();
// sndChannelPlaying answers 1 while a one-shot sample plays there (as long as its file sounds, by
// platformNowMs; an unreadable file not at all), a looping one until stopped, or while this says 1.
void sndRecordSetPlaying(int channel, int playing);
// Whether sndOpenDevice succeeds (default yes).
void sndRecordSetOpenResult(int result);
void sndRecordReset();

// The full log since the last take of it; taking clears it.
std::vector<std::string> sndRecordTakeLog();
// What sndAbilities answers (default SND_READS_MP3, everything).
void sndRecordSetAbilities(uint32_t abilities);
// 1: loading or opening a file that does not exist gives a null handle, as the real library
// does (default 0: every load succeeds).
void sndRecordSetCheckFiles(int on);
// The number a handle has in the records (0 for null), the path and mode it was made from.
int sndRecordHandleId(const void* handle);
std::string sndRecordHandlePath(const void* handle);
uint8_t sndRecordHandleMode(const void* handle);
// What sndStreamPosition and sndStreamLength answer for a stream (0 unless set; sndSeekStream
// also sets the position).
void sndRecordSetStreamTime(const SoundStream* stream, int ms);
void sndRecordSetStreamLength(const SoundStream* stream, int ms);
// Streams opened and not yet closed, samples loaded and not yet freed (sndCloseDevice ends all).
int sndRecordOpenStreams();
int sndRecordLiveSamples();
