#include "platform/platform.h"
#include "platform/null/null_platform.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t RECORD_LOG_LIMIT = 200000;  // a long headless run must not grow without end
constexpr int RECORD_HANDLE_SLOTS = 4096;
constexpr uint8_t RECORD_SAMPLE = 1;
constexpr uint8_t RECORD_STREAM = 2;

struct RecordHandle {
    int id;            // slot + 1, never 0
    uint8_t live;      // loaded or opened and not yet freed or closed
    uint8_t kind;      // RECORD_SAMPLE or RECORD_STREAM
    uint8_t mode;
    int timeMs;
    int64_t lengthMs;  // a stream's as set by its test; a sample's as its file sounds
    std::string path;
};

// What a channel plays, as far as the record goes.
struct RecordChannel {
    int forced;         // sndRecordSetPlaying's answer, kept until set again or reset
    uint8_t looping;    // a looping sample: plays until stopped or replaced
    uint64_t endsAtMs;  // a one-shot sample: plays until the platform's clock reaches this
};

std::vector<std::string> calls;
std::vector<std::string> fullLog;
std::array<RecordChannel, 64> channels{};
int openResult = 1;
bool initialised = false;
uint32_t abilities = SND_READS_MP3;
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
RecordHandle* newHandle(uint8_t kind, const char* path, uint8_t mode)
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
    return channel >= 0 && channel < static_cast<int>(channels.size());
}

bool fileMissing(const char* path)
{
    struct stat info;
    return checkFiles && (stat(path, &info) != 0 || !S_ISREG(info.st_mode));
}

// How long a sample file sounds, in milliseconds rounded up, so that on the headless driver's
// clock of 20 ms a tick it lasts as many ticks as the real library plays it; 0 when unreadable.
// Opened as the real library opens it: a regular file only, never waiting on a pipe.
int64_t soundLengthMs(const char* path)
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(fd);
        return 0;
    }
    SF_INFO info{};
    SNDFILE* file = fd >= 0 ? sf_open_fd(fd, SFM_READ, &info, SF_TRUE) : nullptr;
    if (!file)
        return 0;
    sf_close(file);
    if (info.samplerate <= 0 || info.frames <= 0)
        return 0;
    const int64_t frames = std::min<int64_t>(info.frames, INT64_MAX / 1000);  // a header's frames * 1000 fits
    return (frames * 1000 + info.samplerate - 1) / info.samplerate;
}

// The channel falls silent (the forced answer stays).
void silence(int channel)
{
    if (inChannelRange(channel)) {
        channels[channel].looping = 0;
        channels[channel].endsAtMs = 0;
    }
}

int countLive(uint8_t kind)
{
    int count = 0;
    for (const RecordHandle& h : handleStore)
        count += (h.live && h.kind == kind) ? 1 : 0;
    return count;
}

} // namespace

std::vector<std::string> sndRecordTake()
{
    std::vector<std::string> out;
    out.swap(calls);
    return out;
}

std::vector<std::string> sndRecordTakeLog()
{
    std::vector<std::string> out;
    out.swap(fullLog);
    return out;
}

void sndRecordSetPlaying(int channel, int value)
{
    if (inChannelRange(channel))
        channels[channel].forced = value;
}

void sndRecordSetOpenResult(int result)
{
    openResult = result;
}

void sndRecordSetAbilities(uint32_t value)
{
    abilities = value;
}

void sndRecordSetCheckFiles(int on)
{
    checkFiles = on;
}

void sndRecordReset()
{
    calls.clear();
    fullLog.clear();
    channels.fill(RecordChannel{});
    openResult = 1;
    initialised = false;
    abilities = SND_READS_MP3;
    checkFiles = 0;
    for (RecordHandle& h : handleStore)
        h.live = 0;
}

int sndRecordHandleId(const void* handle)
{
    return handleId(handle);
}

std::string sndRecordHandlePath(const void* handle)
{
    const RecordHandle* h = asHandle(handle);
    return h ? h->path : std::string();
}

uint8_t sndRecordHandleMode(const void* handle)
{
    const RecordHandle* h = asHandle(handle);
    return h ? h->mode : 0;
}

void sndRecordSetStreamTime(const SoundStream* stream, int ms)
{
    if (RecordHandle* h = asHandle(stream))
        h->timeMs = ms;
}

void sndRecordSetStreamLength(const SoundStream* stream, int ms)
{
    if (RecordHandle* h = asHandle(stream))
        h->lengthMs = ms;
}

