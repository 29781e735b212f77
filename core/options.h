// The user's settings, read once at start from "Opcje.ini" in the working directory, and the
// values derived from them. Never written; nothing changes while the game runs. Lives for the process.
#pragma once

#include <cstdint>
#include <string>

// The settings and their derived values: filled by readOptionsFrom, read everywhere, never
// written after. Lives for the process.
struct GameOptions {
    int32_t resolution = 0;
    int32_t textureQuality = 0;
    int32_t mipmaping = 0;
    int32_t soundDriver = 0;
    int32_t clouds = 0;
    int32_t alphaFunc = 0;
    int32_t joystick = 0;
    // "Okno": 0 (or missing) the display-mode switch; 1 a resizable window; 2 full screen at the
    // desktop's resolution. In 1 and 2 the picture is scaled, the game drawing at its own size.
    int32_t windowMode = 0;
    // Folder scanned for the radio's music files, with its trailing separator.
    char mp3Folder[255] = {};

    int32_t screenWidth = 640;
    int32_t screenHeight = 480;
    int32_t screenBits = 16;

    // Texture-list paths chosen by the texture quality and the bus; null when the quality is
    // neither 0 nor 1 (the first list of a load then fails to open).
    const char* routeTextureList = nullptr;
    const char* busTextureList = nullptr;
    const char* carTextureList = nullptr;

    // GL minification filter for every texture; 0 (no valid filter) leaves GL's default.
    int32_t textureMinFilter = 0;
    // 1: bright ambient light; 0: dim.
    uint8_t clearSky = 0;
};

extern GameOptions options;

// Reads "Opcje.ini" from game.currentDir. Needs it and game.busChoice set.
void readOptions();
// The same from an explicit file path (tests, tools).
void readOptionsFrom(const std::string& path);
