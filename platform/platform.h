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

// --- Keys. ---

// The virtual-key codes key events carry (1..255) and the game's key table is indexed by: letters
// and digits are their capitals' ASCII codes, F1 to F12 run on from VK_F1, the keypad's digits from
// VK_NUMPAD0.
constexpr uint8_t VK_BACKSPACE = 0x08;
constexpr uint8_t VK_TAB = 0x09;
constexpr uint8_t VK_RETURN = 0x0D;
constexpr uint8_t VK_SHIFT = 0x10;
constexpr uint8_t VK_CONTROL = 0x11;
constexpr uint8_t VK_ALT = 0x12;
constexpr uint8_t VK_PAUSE = 0x13;
constexpr uint8_t VK_CAPS_LOCK = 0x14;
constexpr uint8_t VK_ESCAPE = 0x1B;
constexpr uint8_t VK_SPACE = 0x20;
constexpr uint8_t VK_PRIOR = 0x21;
constexpr uint8_t VK_NEXT = 0x22;
constexpr uint8_t VK_END = 0x23;
constexpr uint8_t VK_HOME = 0x24;
constexpr uint8_t VK_LEFT = 0x25;
constexpr uint8_t VK_UP = 0x26;
constexpr uint8_t VK_RIGHT = 0x27;
constexpr uint8_t VK_DOWN = 0x28;
constexpr uint8_t VK_PRINT_SCREEN = 0x2C;
constexpr uint8_t VK_INSERT = 0x2D;
constexpr uint8_t VK_DELETE = 0x2E;
constexpr uint8_t VK_KEY_0 = 0x30;
constexpr uint8_t VK_KEY_1 = 0x31;
constexpr uint8_t VK_KEY_2 = 0x32;
constexpr uint8_t VK_KEY_3 = 0x33;
constexpr uint8_t VK_KEY_4 = 0x34;
constexpr uint8_t VK_KEY_A = 0x41;
constexpr uint8_t VK_KEY_C = 0x43;
constexpr uint8_t VK_KEY_H = 0x48;
constexpr uint8_t VK_KEY_J = 0x4A;
constexpr uint8_t VK_KEY_K = 0x4B;
constexpr uint8_t VK_KEY_L = 0x4C;
constexpr uint8_t VK_KEY_P = 0x50;
constexpr uint8_t VK_KEY_Q = 0x51;
constexpr uint8_t VK_KEY_R = 0x52;
constexpr uint8_t VK_KEY_S = 0x53;
constexpr uint8_t VK_KEY_X = 0x58;
constexpr uint8_t VK_KEY_Z = 0x5A;
constexpr uint8_t VK_NUMPAD0 = 0x60;
constexpr uint8_t VK_NUMPAD1 = 0x61;
constexpr uint8_t VK_NUMPAD2 = 0x62;
constexpr uint8_t VK_NUMPAD3 = 0x63;
constexpr uint8_t VK_NUMPAD4 = 0x64;
constexpr uint8_t VK_NUMPAD5 = 0x65;
constexpr uint8_t VK_NUMPAD6 = 0x66;
constexpr uint8_t VK_NUMPAD7 = 0x67;
constexpr uint8_t VK_NUMPAD8 = 0x68;
constexpr uint8_t VK_NUMPAD9 = 0x69;
constexpr uint8_t VK_NUMPAD_MULTIPLY = 0x6A;
constexpr uint8_t VK_NUMPAD_PLUS = 0x6B;
constexpr uint8_t VK_NUMPAD_MINUS = 0x6D;
constexpr uint8_t VK_NUMPAD_PERIOD = 0x6E;
constexpr uint8_t VK_NUMPAD_DIVIDE = 0x6F;
constexpr uint8_t VK_F1 = 0x70;
constexpr uint8_t VK_F2 = 0x71;
constexpr uint8_t VK_F3 = 0x72;
constexpr uint8_t VK_F4 = 0x73;
constexpr uint8_t VK_F5 = 0x74;
constexpr uint8_t VK_F6 = 0x75;
constexpr uint8_t VK_F10 = 0x79;
constexpr uint8_t VK_F12 = 0x7B;
constexpr uint8_t VK_NUM_LOCK = 0x90;
constexpr uint8_t VK_SCROLL = 0x91;
constexpr uint8_t VK_SEMICOLON = 0xBA;
constexpr uint8_t VK_EQUALS = 0xBB;
constexpr uint8_t VK_OEM_COMMA = 0xBC;
constexpr uint8_t VK_MINUS = 0xBD;
constexpr uint8_t VK_OEM_PERIOD = 0xBE;
constexpr uint8_t VK_SLASH = 0xBF;
constexpr uint8_t VK_BACKQUOTE = 0xC0;
constexpr uint8_t VK_LEFT_BRACKET = 0xDB;
constexpr uint8_t VK_BACKSLASH = 0xDC;
constexpr uint8_t VK_RIGHT_BRACKET = 0xDD;
constexpr uint8_t VK_QUOTE = 0xDE;

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
    uint32_t key;   // key events: the virtual-key code (VK_ above), 1..255
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

// --- Sound: samples played on numbered channels, and streams (music, radio). ---
//
// Rules every implementation keeps, because the game never checks a handle:
// - every call on a null handle, before sndOpenDevice or after a failed one, does nothing,
//   fails nothing and answers 0;
// - sndPlaySample plays on exactly the channel given, replacing what played there;
// - sndPlayStream on a channel where another stream plays makes that stream give way;
// - sound goes on while the window is in the background.

struct SoundSample;
struct SoundStream;

// How a sample or stream plays: once to its end, or round and round until stopped.
constexpr uint8_t SND_ONE_SHOT = 1;
constexpr uint8_t SND_LOOPING = 2;

// What the sound libraries can do, as bits of sndAbilities: reading MP3 files (the radio's).
constexpr uint32_t SND_READS_MP3 = 1;
uint32_t sndAbilities();

// Opens output device number device (0 the system's default, n the n-th listed; a number past the
// list is the default), mixing at mixRate Hz with channels numbered 0 .. channels-1. 0 means
// failure (for example no sound device); every later call is then silent.
int sndOpenDevice(int device, int mixRate, int channels);
// Stops everything, frees every sample and stream, closes the device.
void sndCloseDevice();

// A sample read whole into memory; null when the file cannot be read.
SoundSample* sndLoadSample(const char* path, uint8_t mode);
void sndFreeSample(SoundSample* sample);
// 1 when sndLoadSample would read the file (mono or stereo, at least one frame); needs no open
// device. The recording library takes any regular file that is not empty.
uint8_t sndFileDecodes(const char* path);
int sndPlaySample(int channel, SoundSample* sample);
int sndStopChannel(int channel);
// 1 while something plays on the channel.
int sndChannelPlaying(int channel);
// Playback rate in Hz, relative to the sample's own rate; takes effect at once.
int sndSetFrequency(int channel, int hz);

// A stream decoded while it plays; null when the file cannot be opened.
SoundStream* sndOpenStream(const char* path, uint8_t mode);
// Plays from where the stream stands (its start, or where it was stopped or moved to).
int sndPlayStream(int channel, SoundStream* stream);
// Stops and keeps the position.
int sndStopStream(SoundStream* stream);
int sndSeekStream(SoundStream* stream, int ms);
// Position and length in milliseconds.
int sndStreamPosition(SoundStream* stream);
int sndStreamLength(SoundStream* stream);
int sndCloseStream(SoundStream* stream);
