#include "tools/osm/osm_read.h"

#include <osmium/io/any_input.hpp>
#include <osmium/osm/entity_bits.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

// The tags the town is built from; the rest of an element's tags are dropped on reading.
const char* const KEPT_TAGS[] = {
    "type", "route", "ref", "name", "highway", "oneway", "junction", "lanes", "width", "building",
    "height", "building:levels", "public_transport", "bus", "bridge", "tunnel", "layer", "area",
    "driving_side", "crossing", "traffic_signals",
};

OsmTags keptTags(const osmium::TagList& list)
{
    OsmTags tags;
    for (const osmium::Tag& t : list)
        for (const char* k : KEPT_TAGS)
            if (std::strcmp(t.key(), k) == 0)
                tags[k] = t.value();
    return tags;
}

osmium::io::File fileOf(const OsmSource& s)
{
    if (s.data)
        return osmium::io::File(s.data, s.size, s.format);
    return osmium::io::File(s.path);
}

// Runs one pass over the entities of the given kinds, calling visit on each buffer's items.
template <typename Visit>
void pass(const OsmSource& source, osmium::osm_entity_bits::type kinds, Visit visit)
{
    try {
        osmium::io::Reader reader(fileOf(source), kinds);
        while (osmium::memory::Buffer buffer = reader.read())
            for (const osmium::OSMEntity& e : buffer.select<osmium::OSMEntity>())
                visit(e);
        reader.close();
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("cannot read the map file: ") + e.what());
    }
}

bool contains(const std::vector<int64_t>& sorted, int64_t id)
{
    return std::binary_search(sorted.begin(), sorted.end(), id);
}

}  // namespace

const std::string& osmTag(const OsmTags& tags, const char* key)
{
    static const std::string EMPTY;
    const auto it = tags.find(key);
    return it == tags.end() ? EMPTY : it->second;
}

float osmMetres(const OsmTags& tags, const char* key)
{
    const char* p = osmTag(tags, key).c_str();
    char* end = nullptr;
    const float v = std::strtof(p, &end);
    return end == p || !std::isfinite(v) ? 0.0f : v;
}

bool osmDrivable(const OsmTags& tags)
{
    static const char* const CLASSES[] = {
        "motorway", "trunk", "primary", "secondary", "tertiary", "unclassified", "residential",
        "motorway_link", "trunk_link", "primary_link", "secondary_link", "tertiary_link",
        "living_street", "service", "busway", "bus_guideway", "road",
    };
    const std::string& h = osmTag(tags, "highway");
    for (const char* c : CLASSES)
        if (h == c)
            return true;
    return false;
}

void readRoutes(const OsmSource& source, OsmExtract& out)
{
    try {
        osmium::io::Reader reader(fileOf(source), osmium::osm_entity_bits::relation);
        const osmium::io::Header h = reader.header();
        out.timestamp = h.get("osmosis_replication_timestamp", h.get("timestamp"));
        while (osmium::memory::Buffer buffer = reader.read())
            for (const osmium::Relation& r : buffer.select<osmium::Relation>()) {
                const char* type = r.tags().get_value_by_key("type", "");
                const char* route = r.tags().get_value_by_key("route", "");
                const bool bus = std::strcmp(type, "route") == 0 && std::strcmp(route, "bus") == 0;
                const bool building = std::strcmp(type, "multipolygon") == 0 && r.tags().has_key("building");
                if (!bus && !building)
                    continue;
                OsmRelation rel{r.id(), keptTags(r.tags()), {}};
                for (const osmium::RelationMember& m : r.members())
                    rel.members.push_back(OsmMember{osmium::item_type_to_char(m.type()), m.ref(), m.role()});
                (bus ? out.routes : out.buildings).push_back(rel);
            }
        reader.close();
    } catch (const std::exception& e) {
        throw std::runtime_error(std::string("cannot read the map file: ") + e.what());
    }
    // Only digits and the ISO 8601 separators pass into the source file.
    if (out.timestamp.size() > 32 || out.timestamp.find_first_not_of("0123456789-:TZ.+") != std::string::npos)
        out.timestamp.clear();
}

void readWays(const OsmSource& source, const std::vector<int64_t>& ids, OsmExtract& out)
{
    std::vector<int64_t> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    pass(source, osmium::osm_entity_bits::way, [&](const osmium::OSMEntity& e) {
        const auto& w = static_cast<const osmium::Way&>(e);
        if (!contains(sorted, w.id()))
            return;
        OsmWay way{w.id(), keptTags(w.tags()), {}};
        for (const osmium::NodeRef& n : w.nodes())
            way.nodes.push_back(n.ref());
        out.ways[w.id()] = way;
    });
}

void readNodes(const OsmSource& source, const std::vector<int64_t>& ids, OsmExtract& out)
{
    std::vector<int64_t> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    pass(source, osmium::osm_entity_bits::node, [&](const osmium::OSMEntity& e) {
        const auto& n = static_cast<const osmium::Node&>(e);
        if (!contains(sorted, n.id()) || !n.location().valid())
            return;
        out.nodes[n.id()] = OsmNode{n.location().lat(), n.location().lon(), keptTags(n.tags())};
    });
}

void readCorridor(const OsmSource& source, const std::function<bool(double, double)>& near, OsmExtract& out)
{
    std::vector<int64_t> buildingWays;
    for (const OsmRelation& r : out.buildings)
        for (const OsmMember& m : r.members)
            if (m.type == 'w')
                buildingWays.push_back(m.ref);
    std::sort(buildingWays.begin(), buildingWays.end());
    pass(source, osmium::osm_entity_bits::node | osmium::osm_entity_bits::way, [&](const osmium::OSMEntity& e) {
        if (e.type() == osmium::item_type::node) {
            const auto& n = static_cast<const osmium::Node&>(e);
            if (n.location().valid() && near(n.location().lat(), n.location().lon()))
                out.nodes[n.id()] = OsmNode{n.location().lat(), n.location().lon(), keptTags(n.tags())};
            return;
        }
        const auto& w = static_cast<const osmium::Way&>(e);
        const bool wanted = w.tags().has_key("building") || w.tags().has_key("highway") || contains(buildingWays, w.id());
        if (!wanted || out.ways.count(w.id()))
            return;
        bool touches = false;
        for (const osmium::NodeRef& n : w.nodes())
            touches = touches || out.nodes.count(n.ref()) > 0;
        if (!touches)
            return;
        OsmWay way{w.id(), keptTags(w.tags()), {}};
        for (const osmium::NodeRef& n : w.nodes())
            way.nodes.push_back(n.ref());
        out.ways[w.id()] = way;
    });
}
