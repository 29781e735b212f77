// The sound library's samples: whole files read into OpenAL buffers, played on numbered channels.
#include "platform/openal/internal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fsnd {

bool validSample(const FSOUND_SAMPLE* sample)
{
    const Library& lib = library();
    if (!lib.initialised || !sample)
        return false;
    const FSOUND_SAMPLE* first = lib.samples.data();
    if (sample < first || sample >= first + lib.samples.size())
        return false;
    return sample->used != 0;
}

namespace {

void freeSample(FSOUND_SAMPLE* sample)
{
    Library& lib = library();
    // A buffer still attached to a source cannot be deleted.
    for (int c = 0; c < lib.channelCount; ++c) {
        if (lib.channels[c].kind == FSND_CHANNEL_SAMPLE && lib.channels[c].sample == sample)
            releaseChannel(c);
    }
    alDeleteBuffers(1, &sample->buffer);
    *sample = FSOUND_SAMPLE{};
}

FSOUND_SAMPLE* slotFor(int index)
{
    Library& lib = library();
    if (index >= 0 && index < FSND_SAMPLE_SLOTS) {
        FSOUND_SAMPLE* slot = &lib.samples[index];
        if (slot->used)
            freeSample(slot);
        return slot;
    }
    for (FSOUND_SAMPLE& slot : lib.samples) {
        if (!slot.used)
            return &slot;
    }
    return nullptr;
}

// Reads a whole mono or stereo file as 16-bit frames; false when it cannot be read.
bool readWholeFile(const char* path, std::vector<short>& pcm, SF_INFO& info)
{
    info = SF_INFO{};
    // Only a regular file is opened, and without waiting: a pipe in the data tree is refused
    // instead of stopping the start.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(fd);
        return false;
    }
    SNDFILE* file = fd >= 0 ? sf_open_fd(fd, SFM_READ, &info, SF_TRUE) : nullptr;
    if (!file)
        return false;
    if ((info.channels != 1 && info.channels != 2) || info.samplerate <= 0) {
        sf_close(file);
        return false;
    }
    constexpr sf_count_t CHUNK = 8192;
    int64_t total = 0;
    for (;;) {
        pcm.resize(static_cast<size_t>((total + CHUNK) * info.channels));
        const sf_count_t got = sf_readf_short(file, pcm.data() + total * info.channels, CHUNK);
        if (got <= 0)
            break;
        total += got;
        if (total >= FSND_MAX_SAMPLE_FRAMES)
            break;
    }
    sf_close(file);
    pcm.resize(static_cast<size_t>(total * info.channels));
    info.frames = total;
    return total > 0;
}

} // namespace

void releaseAllSamples()
{
    for (FSOUND_SAMPLE& sample : library().samples) {
        if (sample.used)
            freeSample(&sample);
    }
}

} // namespace fsnd

using fsnd::library;

uint8_t platformSoundFileDecodes(const char* path)
{
    std::vector<short> pcm;
    SF_INFO info;
    return path && fsnd::readWholeFile(path, pcm, info) ? 1 : 0;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* path, unsigned int mode, int, int)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!library().initialised || !path)
        return nullptr;
    std::vector<short> pcm;  // staging only; OpenAL keeps its own copy
    SF_INFO info;
    if (!fsnd::readWholeFile(path, pcm, info))
        return nullptr;
    FSOUND_SAMPLE* sample = fsnd::slotFor(index);
    if (!sample)
        return nullptr;
    alGetError();
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    if (alGetError() != AL_NO_ERROR)
        return nullptr;
    alBufferData(buffer, info.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, pcm.data(),
                 static_cast<ALsizei>(pcm.size() * sizeof(short)), info.samplerate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &buffer);
        return nullptr;
    }
    sample->used = 1;
    sample->looping = (mode & FSOUND_LOOP_NORMAL) ? 1 : 0;
    sample->buffer = buffer;
    sample->rate = info.samplerate;
    sample->frames = info.frames;
    return sample;
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (fsnd::validSample(sample))
        fsnd::freeSample(sample);
}

int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample)
{
    std::lock_guard<std::mutex> guard(library().lock);
    fsnd::Channel* ch = fsnd::channelAt(channel);
    if (!ch || !fsnd::validSample(sample))
        return 0;
    fsnd::trace("PlaySound(%d)", channel);
    fsnd::releaseChannel(channel);
    alSourcei(ch->source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(ch->source, AL_LOOPING, sample->looping ? AL_TRUE : AL_FALSE);
    alSourcef(ch->source, AL_PITCH, 1.0f);  // each play starts at the sample's own rate
    alSourcef(ch->source, AL_GAIN, 1.0f);
    alSourcePlay(ch->source);
    ch->kind = fsnd::FSND_CHANNEL_SAMPLE;
    ch->sample = sample;
    ch->stream = nullptr;
    ch->rate = sample->rate;
    return channel;
}
