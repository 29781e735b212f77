// What the importer keeps of an OpenStreetMap extract: the bus routes, the ways and nodes a route
// needs and the town round it. Only the tags the town is built from are kept, so memory follows the
// route, not the file. Filled by osm_read's passes; lives for one import or one listing.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

using OsmTags = std::map<std::string, std::string>;

struct OsmMember {
    char type;  // 'n', 'w' or 'r'
    int64_t ref;
    std::string role;
};

struct OsmRelation {
    int64_t id;
    OsmTags tags;
    std::vector<OsmMember> members;
};

struct OsmWay {
    int64_t id;
    OsmTags tags;
    std::vector<int64_t> nodes;
};

struct OsmNode {
    double lat, lon;
    OsmTags tags;
};

// Where the extract comes from: a file (any form the reader knows by its name), or text in memory
// with its format ("osm", "opl") for the tests and the fuzz target.
struct OsmSource {
    std::string path;
    const char* data;
    size_t size;
    std::string format;
};

struct OsmExtract {
    std::vector<OsmRelation> routes;     // route=bus relations, in file order
    std::vector<OsmRelation> buildings;  // multipolygon buildings near the route
    std::map<int64_t, OsmWay> ways;
    std::map<int64_t, OsmNode> nodes;
    std::string timestamp;               // the file's, ISO 8601, or empty
};

// The tag's value, or "" when the element does not have it.
const std::string& osmTag(const OsmTags& tags, const char* key);
// The tag's value as a number ("12", "12.5 m"), or 0 when it is none.
float osmMetres(const OsmTags& tags, const char* key);
// A way buses and cars may drive (the highway classes the importer knows).
bool osmDrivable(const OsmTags& tags);
