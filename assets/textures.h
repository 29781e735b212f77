// Texture groups, texture lists (".tex") and the upload of one image with its colour key.
// The group tables (assets/ids.h) live for the process: every load refills them with new texture
// names and deletes the names it replaces.
#pragma once

#include <cstddef>
#include <cstdint>

#include "assets/tokens.h"

// A list entry's name holds at most 199 characters.
constexpr int TEXTURE_NAME_SIZE = 200;
// No texture is uploaded wider or taller than this (or than GL_MAX_TEXTURE_SIZE, if smaller);
// larger pictures are halved until they fit.
constexpr int32_t TEXTURE_MAX_SIDE = 4096;

// The list being read: its count (textureListCount) and the name being loaded
// (textureNameBuffer). Static for the process; every list load overwrites both and they keep
// their values between loads, like the tables.
struct TextureListState {
    int32_t count;
    char name[TEXTURE_NAME_SIZE];
};
extern TextureListState textureList;
// The colour that becomes transparent: pure black.
extern const uint8_t colourKey[3];

// The "Błąd" message of a list that cannot be read (Windows-1250).
extern const char* const TEXTURE_LIST_MESSAGE;

// Reading a list from memory: the count, then one name per call.
struct TextureListReader {
    TextCursor cursor;
    int32_t count;       // 0 when the count does not convert
    uint8_t countRead;   // 1 when it did
    const char* word;    // the name last read, whole even when too long for the buffer
    size_t wordLength;
};
void beginTextureList(TextureListReader& reader, const char* text, size_t size);
// The next name into buffer (TEXTURE_NAME_SIZE bytes): SCAN_OK, SCAN_WORD_TOO_LONG (the name is
// skipped, buffer empty) or SCAN_END when the list ends early.
int nextTextureName(TextureListReader& reader, char* buffer);

// Loads the list's images into slots 0..N-1 of the group (no further than the group's size). A list
// that cannot be read shows the "Błąd" message, marks the failure and starts the shutdown.
void loadTextureList(const char* path, int group);
// Loads one image into a slot of a group; a failed image leaves the slot as it was.
void loadTexture(const char* path, int slot, int group);

// The RGBA texels of an image record, pure black keyed out (alpha 0), everything else opaque.
// rgba holds width * height * 4 bytes.
void applyColourKey(const uint8_t* rgb, size_t pixelCount, uint8_t* rgba);
