#include "tools/osm/osm_chain.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <queue>
#include <stdexcept>

namespace {

// A way as the route drives it: its nodes, whether it only runs one way (+1 along, -1 against).
struct Leg {
    int64_t id;
    std::vector<int64_t> nodes;
    int oneway;
    uint8_t ring;
};

int onewayOf(const OsmTags& t)
{
    const std::string& o = osmTag(t, "oneway");
    if (o == "yes" || o == "1" || o == "true")
        return 1;
    if (o == "-1" || o == "reverse")
        return -1;
    if (o == "no")
        return 0;
    const std::string& j = osmTag(t, "junction");
    return j == "roundabout" || j == "circular" || osmTag(t, "highway") == "motorway" ? 1 : 0;
}

float distanceBetween(const OsmExtract& ex, const OsmProjection& proj, int64_t a, int64_t b)
{
    const OsmNode &na = ex.nodes.at(a), &nb = ex.nodes.at(b);
    const P2 pa = project(proj, na.lat, na.lon), pb = project(proj, nb.lat, nb.lon);
    return std::hypot(pa.x - pb.x, pa.z - pb.z);
}

using RoadGraph = std::map<int64_t, std::vector<std::pair<int64_t, float>>>;

// The drivable roads as a graph of nodes, each step one way unless one-way tags are ignored.
RoadGraph roadGraph(const OsmExtract& ex, const OsmProjection& proj, uint8_t oneWays)
{
    RoadGraph graph;
    for (const auto& kv : ex.ways) {
        const OsmWay& w = kv.second;
        if (!osmDrivable(w.tags))
            continue;
        const int one = oneWays ? onewayOf(w.tags) : 0;
        for (size_t i = 0; i + 1 < w.nodes.size(); ++i) {
            if (!ex.nodes.count(w.nodes[i]) || !ex.nodes.count(w.nodes[i + 1]))
                continue;
            const float d = distanceBetween(ex, proj, w.nodes[i], w.nodes[i + 1]);
            if (one >= 0)
                graph[w.nodes[i]].push_back({w.nodes[i + 1], d});
            if (one <= 0)
                graph[w.nodes[i + 1]].push_back({w.nodes[i], d});
        }
    }
    return graph;
}

// Shortest path over the graph from one node to another, no longer than `limit` metres and not
// by the direct step between `banA` and `banB`; empty if none.
std::vector<int64_t> shortestPath(RoadGraph& graph, int64_t from, int64_t to, float limit, int64_t banA = 0,
                                  int64_t banB = 0)
{
    std::map<int64_t, float> best{{from, 0.0f}};
    std::map<int64_t, int64_t> previous;
    using Item = std::pair<float, int64_t>;
    std::priority_queue<Item, std::vector<Item>, std::greater<Item>> open;
    open.push({0.0f, from});
    while (!open.empty()) {
        const Item it = open.top();
        open.pop();
        if (it.second == to)
            break;
        if (it.first > best[it.second] || it.first > limit)
            continue;
        for (const auto& e : graph[it.second]) {
            if ((it.second == banA && e.first == banB) || (it.second == banB && e.first == banA))
                continue;
            const float d = it.first + e.second;
            const auto b = best.find(e.first);
            if (b == best.end() || d < b->second) {
                best[e.first] = d;
                previous[e.first] = it.second;
                open.push({d, e.first});
            }
        }
    }
    if (!best.count(to) || best[to] > limit)
        return {};
    std::vector<int64_t> path{to};
    while (path.back() != from)
        path.push_back(previous[path.back()]);
    return std::vector<int64_t>(path.rbegin(), path.rend());
}

}  // namespace

std::vector<int64_t> routeWayIds(const OsmRelation& route)
{
    std::vector<int64_t> ids;
    for (const OsmMember& m : route.members)
        if (m.type == 'w' && m.role.compare(0, 8, "platform") != 0 && m.role.compare(0, 4, "stop") != 0)
            ids.push_back(m.ref);
    return ids;
}

