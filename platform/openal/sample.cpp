// The sound library's samples: whole files read into OpenAL buffers, played on numbered channels.
#include "platform/openal/internal.h"
#include "platform/services/path_resolve.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace snd {

bool validSample(const SoundSample* sample)
{
    const Library& lib = library();
    if (!lib.initialised || !sample)
        return false;
    const SoundSample* first = lib.samples.data();
    if (sample < first || sample >= first + lib.samples.size())
        return false;
    return sample->used != 0;
}

namespace {

void freeSample(SoundSample* sample)
{
    Library& lib = library();
    // A buffer still attached to a source cannot be deleted.
    for (int c = 0; c < lib.channelCount; ++c) {
        if (lib.channels[c].kind == SND_CHANNEL_SAMPLE && lib.channels[c].sample == sample)
            releaseChannel(c);
    }
    alDeleteBuffers(1, &sample->buffer);
    *sample = SoundSample{};
}

SoundSample* freeSlot()
{
    for (SoundSample& slot : library().samples) {
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
    char resolved[DATA_PATH_SIZE];
    resolveDataPath(path, resolved);  // backslashes, and names in another letter case
    const int fd = open(resolved, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
        if (total >= SND_MAX_SAMPLE_FRAMES)
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
    for (SoundSample& sample : library().samples) {
        if (sample.used)
            freeSample(&sample);
    }
}

} // namespace snd

using snd::library;

uint8_t sndFileDecodes(const char* path)
{
    std::vector<short> pcm;
    SF_INFO info;
    return path && snd::readWholeFile(path, pcm, info) ? 1 : 0;
}

SoundSample* sndLoadSample(const char* path, uint8_t mode)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!library().initialised || !path)
        return nullptr;
    std::vector<short> pcm;  // staging only; OpenAL keeps its own copy
    SF_INFO info;
    if (!snd::readWholeFile(path, pcm, info))
        return nullptr;
    SoundSample* sample = snd::freeSlot();
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
    sample->looping = mode == SND_LOOPING ? 1 : 0;
    sample->buffer = buffer;
    sample->rate = info.samplerate;
    sample->frames = info.frames;
    return sample;
}

void sndFreeSample(SoundSample* sample)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (snd::validSample(sample))
        snd::freeSample(sample);
}

int sndPlaySample(int channel, SoundSample* sample)
{
    std::lock_guard<std::mutex> guard(library().lock);
    snd::Channel* ch = snd::channelAt(channel);
    if (!ch || !snd::validSample(sample))
        return 0;
    snd::trace("PlaySound(%d)", channel);
    snd::releaseChannel(channel);
    alSourcei(ch->source, AL_BUFFER, static_cast<ALint>(sample->buffer));
    alSourcei(ch->source, AL_LOOPING, sample->looping ? AL_TRUE : AL_FALSE);
    alSourcef(ch->source, AL_PITCH, 1.0f);  // each play starts at the sample's own rate
    alSourcef(ch->source, AL_GAIN, 1.0f);
    alSourcePlay(ch->source);
    ch->kind = snd::SND_CHANNEL_SAMPLE;
    ch->sample = sample;
    ch->stream = nullptr;
    ch->rate = sample->rate;
    return channel;
}
