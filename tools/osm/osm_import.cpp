#include "tools/osm/osm_import.h"

#include "tools/osm/osm_read.h"
#include "tools/osm/osm_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <stdexcept>

namespace {

constexpr float CORRIDOR_CELL = 100.0f;   // metres; nodes within a cell of the route are read
constexpr double POLE_LIMIT = 80.0;        // degrees of latitude; nearer the poles the flat world bends
constexpr float MAX_SPAN = 50000.0f;       // metres across; a route further afield is no town's bus

std::vector<int64_t> nodeIdsOf(const OsmRelation& route, const OsmExtract& ex)
{
    std::vector<int64_t> ids;
    for (const OsmMember& m : route.members)
        if (m.type == 'n')
            ids.push_back(m.ref);
    for (const OsmMember& m : route.members) {
        const auto w = ex.ways.find(m.ref);
        if (m.type == 'w' && w != ex.ways.end())
            ids.insert(ids.end(), w->second.nodes.begin(), w->second.nodes.end());
    }
    return ids;
}

// Refuses a route the flat world cannot hold: across the antimeridian or near a pole.
void checkPlace(const OsmRelation& route, const OsmExtract& ex, const std::vector<int64_t>& nodes)
{
    double lonMin = 1e9, lonMax = -1e9, latMax = 0;
    for (int64_t id : nodes) {
        const auto n = ex.nodes.find(id);
        if (n == ex.nodes.end())
            continue;
        lonMin = std::min(lonMin, n->second.lon);
        lonMax = std::max(lonMax, n->second.lon);
        latMax = std::max(latMax, std::fabs(n->second.lat));
    }
    const std::string rid = "relation " + std::to_string(route.id);
    if (lonMax - lonMin > 180.0)
        throw std::runtime_error(rid + " crosses the antimeridian, which the flat world cannot hold");
    if (latMax > POLE_LIMIT)
        throw std::runtime_error(rid + " lies too near a pole for the flat world");
    double latMin = 1e9, latTop = -1e9;
    for (int64_t id : nodes) {
        const auto n = ex.nodes.find(id);
        if (n != ex.nodes.end()) {
            latMin = std::min(latMin, n->second.lat);
            latTop = std::max(latTop, n->second.lat);
        }
    }
    const OsmProjection p = projectionAt(latMin, lonMin);
    const P2 far = project(p, latTop, lonMax);
    const float span = std::max(std::fabs(far.x), std::fabs(far.z));
    if (span > MAX_SPAN)
        throw std::runtime_error(rid + " spans " + std::to_string(static_cast<int>(span / 1000.0f)) +
                                 " km, more than the flat world's " + std::to_string(static_cast<int>(MAX_SPAN / 1000.0f)) + " km");
}

void readRoute(const OsmSource& source, const OsmRelation& route, OsmExtract& ex)
{
    std::vector<int64_t> ways;  // the roads and the platforms drawn as areas
    for (const OsmMember& m : route.members)
        if (m.type == 'w')
            ways.push_back(m.ref);
    readWays(source, ways, ex);
    readNodes(source, nodeIdsOf(route, ex), ex);
}

const OsmRelation* findRoute(const OsmExtract& ex, int64_t id)
{
    for (const OsmRelation& r : ex.routes)
        if (r.id == id)
            return &r;
    return nullptr;
}

}  // namespace

std::string listRoutes(const OsmSource& source)
{
    OsmExtract ex;
    readRoutes(source, ex);
    std::vector<int64_t> ways;
    for (const OsmRelation& r : ex.routes) {
        for (const OsmMember& m : r.members)
            if (m.type == 'w')
                ways.push_back(m.ref);
    }
    readWays(source, ways, ex);
    std::vector<int64_t> nodes;
    for (const OsmRelation& r : ex.routes) {
        const std::vector<int64_t> ids = nodeIdsOf(r, ex);
        nodes.insert(nodes.end(), ids.begin(), ids.end());
    }
    readNodes(source, nodes, ex);
    std::string out = "relation\tref\tname\tstops\tkm\tproblems\n";
    for (const OsmRelation& r : ex.routes) {
        std::string problems, km = "-";
        size_t stops = routeStopMembers(r, ex).size();
        try {
            const std::vector<int64_t> ids = nodeIdsOf(r, ex);
            const auto first = std::find_if(ids.begin(), ids.end(), [&](int64_t id) { return ex.nodes.count(id) > 0; });
            if (first == ids.end())
                throw std::runtime_error("no members in the extract");
            const OsmNode& o = ex.nodes.at(*first);
            const OsmProjection proj = projectionAt(o.lat, o.lon);
            const OsmChain chain = chainRoute(r, ex, proj, 0);
            double metres = 0;
            for (size_t i = 1; i < chain.nodes.size(); ++i) {
                const OsmNode &a = ex.nodes.at(chain.nodes[i - 1]), &b = ex.nodes.at(chain.nodes[i]);
                const P2 pa = project(proj, a.lat, a.lon), pb = project(proj, b.lat, b.lon);
                metres += std::hypot(pb.x - pa.x, pb.z - pa.z);
            }
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.1f", metres / 1000.0);
            km = buf;
            for (const std::string& p : chain.problems)
                problems += (problems.empty() ? "" : "; ") + p;
        } catch (const std::exception& e) {
            problems = e.what();
        }
        out += std::to_string(r.id) + "\t" + transliterate(osmTag(r.tags, "ref")) + "\t" +
               transliterate(osmTag(r.tags, "name")) + "\t" + std::to_string(stops) + "\t" + km + "\t" +
               (problems.empty() ? "-" : problems) + "\n";
    }
    return out;
}