namespace {

// One way of chaining: over a gap to the nearest way, or (preferOrder) to the relation's next way
// unless another is much nearer.
OsmChain chainWith(const OsmRelation& route, const OsmExtract& ex, const OsmProjection& proj, uint8_t strict,
                   uint8_t preferOrder)
{
    OsmChain c;
    std::vector<Leg> legs;
    int missing = 0;
    for (int64_t id : routeWayIds(route)) {
        const auto w = ex.ways.find(id);
        bool whole = w != ex.ways.end() && w->second.nodes.size() >= 2;
        for (size_t i = 0; whole && i < w->second.nodes.size(); ++i)
            whole = ex.nodes.count(w->second.nodes[i]) > 0;
        if (!whole) {
            ++missing;
            if (strict)
                throw std::runtime_error("way " + std::to_string(id) + " of relation " + std::to_string(route.id) +
                                         " is missing from the extract (cut it wider round the route)");
            continue;
        }
        const OsmWay& way = w->second;
        legs.push_back(Leg{id, way.nodes, onewayOf(way.tags), static_cast<uint8_t>(way.nodes.front() == way.nodes.back())});
    }
    if (missing)
        c.problems.push_back(std::to_string(missing) + " ways missing");
    if (legs.empty())
        throw std::runtime_error("relation " + std::to_string(route.id) + " has no ways in the extract");
    std::vector<uint8_t> used(legs.size(), 0);
    auto append = [&](const std::vector<int64_t>& nodes, int64_t way) {
        for (size_t i = c.nodes.empty() ? 0 : 1; i < nodes.size(); ++i) {
            if (!c.nodes.empty())
                c.wayOf.push_back(way);
            c.nodes.push_back(nodes[i]);
        }
    };
    auto connects = [&](const Leg& l, int64_t node) {
        if (l.ring)
            return std::find(l.nodes.begin(), l.nodes.end(), node) != l.nodes.end();
        return l.nodes.front() == node || l.nodes.back() == node;
    };
    // The first way runs towards the next one: the end it shares with it, or the nearer end.
    Leg first = legs[0];
    used[0] = 1;
    bool reversed = false;
    if (!first.ring && legs.size() > 1) {
        auto nearest = [&](int64_t n) {
            return std::min(distanceBetween(ex, proj, n, legs[1].nodes.front()),
                            distanceBetween(ex, proj, n, legs[1].nodes.back()));
        };
        reversed = nearest(first.nodes.front()) < nearest(first.nodes.back());
        if (reversed)
            std::reverse(first.nodes.begin(), first.nodes.end());
    }
    if (first.oneway != 0 && reversed != (first.oneway < 0))
        c.problems.push_back("one-way conflict on way " + std::to_string(first.id));
    append(first.nodes, first.id);
    int64_t lastWay = first.id;
    size_t lastStart = 0;  // where the last way's nodes begin in the chain
    for (size_t done = 1; done < legs.size(); ++done) {
        const int64_t end = c.nodes.back();
        // A way that goes on from the end, the way it may be driven first, against it if no other.
        size_t next = legs.size();
        for (size_t j = 0; j < legs.size() && next == legs.size(); ++j)
            if (!used[j] && (legs[j].ring || (legs[j].oneway >= 0 && legs[j].nodes.front() == end) ||
                             (legs[j].oneway <= 0 && legs[j].nodes.back() == end)))
                next = j;
        for (size_t j = 0; j < legs.size() && next == legs.size(); ++j)
            if (!used[j] && connects(legs[j], end))
                next = j;
        // The next way may leave the last one part way along it: the chain turns off there.
        size_t order = 0;
        while (order < legs.size() && used[order])
            ++order;
        if (next == legs.size() && !legs[order].ring) {
            const Leg& o = legs[order];
            for (size_t k = c.nodes.size() - 1; k > lastStart && next == legs.size(); --k)
                if ((o.oneway >= 0 && c.nodes[k - 1] == o.nodes.front()) || (o.oneway <= 0 && c.nodes[k - 1] == o.nodes.back())) {
                    c.nodes.resize(k);
                    c.wayOf.resize(k - 1);
                    next = order;
                }
        }
        // Or the chain enters a way part way along it: the way is driven from there on.
        for (size_t j = 0; j < legs.size() && next == legs.size(); ++j) {
            if (used[j] || legs[j].ring)
                continue;
            const auto at = std::find(legs[j].nodes.begin() + 1, legs[j].nodes.end() - 1, end);
            if (at == legs[j].nodes.end() - 1)
                continue;
            std::vector<int64_t> ahead(at, legs[j].nodes.end()), behind(legs[j].nodes.begin(), at + 1);
            std::reverse(behind.begin(), behind.end());
            auto nearOthers = [&](int64_t n) {
                float best = 1e30f;
                for (size_t k = 0; k < legs.size(); ++k)
                    if (!used[k] && k != j)
                        best = std::min({best, distanceBetween(ex, proj, n, legs[k].nodes.front()),
                                         distanceBetween(ex, proj, n, legs[k].nodes.back())});
                return best;
            };
            const bool forward = legs[j].oneway > 0 || (legs[j].oneway == 0 && nearOthers(ahead.back()) <= nearOthers(behind.back()));
            legs[j].nodes = forward ? ahead : behind;
            legs[j].oneway = forward ? legs[j].oneway : -legs[j].oneway;
            next = j;
        }
        if (next == legs.size()) {
            // A gap: to the nearest end of a way still to drive that it may be entered by.
            float gapBest = 1e30f;
            int64_t target = 0;
            for (size_t j = 0; j < legs.size(); ++j) {
                if (used[j])
                    continue;
                for (int e = 0; e < 2; ++e) {
                    const int64_t n = e == 0 ? legs[j].nodes.front() : legs[j].nodes.back();
                    if (!legs[j].ring && ((e == 0 && legs[j].oneway < 0) || (e == 1 && legs[j].oneway > 0)))
                        continue;
                    const float d = distanceBetween(ex, proj, end, n);
                    if (d < gapBest) {
                        gapBest = d;
                        target = n;
                        next = j;
                    }
                }
            }
            // The relation's own order wins over a nearer way unless that is much nearer.
            float orderBest = 1e30f;
            int64_t orderTarget = 0;
            for (int e = 0; e < 2 && !legs[order].ring; ++e) {
                const int64_t n = e == 0 ? legs[order].nodes.front() : legs[order].nodes.back();
                if ((e == 0 && legs[order].oneway < 0) || (e == 1 && legs[order].oneway > 0))
                    continue;
                if (distanceBetween(ex, proj, end, n) < orderBest) {
                    orderBest = distanceBetween(ex, proj, end, n);
                    orderTarget = n;
                }
            }
            if (preferOrder && orderBest <= 2.0f * gapBest + 30.0f) {
                next = order;
                target = orderTarget;
            }
            const Leg& o = legs[next];
            const float gapLength = distanceBetween(ex, proj, end, target);
            std::vector<int64_t> bridge;
            if (gapLength <= OSM_GAP_BRIDGE_MAX) {
                RoadGraph graph = roadGraph(ex, proj, 1);
                bridge = shortestPath(graph, end, target, 3.0f * gapLength + 100.0f);
            }
            uint8_t against = 0;
            if (bridge.empty() && gapLength <= OSM_GAP_BRIDGE_MAX) {
                // Buses may use lanes the map's one-way tags do not show: a way round against them.
                RoadGraph graph = roadGraph(ex, proj, 0);
                bridge = shortestPath(graph, end, target, 3.0f * gapLength + 100.0f);
                against = !bridge.empty();
            }
            const bool overRoad = !bridge.empty();
            if (bridge.empty() && gapLength <= OSM_GAP_STRAIGHT_MAX)
                bridge = {end, target};  // two road ends a few metres apart: the map lost a joint
            const std::string gap = "gap of " + std::to_string(static_cast<int>(gapLength)) + " m after way " +
                                    std::to_string(lastWay) + " (before way " + std::to_string(o.id) + ")";
            if (bridge.empty() && strict)
                throw std::runtime_error(gap + ": no short drivable road bridges it");
            c.problems.push_back(bridge.empty() ? gap : gap + (against ? " bridged over the road against a one-way street" : overRoad ? " bridged over the road" : " bridged straight"));
            if (!bridge.empty())
                append(bridge, 0);
            else {
                c.wayOf.push_back(0);
                c.nodes.push_back(target);
            }
        }
        lastStart = c.nodes.size() - 1;
        Leg l = legs[next];
        used[next] = 1;
        const int64_t at = c.nodes.back();
        if (l.ring) {
            // Round the ring in its own direction, to where the next way leaves it (or once round).
            const size_t ringSize = l.nodes.size() - 1;
            size_t k = static_cast<size_t>(std::find(l.nodes.begin(), l.nodes.end(), at) - l.nodes.begin());
            std::vector<int64_t> part{at};
            for (size_t step = 1; step <= ringSize; ++step) {
                const int64_t n = l.nodes[(k + step) % ringSize];
                part.push_back(n);
                bool leaves = false;
                for (size_t j = 0; j < legs.size(); ++j)
                    leaves = leaves || (!used[j] && !legs[j].ring && (legs[j].nodes.front() == n || legs[j].nodes.back() == n));
                if (leaves)
                    break;
            }
            append(part, l.id);
        } else {
            const bool rev = l.nodes.back() == at;
            if (rev)
                std::reverse(l.nodes.begin(), l.nodes.end());
            if (l.oneway != 0 && rev != (l.oneway < 0))
                c.problems.push_back("one-way conflict on way " + std::to_string(l.id));
            append(l.nodes, l.id);
        }
        lastWay = l.id;
    }
    return c;
}

}  // namespace

