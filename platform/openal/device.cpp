// The sound library's device half: settings, opening the output device, the channels (one
// OpenAL source each) and the feeder thread that keeps the streams' queues filled.
#include "platform/openal/internal.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <thread>

namespace fsnd {

namespace {

// Defined before the feeder so that, at process end, the feeder is joined before the library
// record it locks goes away.
Library theLibrary;

// The feeder thread. Joined by FSOUND_Close, or at process end if the game never closed the
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
const char* deviceName(int driver)
{
    if (driver <= 0)
        return nullptr;
    const ALCenum which = alcIsExtensionPresent(nullptr, "ALC_ENUMERATE_ALL_EXT") ? ALC_ALL_DEVICES_SPECIFIER
                                                                                   : ALC_DEVICE_SPECIFIER;
    const char* list = alcGetString(nullptr, which);
    for (int index = 0; list && *list; ++index, list += std::strlen(list) + 1) {
        if (index == driver)
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
    std::fprintf(stderr, "fsound %lld ", static_cast<long long>(ms));
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
    if (ch->kind == FSND_CHANNEL_STREAM && ch->stream) {
        streamGiveWay(ch->stream);  // also clears the channel
        return;
    }
    alSourceStop(ch->source);
    alSourcei(ch->source, AL_BUFFER, 0);
    ch->kind = FSND_CHANNEL_IDLE;
    ch->sample = nullptr;
    ch->stream = nullptr;
}

} // namespace fsnd

using fsnd::library;

// Our own library, so it is always the current version.
float FSOUND_GetVersion()
{
    return 3.75f;
}

// The output type, mixer and buffer size have no counterpart on OpenAL; they are kept so the
// order of calls stays as the game makes it (settings before FSOUND_Init, which they precede).
int FSOUND_SetOutput(int outputType)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (library().initialised)
        return 0;
    library().outputType = outputType;
    return 1;
}

int FSOUND_SetDriver(int driver)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (library().initialised)
        return 0;
    library().driver = driver;
    return 1;
}

int FSOUND_SetMixer(int mixer)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (library().initialised)
        return 0;
    library().mixer = mixer;
    return 1;
}

int FSOUND_SetBufferSize(int lengthMs)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (library().initialised)
        return 0;
    library().bufferSizeMs = lengthMs;
    return 1;
}

int FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int)
{
    FSOUND_Close();  // a second init starts afresh
    std::lock_guard<std::mutex> guard(library().lock);
    fsnd::Library& lib = library();

    lib.device = alcOpenDevice(fsnd::deviceName(lib.driver));
    if (!lib.device)
        return 0;
    const ALCint attributes[] = {ALC_FREQUENCY, mixRate > 0 ? mixRate : 44100, 0};
    lib.context = alcCreateContext(lib.device, attributes);
    if (!lib.context || !alcMakeContextCurrent(lib.context)) {
        if (lib.context)
            alcDestroyContext(lib.context);
        alcCloseDevice(lib.device);
        lib.context = nullptr;
        lib.device = nullptr;
        return 0;
    }

    int wanted = maxSoftwareChannels;
    if (wanted < fsnd::FSND_MIN_CHANNELS)
        wanted = fsnd::FSND_MIN_CHANNELS;
    if (wanted > fsnd::FSND_MAX_CHANNELS)
        wanted = fsnd::FSND_MAX_CHANNELS;
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
        lib.channels[made] = fsnd::Channel{};
        lib.channels[made].source = source;
    }
    lib.channelCount = made;
    lib.initialised = 1;
    fsnd::feeder.start();
    return 1;
}

void FSOUND_Close()
{
    fsnd::feeder.stop();
    std::lock_guard<std::mutex> guard(library().lock);
    if (library().initialised)
        fsnd::closeDevice(library());
}

int FSOUND_StopSound(int channel)
{
    std::lock_guard<std::mutex> guard(library().lock);
    if (!fsnd::channelAt(channel))
        return 0;
    fsnd::trace("StopSound(%d)", channel);
    fsnd::releaseChannel(channel);
    return 1;
}

int FSOUND_IsPlaying(int channel)
{
    std::lock_guard<std::mutex> guard(library().lock);
    fsnd::Channel* ch = fsnd::channelAt(channel);
    if (!ch || ch->kind == fsnd::FSND_CHANNEL_IDLE)
        return 0;
    if (ch->kind == fsnd::FSND_CHANNEL_STREAM)
        return ch->stream && ch->stream->playing ? 1 : 0;
    ALint state = AL_STOPPED;
    alGetSourcei(ch->source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING ? 1 : 0;
}

int FSOUND_SetFrequency(int channel, int frequency)
{
    std::lock_guard<std::mutex> guard(library().lock);
    fsnd::Channel* ch = fsnd::channelAt(channel);
    if (!ch || ch->kind == fsnd::FSND_CHANNEL_IDLE || ch->rate <= 0)
        return 0;
    fsnd::trace("SetFrequency(%d,%d)", channel, frequency);
    if (frequency < fsnd::FSND_MIN_FREQUENCY)
        frequency = fsnd::FSND_MIN_FREQUENCY;
    alSourcef(ch->source, AL_PITCH, static_cast<float>(frequency) / static_cast<float>(ch->rate));
    return 1;
}
