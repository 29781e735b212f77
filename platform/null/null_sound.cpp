#include "platform/platform.h"
#include "platform/null/null_platform.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr size_t RECORD_LOG_LIMIT = 200000;  // a long headless run must not grow without end
constexpr int RECORD_HANDLE_SLOTS = 4096;
constexpr uint8_t RECORD_SAMPLE = 1;
constexpr uint8_t RECORD_STREAM = 2;

struct RecordHandle {
    int id;            // slot + 1, never 0
    uint8_t live;      // loaded or opened and not yet freed or closed
    uint8_t kind;      // RECORD_SAMPLE or RECORD_STREAM
    unsigned int mode;
    int timeMs;
    int lengthMs;
    std::string path;
};

std::vector<std::string> calls;
std::vector<std::string> fullLog;
std::array<int, 64> playing{};
int initResult = 1;
bool initialised = false;
float version = 3.75f;
int checkFiles = 0;

// Distinct non-null handles, so callers can tell samples and streams apart in the record.
std::array<RecordHandle, RECORD_HANDLE_SLOTS> handleStore{};
int nextHandle = 0;

std::string format(const char* pattern, int a, int b = 0, int argc = 1)
{
    char text[64];
    if (argc == 0)
        std::snprintf(text, sizeof text, "%s", pattern);
    else if (argc == 1)
        std::snprintf(text, sizeof text, pattern, a);
    else
        std::snprintf(text, sizeof text, pattern, a, b);
    return text;
}

void logOnly(const std::string& text)
{
    if (fullLog.size() < RECORD_LOG_LIMIT)
        fullLog.push_back(text);
}

void record(const char* pattern, int a, int b = 0, int argc = 1)
{
    const std::string text = format(pattern, a, b, argc);
    calls.push_back(text);
    logOnly(text);
}

// The next slot not in use, going round the store; ids stay unique while fewer than the store
// holds are live.
RecordHandle* newHandle(uint8_t kind, const char* path, unsigned int mode)
{
    for (int tries = 0; tries < RECORD_HANDLE_SLOTS; ++tries) {
        const int slot = nextHandle++ % RECORD_HANDLE_SLOTS;
        RecordHandle& handle = handleStore[slot];
        if (handle.live)
            continue;
        handle = RecordHandle{};
        handle.id = slot + 1;
        handle.live = 1;
        handle.kind = kind;
        handle.mode = mode;
        handle.path = path;
        return &handle;
    }
    return nullptr;
}

RecordHandle* asHandle(const void* handle)
{
    if (!handle)
        return nullptr;
    const auto* first = handleStore.data();
    const auto* h = static_cast<const RecordHandle*>(handle);
    if (h < first || h >= first + handleStore.size())
        return nullptr;
    return const_cast<RecordHandle*>(h);
}

int handleId(const void* handle)
{
    const RecordHandle* h = asHandle(handle);
    return h ? h->id : 0;
}

bool inChannelRange(int channel)
{
    return channel >= 0 && channel < static_cast<int>(playing.size());
}

bool fileMissing(const char* path)
{
    struct stat info;
    return checkFiles && (stat(path, &info) != 0 || !S_ISREG(info.st_mode));
}

int countLive(uint8_t kind)
{
    int count = 0;
    for (const RecordHandle& h : handleStore)
        count += (h.live && h.kind == kind) ? 1 : 0;
    return count;
}

} // namespace

std::vector<std::string> fsoundRecordTake()
{
    std::vector<std::string> out;
    out.swap(calls);
    return out;
}

