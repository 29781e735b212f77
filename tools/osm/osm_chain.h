// Chaining a route's ways into one drivable line of nodes: members come unordered, reversed, as
// whole roundabouts or with gaps. A gap is bridged over drivable roads when the detour is short;
// otherwise, or without roads to bridge over, it is an error naming the way (or, for the listing,
// a problem, the chain going on from the nearest way).
#pragma once

#include "tools/osm/osm_data.h"
#include "tools/osm/osm_project.h"

#include <string>
#include <vector>

struct OsmChain {
    std::vector<int64_t> nodes;    // in driving order
    std::vector<int64_t> wayOf;    // the way of each step nodes[i] -> nodes[i + 1]; 0 over a bridged gap
    std::vector<std::string> problems;
};

// The longest gap bridged over roads, in metres of straight line.
constexpr float OSM_GAP_BRIDGE_MAX = 250.0f;
// A gap no longer than this with no road over it is closed with a straight piece of road.
constexpr float OSM_GAP_STRAIGHT_MAX = 20.0f;

// The route's members that are roads (not platforms), in relation order.
std::vector<int64_t> routeWayIds(const OsmRelation& route);
// Throws std::runtime_error naming the way when strict and a gap cannot be bridged.
OsmChain chainRoute(const OsmRelation& route, const OsmExtract& ex, const OsmProjection& proj, uint8_t strict);
// The shortest closed drive over the roads through a node (one-way tags kept) between minLength
// and maxLength metres, without its last node again; empty if there is none.
std::vector<int64_t> roadLoop(const OsmExtract& ex, const OsmProjection& proj, int64_t through, float minLength,
                              float maxLength);
