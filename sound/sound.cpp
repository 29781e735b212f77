#include "sound/sound.h"

#include "core/options.h"
#include "platform/platform.h"

#include <string>

SoundSample* soundSamples[SOUND_SAMPLE_COUNT];
SoundStream* soundStreams[SOUND_STREAM_COUNT];

namespace {

constexpr const char* SOUND_FOLDER = "Dane/Dzwiek/Volvo7000/";
constexpr const char* SOUND_MENU_MUSIC_PATH = "Dane/Menu/muzyka.wav";
constexpr const char* SOUND_ERROR_CAPTION = "B\xb3\xb9" "d";
// "The sound library plays no MP3 files: the radio stays silent."
constexpr const char* SOUND_NO_MP3_TEXT =
    "Biblioteka d\x9f" "wi\xea" "ku nie odtwarza plik\xf3" "w MP3: radio b\xea" "dzie milcze\xe6" ".";

struct SampleFile {
    const char* name;
    uint8_t mode;
};

// Index = channel. The door files are loaded once per door so each door has its own sample.
constexpr SampleFile SOUND_FILES[SOUND_SAMPLE_COUNT] = {
    {"skrzynia_biegow.sfx", SND_LOOPING},      // idle engine loop
    {"drzwi_o.sfx", SND_ONE_SHOT},             // door 1 opening
    {"drzwi_z.sfx", SND_ONE_SHOT},             // door 1 closing
    {"klakson.sfx", SND_LOOPING},              // horn, until K is released
    {"silnik_start.sfx", SND_ONE_SHOT},        // starter
    {"silnik_stop.sfx", SND_ONE_SHOT},         // engine stop
    {"kierunkowskaz.sfx", SND_ONE_SHOT},       // indicator tick
    {"sygnal.sfx", SND_ONE_SHOT},              // door-closing warning
    {"drzwi_o.sfx", SND_ONE_SHOT},             // door 2 opening
    {"drzwi_z.sfx", SND_ONE_SHOT},             // door 2 closing
    {"drzwi_o.sfx", SND_ONE_SHOT},             // door 3 opening
    {"drzwi_z.sfx", SND_ONE_SHOT},             // door 3 closing
    {"hamulec_powietrze.sfx", SND_ONE_SHOT},   // air brake
    {"silnik.sfx", SND_LOOPING},               // throttle engine loop
};

} // namespace

void initSound()
{
    // The libraries are checked before anything is opened; what they lack is said, and the game
    // goes on without it.
    if ((sndAbilities() & SND_READS_MP3) == 0)
        platformMessageBox(SOUND_NO_MP3_TEXT, SOUND_ERROR_CAPTION);

    // A failed start only tells the user; every later call is then silent.
    if (sndOpenDevice(options.soundDriver, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT) == 0)
        platformMessageBox("Inicjalizacja d\x9f" "wi\xea" "ku zako\xf1" "czy\xb3" "a si\xea niepowodzeniem!",
                           SOUND_ERROR_CAPTION);

    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i) {
        const std::string path = std::string(SOUND_FOLDER) + SOUND_FILES[i].name;
        soundSamples[i] = sndLoadSample(path.c_str(), SOUND_FILES[i].mode);
    }
    soundStreams[STREAM_MENU_MUSIC] = sndOpenStream(SOUND_MENU_MUSIC_PATH, SND_LOOPING);
}

void playSoundEvent(int value, int event)
{
    switch (event) {
    case SOUND_IDLE_PITCH:
        sndSetFrequency(CHANNEL_IDLE_ENGINE, value);
        break;
    case SOUND_THROTTLE_PITCH:
        sndSetFrequency(CHANNEL_THROTTLE_ENGINE, value);
        break;
    case SOUND_IDLE_START:
        sndPlaySample(CHANNEL_IDLE_ENGINE, soundSamples[0]);
        break;
    default:
        // Events 1 to 12 play the sample of the same index on the channel of the same index.
        if (event >= SOUND_DOOR1_OPEN && event <= SOUND_AIR_BRAKE)
            sndPlaySample(event, soundSamples[event]);
        break;
    }
}

void shutdownSound()
{
    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i) {
        sndFreeSample(soundSamples[i]);
        soundSamples[i] = nullptr;
    }
    // The library releases the streams itself when it closes.
    soundStreams[STREAM_MENU_MUSIC] = nullptr;
    sndCloseDevice();
}