OsmChain chainRoute(const OsmRelation& route, const OsmExtract& ex, const OsmProjection& proj, uint8_t strict)
{
    // Members out of order mislead either way of chaining on some routes: the one that gets
    // through wins, else the one with fewer problems; the error is the relation's order's.
    try {
        OsmChain ordered = chainWith(route, ex, proj, strict, 1);
        if (strict || ordered.problems.empty())
            return ordered;
        OsmChain nearest = chainWith(route, ex, proj, strict, 0);
        return nearest.problems.size() < ordered.problems.size() ? nearest : ordered;
    } catch (const std::exception&) {
        try {
            return chainWith(route, ex, proj, strict, 0);
        } catch (const std::exception&) {
        }
        throw;
    }
}

std::vector<int64_t> roadLoop(const OsmExtract& ex, const OsmProjection& proj, int64_t through, float minLength,
                              float maxLength)
{
    RoadGraph graph = roadGraph(ex, proj, 1);
    std::vector<int64_t> best;
    float bestLength = 1e30f;
    const auto out = graph.find(through);
    if (out == graph.end())
        return best;
    const std::vector<std::pair<int64_t, float>> firstSteps = out->second;
    for (const auto& step : firstSteps) {
        std::vector<int64_t> back = shortestPath(graph, step.first, through, maxLength, through, step.first);
        float length = step.second;
        for (size_t i = 1; i < back.size(); ++i)
            length += distanceBetween(ex, proj, back[i - 1], back[i]);
        if (back.empty() || length < minLength || length > maxLength || length >= bestLength)
            continue;
        bestLength = length;
        best = {through};
        best.insert(best.end(), back.begin(), back.end() - 1);
    }
    return best;
}
