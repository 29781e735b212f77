#include "core/options.h"
#include "core/game.h"
#include "platform/services/profile.h"

GameOptions options;

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
    options.screenWidth = 640;
    options.screenHeight = 480;
    options.screenBits = 16;
    options.routeTextureList = options.busTextureList = options.carTextureList = nullptr;
    options.textureMinFilter = 0;
    options.clearSky = 0;

    const char* p = path.c_str();
    options.resolution = profileReadInt(SECTION, "Rozdzielczosc", 0, p);
    options.textureQuality = profileReadInt(SECTION, "JakoscTekstur", 1, p);
    options.mipmaping = profileReadInt(SECTION, "Mipmaping", 0, p);
    options.soundDriver = profileReadInt(SECTION, "KartaDzwiekowa", 0, p);
    options.clouds = profileReadInt(SECTION, "Zachmurzenie", 0, p);
    options.alphaFunc = profileReadInt(SECTION, "AlphaFunc", 0, p);
    options.joystick = profileReadInt(SECTION, "Joystick", 0, p);
    profileReadString(SECTION, "FolderMp3", "Dane/Radio/", options.mp3Folder, sizeof options.mp3Folder, p);
    options.windowMode = profileReadInt(SECTION, "Okno", 0, p);

    // Taken as unsigned: negative values select nothing.
    const uint32_t resolution = static_cast<uint32_t>(options.resolution);
    if (resolution < 6) {
        options.screenWidth = RESOLUTIONS[resolution].width;
        options.screenHeight = RESOLUTIONS[resolution].height;
        options.screenBits = RESOLUTIONS[resolution].bits;
    }

    if (options.textureQuality == 0) {
        options.routeTextureList = "Dane/Trasy/Test/TeksturyW.tex";
        options.busTextureList = game.busChoice == 1 ? "Dane/Autobusy/Volvo7000/TeksturyW.tex" : "Dane/Autobusy/Urbino12/TeksturyW.tex";
        options.carTextureList = "Dane/Pojazdy/F125/TeksturyW.tex";
    } else if (options.textureQuality == 1) {
        options.routeTextureList = "Dane/Trasy/Test/TeksturyN.tex";
        options.busTextureList = game.busChoice == 1 ? "Dane/Autobusy/Volvo7000/TeksturyN.tex" : "Dane/Autobusy/Urbino12/TeksturyN.tex";
        options.carTextureList = "Dane/Pojazdy/F125/TeksturyN.tex";
    }

    if (options.clouds == 0)
        options.clearSky = 1;
    else if (options.clouds == 1)
        options.clearSky = 0;

    if (options.mipmaping == 0)
        options.textureMinFilter = GL_LINEAR_MIPMAP_NEAREST_VALUE;
    else if (options.mipmaping == 1)
        options.textureMinFilter = GL_LINEAR_VALUE;
}

void readOptions()
{
    readOptionsFrom(std::string(game.currentDir) + "/Opcje.ini");
}
