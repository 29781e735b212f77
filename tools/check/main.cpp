// velbrant-check: the data-tree checker, for people who make their own buses and routes.
//
//   velbrant-check [DIR]              check the tree whose root is DIR (default: the current
//                                     folder); one line per problem, then a summary; exit 0 when
//                                     the tree is playable
//   velbrant-check --image FILE OUT   write FILE as the game decodes it (before the colour key)
//                                     as a binary PPM
//   velbrant-check --model FILE       print a model's triangle count, label and texture indices
#include "assets/bmp.h"
#include "assets/model.h"
#include "tools/check/check_tree.h"
#include "tools/check/report.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: velbrant-check [DIR]\n"
                 "       velbrant-check --image FILE OUT.ppm\n"
                 "       velbrant-check --model FILE\n");
    return 2;
}

std::string withoutNewline(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

int imageMode(const char* path, const char* outPath)
{
    char message[1200];
    ImageRecord* image = loadBmpImageQuiet(path, message, sizeof message);
    if (!image) {
        std::printf("%s: %s\n", path, withoutNewline(message).c_str());
        return 1;
    }
    std::FILE* out = std::fopen(outPath, "wb");
    if (!out) {
        std::printf("%s: cannot be written\n", outPath);
        freeImage(image);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", image->width, image->height);
    // The record holds the bottom row first; a PPM starts at the top.
    const size_t rowBytes = static_cast<size_t>(image->width) * 3;
    bool ok = true;
    for (int32_t y = image->height - 1; y >= 0 && ok; --y)
        ok = std::fwrite(image->pixels + rowBytes * static_cast<size_t>(y), 1, rowBytes, out) == rowBytes;
    ok = std::fclose(out) == 0 && ok;
    std::printf("%s: %d x %d\n", path, image->width, image->height);
    freeImage(image);
    return ok ? 0 : 1;
}

ModelWithStorage<MAX_ROUTE_TRIANGLES> modelScratch;

int modelMode(const char* path)
{
    ModelReport r{};
    if (!loadModelQuiet(modelScratch, path, &r)) {
        std::printf("%s: cannot be opened\n", path);
        return 1;
    }
    std::printf("%s: %d triangles", path, modelScratch.triangleCount);
    if (r.countRead && r.declaredCount != modelScratch.triangleCount)
        std::printf(" (the file says %d)", r.declaredCount);
    std::printf("\nlabel: %s\n", r.label);
    std::map<int32_t, int32_t> uses;
    for (int32_t i = 0; i < modelScratch.triangleCount; ++i)
        ++uses[modelScratch.textureIndex[i]];
    std::printf("texture indices:");
    for (const auto& [index, count] : uses)
        std::printf(" %d (%d)", index, count);
    std::printf("\n");
    if (!r.countRead)
        std::printf("%s: bad number at line %d: the triangle count\n", path, r.firstBadLine);
    if (r.badRecords > 0)
        std::printf("%s: bad number at line %d (%d cut short)\n", path, r.firstBadLine, r.badRecords);
    if (r.recordsMissing > 0)
        std::printf("%s: the file ends after %d of %d triangles\n", path, modelScratch.triangleCount - r.recordsMissing,
                    modelScratch.triangleCount);
    return 0;
}

int treeMode(const char* dir)
{
    if (chdir(dir) != 0) {
        std::printf("%s: missing folder\n", dir);
        std::printf("velbrant-check: %s is not playable\n", dir);
        return 1;
    }
    struct stat dane;
    if (stat("Dane", &dane) != 0 || !S_ISDIR(dane.st_mode)) {
        std::printf("velbrant-check: %s is no data tree: it has no Dane folder\n", dir);
        return 1;
    }
    CheckReport report;
    checkTree(report);
    for (const std::string& line : report.lines)
        std::printf("%s\n", line.c_str());
    const bool playable = report.errors == 0;
    std::printf("velbrant-check: %s: %d %s, %d %s: %s\n", dir, report.errors, report.errors == 1 ? "problem" : "problems",
                report.warnings, report.warnings == 1 ? "warning" : "warnings", playable ? "playable" : "not playable");
    return playable ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        usage();
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--image") == 0)
        return argc == 4 ? imageMode(argv[2], argv[3]) : usage();
    if (argc >= 2 && std::strcmp(argv[1], "--model") == 0)
        return argc == 3 ? modelMode(argv[2]) : usage();
    if (argc > 2 || (argc == 2 && argv[1][0] == '-'))
        return usage();
    return treeMode(argc == 2 ? argv[1] : ".");
}
