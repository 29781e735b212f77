#include "sound/sound.h"

#include "core/options.h"
#include "platform/platform.h"

#include <string>

FSOUND_SAMPLE* soundSamples[SOUND_SAMPLE_COUNT];
FSOUND_STREAM* soundStreams[SOUND_STREAM_COUNT];

namespace {

constexpr const char* SOUND_FOLDER = "Dane/Dzwiek/Volvo7000/";
constexpr const char* SOUND_MENU_MUSIC_PATH = "Dane/Menu/muzyka.wav";
constexpr const char* SOUND_ERROR_CAPTION = "B\xb3\xb9" "d";

struct SampleFile {
    const char* name;
    unsigned int mode;
};

// Index = channel. The door files are loaded once per door so each door has its own sample.
constexpr SampleFile SOUND_FILES[SOUND_SAMPLE_COUNT] = {
    {"skrzynia_biegow.sfx", FSOUND_LOOP_NORMAL},   // idle engine loop
    {"drzwi_o.sfx", FSOUND_LOOP_OFF},              // door 1 opening
    {"drzwi_z.sfx", FSOUND_LOOP_OFF},              // door 1 closing
    {"klakson.sfx", FSOUND_LOOP_NORMAL},           // horn, until K is released
    {"silnik_start.sfx", FSOUND_LOOP_OFF},         // starter
    {"silnik_stop.sfx", FSOUND_LOOP_OFF},          // engine stop
    {"kierunkowskaz.sfx", FSOUND_LOOP_OFF},        // indicator tick
    {"sygnal.sfx", FSOUND_LOOP_OFF},               // door-closing warning
    {"drzwi_o.sfx", FSOUND_LOOP_OFF},              // door 2 opening
    {"drzwi_z.sfx", FSOUND_LOOP_OFF},              // door 2 closing
    {"drzwi_o.sfx", FSOUND_LOOP_OFF},              // door 3 opening
    {"drzwi_z.sfx", FSOUND_LOOP_OFF},              // door 3 closing
    {"hamulec_powietrze.sfx", FSOUND_LOOP_OFF},    // air brake
    {"silnik.sfx", FSOUND_LOOP_NORMAL},            // throttle engine loop
};

} // namespace

void initSound()
{
    if (FSOUND_GetVersion() < 3.73f)
        platformMessageBox("Niew\xb3" "a\x9c" "ciwa wersja biblioteki FMOD.DLL", SOUND_ERROR_CAPTION);

    FSOUND_SetOutput(2);
    FSOUND_SetDriver(optSoundDriver);
    FSOUND_SetMixer(7);
    FSOUND_SetBufferSize(50);

    // A failed start only tells the user; every later call is then silent.
    if (FSOUND_Init(44100, 32, 2) == 0)
        platformMessageBox("Inicjalizacja d\x9f" "wi\xea" "ku zako\xf1" "czy\xb3" "a si\xea niepowodzeniem!",
                           SOUND_ERROR_CAPTION);

    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i) {
        const std::string path = std::string(SOUND_FOLDER) + SOUND_FILES[i].name;
        soundSamples[i] = FSOUND_Sample_Load(FSOUND_FREE, path.c_str(), SOUND_FILES[i].mode, 0, 0);
    }
    soundStreams[STREAM_MENU_MUSIC] = FSOUND_Stream_Open(SOUND_MENU_MUSIC_PATH, FSOUND_LOOP_NORMAL, 0, 0);
}

void playSoundEvent(int value, int event)
{
    switch (event) {
    case SOUND_IDLE_PITCH:
        FSOUND_SetFrequency(CHANNEL_IDLE_ENGINE, value);
        break;
    case SOUND_THROTTLE_PITCH:
        FSOUND_SetFrequency(CHANNEL_THROTTLE_ENGINE, value);
        break;
    case SOUND_IDLE_START:
        FSOUND_PlaySound(CHANNEL_IDLE_ENGINE, soundSamples[0]);
        break;
    default:
        // Events 1 to 12 play the sample of the same index on the channel of the same index.
        if (event >= SOUND_DOOR1_OPEN && event <= SOUND_AIR_BRAKE)
            FSOUND_PlaySound(event, soundSamples[event]);
        break;
    }
}

void shutdownSound()
{
    for (int i = 0; i < SOUND_SAMPLE_COUNT; ++i) {
        FSOUND_Sample_Free(soundSamples[i]);
        soundSamples[i] = nullptr;
    }
    // The library releases the streams itself when it closes.
    soundStreams[STREAM_MENU_MUSIC] = nullptr;
    FSOUND_Close();
}
