// The sound library's device half: what libsndfile can read, opening the output device, the
// channels (one OpenAL source each) and the feeder thread that keeps the streams' queues filled.
#include "platform/openal/internal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <thread>

namespace snd {

namespace {

// Defined before the feeder so that, at process end, the feeder is joined before the library
// record it locks goes away.
Library theLibrary;

// The feeder thread. Joined by sndCloseDevice, or at process end if the game never closed the
// library, so a running thread never outlives its std::thread object.
struct Feeder {
    std::thread thread;
    std::mutex wakeLock;
    std::condition_variable wake;
    std::atomic<bool> stopRequested{false};

    void start()
    {
        stopRequested = false;
        thread = std::thread([this] { run(); });
    }
    void stop()
    {
        if (!thread.joinable())
            return;
        {
            std::lock_guard<std::mutex> guard(wakeLock);
            stopRequested = true;
        }
        wake.notify_all();
        thread.join();
    }
    void run()
    {
        for (;;) {
            {
                std::unique_lock<std::mutex> guard(wakeLock);
                wake.wait_for(guard, std::chrono::milliseconds(10), [this] { return stopRequested.load(); });
                if (stopRequested)
                    return;
            }
            std::lock_guard<std::mutex> guard(library().lock);
            if (library().initialised)
                feedStreams();
        }
    }
    ~Feeder() { stop(); }
};

Feeder feeder;

// The n-th output device OpenAL lists (counting from 0), or null for the default device.
const char* deviceName(int device)
{
    if (device <= 0)
        return nullptr;
    const ALCenum which = alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT") ? ALC_ALL_DEVICES_SPECIFIER
                                                                                   : ALC_DEVICE_SPECIFIER;
    const char* list = alcGetString(nullptr, which);
    for (int index = 0; list && *list; ++index, list += std::strlen(list) + 1) {
        if (index == device)
            return list;
    }
    return nullptr;  // past the end of the list: the default device
}

void closeDevice(Library& lib)
{
    for (int c = 0; c < lib.channelCount; ++c)
        releaseChannel(c);
    releaseAllStreams();
    releaseAllSamples();
    for (int c = 0; c < lib.channelCount; ++c) {
        alDeleteSources(1, &lib.channels[c].source);
        lib.channels[c] = Channel{};
    }
    lib.channelCount = 0;
    alcMakeContextCurrent(nullptr);
    if (lib.context)
        alcDestroyContext(lib.context);
    if (lib.device)
        alcCloseDevice(lib.device);
    lib.context = nullptr;
    lib.device = nullptr;
    lib.initialised = 0;
}

} // namespace

void trace(const char* format, int a, int b)
{
    static const bool on = [] {
        const char* value = std::getenv("VELBRANT_SOUND_TRACE");
        return value && value[0] == '1';
    }();
    if (!on)
        return;
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch()).count();
    std::fprintf(stderr, "snd %lld ", static_cast<long long>(ms));
    std::fprintf(stderr, format, a, b);
    std::fputc('\n', stderr);
}

Library& library()
{
    return theLibrary;
}

Channel* channelAt(int channel)
{
    Library& lib = library();
    if (!lib.initialised || channel < 0 || channel >= lib.channelCount)
        return nullptr;
    return &lib.channels[channel];
}

void releaseChannel(int channel)
{
    Channel* ch = channelAt(channel);
    if (!ch)
        return;
    if (ch->kind == SND_CHANNEL_STREAM && ch->stream) {
        streamGiveWay(ch->stream);  // also clears the channel
        return;
    }
    alSourceStop(ch->source);
    alSourcei(ch->source, AL_BUFFER, 0);
    ch->kind = SND_CHANNEL_IDLE;
    ch->sample = nullptr;
    ch->stream = nullptr;
}

} // namespace snd

using snd::library;

// Asked of libsndfile as it is installed, not of the headers it was built with: a library built
// without an MPEG decoder lists no MPEG format.
uint32_t sndAbilities()
{
    uint32_t abilities = 0;
    int count = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &count, sizeof count);
    for (int i = 0; i < count; ++i) {
        SF_FORMAT_INFO info{};
        info.format = i;
        if (sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info) == 0 &&
            (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG)
            abilities |= SND_READS_MP3;
    }
    return abilities;
}

int sndOpenDevice(int device, int mixRate, int channels)
{
    sndCloseDevice();  // a second open starts afresh
    std::lock_guard<std::mutex> guard(library().lock);
    snd::Library& lib = library();

    lib.device = alcOpenDevice(snd::deviceName(device));
    if (!lib.device)
        return 0;
    // No rate asked for: the device's own.
    const ALCint attributes[] = {ALC_FREQUENCY, mixRate, 0};
    lib.context = alcCreateContext(lib.device, mixRate > 0 ? attributes : nullptr);
    if (!lib.context || !alcMakeContextCurrent(lib.context)) {
        if (lib.context)
            alcDestroyContext(lib.context);
        alcCloseDevice(lib.device);
        lib.context = nullptr;
        lib.device = nullptr;
        return 0;
    }

    int wanted = channels;
    if (wanted < snd::SND_MIN_CHANNELS)
        wanted = snd::SND_MIN_CHANNELS;
    if (wanted > snd::SND_MAX_CHANNELS)
        wanted = snd::SND_MAX_CHANNELS;
    alGetError();
    int made = 0;
    for (; made < wanted; ++made) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR)
            break;
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
        lib.channels[made] = snd::Channel{};
        lib.channels[made].source = source;
    }
    lib.channelCount = made;
    lib.initialised = 1;
    snd::feeder.start();
    return 1;
}

void sndCloseDevice()
{
    snd::feeder.stop();
    std::lock_guard<std::mutex> guard(library().lock);
    if (library().initialised)
        snd::closeDevice(library());
}

int sndStopChannel(int channel)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!snd::channelAt(channel))
        return 0;
    snd::trace("StopSound(%d)", channel);
    snd::releaseChannel(channel);
    return 1;
}

int sndChannelPlaying(int channel)
{
    std::lock_guard<std::mutex> guard(library().lock);
    snd::Channel* ch = snd::channelAt(channel);
    if (!ch || ch->kind == snd::SND_CHANNEL_IDLE)
        return 0;
    if (ch->kind == snd::SND_CHANNEL_STREAM)
        return ch->stream && ch->stream->playing ? 1 : 0;
    ALint state = AL_STOPPED;
    alGetSourcei(ch->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING ? 1 : 0;
}

int sndSetFrequency(int channel, int frequency)
{
    std::lock_guard<std::mutex> guard(library().lock);
    snd::Channel* ch = snd::channelAt(channel);
    if (!ch || ch->kind == snd::SND_CHANNEL_IDLE || ch->rate <= 0)
        return 0;
    snd::trace("SetFrequency(%d,%d)", channel, frequency);
    if (frequency < snd::SND_MIN_FREQUENCY)
        frequency = snd::SND_MIN_FREQUENCY;
    alSourcef(ch->source, AL_PITCH, static_cast<float>(frequency) / static_cast<float>(ch->rate));
    return 1;
}
