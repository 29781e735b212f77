#include "platform/fsound.h"
#include "platform/fsound_record.h"

#include <array>
#include <cstdio>

namespace {

std::vector<std::string> calls;
std::array<int, 64> playing{};
int initResult = 1;
bool initialised = false;

// Distinct non-null handles, so callers can tell samples and streams apart in the record.
std::array<int, 256> handleStore{};
int nextHandle = 0;

void record(const char* format, int a, int b = 0, int argc = 1)
{
    char text[64];
    if (argc == 0)
        std::snprintf(text, sizeof text, "%s", format);
    else if (argc == 1)
        std::snprintf(text, sizeof text, format, a);
    else
        std::snprintf(text, sizeof text, format, a, b);
    calls.push_back(text);
}

void* newHandle()
{
    int slot = nextHandle++ % static_cast<int>(handleStore.size());
    handleStore[slot] = slot + 1;
    return &handleStore[slot];
}

int handleId(const void* handle)
{
    return handle ? *static_cast<const int*>(handle) : 0;
}

bool inChannelRange(int channel)
{
    return channel >= 0 && channel < static_cast<int>(playing.size());
}

} // namespace

std::vector<std::string> fsoundRecordTake()
{
    std::vector<std::string> out;
    out.swap(calls);
    return out;
}

void fsoundRecordSetPlaying(int channel, int value)
{
    if (inChannelRange(channel))
        playing[channel] = value;
}

void fsoundRecordSetInitResult(int result)
{
    initResult = result;
}

void fsoundRecordReset()
{
    calls.clear();
    playing.fill(0);
    initResult = 1;
    initialised = false;
}

float FSOUND_GetVersion() { return 3.75f; }
int FSOUND_SetOutput(int) { return 1; }
int FSOUND_SetDriver(int) { return 1; }
int FSOUND_SetMixer(int) { return 1; }
int FSOUND_SetBufferSize(int) { return 1; }

int FSOUND_Init(int, int, unsigned int)
{
    initialised = initResult != 0;
    record("Init", 0, 0, 0);
    return initResult;
}

void FSOUND_Close()
{
    record("Close", 0, 0, 0);
    initialised = false;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* path, unsigned int, int, int)
{
    if (!initialised || !path)
        return nullptr;
    return static_cast<FSOUND_SAMPLE*>(newHandle());
}

void FSOUND_Sample_Free(FSOUND_SAMPLE*) {}

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample)
{
    if (!initialised || !sample)
        return 0;
    record("PlaySound(%d)", channel);
    return channel;
}

int FSOUND_StopSound(int channel)
{
    if (!initialised)
        return 0;
    record("StopSound(%d)", channel);
    return 1;
}

int FSOUND_IsPlaying(int channel)
{
    if (!initialised || !inChannelRange(channel))
        return 0;
    return playing[channel];
}

int FSOUND_SetFrequency(int channel, int frequency)
{
    if (!initialised)
        return 0;
    record("SetFrequency(%d,%d)", channel, frequency, 2);
    return 1;
}

FSOUND_STREAM* FSOUND_Stream_Open(const char* path, unsigned int, int, int)
{
    if (!initialised || !path)
        return nullptr;
    return static_cast<FSOUND_STREAM*>(newHandle());
}

int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream)
{
    if (!initialised || !stream)
        return 0;
    record("StreamPlay(%d,%d)", channel, handleId(stream), 2);
    return channel;
}

int FSOUND_Stream_Stop(FSOUND_STREAM* stream)
{
    if (!initialised || !stream)
        return 0;
    record("StreamStop(%d)", handleId(stream));
    return 1;
}

int FSOUND_Stream_SetTime(FSOUND_STREAM* stream, int ms)
{
    if (!initialised || !stream)
        return 0;
    record("StreamSetTime(%d,%d)", handleId(stream), ms, 2);
    return 1;
}

int FSOUND_Stream_GetTime(FSOUND_STREAM*) { return 0; }
int FSOUND_Stream_GetLengthMs(FSOUND_STREAM*) { return 0; }

int FSOUND_Stream_Close(FSOUND_STREAM* stream)
{
    if (!initialised || !stream)
        return 0;
    record("StreamClose(%d)", handleId(stream));
    return 1;
}
