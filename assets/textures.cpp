// Texture groups, the texture-list reader and the upload of one keyed image with its mipmaps.
#include "assets/textures.h"

#include "core/game.h"
#include "core/options.h"
#include "assets/bmp.h"
#include "platform/services/file_read.h"
#include "assets/ids.h"
#include "platform/platform.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <string>

uint32_t texRoute[200];
uint32_t texBus[100];
uint32_t texCar[100];
uint32_t texFont[1];
uint32_t texMenu[20];
uint32_t texGauges[100];
uint32_t texTimetable[100];

TextureListState textureList;
const uint8_t colourKey[3] = {0, 0, 0};

const char* const TEXTURE_LIST_MESSAGE =
    "Nie mog\xea za\xb3" "adowa\xe6 pliku 'Tekstury.tex'.\nUruchamienie programu zostanie teraz zako\xf1" "czone.";

uint32_t* textureGroupTable(int group)
{
    switch (group) {
    case TEX_ROUTE: return texRoute;
    case TEX_BUS: return texBus;
    case TEX_CAR: return texCar;
    case TEX_FONT: return texFont;
    case TEX_MENU: return texMenu;
    case TEX_GAUGES: return texGauges;
    case TEX_TIMETABLE: return texTimetable;
    default: return nullptr;
    }
}

int textureGroupSize(int group)
{
    switch (group) {
    case TEX_ROUTE: return 200;
    case TEX_FONT: return 1;
    case TEX_MENU: return 20;
    case TEX_BUS: case TEX_CAR: case TEX_GAUGES: case TEX_TIMETABLE: return 100;
    default: return 0;
    }
}

void beginTextureList(TextureListReader& reader, const char* text, size_t size)
{
    reader.cursor = textCursor(text, size);
    reader.count = 0;
    reader.countRead = 0;
    reader.word = text;
    reader.wordLength = 0;
    if (scanInt(reader.cursor, reader.count) == SCAN_OK) {
        reader.countRead = 1;
        skipSpace(reader.cursor);
    }
}

int nextTextureName(TextureListReader& reader, char* buffer)
{
    skipSpace(reader.cursor);
    reader.word = reader.cursor.p;
    const int result = scanWord(reader.cursor, buffer, TEXTURE_NAME_SIZE);
    reader.wordLength = static_cast<size_t>(reader.cursor.p - reader.word);
    if (result == SCAN_OK)
        skipSpace(reader.cursor);
    return result;
}

void applyColourKey(const uint8_t* rgb, size_t pixelCount, uint8_t* rgba)
{
    for (size_t i = 0; i < pixelCount; ++i, rgb += 3, rgba += 4) {
        rgba[0] = rgb[0];
        rgba[1] = rgb[1];
        rgba[2] = rgb[2];
        rgba[3] = (rgb[0] == colourKey[0] && rgb[1] == colourKey[1] && rgb[2] == colourKey[2]) ? 0 : 255;
    }
}

void loadTexture(const char* path, int slot, int group)
{
    uint32_t* table = textureGroupTable(group);
    if (!table || slot < 0 || slot >= textureGroupSize(group))
        return;
    ImageRecord* image = loadBmpImage(path);
    if (!image)
        return;
    // A picture larger than the card takes (or than any texture of the game needs) is halved
    // until it fits before its RGBA copy is made; every kept texel is one of the picture's own,
    // so the colour key stays exact.
    GLint cardLimit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &cardLimit);
    const int32_t limit = cardLimit > 0 && cardLimit < TEXTURE_MAX_SIDE ? cardLimit : TEXTURE_MAX_SIDE;
    int32_t step = 1;
    while (image->width / step > limit || image->height / step > limit)
        step *= 2;
    const int32_t width = image->width / step, height = image->height / step;
    const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
    uint8_t* rgba = static_cast<uint8_t*>(std::malloc(pixelCount * 4));
    if (!rgba) {
        platformMessageBox(BMP_MSG_MEMORY, "Error");
        freeImage(image);
        return;
    }
    if (step == 1) {
        applyColourKey(image->pixels, pixelCount, rgba);
    } else {
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                const size_t from = static_cast<size_t>(y) * step * image->width + static_cast<size_t>(x) * step;
                applyColourKey(image->pixels + from * 3, 1, rgba + (static_cast<size_t>(y) * width + x) * 4);
            }
    }

    // The new name is taken before the old one is given back, so a reloaded slot never gets
    // its old number again; the replaced texture is freed instead of leaking at every new game.
    GLuint name = 0;
    glGenTextures(1, &name);
    if (table[slot] != 0) {
        const GLuint old = table[slot];
        glDeleteTextures(1, &old);
    }
    table[slot] = name;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // A filter of 0 is no filter at all: GL's own default stays.
    if (options.textureMinFilter != 0)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, options.textureMinFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);

    std::free(rgba);
    freeImage(image);
}

void loadTextureList(const char* path, int group)
{
    FileBytes bytes;
    if (!readFileBytes(path, bytes)) {
        platformMessageBox(TEXTURE_LIST_MESSAGE, "B\xb3\xb9" "d");
        markFailure();
        shutdownApp();
        return;
    }
    TextureListReader reader;
    beginTextureList(reader, bytes.text(), bytes.size);
    textureList.count = reader.count;
    int32_t slots = reader.count;
    if (slots > textureGroupSize(group))
        slots = textureGroupSize(group);
    for (int32_t i = 0; i < slots; ++i) {
        const int result = nextTextureName(reader, textureList.name);
        if (result == SCAN_END)
            break;
        if (result == SCAN_WORD_TOO_LONG) {
            // No image can have that name: it fails like a missing one and costs only its slot.
            char message[TEXTURE_NAME_SIZE + 64];
            const std::string name(reader.word, reader.wordLength);
            std::snprintf(message, sizeof message, BMP_MSG_OPEN, name.c_str());
            platformMessageBox(message, "Error");
            continue;
        }
        loadTexture(textureList.name, i, group);
    }
}
