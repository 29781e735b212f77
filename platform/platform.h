// Everything a platform provides the game, on one page. Two implementations, chosen at link time:
//   platform/sdl/ and platform/openal/  the real ones (SDL2; OpenAL Soft with libsndfile)
//   platform/null/                      the stand-in: settable clock and stick, recorded dialogs,
//                                       a sound library that records its calls (tests, benchmarks,
//                                       the tools; see platform/null/null_platform.h)
// Game logic (simulation, readers, sound set-up) uses only the clock, the stick, the dialog and
// the sound library; the window, events, counter and display modes are for app/, flow/, render/.
#pragma once

#include <cstdint>

// --- Time. ---

// Milliseconds since some fixed moment, monotonic, 64 bits so it never wraps in practice. The
// real-second timers of a run read it.
uint64_t platformNowMs();
// The high-resolution counter the main loop's tick rule reads, and its units per second
// (0 or less when it cannot be read).
int64_t platformCounterFrequency();
int64_t platformCounter();
// Gives the processor away for about ms milliseconds.
void platformSleepMs(int ms);

// --- Joystick. ---

// One joystick reading: axes in 0..65535, 32768 at rest; bit i of buttons is button i.
struct JoyReading {
    uint32_t x;
    uint32_t y;
    uint32_t z;
    uint32_t buttons;
};
// Reads the first joystick. With no stick attached the reading is the centre (32768, 32768, 32768):
// an all-zero reading would be the stick held hard left and forward.
void platformReadJoystick(JoyReading* reading);

// --- Dialog. ---

// A message with an OK button. Text and caption are Windows-1250. Returns once it is dismissed;
// the real one also prints it on stderr, and with VELBRANT_NO_DIALOGS=1 only prints.
void platformMessageBox(const char* text, const char* caption);

// --- Window and events. ---

// Event types.
constexpr uint32_t PLATFORM_EVENT_SIZE = 1;            // the drawable's size, in width and height
constexpr uint32_t PLATFORM_EVENT_CLOSE = 2;           // the window or a signal asks the game to end
constexpr uint32_t PLATFORM_EVENT_QUIT = 3;            // the loop ends at once
constexpr uint32_t PLATFORM_EVENT_KEY_DOWN = 4;        // key holds the virtual-key code
constexpr uint32_t PLATFORM_EVENT_KEY_UP = 5;
constexpr uint32_t PLATFORM_EVENT_SYSTEM_KEY_DOWN = 6;  // Alt held, Alt itself or F10: not for the key table

// One event taken from the queue.
struct PlatformEvent {
    uint32_t type;
    uint32_t key;   // key events: the virtual-key code (core/keys.h), 1..255
    int32_t width;  // size events
    int32_t height;
    uint8_t repeat;  // key-downs: 1 for the keyboard's auto-repeat of a key already held
};

// Creates the window (title, size, colour bits) at the top-left corner with a double-buffered RGBA
// GL compatibility context with a depth buffer, and makes the context current. False when that
// fails. The first event after it is the drawable's size.
bool platformCreateWindow(const char* title, int width, int height, int bits);
// How the window shows the game (the options' Okno), set before platformCreateWindow.
// 0 (and any other value): the borderless window at the top-left above, full screen when the
// display mode is switched to its size. 1: a decorated, resizable, centred window; 2: full screen
// at the desktop's own resolution. In 1 and 2 the game draws at its own size into an offscreen
// framebuffer, scaled into the window on each swap, aspect kept, black bars round it; the size
// events always say the game's own size. Alt+Enter switches full screen <-> window in every mode,
// and scales from then on.
void platformSetWindowMode(int mode);
void platformShowWindow();
// Releases the GL context and the window; safe to call twice.
void platformDestroyWindow();
// True while a GL context exists (teardown frees GL objects only then).
bool platformHasContext();
// Takes the next waiting event, if any; never blocks. Alt+Enter is taken here (full screen <->
// window) and never arrives. Key-ups always arrive as KEY_UP. SIGINT and
// SIGTERM arrive once as CLOSE.
bool platformPollEvent(PlatformEvent* event);
void platformSwapBuffers();
void platformShowCursor(bool show);

