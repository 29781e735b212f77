// The data-tree walk of velbrant-check. Paths are the game's own, relative to the tree's root.
#include "tools/check/check_tree.h"

#include "platform/null/null_platform.h"
#include "platform/platform.h"

#include "core/game.h"
#include "core/options.h"
#include "assets/bmp.h"
#include "platform/services/file_read.h"
#include "assets/ids.h"
#include "assets/load.h"
#include "assets/model.h"
#include "assets/params.h"
#include "assets/params_check.h"
#include "assets/path_files.h"
#include "assets/tokens.h"
#include "assets/textures.h"
#include "platform/services/dirscan.h"
#include "platform/services/path_resolve.h"
#include "platform/services/profile.h"
#include "sim/stops.h"
#include "tools/common/route_layout.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <sys/stat.h>

namespace {

constexpr int32_t RADIO_MAX_TRACKS = 100;
const char* const SOUND_FOLDER = "Dane/Dzwiek/Volvo7000/";
const char* const SOUND_FILES[] = {"skrzynia_biegow.sfx", "drzwi_o.sfx",    "drzwi_z.sfx",   "klakson.sfx",
                                   "silnik_start.sfx",    "silnik_stop.sfx", "kierunkowskaz.sfx", "sygnal.sfx",
                                   "hamulec_powietrze.sfx", "silnik.sfx"};
const char* const MENU_MUSIC_FILE = "Dane/Menu/muzyka.wav";

// One scratch record of the largest capacity (12.8 MB), set to each file's capacity and reset.
ModelWithStorage<MAX_ROUTE_TRIANGLES> scratch;

std::map<std::string, bool> checkedImages;

enum class Entry { missing, file, folder, other };

Entry entryAt(const std::string& path, long long* size = nullptr)
{
    char found[DATA_PATH_SIZE];
    resolveDataPath(path.c_str(), found);
    struct stat info;
    if (stat(found, &info) != 0)
        return Entry::missing;
    if (size)
        *size = static_cast<long long>(info.st_size);
    if (S_ISREG(info.st_mode))
        return Entry::file;
    return S_ISDIR(info.st_mode) ? Entry::folder : Entry::other;
}

void reportUnopenable(CheckReport& report, const std::string& path, const std::string& where = "")
{
    const Entry e = entryAt(path);
    if (e == Entry::missing)
        reportProblem(report, path, (report.optionalDepth > 0 ? "missing optional file" : "missing required file") + where);
    else if (e == Entry::folder)
        reportProblem(report, path, "is a folder, not a file" + where);
    else
        reportProblem(report, path, "cannot be read" + where);
}

// The game finds a name in another letter case too, but a tree is best made as it names its files.
void warnCaseFolded(CheckReport& report, const std::string& path)
{
    char found[DATA_PATH_SIZE];
    if (resolveDataPath(path.c_str(), found) == PATH_CASE_FOLDED)
        reportWarning(report, path, std::string("found only as ") + found + ", in another letter case");
}

std::string withoutNewline(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// One picture through the game's decoder; true when the game would load it.
bool checkImage(CheckReport& report, const std::string& path, const std::string& where = "")
{
    auto seen = checkedImages.find(path);
    if (seen != checkedImages.end())
        return seen->second;
    warnCaseFolded(report, path);
    char message[1200];
    ImageRecord* image = loadBmpImageQuiet(path.c_str(), message, sizeof message);
    const bool ok = image != nullptr;
    freeImage(image);
    if (!ok) {
        long long size = -1;
        const Entry e = entryAt(path, &size);
        if (e == Entry::file && size == 0)
            reportProblem(report, path, "image refused: the file is empty" + where);
        else if (e != Entry::file)
            reportUnopenable(report, path, where);
        else
            reportProblem(report, path, "image refused: " + withoutNewline(message) + where);
    }
    checkedImages[path] = ok;
    return ok;
}

// A texture list and every image it names; returns the number of slots it fills.
int32_t checkTextureList(CheckReport& report, const std::string& path, int group)
{
    warnCaseFolded(report, path);
    FileBytes bytes;
    if (!readFileBytes(path.c_str(), bytes)) {
        reportUnopenable(report, path, report.optionalDepth > 0 ? "" : ": the game stops at start");
        return 0;
    }
    TextureListReader reader;
    beginTextureList(reader, bytes.text(), bytes.size);
    if (!reader.countRead) {
        reportProblem(report, path, "bad number at line " + std::to_string(reader.cursor.line) + ": the count of images");
        return 0;
    }
    const int32_t size = textureGroupSize(group);
    if (reader.count < 0 || reader.count > size)
        reportProblem(report, path,
                      "count " + std::to_string(reader.count) + " out of range (0.." + std::to_string(size) + ")");
    int32_t slots = reader.count < 0 ? 0 : (reader.count > size ? size : reader.count);
    char name[TEXTURE_NAME_SIZE];
    int32_t filled = 0;
    for (int32_t i = 0; i < slots; ++i) {
        const int result = nextTextureName(reader, name);
        if (result == SCAN_END) {
            reportProblem(report, path,
                          "the list ends after " + std::to_string(i) + " of " + std::to_string(slots) + " image names");
            break;
        }
        ++filled;
        if (result == SCAN_WORD_TOO_LONG) {
            reportProblem(report, path,
                          "line " + std::to_string(reader.cursor.line) + ": image name longer than " +
                              std::to_string(TEXTURE_NAME_SIZE - 1) + " characters");
            continue;
        }
        checkImage(report, name, " (slot " + std::to_string(i) + " of " + path + ")");
    }
    return filled;
}

void checkModel(CheckReport& report, const std::string& path, const ModelFile& file, int32_t groupFilled,
                const std::string& listPath)
{
    warnCaseFolded(report, path);
    const char* fileName = file.name;
    const size_t capacity = static_cast<size_t>(file.model->capacity);
    scratch.capacity = file.model->capacity;
    scratch.triangleCount = 0;
    std::memset(scratch.vertices, 0, capacity * sizeof scratch.vertices[0]);
    std::memset(scratch.texCoords, 0, capacity * sizeof scratch.texCoords[0]);
    std::memset(scratch.textureIndex, 0, capacity * sizeof scratch.textureIndex[0]);
    ModelReport r{};
    if (!loadModelQuiet(scratch, path.c_str(), &r)) {
        reportUnopenable(report, path);
        return;
    }
    if (!r.countRead)
        reportProblem(report, path, "bad number at line " + std::to_string(r.firstBadLine) + ": the triangle count");
    else if (r.declaredCount < 0 || r.declaredCount > scratch.capacity)
        reportProblem(report, path,
                      "count " + std::to_string(r.declaredCount) + " out of range (0.." +
                          std::to_string(scratch.capacity) + ")");
    if (r.badRecords > 0)
        reportProblem(report, path,
                      "bad number at line " + std::to_string(r.firstBadLine) + " (" + std::to_string(r.badRecords) +
                          (r.badRecords == 1 ? " triangle" : " triangles") + " cut short)");
    if (r.recordsMissing > 0)
        reportProblem(report, path,
                      "the file ends after " + std::to_string(scratch.triangleCount - r.recordsMissing) + " of " +
                          std::to_string(scratch.triangleCount) + " triangles");

    int32_t outside = 0, firstTriangle = -1, firstIndex = 0;
    for (int32_t i = 0; i < scratch.triangleCount; ++i) {
        const int32_t index = scratch.textureIndex[i];
        if (index < 0 || index >= groupFilled) {
            if (outside++ == 0) {
                firstTriangle = i;
                firstIndex = index;
            }
        }
    }
    if (outside > 0) {
        std::string message = "texture index " + std::to_string(firstIndex) + " of triangle " +
                              std::to_string(firstTriangle) + " out of its group (" + listPath + " fills " +
                              std::to_string(groupFilled) + " slots)";
        if (outside > 1)
            message += ", and " + std::to_string(outside - 1) + " more";
        reportProblem(report, path, message);
    }
    const ModelNeed need = modelNeed(fileName);
    if (scratch.triangleCount < need.minimum)
        reportProblem(report, path,
                      "too few triangles (" + std::to_string(scratch.triangleCount) + "): the game draws " + need.why);
}

// A run file through the game's own checks (assets/params_check.h); the game prints the same lines.
void reportParamsProblems(CheckReport& report, const char* path, const ParamsProblems& problems)
{
    for (int32_t i = 0; i < problems.count; ++i)
        reportProblem(report, path, problems.messages[i]);
}

void checkRunFiles(CheckReport& report)
{
    const struct {
        const char* path;
        void (*check)(const char*, size_t, ParamsProblems*);
    } files[] = {
        {BUS_PARAMETERS_FILE_VOLVO, checkBusParametersText},
        {BUS_PARAMETERS_FILE_URBINO, checkBusParametersText},
        {MISSION_PARAMETERS_FILE, checkMissionParametersText},
        {STOPS_FILE, checkStopsText},
    };
    for (const auto& file : files) {
        FileBytes bytes;
        if (!readFileBytes(file.path, bytes)) {
            reportUnopenable(report, file.path, ": the game stops at a new game");
            continue;
        }
        ParamsProblems problems;
        file.check(bytes.text(), bytes.size, &problems);
        reportParamsProblems(report, file.path, problems);
    }
}

// A path file's read, reported when the file is there but refused; true when it was read.
bool checkPathRead(CheckReport& report, const char* path, const PathFileReport& read, int32_t minPoints)
{
    if (read.error == PATH_FILE_OK)
        return true;
    if (read.error == PATH_FILE_UNREADABLE) {
        if (entryAt(path) != Entry::missing)
            reportUnopenable(report, path);
        return false;
    }
    char message[160];
    describePathFileReport(read, minPoints, message, sizeof message);
    reportProblem(report, path, message);
    return false;
}

// The optional path files: the bus lane must start at the bus and pass every stop in order.
void checkPathFiles(CheckReport& report)
{
    static CarPath car;
    checkPathRead(report, CAR_PATH_FILE, readCarPathFile(CAR_PATH_FILE, &car), CAR_PATH_MIN_POINTS);
    static BusLane file;
    if (!checkPathRead(report, BUS_LANE_FILE, readBusLaneFile(BUS_LANE_FILE, &file), BUS_LANE_MIN_POINTS))
        return;
    RouteRoad lane = {{}, 0.0f, false};
    for (int32_t i = 0; i < file.pointCount; ++i)
        lane.points.push_back({file.x[i], file.z[i]});
    MissionParameters mission{};
    static RouteTable table;
    if (readMissionParametersFile(MISSION_PARAMETERS_FILE, &mission)) {
        const float away = std::hypot(file.x[0] - mission.busX, file.z[0] + mission.busZ);
        if (!(away < STOP_REACH))
            reportProblem(report, BUS_LANE_FILE,
                          "starts " + std::to_string(static_cast<int>(away)) + " units from the bus's start");
    }
    if (!readStopsFile(STOPS_FILE, &table))
        return;
    float along = 0.0f;
    for (int32_t k = 0; k < table.stopCount; ++k) {
        const RouteProjection pass = routeFirstPass(lane, table.stopX[k], table.stopZ[k], along, STOP_REACH);
        if (pass.distance == HUGE_VALF) {
            reportProblem(report, BUS_LANE_FILE,
                          "does not pass within " + std::to_string(static_cast<int>(STOP_REACH)) + " units of stop " + std::to_string(k + 1) +
                              (k > 0 ? " after stop " + std::to_string(k) : std::string()));
            return;
        }
        along = pass.along;
    }
}

void checkSounds(CheckReport& report)
{
    auto checkFile = [&](const std::string& path) {
        long long size = -1;
        warnCaseFolded(report, path);
        const Entry e = entryAt(path, &size);
        if (e != Entry::file)
            reportUnopenable(report, path);
        else if (size == 0)
            reportProblem(report, path, "the file is empty");
        else if (!sndFileDecodes(path.c_str()))
            reportProblem(report, path, "sound refused: not a mono or stereo sound file the game can decode");
    };
    for (const char* name : SOUND_FILES)
        checkFile(std::string(SOUND_FOLDER) + name);
    checkFile(MENU_MUSIC_FILE);
}

void checkRadio(CheckReport& report)
{
    char resolved[DATA_PATH_SIZE];
    resolveDataPath(options.mp3Folder, resolved);
    const std::string folder = resolved;
    const std::string shown = folder.empty() ? "." : folder;
    const Entry e = entryAt(folder.empty() ? "." : folder);
    if (e != Entry::folder) {
        reportWarning(report, shown, "missing folder: the radio has no tracks");
        return;
    }
    const size_t tracks = findFilesBySuffix(folder, ".mp3").size();
    if (tracks == 0)
        reportWarning(report, shown, "no .mp3 files: the radio has no tracks");
    else if (tracks > static_cast<size_t>(RADIO_MAX_TRACKS))
        reportWarning(report, shown,
                      std::to_string(tracks) + " tracks: only the first " + std::to_string(RADIO_MAX_TRACKS) +
                          " are played");
}

// The whole-number options and the values the game gives a meaning; the rest take any number.
const struct {
    const char* key;
    int32_t lowest, highest;
} OPTION_RANGES[] = {
    {"Rozdzielczosc", 0, 5}, {"Mipmaping", 0, 1},         {"KartaDzwiekowa", 0, INT32_MAX},
    {"Zachmurzenie", INT32_MIN, INT32_MAX}, {"AlphaFunc", INT32_MIN, INT32_MAX}, {"Joystick", 0, 1}, {"Okno", 0, 2},
};

// An option that is no number reads as 0; one outside its range selects nothing the game knows.
void checkOptionValues(CheckReport& report, const char* path)
{
    for (const auto& option : OPTION_RANGES) {
        char text[64];
        if (profileReadString("Opcje", option.key, "", text, sizeof text, path) == 0)
            continue;
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(text, &end, 10);
        while (*end == ' ' || *end == '\t')
            ++end;
        const std::string shown = std::string(option.key) + "=" + text;
        if (end == text || *end != '\0' || errno != 0)
            reportProblem(report, path, shown + " is no whole number: the game reads " +
                          std::to_string(profileReadInt("Opcje", option.key, 0, path)));
        else if (value < option.lowest || value > option.highest)
            reportProblem(report, path, shown + " out of range (" + std::to_string(option.lowest) + ".." +
                          std::to_string(option.highest) + ")");
    }
}

// The three quality-dependent list paths of one quality letter ("W" or "N").
std::string routeList(const char* quality)
{
    return std::string("Dane/Trasy/Test/Tekstury") + quality + ".tex";
}

std::string busList(const char* quality)
{
    return std::string(busFolder()) + "Tekstury" + quality + ".tex";
}

std::string carList(const char* quality)
{
    return std::string("Dane/Pojazdy/F125/Tekstury") + quality + ".tex";
}

} // namespace

ModelNeed modelNeed(const char* fileName)
{
    if (std::strcmp(fileName, "ModelWew.qx") == 0)
        return ModelNeed{4, "the steering wheel (triangles 0-1) and the speedometer needle (2-3) from it"};
    if (std::strcmp(fileName, "Standrzwi.qx") == 0)
        return ModelNeed{5, "three door lamps from it: triangles 0-1, 2-3 and 4 on"};
    if (std::strcmp(fileName, "Dane/Wskazniki/Wskazniki.qx") == 0)
        return ModelNeed{5, "the gauge panel (triangles 0-3) and the stop arrow (4 on) from it"};
    return ModelNeed{1, "nothing of it"};
}

void checkTree(CheckReport& report)
{
    checkedImages.clear();
    fakeMessages.clear();

    // Options: absent means every default, which is a playable choice.
    const char* const optionsFile = "Opcje.ini";
    if (entryAt(optionsFile) != Entry::file)
        reportWarning(report, optionsFile, "missing file: every option takes its default");
    game.busChoice = 1;
    readOptionsFrom(optionsFile);
    checkOptionValues(report, optionsFile);
    const int32_t quality = options.textureQuality;
    if (quality != 0 && quality != 1)
        reportProblem(report, optionsFile,
                      "JakoscTekstur is " + std::to_string(quality) + ": the game finds no texture list and stops");
    const char* chosen = quality == 0 ? "W" : "N";
    const char* other = quality == 0 ? "N" : "W";

    // Shared lists, then each bus with its own list and models.
    const int32_t routeSlots = checkTextureList(report, routeList(chosen), TEX_ROUTE);
    const int32_t carSlots = checkTextureList(report, carList(chosen), TEX_CAR);
    const int32_t gaugeSlots = checkTextureList(report, GAUGES_TEXTURE_LIST, TEX_GAUGES);
    const int32_t timetableSlots = checkTextureList(report, TIMETABLE_TEXTURE_LIST, TEX_TIMETABLE);
    ++report.optionalDepth;
    checkTextureList(report, routeList(other), TEX_ROUTE);
    checkTextureList(report, carList(other), TEX_CAR);
    --report.optionalDepth;

    for (uint8_t bus : {uint8_t{1}, uint8_t{0}}) {
        game.busChoice = bus;
        const int32_t busSlots = checkTextureList(report, busList(chosen), TEX_BUS);
        ++report.optionalDepth;
        checkTextureList(report, busList(other), TEX_BUS);
        --report.optionalDepth;
        for (const ModelFile& file : modelFiles) {
            if (!file.inBusFolder)
                continue;
            checkModel(report, std::string(busFolder()) + file.name, file, busSlots, busList(chosen));
        }
    }
    game.busChoice = 1;

    for (const ModelFile& file : modelFiles) {
        if (file.inBusFolder)
            continue;
        int32_t slots = routeSlots;
        std::string list = routeList(chosen);
        if (file.group == TEX_CAR) {
            slots = carSlots;
            list = carList(chosen);
        } else if (file.group == TEX_GAUGES) {
            slots = gaugeSlots;
            list = GAUGES_TEXTURE_LIST;
        } else if (file.group == TEX_TIMETABLE) {
            slots = timetableSlots;
            list = TIMETABLE_TEXTURE_LIST;
        }
        checkModel(report, file.name, file, slots, list);
    }

    checkImage(report, FONT_IMAGE_FILE);
    for (const char* picture : menuImageFiles)
        checkImage(report, picture);
    checkRunFiles(report);
    checkPathFiles(report);
    checkSounds(report);
    checkRadio(report);
}