OsmPlan importPlan(const OsmSource& source, const OsmOptions& options, OsmExtract& ex)
{
    readRoutes(source, ex);
    const OsmRelation* found = findRoute(ex, options.relation);
    if (!found)
        throw std::runtime_error("relation " + std::to_string(options.relation) +
                                 " is not a bus route of the file (velbrant-data --osm FILE lists them)");
    const OsmRelation route = *found;
    ex.routes.clear();
    readRoute(source, route, ex);
    const std::vector<int64_t> nodes = nodeIdsOf(route, ex);
    checkPlace(route, ex, nodes);
    const std::vector<int64_t> ways = routeWayIds(route);
    if (ways.empty())
        throw std::runtime_error("relation " + std::to_string(route.id) + " has no ways: it names no road to drive");
    // Zero-length and self-crossing ways are mistakes in the map the route cannot be laid on.
    const OsmNode* origin = nullptr;
    for (int64_t id : nodes)
        if (!origin && ex.nodes.count(id))
            origin = &ex.nodes.at(id);
    if (!origin)
        throw std::runtime_error("the members of relation " + std::to_string(route.id) + " are missing from the extract");
    const OsmProjection proj = projectionAt(origin->lat, origin->lon);
    for (int64_t id : ways) {
        const auto w = ex.ways.find(id);
        if (w == ex.ways.end())
            continue;
        std::vector<P2> pts;
        for (int64_t n : w->second.nodes)
            if (ex.nodes.count(n))
                pts.push_back(project(proj, ex.nodes.at(n).lat, ex.nodes.at(n).lon));
        float length = 0;
        for (size_t i = 1; i < pts.size(); ++i)
            length += std::hypot(pts[i].x - pts[i - 1].x, pts[i].z - pts[i - 1].z);
        if (pts.size() == w->second.nodes.size() && length < 0.01f)
            throw std::runtime_error("way " + std::to_string(id) + " has zero length");
        const bool ring = w->second.nodes.front() == w->second.nodes.back();
        for (size_t i = 0; i + 1 < pts.size(); ++i)
            for (size_t j = i + 2; j + 1 < pts.size(); ++j) {
                if (ring && i == 0 && j + 2 == pts.size())
                    continue;
                const P2 a = pts[i], b = pts[i + 1], c = pts[j], d = pts[j + 1];
                auto side = [](P2 p, P2 q, P2 r) { return (q.x - p.x) * (r.z - p.z) - (q.z - p.z) * (r.x - p.x); };
                if (side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0)
                    throw std::runtime_error("way " + std::to_string(id) + " crosses itself");
            }
    }
    // The town round the route: every node within a cell of one of the route's.
    std::set<std::pair<int, int>> cells;
    for (int64_t id : nodes) {
        const auto n = ex.nodes.find(id);
        if (n == ex.nodes.end())
            continue;
        const P2 p = project(proj, n->second.lat, n->second.lon);
        const int cx = static_cast<int>(std::floor(p.x / CORRIDOR_CELL)), cz = static_cast<int>(std::floor(p.z / CORRIDOR_CELL));
        for (int dx = -1; dx <= 1; ++dx)
            for (int dz = -1; dz <= 1; ++dz)
                cells.insert({cx + dx, cz + dz});
    }
    readCorridor(source, [&](double lat, double lon) {
        const P2 p = project(proj, lat, lon);
        return cells.count({static_cast<int>(std::floor(p.x / CORRIDOR_CELL)), static_cast<int>(std::floor(p.z / CORRIDOR_CELL))}) > 0;
    }, ex);
    const OsmChain chain = chainRoute(route, ex, proj, 1);
    OsmPlan plan = planRoute(route, ex, proj, chain, options);
    // The projection's origin is world 0,0; report it as the first point of the road.
    return plan;
}
