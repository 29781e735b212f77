#include "core/options.h"
#include "core/game.h"
#include "platform/services/profile.h"

int32_t optResolution;
int32_t optTextureQuality;
int32_t optMipmaping;
int32_t optSoundDriver;
int32_t optClouds;
int32_t optAlphaFunc;
int32_t optJoystick;
int32_t optWindowMode;
char mp3Folder[255];

int32_t screenWidth = 640;
int32_t screenHeight = 480;
int32_t screenBits = 16;

const char* routeTextureList = nullptr;
const char* busTextureList = nullptr;
const char* carTextureList = nullptr;

int32_t textureMinFilter = 0;
uint8_t clearSky = 0;

namespace {

const char* const SECTION = "Opcje";

struct Resolution {
    int32_t width, height, bits;
};
const Resolution RESOLUTIONS[6] = {
    {640, 480, 16}, {800, 600, 16}, {1024, 768, 16}, {640, 480, 32}, {800, 600, 32}, {1024, 768, 32},
};

constexpr int32_t GL_LINEAR_VALUE = 0x2601;
constexpr int32_t GL_LINEAR_MIPMAP_NEAREST_VALUE = 0x2701;

} // namespace

void readOptionsFrom(const std::string& path)
{
    // The values the reads below may leave alone start from their program-start state.
    screenWidth = 640;
    screenHeight = 480;
    screenBits = 16;
    routeTextureList = busTextureList = carTextureList = nullptr;
    textureMinFilter = 0;
    clearSky = 0;

    const char* p = path.c_str();
    optResolution = profileReadInt(SECTION, "Rozdzielczosc", 0, p);
    optTextureQuality = profileReadInt(SECTION, "JakoscTekstur", 1, p);
    optMipmaping = profileReadInt(SECTION, "Mipmaping", 0, p);
    optSoundDriver = profileReadInt(SECTION, "KartaDzwiekowa", 0, p);
    optClouds = profileReadInt(SECTION, "Zachmurzenie", 0, p);
    optAlphaFunc = profileReadInt(SECTION, "AlphaFunc", 0, p);
    optJoystick = profileReadInt(SECTION, "Joystick", 0, p);
    profileReadString(SECTION, "FolderMp3", "Dane/Radio/", mp3Folder, sizeof mp3Folder, p);
    optWindowMode = profileReadInt(SECTION, "Okno", 0, p);

    // Taken as unsigned: negative values select nothing.
    const uint32_t resolution = static_cast<uint32_t>(optResolution);
    if (resolution < 6) {
        screenWidth = RESOLUTIONS[resolution].width;
        screenHeight = RESOLUTIONS[resolution].height;
        screenBits = RESOLUTIONS[resolution].bits;
    }

    if (optTextureQuality == 0) {
        routeTextureList = "Dane/Trasy/Test/TeksturyW.tex";
        busTextureList = busChoice == 1 ? "Dane/Autobusy/Volvo7000/TeksturyW.tex" : "Dane/Autobusy/Urbino12/TeksturyW.tex";
        carTextureList = "Dane/Pojazdy/F125/TeksturyW.tex";
    } else if (optTextureQuality == 1) {
        routeTextureList = "Dane/Trasy/Test/TeksturyN.tex";
        busTextureList = busChoice == 1 ? "Dane/Autobusy/Volvo7000/TeksturyN.tex" : "Dane/Autobusy/Urbino12/TeksturyN.tex";
        carTextureList = "Dane/Pojazdy/F125/TeksturyN.tex";
    }

    if (optClouds == 0)
        clearSky = 1;
    else if (optClouds == 1)
        clearSky = 0;

    if (optMipmaping == 0)
        textureMinFilter = GL_LINEAR_MIPMAP_NEAREST_VALUE;
    else if (optMipmaping == 1)
        textureMinFilter = GL_LINEAR_VALUE;
}

void readOptions()
{
    readOptionsFrom(currentDir + "/Opcje.ini");
}
