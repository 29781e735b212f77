// Writing an imported route: the whole tree into a folder beside DIR, then moved into place.
#include "tools/osm/osm_import.h"

#include "tools/data/content_stops.h"
#include "tools/data/gen.h"
#include "tools/data/writers.h"
#include "tools/osm/osm_text.h"
#include "tools/osm/osm_town.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

const char* const ATTRIBUTION = "Map data \xC2\xA9 OpenStreetMap contributors, ODbL 1.0";

std::string zrodlo(const OsmPlan& plan, int64_t relation, const std::string& timestamp)
{
    std::string text = "[Zrodlo]\r\nRelacja=" + std::to_string(relation) + "\r\nLinia=" + plan.ref +
                       "\r\nNazwa=" + plan.name + "\r\nZnacznik=" + timestamp + "\r\nAtrybucja=" + ATTRIBUTION +
                       "\r\nSzerokosc=";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.7f\r\nDlugosc=%.7f\r\n", plan.projection.lat0, plan.projection.lon0);
    return toWindows1250(text + buf);
}

std::string lanePoints(const OsmPlan& plan)
{
    std::string text = std::to_string(plan.lane.points.size()) + "\r\n";
    for (const RoutePoint& p : plan.lane.points) {
        appendFixed(text, p.x, 3);
        text += ' ';
        appendFixed(text, p.z, 3);
        text += "\r\n";
    }
    return text;
}

std::string carPath(const OsmPlan& plan)
{
    std::string text = std::to_string(plan.carLoop.size()) + "\r\n";
    for (size_t i = 0; i < plan.carLoop.size(); ++i) {
        appendFixed(text, plan.carLoop[i].x, 3);
        text += ' ';
        appendFixed(text, plan.carLoop[i].z, 3);
        text += ' ';
        appendFixed(text, plan.carSpeed[i], 3);
        text += "\r\n";
    }
    return text;
}

void writeTree(const std::string& dir, OsmPlan& plan, int64_t relation, const std::string& timestamp, int startMinutes)
{
    ImportedLine line{plan.ref, plan.stopNames.back(), plan.stopNames, plan.stopAlong, startMinutes};
    setImportedLine(line);
    makeDirs(dir, true);
    genOptions(dir);
    writeRunFiles(dir, plan.stops, plan.start, plan.fuel);
    genBusParameters(dir);
    writeTown(dir, plan);
    writeTextFile(dir + "/Dane/Rozklady/128/Pas.trasy", lanePoints(plan));
    writeTextFile(dir + "/Dane/Trasy/Test/Samochod.trasa", carPath(plan));
    writeTextFile(dir + "/Dane/Zrodlo.ini", zrodlo(plan, relation, timestamp));
    genRouteFreeContent(dir);
}

}  // namespace

std::vector<std::string> importRoute(const OsmSource& source, const OsmOptions& options, const std::string& dir)
{
    OsmExtract ex;
    OsmPlan plan = importPlan(source, options, ex);
    const fs::path target = fs::absolute(fs::path(dir)).lexically_normal();
    const fs::path parent = target.has_filename() ? target.parent_path() : target.parent_path().parent_path();
    const std::string name = (target.has_filename() ? target : target.parent_path()).filename().string();
    const fs::path temp = parent / ("." + name + ".import");
    const fs::path old = parent / ("." + name + ".old");
    std::error_code ec;
    fs::remove_all(temp, ec);
    try {
        writeTree(temp.string(), plan, options.relation, ex.timestamp, options.startMinutes);
    } catch (...) {
        fs::remove_all(temp, ec);
        throw;
    }
    // An existing DIR is moved aside, the new tree moved in, and only then the old one removed.
    fs::remove_all(old, ec);
    const bool existed = fs::exists(target);
    if (existed)
        fs::rename(target, old);
    fs::rename(temp, target, ec);
    if (ec) {
        if (existed)
            fs::rename(old, target);
        fs::remove_all(temp);
        throw std::runtime_error("cannot move the tree into " + dir + ": " + ec.message());
    }
    fs::remove_all(old, ec);
    return plan.problems;
}
