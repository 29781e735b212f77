// The radio folder scan's name handling on fuzzed file names: the pure selection (suffix, case,
// order) and then the whole scan over a scratch folder holding those names as files, with the
// recording sound library. Input: one name per line; a line starting with '/' makes a folder.
#include "fuzz/fuzz_support.h"
#include "platform/services/dirscan.h"
#include "platform/platform.h"
#include "platform/null/null_platform.h"
#include "sound/radio.h"
#include "sound/sound.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr size_t FUZZ_MAX_NAMES = 160;   // past the radio's 100 tracks
constexpr size_t FUZZ_MAX_NAME = 255;    // the file system's limit

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool hasMp3Suffix(const std::string& name)
{
    if (name.size() < 4)
        return false;
    const char* s = name.c_str() + name.size() - 4;
    return s[0] == '.' && lowerAscii(s[1]) == 'm' && lowerAscii(s[2]) == 'p' && s[3] == '3';
}

void checkSelection(const std::vector<std::string>& names)
{
    const std::vector<std::string> selected = selectNamesBySuffix(names, ".mp3");
    FUZZ_CHECK(std::is_sorted(selected.begin(), selected.end()));
    size_t wanted = 0;
    for (const std::string& n : names)
        wanted += hasMp3Suffix(n) ? 1 : 0;
    FUZZ_CHECK(selected.size() == wanted);
    for (const std::string& n : selected) {
        FUZZ_CHECK(hasMp3Suffix(n));
        FUZZ_CHECK(std::find(names.begin(), names.end(), n) != names.end());
    }
    // The suffix is compared without regard to its own case as well.
    FUZZ_CHECK(selectNamesBySuffix(names, ".MP3") == selected);
}

// Makes the names in a fresh folder; returns the regular files made, sorted.
std::vector<std::string> makeFolder(const std::string& folder, const std::vector<std::string>& lines)
{
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directory(folder);
    std::vector<std::string> files;
    for (const std::string& line : lines) {
        const bool asFolder = !line.empty() && line[0] == '/';
        std::string name;
        for (char c : line)
            if (c != '/' && c != '\0')
                name += c;
        if (name.empty() || name == "." || name == ".." || name.size() > FUZZ_MAX_NAME)
            continue;
        const std::string path = folder + "/" + name;
        struct stat info;
        if (stat(path.c_str(), &info) == 0)
            continue;  // names that differ only in a dropped byte
        if (asFolder) {
            mkdir(path.c_str(), 0700);
        } else {
            fuzzWriteFile(path, nullptr, 0);
            files.push_back(name);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void checkScan(const std::vector<std::string>& lines)
{
    static const std::string folder = fuzzScratchDir() + "/Radio";
    const std::vector<std::string> files = makeFolder(folder, lines);
    std::vector<std::string> tracks;
    for (const std::string& f : files)
        if (hasMp3Suffix(f))
            tracks.push_back(f);

    scanRadioFolder((folder + "/").c_str());
    sndRecordTake();
    sndRecordTakeLog();
    const size_t kept = std::min<size_t>(tracks.size(), SOUND_STREAM_COUNT - RADIO_FIRST_TRACK);
    FUZZ_CHECK(radioTrack == RADIO_FIRST_TRACK);
    FUZZ_CHECK(radioLastTrack == RADIO_FIRST_TRACK - 1 + static_cast<int32_t>(kept));
    FUZZ_CHECK(radioLastTrack < SOUND_STREAM_COUNT);
    for (size_t i = 0; i < kept; ++i)
        FUZZ_CHECK(sndRecordHandlePath(soundStreams[RADIO_FIRST_TRACK + i]) == folder + "/" + tracks[i]);
    FUZZ_CHECK(sndRecordOpenStreams() == static_cast<int>(kept));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < size && lines.size() < FUZZ_MAX_NAMES; ++i) {
        if (data[i] == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(data[i]);
        }
    }
    if (!line.empty() && lines.size() < FUZZ_MAX_NAMES)
        lines.push_back(line);

    checkSelection(lines);
    checkScan(lines);
    return 0;
}
