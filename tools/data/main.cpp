// velbrant-data DIR: writes a complete, playable data tree into DIR.
// velbrant-data --icon SIZE FILE: writes the desktop icon, SIZE x SIZE pixels, as a PNG.
// velbrant-data --osm FILE [--route ID [--stops A-B] [--start HH:MM] DIR]: lists a map extract's
// bus routes, or writes a playable tree of one of them into DIR.
#include "tools/data/gen.h"
#include "tools/data/writers.h"
#include "tools/osm/osm_import.h"

#include "platform/null/null_platform.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

const char* const OSM_USAGE =
    "       velbrant-data --osm FILE\n  lists the bus routes of a map extract (.osm, .osm.gz, .osm.bz2, .osm.pbf, .opl)\n"
    "       velbrant-data --osm FILE --route ID [--stops A-B] [--start HH:MM] DIR\n"
    "  writes a playable tree of the route into DIR: --stops keeps stops A to B (from 1), --start sets the\n"
    "  clock at the start (default 06:00)\n";

// The map modes; argv[1] is "--osm".
int osmMain(int argc, char** argv)
{
    OsmSource source{argc > 2 ? argv[2] : "", nullptr, 0, ""};
    OsmOptions options{0, 0, 0, 6 * 60};
    std::string dir;
    bool bad = argc < 3;
    for (int i = 3; i < argc && !bad; ++i) {
        const std::string a = argv[i];
        const bool value = i + 1 < argc;
        if (a == "--route" && value) {
            char* end = nullptr;
            options.relation = std::strtoll(argv[++i], &end, 10);
            bad = *end != '\0' || options.relation <= 0;
        } else if (a == "--stops" && value) {
            bad = std::sscanf(argv[++i], "%d-%d", &options.firstStop, &options.lastStop) != 2 || options.firstStop < 1 ||
                  options.lastStop <= options.firstStop;
        } else if (a == "--start" && value) {
            int h = -1, m = -1;
            bad = std::sscanf(argv[++i], "%d:%d", &h, &m) != 2 || h < 0 || h > 23 || m < 0 || m > 59;
            options.startMinutes = h * 60 + m;
        } else if (a[0] != '-' && dir.empty() && i + 1 == argc) {
            dir = a;
        } else {
            bad = true;
        }
    }
    if (bad || (options.relation == 0) != dir.empty()) {
        std::fprintf(stderr, "usage:\n%s", OSM_USAGE);
        return 2;
    }
    try {
        if (dir.empty()) {
            std::fputs(listRoutes(source).c_str(), stdout);
            return 0;
        }
        for (const std::string& p : importRoute(source, options, dir))
            std::fprintf(stderr, "velbrant-data: note: %s\n", p.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velbrant-data: %s\n", e.what());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    fakeMessagesToStderr = 1;
    if (argc >= 2 && std::string(argv[1]) == "--osm")
        return osmMain(argc, argv);
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        const int size = std::atoi(argv[2]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "velbrant-data: icon size must be 16 to 1024\n");
            return 2;
        }
        try {
            writeIcon(argv[3], size);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "velbrant-data: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    // An option we do not know is a mistake, not a folder to fill ("./-x" names such a folder).
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: velbrant-data DIR\n  writes the game's Opcje.ini and Dane/ tree into DIR\n"
                             "       velbrant-data --icon SIZE FILE\n  writes the desktop icon as a SIZE x SIZE PNG\n%s",
                     OSM_USAGE);
        return argc == 2 && std::string(argv[1]) == "--help" ? 0 : 2;
    }
    const std::string dir = argv[1];
    try {
        makeDirs(dir, true);
        genOptions(dir);
        genRouteFiles(dir);
        genScenery(dir);
        genRouteFreeContent(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velbrant-data: %s\n", e.what());
        return 1;
    }
    return 0;
}