std::vector<std::string> fsoundRecordTakeLog()
{
    std::vector<std::string> out;
    out.swap(fullLog);
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

void fsoundRecordSetVersion(float value)
{
    version = value;
}

void fsoundRecordSetCheckFiles(int on)
{
    checkFiles = on;
}

void fsoundRecordReset()
{
    calls.clear();
    fullLog.clear();
    playing.fill(0);
    initResult = 1;
    initialised = false;
    version = 3.75f;
    checkFiles = 0;
    for (RecordHandle& h : handleStore)
        h.live = 0;
}

int fsoundRecordHandleId(const void* handle)
{
    return handleId(handle);
}

std::string fsoundRecordHandlePath(const void* handle)
{
    const RecordHandle* h = asHandle(handle);
    return h ? h->path : std::string();
}

unsigned int fsoundRecordHandleMode(const void* handle)
{
    const RecordHandle* h = asHandle(handle);
    return h ? h->mode : 0u;
}

void fsoundRecordSetStreamTime(const FSOUND_STREAM* stream, int ms)
{
    if (RecordHandle* h = asHandle(stream))
        h->timeMs = ms;
}

void fsoundRecordSetStreamLength(const FSOUND_STREAM* stream, int ms)
{
    if (RecordHandle* h = asHandle(stream))
        h->lengthMs = ms;
}

int fsoundRecordOpenStreams()
{
    return countLive(RECORD_STREAM);
}

int fsoundRecordLiveSamples()
{
    return countLive(RECORD_SAMPLE);
}

float FSOUND_GetVersion()
{
    logOnly("GetVersion");
    return version;
}

int FSOUND_SetOutput(int value)
{
    logOnly(format("SetOutput(%d)", value));
    return 1;
}

int FSOUND_SetDriver(int value)
{
    logOnly(format("SetDriver(%d)", value));
    return 1;
}

int FSOUND_SetMixer(int value)
{
    logOnly(format("SetMixer(%d)", value));
    return 1;
}

int FSOUND_SetBufferSize(int value)
{
    logOnly(format("SetBufferSize(%d)", value));
    return 1;
}

int FSOUND_Init(int mixRate, int channels, unsigned int flags)
{
    initialised = initResult != 0;
    calls.push_back("Init");
    char text[64];
    std::snprintf(text, sizeof text, "Init(%d,%d,%u)", mixRate, channels, flags);
    logOnly(text);
    return initResult;
}

void FSOUND_Close()
{
    record("Close", 0, 0, 0);
    initialised = false;
    for (RecordHandle& h : handleStore)
        h.live = 0;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* path, unsigned int mode, int, int)
{
    if (!initialised || !path)
        return nullptr;
    logOnly(std::string("SampleLoad(") + path + "," + std::to_string(mode) + ")");
    if (fileMissing(path))
        return nullptr;
    return reinterpret_cast<FSOUND_SAMPLE*>(newHandle(RECORD_SAMPLE, path, mode));
}

uint8_t platformSoundFileDecodes(const char* path)
{
    struct stat info;
    return path && stat(path, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 ? 1 : 0;
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sample)
{
    RecordHandle* h = asHandle(sample);
    if (!initialised || !h)
        return;
    logOnly(format("SampleFree(%d)", h->id));
    h->live = 0;
}

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

FSOUND_STREAM* FSOUND_Stream_Open(const char* path, unsigned int mode, int, int)
{
    if (!initialised || !path)
        return nullptr;
    logOnly(std::string("StreamOpen(") + path + "," + std::to_string(mode) + ")");
    if (fileMissing(path))
        return nullptr;
    return reinterpret_cast<FSOUND_STREAM*>(newHandle(RECORD_STREAM, path, mode));
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
    if (RecordHandle* h = asHandle(stream))
        h->timeMs = ms;
    return 1;
}

int FSOUND_Stream_GetTime(FSOUND_STREAM* stream)
{
    const RecordHandle* h = asHandle(stream);
    return initialised && h ? h->timeMs : 0;
}

int FSOUND_Stream_GetLengthMs(FSOUND_STREAM* stream)
{
    const RecordHandle* h = asHandle(stream);
    return initialised && h ? h->lengthMs : 0;
}

int FSOUND_Stream_Close(FSOUND_STREAM* stream)
{
    if (!initialised || !stream)
        return 0;
    record("StreamClose(%d)", handleId(stream));
    if (RecordHandle* h = asHandle(stream))
        h->live = 0;
    return 1;
}