// --- Display modes. ---

// A mode of the current display.
struct DisplayMode {
    int width;
    int height;
    int bits;
    int refreshRate;
};
// The modes in the display's own order; false past the end.
int platformDisplayModeCount();
bool platformGetDisplayMode(int index, DisplayMode* mode);
// 0 when the mode could be set (the test) or has been set (the apply). SDL has no dry run: the
// test switches to the listed mode of that size, depth and rate and sees that the display took it;
// a mode that passes stays set for the apply.
int platformTestDisplayMode(const DisplayMode& mode);
int platformApplyDisplayMode(const DisplayMode& mode);
// Back to the desktop's own mode; does nothing when none was applied.
void platformRestoreDisplayMode();

// --- Single instance. ---

// A lock the kernel releases when the process ends, so a crashed copy never locks the game out.
// False when another copy holds it.
bool platformAcquireInstanceLock(const char* name);

// --- The sound library: samples played on numbered channels, and streams (music, radio). ---
//
// Rules every implementation keeps, because the game never checks a handle:
// - every operation on a null handle, before FSOUND_Init or after a failed one, does nothing,
//   fails nothing and answers 0;
// - FSOUND_PlaySound plays on exactly the channel given, replacing what it played;
// - FSOUND_Stream_Play on a channel where another stream plays makes that stream give way.

struct FSOUND_SAMPLE;
struct FSOUND_STREAM;

// Load modes.
constexpr unsigned int FSOUND_LOOP_OFF = 1;
constexpr unsigned int FSOUND_LOOP_NORMAL = 2;
// FSOUND_Sample_Load index meaning "any free slot".
constexpr int FSOUND_FREE = -1;

// The library's version; the sound set-up checks it before anything else.
float FSOUND_GetVersion();
// Settings taken before FSOUND_Init: output type, device number (0 the default), mixer, buffer.
int FSOUND_SetOutput(int outputType);
int FSOUND_SetDriver(int driver);
int FSOUND_SetMixer(int mixer);
int FSOUND_SetBufferSize(int lengthMs);
// 0 means failure (for example no sound device); the game then runs silently.
int FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
// Stops everything and frees every sample and stream.
void FSOUND_Close();

// A sample read whole into memory; null when the file cannot be read.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* path, unsigned int mode, int offset, int length);
void FSOUND_Sample_Free(FSOUND_SAMPLE* sample);
// 1 when FSOUND_Sample_Load would read the file (mono or stereo, at least one frame); needs no
// FSOUND_Init. The recording library takes any regular file that is not empty.
uint8_t platformSoundFileDecodes(const char* path);
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
int FSOUND_StopSound(int channel);
// 1 while something plays on the channel.
int FSOUND_IsPlaying(int channel);
// Playback rate in Hz, relative to the sample's own rate; takes effect at once.
int FSOUND_SetFrequency(int channel, int frequency);

// A stream decoded while it plays; null when the file cannot be opened.
FSOUND_STREAM* FSOUND_Stream_Open(const char* path, unsigned int mode, int offset, int length);
// Plays from where the stream stands (its start, or where it was stopped or set).
int FSOUND_Stream_Play(int channel, FSOUND_STREAM* stream);
// Stops and keeps the position.
int FSOUND_Stream_Stop(FSOUND_STREAM* stream);
int FSOUND_Stream_SetTime(FSOUND_STREAM* stream, int ms);
// Position and length in milliseconds.
int FSOUND_Stream_GetTime(FSOUND_STREAM* stream);
int FSOUND_Stream_GetLengthMs(FSOUND_STREAM* stream);
int FSOUND_Stream_Close(FSOUND_STREAM* stream);
