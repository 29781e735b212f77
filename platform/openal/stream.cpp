// The sound library's streams: files decoded a few thousand frames at a time into a short queue
// of OpenAL buffers, kept filled by the feeder thread. Positions are in frames of the file;
// callers see milliseconds.
#include "platform/openal/internal.h"
#include "platform/services/path_resolve.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace snd {

namespace {

// Decoding staging area, used under the library's lock only.
std::array<short, SND_STREAM_BUFFER_FRAMES * 2> staging;

int64_t framesToMs(const SoundStream* stream, int64_t frames)
{
    return stream->rate > 0 ? frames * 1000 / stream->rate : 0;
}

// Decodes the next buffer's worth from decodeFrame on; a looping stream wraps to its start.
// Returns the frames decoded (0 at the end of a one-shot stream, which is then marked ended).
int64_t decodeInto(SoundStream* stream)
{
    int64_t filled = 0;
    uint8_t wrapped = 0;
    while (filled < SND_STREAM_BUFFER_FRAMES) {
        const sf_count_t got = sf_readf_short(stream->file, staging.data() + filled * stream->channels,
                                              SND_STREAM_BUFFER_FRAMES - filled);
        if (got > 0) {
            filled += got;
            stream->decodeFrame += got;
            wrapped = 0;
            continue;
        }
        // End of the file.
        if (!stream->looping || wrapped || sf_seek(stream->file, 0, SEEK_SET) < 0) {
            if (!stream->looping)
                stream->decodeEnded = 1;
            break;
        }
        wrapped = 1;  // a second empty read straight after wrapping means an empty file
        stream->decodeFrame = 0;
    }
    return filled;
}

// Decodes into buffer and queues it on the stream's source; false when nothing was left.
bool queueBuffer(SoundStream* stream, ALuint buffer)
{
    if (stream->decodeEnded || stream->queuedCount >= SND_STREAM_BUFFERS)
        return false;
    const int64_t start = stream->decodeFrame;
    const int64_t frames = decodeInto(stream);
    if (frames <= 0)
        return false;
    alBufferData(buffer, stream->channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, staging.data(),
                 static_cast<ALsizei>(frames * stream->channels * sizeof(short)), stream->rate);
    const ALuint source = library().channels[stream->channel].source;
    alSourceQueueBuffers(source, 1, &buffer);
    stream->queuedStart[stream->queuedCount] = start;
    stream->queuedBuffer[stream->queuedCount] = buffer;
    ++stream->queuedCount;
    return true;
}

// The frame being heard now, from the oldest queued buffer and the source's offset into the queue.
int64_t heardFrame(const SoundStream* stream)
{
    if (!stream->playing)
        return stream->restFrame;
    if (stream->queuedCount == 0)
        return stream->decodeEnded ? stream->frames : stream->decodeFrame;
    ALint offset = 0;
    alGetSourcei(library().channels[stream->channel].source, AL_SAMPLE_OFFSET, &offset);
    int64_t frame = stream->queuedStart[0] + offset;
    if (stream->frames > 0) {
        if (stream->looping)
            frame %= stream->frames;
        else if (frame > stream->frames)
            frame = stream->frames;
    }
    return frame;
}

// Takes every buffer off the stream's source.
void unqueueAll(SoundStream* stream)
{
    const ALuint source = library().channels[stream->channel].source;
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, 0);  // detaches the whole queue of a stopped source
    stream->queuedCount = 0;
}

// Starts decoding and playing from restFrame on the channel the stream already owns.
void startFeeding(SoundStream* stream)
{
    if (stream->frames > 0 && stream->restFrame >= stream->frames)
        stream->restFrame = 0;  // a finished stream played again starts over
    sf_seek(stream->file, stream->restFrame, SEEK_SET);
    stream->decodeFrame = stream->restFrame;
    stream->decodeEnded = 0;
    stream->queuedCount = 0;
    for (ALuint buffer : stream->buffers) {
        if (!queueBuffer(stream, buffer))
            break;
    }
    alSourcePlay(library().channels[stream->channel].source);
}

void closeStream(SoundStream* stream)
{
    if (stream->playing)
        streamGiveWay(stream);
    alDeleteBuffers(SND_STREAM_BUFFERS, stream->buffers.data());
    sf_close(stream->file);
    *stream = SoundStream{};
}

// A one-shot stream whose every buffer has been heard: it has finished, at its end.
void finish(SoundStream* stream)
{
    const int channel = stream->channel;
    unqueueAll(stream);
    stream->playing = 0;
    stream->restFrame = stream->frames;
    stream->channel = -1;
    Channel& ch = library().channels[channel];
    ch.kind = SND_CHANNEL_IDLE;
    ch.stream = nullptr;
}

} // namespace

bool validStream(const SoundStream* stream)
{
    const Library& lib = library();
    if (!lib.initialised || !stream)
        return false;
    const SoundStream* first = lib.streams.data();
    if (stream < first || stream >= first + lib.streams.size())
        return false;
    return stream->used != 0;
}