int sndRecordOpenStreams()
{
    return countLive(RECORD_STREAM);
}

int sndRecordLiveSamples()
{
    return countLive(RECORD_SAMPLE);
}

uint32_t sndAbilities()
{
    logOnly("Abilities");
    return abilities;
}

int sndOpenDevice(int device, int mixRate, int channels)
{
    initialised = openResult != 0;
    calls.push_back("OpenDevice");
    char text[64];
    std::snprintf(text, sizeof text, "OpenDevice(%d,%d,%d)", device, mixRate, channels);
    logOnly(text);
    return openResult;
}

void sndCloseDevice()
{
    record("CloseDevice", 0, 0, 0);
    initialised = false;
    for (int c = 0; c < static_cast<int>(channels.size()); ++c)
        silence(c);
    for (RecordHandle& h : handleStore)
        h.live = 0;
}

SoundSample* sndLoadSample(const char* path, uint8_t mode)
{
    if (!initialised || !path)
        return nullptr;
    logOnly(std::string("SampleLoad(") + path + "," + std::to_string(mode) + ")");
    if (fileMissing(path))
        return nullptr;
    RecordHandle* h = newHandle(RECORD_SAMPLE, path, mode);
    if (h)
        h->lengthMs = soundLengthMs(path);
    return reinterpret_cast<SoundSample*>(h);
}

uint8_t sndFileDecodes(const char* path)
{
    struct stat info;
    return path && stat(path, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 ? 1 : 0;
}

void sndFreeSample(SoundSample* sample)
{
    RecordHandle* h = asHandle(sample);
    if (!initialised || !h)
        return;
    logOnly(format("SampleFree(%d)", h->id));
    h->live = 0;
}

int sndPlaySample(int channel, SoundSample* sample)
{
    if (!initialised || !sample)
        return 0;
    record("PlaySound(%d)", channel);
    const RecordHandle* h = asHandle(sample);
    if (inChannelRange(channel) && h) {
        channels[channel].looping = h->mode == SND_LOOPING ? 1 : 0;
        channels[channel].endsAtMs = platformNowMs() + static_cast<uint64_t>(h->lengthMs);
    }
    return channel;
}

int sndStopChannel(int channel)
{
    if (!initialised)
        return 0;
    record("StopSound(%d)", channel);
    silence(channel);
    return 1;
}

int sndChannelPlaying(int channel)
{
    if (!initialised || !inChannelRange(channel))
        return 0;
    const RecordChannel& c = channels[channel];
    return c.forced || c.looping || platformNowMs() < c.endsAtMs ? 1 : 0;
}

int sndSetFrequency(int channel, int frequency)
{
    if (!initialised)
        return 0;
    record("SetFrequency(%d,%d)", channel, frequency, 2);
    return 1;
}

SoundStream* sndOpenStream(const char* path, uint8_t mode)
{
    if (!initialised || !path)
        return nullptr;
    logOnly(std::string("StreamOpen(") + path + "," + std::to_string(mode) + ")");
    if (fileMissing(path))
        return nullptr;
    return reinterpret_cast<SoundStream*>(newHandle(RECORD_STREAM, path, mode));
}

int sndPlayStream(int channel, SoundStream* stream)
{
    if (!initialised || !stream)
        return 0;
    record("StreamPlay(%d,%d)", channel, handleId(stream), 2);
    silence(channel);  // a sample there gives way
    return channel;
}

int sndStopStream(SoundStream* stream)
{
    if (!initialised || !stream)
        return 0;
    record("StreamStop(%d)", handleId(stream));
    return 1;
}

int sndSeekStream(SoundStream* stream, int ms)
{
    if (!initialised || !stream)
        return 0;
    record("StreamSetTime(%d,%d)", handleId(stream), ms, 2);
    if (RecordHandle* h = asHandle(stream))
        h->timeMs = ms;
    return 1;
}

int sndStreamPosition(SoundStream* stream)
{
    const RecordHandle* h = asHandle(stream);
    return initialised && h ? h->timeMs : 0;
}

int sndStreamLength(SoundStream* stream)
{
    const RecordHandle* h = asHandle(stream);
    return initialised && h ? static_cast<int>(h->lengthMs) : 0;
}

int sndCloseStream(SoundStream* stream)
{
    if (!initialised || !stream)
        return 0;
    record("StreamClose(%d)", handleId(stream));
    if (RecordHandle* h = asHandle(stream))
        h->live = 0;
    return 1;
}
