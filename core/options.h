// The user's settings, read once at start from "Opcje.ini" in the working directory, and the
// values derived from them. Never written; nothing changes while the game runs. Lives for the process.
#pragma once

#include <cstdint>
#include <string>

extern int32_t optResolution;
extern int32_t optTextureQuality;
extern int32_t optMipmaping;
extern int32_t optSoundDriver;
extern int32_t optClouds;
extern int32_t optAlphaFunc;
extern int32_t optJoystick;
// "Okno": 0 (or missing) the display-mode switch; 1 a resizable window; 2 full screen at the
// desktop's resolution. In 1 and 2 the picture is scaled, the game drawing at its own size.
extern int32_t optWindowMode;
// Folder scanned for the radio's music files, with its trailing separator.
extern char mp3Folder[255];

extern int32_t screenWidth;
extern int32_t screenHeight;
extern int32_t screenBits;

// Texture-list paths chosen by the texture quality and the bus; null when the quality is
// neither 0 nor 1 (the first list of a load then fails to open).
extern const char* routeTextureList;
extern const char* busTextureList;
extern const char* carTextureList;

// GL minification filter for every texture; 0 (no valid filter) leaves GL's default.
extern int32_t textureMinFilter;
// 1: bright ambient light; 0: dim.
extern uint8_t clearSky;

// Reads "Opcje.ini" from currentDir. Needs currentDir and busChoice set.
void readOptions();
// The same from an explicit file path (tests, tools).
void readOptionsFrom(const std::string& path);