void streamGiveWay(SoundStream* stream)
{
    if (!stream->playing)
        return;
    const int64_t frame = heardFrame(stream);
    const int channel = stream->channel;
    unqueueAll(stream);
    stream->restFrame = frame;
    stream->playing = 0;
    stream->channel = -1;
    Channel& ch = library().channels[channel];
    ch.kind = SND_CHANNEL_IDLE;
    ch.stream = nullptr;
    ch.sample = nullptr;
}

void feedStreams()
{
    for (SoundStream& stream : library().streams) {
        if (!stream.used || !stream.playing)
            continue;
        const ALuint source = library().channels[stream.channel].source;
        ALint processed = 0;
        alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
        for (; processed > 0 && stream.queuedCount > 0; --processed) {
            ALuint buffer = stream.queuedBuffer[0];
            alSourceUnqueueBuffers(source, 1, &buffer);
            for (int i = 1; i < stream.queuedCount; ++i) {
                stream.queuedStart[i - 1] = stream.queuedStart[i];
                stream.queuedBuffer[i - 1] = stream.queuedBuffer[i];
            }
            --stream.queuedCount;
            queueBuffer(&stream, buffer);
        }
        ALint state = AL_STOPPED;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING)
            continue;
        // A stopped source has heard all it held. With fresh buffers queued the queue only ran dry
        // for a moment: go on. With none, the stream is at its end.
        if (stream.queuedCount > 0)
            alSourcePlay(source);
        else
            finish(&stream);
    }
}

void releaseAllStreams()
{
    for (SoundStream& stream : library().streams) {
        if (stream.used)
            closeStream(&stream);
    }
}

} // namespace snd

using snd::library;

SoundStream* sndOpenStream(const char* path, uint8_t mode)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!library().initialised || !path)
        return nullptr;
    SoundStream* stream = nullptr;
    for (SoundStream& slot : library().streams) {
        if (!slot.used) {
            stream = &slot;
            break;
        }
    }
    if (!stream)
        return nullptr;
    SF_INFO info{};
    // Only a regular file is opened, and without waiting: a pipe in the data tree is refused
    // instead of stopping the start.
    char resolved[DATA_PATH_SIZE];
    resolveDataPath(path, resolved);  // backslashes, and names in another letter case
    const int fd = open(resolved, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        close(fd);
        return nullptr;
    }
    SNDFILE* file = fd >= 0 ? sf_open_fd(fd, SFM_READ, &info, SF_TRUE) : nullptr;
    if (!file)
        return nullptr;
    if ((info.channels != 1 && info.channels != 2) || info.samplerate <= 0 || info.frames <= 0) {
        sf_close(file);
        return nullptr;
    }
    alGetError();
    std::array<ALuint, snd::SND_STREAM_BUFFERS> buffers{};
    alGenBuffers(snd::SND_STREAM_BUFFERS, buffers.data());
    if (alGetError() != AL_NO_ERROR) {
        sf_close(file);
        return nullptr;
    }
    *stream = SoundStream{};
    stream->used = 1;
    stream->looping = mode == SND_LOOPING ? 1 : 0;
    stream->channel = -1;
    stream->file = file;
    stream->rate = info.samplerate;
    stream->channels = info.channels;
    stream->frames = info.frames;
    stream->buffers = buffers;
    return stream;
}

int sndCloseStream(SoundStream* stream)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!snd::validStream(stream))
        return 0;
    snd::closeStream(stream);
    return 1;
}

int sndPlayStream(int channel, SoundStream* stream)
{
    std::lock_guard<std::mutex> guard(library().lock);
    snd::Channel* ch = snd::channelAt(channel);
    if (!ch || !snd::validStream(stream))
        return 0;
    if (stream->playing && stream->channel == channel)
        return channel;  // already playing there: it goes on
    snd::streamGiveWay(stream);      // playing elsewhere: it moves
    snd::releaseChannel(channel);    // whatever played here gives way
    ch->kind = snd::SND_CHANNEL_STREAM;
    ch->stream = stream;
    ch->sample = nullptr;
    ch->rate = stream->rate;
    alSourcei(ch->source, AL_LOOPING, AL_FALSE);
    alSourcef(ch->source, AL_PITCH, 1.0f);
    alSourcef(ch->source, AL_GAIN, 1.0f);
    stream->channel = channel;
    stream->playing = 1;
    snd::startFeeding(stream);
    return channel;
}

int sndStopStream(SoundStream* stream)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!snd::validStream(stream))
        return 0;
    snd::streamGiveWay(stream);
    return 1;
}

int sndSeekStream(SoundStream* stream, int ms)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!snd::validStream(stream))
        return 0;
    int64_t frame = ms > 0 ? static_cast<int64_t>(ms) * stream->rate / 1000 : 0;
    if (frame > stream->frames)
        frame = stream->frames;
    stream->restFrame = frame;
    if (stream->playing) {
        snd::unqueueAll(stream);
        snd::startFeeding(stream);
    }
    return 1;
}

int sndStreamPosition(SoundStream* stream)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!snd::validStream(stream))
        return 0;
    return static_cast<int>(snd::framesToMs(stream, snd::heardFrame(stream)));
}

int sndStreamLength(SoundStream* stream)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!snd::validStream(stream))
        return 0;
    return static_cast<int>(snd::framesToMs(stream, stream->frames));
}
