#include "tools/osm/osm_buildings.h"

#include "tools/osm/osm_line.h"

#include <algorithm>
#include <set>

namespace {

constexpr float CORRIDOR = 120.0f;  // buildings this close to the road
constexpr float FLOOR_HEIGHT = 3.2f;

}  // namespace

std::vector<OsmBuilding> footprintsNear(const OsmExtract& ex, const OsmProjection& proj, const std::vector<P2>& centre,
                                        const std::vector<float>& halfWidth)
{
    std::vector<OsmBuilding> out;
    const std::vector<float> cs = alongOf(centre);
    auto ringOf = [&](const std::vector<int64_t>& ids, std::vector<P2>& ring) {
        ring.clear();
        for (int64_t id : ids) {
            const auto n = ex.nodes.find(id);
            if (n == ex.nodes.end())
                return false;
            ring.push_back(project(proj, n->second.lat, n->second.lon));
        }
        if (ids.size() < 4 || ids.front() != ids.back())
            return false;
        ring.pop_back();
        return true;
    };
    auto heightOf = [&](const OsmTags& t, uint32_t seed) {
        const float h = osmMetres(t, "height");
        if (h >= 2.0f && h <= 300.0f)
            return h;
        const float levels = osmMetres(t, "building:levels");
        if (levels >= 1.0f && levels <= 100.0f)
            return levels * FLOOR_HEIGHT + 1.0f;
        return 7.4f + FLOOR_HEIGHT * static_cast<float>(seed % 4);
    };
    auto consider = [&](OsmBuilding b) {
        float nearest = 1e30f;
        for (const P2& p : b.outline) {
            const auto at = projectAfter(centre, cs, p, 0.0f);
            const float hw = halfWidth[std::min(halfWidth.size() - 1,
                                                     static_cast<size_t>(std::upper_bound(cs.begin(), cs.end(), at.first) - cs.begin()))];
            if (at.second < hw + 1.0f)
                return;  // it would stand on the road as the game lays it out
            nearest = std::min(nearest, at.second);
        }
        if (nearest > CORRIDOR)
            return;
        b.distance = nearest;
        out.push_back(b);
    };
    std::set<int64_t> partOfRelation;
    for (const OsmRelation& r : ex.buildings) {
        OsmBuilding b{{}, {}, heightOf(r.tags, static_cast<uint32_t>(r.id)), 0.0f, static_cast<uint32_t>(r.id)};
        bool ok = true;
        for (const OsmMember& m : r.members) {
            const auto w = ex.ways.find(m.ref);
            std::vector<P2> ring;
            if (m.type != 'w' || w == ex.ways.end() || !ringOf(w->second.nodes, ring))
                continue;
            partOfRelation.insert(m.ref);
            if (m.role == "inner")
                b.holes.push_back(ring);
            else if (b.outline.empty())
                b.outline = ring;
            else
                ok = false;  // several outer rings: each is taken as a building of its own below
        }
        if (ok && b.outline.size() >= 3)
            consider(b);
    }
    for (const auto& kv : ex.ways) {
        const OsmWay& w = kv.second;
        std::vector<P2> ring;
        if (osmTag(w.tags, "building").empty() || partOfRelation.count(w.id) || !ringOf(w.nodes, ring))
            continue;
        consider(OsmBuilding{ring, {}, heightOf(w.tags, static_cast<uint32_t>(w.id)), 0.0f, static_cast<uint32_t>(w.id)});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const OsmBuilding& a, const OsmBuilding& b) { return a.distance < b.distance; });
    return out;
}
