#include "tools/osm/osm_plan.h"

#include "tools/osm/osm_buildings.h"
#include "tools/osm/osm_line.h"
#include "tools/osm/osm_text.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>
#include <stdexcept>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr float MIN_ROUTE_HALF_WIDTH = 4.0f;  // two lanes at least: the bus keeps to the right one
constexpr float LEAD_IN = 50.0f;              // the start, this far before the first stop
constexpr float RUN_OUT = 25.0f;              // the lane goes on this far past the final stop
constexpr float FUEL_AFTER_START = 15.0f;  // out of the pump's reach at the start: filling up is the driver's choice
constexpr float STOP_MAX_OFF_ROUTE = 60.0f;   // a stop further from the road than this is left out
constexpr float STOP_MIN_GAP = 20.0f;         // stops closer along the lane than this are one stop
constexpr float CORNER_RADIUS = 10.0f;
constexpr float SIMPLIFY_TOLERANCE = 0.6f;    // metres the road may move when its points are thinned        // corners are rounded to this where there is room
constexpr float CROSSING_CLEAR = 30.0f;       // the crossing keeps this far from every stop
constexpr float SIDE_STREET_REACH = 45.0f;    // side streets are laid this far from the route
constexpr float CAR_STEP = 4.0f;
constexpr float CAR_LOOP_MIN = 150.0f, CAR_LOOP_MAX = 2500.0f;  // metres of the second car's loop
constexpr float CAR_CRUISE = 0.22f;           // units per tick, about 50 km/h
constexpr float CAR_SIDE_GRIP = 2.5f;         // m/s^2 the car allows itself in a bend

// Regions that drive on the left, as coarse boxes: south, west, north, east.
struct Box {
    float s, w, n, e;
    const char* name;
};
const Box LEFT_HAND[] = {
    {49.8f, -11.0f, 61.0f, 2.0f, "Britain and Ireland"}, {24.0f, 122.5f, 46.0f, 146.0f, "Japan"},
    {-44.0f, 112.0f, -10.0f, 154.0f, "Australia"},        {-48.0f, 166.0f, -34.0f, 179.0f, "New Zealand"},
    {8.0f, 68.0f, 30.0f, 89.0f, "South Asia"},            {-35.0f, 11.0f, -17.0f, 33.0f, "southern Africa"},
    {-11.0f, 95.0f, 4.0f, 141.0f, "Indonesia and Malaysia"},
};

}  // namespace

float roadHalfWidth(const OsmTags& tags)
{
    const float width = osmMetres(tags, "width");
    if (width >= 3.0f && width <= 40.0f)
        return width * 0.5f;
    const float lanes = osmMetres(tags, "lanes");
    if (lanes >= 1.0f && lanes <= 10.0f)
        return lanes * 3.25f * 0.5f;
    const std::string& h = osmTag(tags, "highway");
    if (h == "motorway" || h == "trunk" || h == "primary")
        return 7.0f;
    if (h == "secondary")
        return 6.0f;
    if (h == "tertiary")
        return 5.0f;
    if (h == "service" || h == "living_street")
        return 3.0f;
    return 4.0f;
}

std::vector<OsmStopMember> routeStopMembers(const OsmRelation& route, const OsmExtract& ex)
{
    struct Candidate {
        OsmStopMember m;
        uint8_t platform;
    };
    std::vector<Candidate> found;
    for (const OsmMember& mem : route.members) {
        const bool platform = mem.role.compare(0, 8, "platform") == 0;
        const bool stopRole = mem.role.compare(0, 4, "stop") == 0;
        const bool oldRole = mem.role.empty() || mem.role == "forward" || mem.role == "backward";
        if (mem.type == 'n' && (platform || stopRole || oldRole)) {
            const auto n = ex.nodes.find(mem.ref);
            if (n == ex.nodes.end())
                continue;
            const std::string& h = osmTag(n->second.tags, "highway");
            const std::string& pt = osmTag(n->second.tags, "public_transport");
            if (oldRole && h != "bus_stop" && pt.empty())
                continue;  // a role-less node that is no stop (a turning point, a sign)
            found.push_back({{mem.ref, osmTag(n->second.tags, "name"), n->second.lat, n->second.lon},
                             static_cast<uint8_t>(platform || h == "bus_stop" || pt == "platform")});
        } else if (mem.type == 'w' && platform) {
            const auto w = ex.ways.find(mem.ref);
            if (w == ex.ways.end())
                continue;
            double lat = 0, lon = 0;
            int known = 0;
            for (int64_t id : w->second.nodes) {
                const auto n = ex.nodes.find(id);
                if (n != ex.nodes.end()) {
                    lat += n->second.lat;
                    lon += n->second.lon;
                    ++known;
                }
            }
            if (known)
                found.push_back({{mem.ref, osmTag(w->second.tags, "name"), lat / known, lon / known}, 1});
        }
    }
    // A stop position and its platform (either order, side by side in the list) are one stop.
    std::vector<OsmStopMember> out;
    for (size_t i = 0; i < found.size(); ++i) {
        if (i + 1 < found.size() && found[i].platform != found[i + 1].platform &&
            (found[i].m.name == found[i + 1].m.name || found[i].m.name.empty() || found[i + 1].m.name.empty())) {
            OsmStopMember m = found[i].platform ? found[i].m : found[i + 1].m;
            if (m.name.empty())
                m.name = found[i].platform ? found[i + 1].m.name : found[i].m.name;
            out.push_back(m);
            ++i;
            continue;
        }
        out.push_back(found[i].m);
    }
    return out;
}

OsmPlan planRoute(const OsmRelation& route, const OsmExtract& ex, const OsmProjection& proj, const OsmChain& chain,
                  const OsmOptions& options)
{
    OsmPlan plan;
    plan.projection = proj;
    plan.problems = chain.problems;
    plan.ref = transliterate(osmTag(route.tags, "ref"));
    plan.name = transliterate(osmTag(route.tags, "name"));
    const std::string rid = "relation " + std::to_string(route.id);
    if (plan.ref.empty())
        plan.ref = plan.name.empty() ? std::to_string(route.id) : plan.name.substr(0, plan.name.find(' '));
    if (plan.ref.size() > 8)
        plan.ref = plan.ref.substr(plan.ref.size() - 8);  // what fits the destination display
    if (osmTag(route.tags, "driving_side") == "left")
        throw std::runtime_error(rid + " drives on the left: the bus's doors are on its right, and a mirrored town "
                                       "would not be the player's own streets, so left-hand routes are refused");
    const OsmNode& origin = ex.nodes.at(chain.nodes.front());
    for (const Box& b : LEFT_HAND)
        if (origin.lat > b.s && origin.lat < b.n && origin.lon > b.w && origin.lon < b.e)
            throw std::runtime_error(rid + " lies in " + b.name +
                                     ", where traffic drives on the left: the bus's doors are on its right, and a "
                                     "mirrored town would not be the player's own streets, so it is refused");

    // The centreline from the chain, each point with the width of the way it leaves by.
    std::vector<P2> line;
    std::vector<float> width;
    int bridges = 0, tunnels = 0;
    std::set<int64_t> seen;
    for (size_t i = 0; i < chain.nodes.size(); ++i) {
        const OsmNode& n = ex.nodes.at(chain.nodes[i]);
        line.push_back(project(proj, n.lat, n.lon));
        const int64_t way = chain.wayOf.empty() ? 0 : chain.wayOf[std::min(i, chain.wayOf.size() - 1)];
        const auto w = ex.ways.find(way);
        width.push_back(std::max(MIN_ROUTE_HALF_WIDTH, w == ex.ways.end() ? MIN_ROUTE_HALF_WIDTH : roadHalfWidth(w->second.tags)));
        if (w != ex.ways.end() && seen.insert(way).second) {
            const std::string& b = osmTag(w->second.tags, "bridge");
            const std::string& t = osmTag(w->second.tags, "tunnel");
            bridges += !b.empty() && b != "no";
            tunnels += !t.empty() && t != "no";
        }
    }
    if (bridges || tunnels)
        plan.problems.push_back(std::to_string(bridges) + " bridges and " + std::to_string(tunnels) +
                                " tunnels laid flat");
    dropClosePoints(line, &width, 1.0f);
    if (line.size() < 2)
        throw std::runtime_error(rid + " has a road of zero length");
    simplify(line, width, SIMPLIFY_TOLERANCE);
    const float tightest = roundCorners(line, width);
    if (tightest < OSM_MIN_TURN_RADIUS)
        plan.problems.push_back("a bend of " + std::to_string(static_cast<int>(tightest)) +
                                " m radius is tighter than the bus turns");
    dropClosePoints(line, &width, 0.5f);
    std::vector<float> s = alongOf(line);

    // The stops, each on the road after the one before it.
    std::vector<OsmStopMember> members = routeStopMembers(route, ex);
    std::vector<std::pair<float, OsmStopMember>> placed;
    float from = 0.0f;
    for (const OsmStopMember& m : members) {
        const P2 p = project(proj, m.lat, m.lon);
        const auto at = projectAfter(line, s, p, from);
        if (at.second > STOP_MAX_OFF_ROUTE) {
            plan.problems.push_back("stop node " + std::to_string(m.node) + " lies " + std::to_string(static_cast<int>(at.second)) +
                                    " m off the route: left out");
            continue;
        }
        if (!placed.empty() && at.first - placed.back().first < STOP_MIN_GAP)
            continue;
        if (transliterate(m.name).empty())
            throw std::runtime_error("stop node " + std::to_string(m.node) + " of " + rid + " has no name");
        placed.push_back({at.first, m});
        from = at.first;
    }
    const int total = static_cast<int>(placed.size());
    if (options.firstStop > 0) {
        if (options.firstStop > total || options.lastStop > total || options.lastStop <= options.firstStop)
            throw std::runtime_error("--stops " + std::to_string(options.firstStop) + "-" + std::to_string(options.lastStop) +
                                     " is outside the route's " + std::to_string(total) + " stops");
        placed = std::vector<std::pair<float, OsmStopMember>>(placed.begin() + (options.firstStop - 1),
                                                             placed.begin() + options.lastStop);
    }
    if (placed.size() < 2)
        throw std::runtime_error(rid + " has " + std::to_string(placed.size()) + " stops on its road; a run needs at least two");
    if (placed.size() > static_cast<size_t>(OSM_MAX_STOPS))
        throw std::runtime_error(rid + " has " + std::to_string(placed.size()) + " stops, more than the game's " +
                                 std::to_string(OSM_MAX_STOPS) + "; import a section with --stops 1-" +
                                 std::to_string(OSM_MAX_STOPS));

    // The part of the road driven: from a little before the first stop to a little past the last.
    const float begin = placed.front().first - LEAD_IN, end = placed.back().first + RUN_OUT;
    std::vector<P2> part;
    std::vector<float> partW;
    if (begin < 0.0f) {
        P2 d;
        pointAt(line, s, 0.0f, &d);
        part.push_back(P2{line[0].x + d.x * begin, line[0].z + d.z * begin});
        partW.push_back(width[0]);
    }
    for (size_t i = 0; i < line.size(); ++i)
        if (s[i] >= begin && s[i] <= end) {
            if (part.empty() || (i > 0 && s[i - 1] < begin)) {
                part.push_back(pointAt(line, s, begin));
                partW.push_back(width[i]);
            }
            part.push_back(line[i]);
            partW.push_back(width[i]);
        }
    P2 dEnd;
    const P2 last = pointAt(line, s, std::min(end, s.back()), &dEnd);
    if (len(part.back(), last) > 0.5f) {
        part.push_back(last);
        partW.push_back(partW.back());
    }
    if (end > s.back()) {
        part.push_back(P2{last.x + dEnd.x * (end - s.back()), last.z + dEnd.z * (end - s.back())});
        partW.push_back(partW.back());
    }
    dropClosePoints(part, &partW, 0.5f);
    plan.centre = part;
    plan.halfWidth = partW;
    const std::vector<float> cs = alongOf(plan.centre);
    const std::vector<P2> laneLine = offsetLine(plan.centre, ROUTE_BUS_LANE_OFFSET);
    for (const P2& p : laneLine)
        plan.lane.points.push_back(RoutePoint{p.x, p.z});
    plan.lane.halfWidth = ROUTE_LANE_WIDTH * 0.5f;
    plan.lane.closed = false;
    const std::vector<float> ls = alongOf(laneLine);

    from = 0.0f;
    for (const auto& st : placed) {
        const P2 p = project(proj, st.second.lat, st.second.lon);
        const float c = projectAfter(plan.centre, cs, p, from).first;
        from = c;
        P2 dir;
        const P2 onCentre = pointAt(plan.centre, cs, c, &dir);
        const float hw = plan.halfWidth[std::min(plan.halfWidth.size() - 1,
                                                 static_cast<size_t>(std::upper_bound(cs.begin(), cs.end(), c) - cs.begin()))];
        const P2 onLane{onCentre.x - dir.z * ROUTE_BUS_LANE_OFFSET, onCentre.z + dir.x * ROUTE_BUS_LANE_OFFSET};
        plan.stops.push_back(RouteStop{onLane.x, onLane.z, dir.x, dir.z, onCentre.x - dir.z * hw, onCentre.z + dir.x * hw});
        plan.stopNames.push_back(transliterate(st.second.name));
        plan.stopAlong.push_back(projectAfter(laneLine, ls, onLane, plan.stopAlong.empty() ? 0.0f : plan.stopAlong.back()).first);
    }
    P2 d0;
    const P2 s0 = pointAt(laneLine, ls, 0.0f, &d0);
    const float heading = std::round(std::atan2(d0.x, -d0.z) * 57.29577951f);
    plan.start = RouteStart{s0.x, -s0.z, heading, static_cast<float>(options.startMinutes / 60),
                            static_cast<float>(options.startMinutes % 60)};
    const P2 f = pointAt(laneLine, ls, FUEL_AFTER_START);
    plan.fuel = RoutePoint{f.x, f.z};

    // Side streets: the other roads in the corridor; where they meet the route, its pavements part.
    std::set<int64_t> routeWays(chain.wayOf.begin(), chain.wayOf.end());
    std::set<int64_t> routeNodes(chain.nodes.begin(), chain.nodes.end());
    struct Junction {
        float along, priority;
        int64_t node;
    };
    std::vector<Junction> signals;
    for (const auto& kv : ex.ways) {
        const OsmWay& w = kv.second;
        if (!osmDrivable(w.tags) || routeWays.count(w.id))
            continue;
        OsmSideRoad road{{}, std::max(2.5f, std::min(roadHalfWidth(w.tags), 6.0f))};
        auto flush = [&] {
            if (road.line.size() >= 2)
                plan.sideRoads.push_back(road);
            road.line.clear();
        };
        for (int64_t id : w.nodes) {
            const auto n = ex.nodes.find(id);
            const P2 p = n == ex.nodes.end() ? P2{} : project(proj, n->second.lat, n->second.lon);
            // Only the street's first stretch from the route is laid: it is all the driver sees.
            if (n == ex.nodes.end() || projectAfter(plan.centre, cs, p, 0.0f).second > SIDE_STREET_REACH) {
                flush();
                continue;
            }
            road.line.push_back(p);
            if (routeNodes.count(id)) {
                const auto at = projectAfter(plan.centre, cs, p, 0.0f);
                if (at.second < 1.0f && at.first > 0.0f && at.first < cs.back()) {
                    plan.junctionAlong.push_back(at.first);
                    signals.push_back({at.first, osmTag(n->second.tags, "highway") == "traffic_signals" ? 2.0f : 1.0f, id});
                }
            }
        }
        flush();
    }
    for (OsmSideRoad& r : plan.sideRoads) {
        dropClosePoints(r.line, nullptr, 1.0f);
        std::vector<float> unused(r.line.size(), 0.0f);
        if (r.line.size() >= 2)
            simplify(r.line, unused, SIMPLIFY_TOLERANCE);
    }
    plan.sideRoads.erase(std::remove_if(plan.sideRoads.begin(), plan.sideRoads.end(),
                                        [](const OsmSideRoad& r) { return r.line.size() < 2; }),
                         plan.sideRoads.end());
    std::sort(plan.junctionAlong.begin(), plan.junctionAlong.end());

    // The crossing: a signalled junction clear of the stops, else any junction, else mid-route.
    auto clearOfStops = [&](float c) {
        for (const RouteStop& st : plan.stops)
            if (std::fabs(projectAfter(plan.centre, cs, P2{st.x, st.z}, 0.0f).first - c) < CROSSING_CLEAR)
                return false;
        return c > LEAD_IN && c < cs.back() - RUN_OUT;
    };
    plan.crossingAlong = -1.0f;
    float bestPriority = 0.0f;
    int64_t crossingNode = 0;
    const float middle = cs.back() * 0.5f;
    for (const Junction& sg : signals)
        if (clearOfStops(sg.along) &&
            (sg.priority > bestPriority ||
             (sg.priority == bestPriority && std::fabs(sg.along - middle) < std::fabs(plan.crossingAlong - middle)))) {
            bestPriority = sg.priority;
            plan.crossingAlong = sg.along;
            crossingNode = sg.node;
        }
    if (plan.crossingAlong < 0.0f) {
        plan.crossingAlong = middle;
        for (float c = middle; c < cs.back() && !clearOfStops(plan.crossingAlong); c += 5.0f)
            plan.crossingAlong = c;
        plan.problems.push_back("no junction clear of the stops: the lights stand on the route itself");
    } else if (bestPriority < 2.0f) {
        plan.problems.push_back("no traffic signals on the route: the lights stand at a junction");
    }
    P2 along;
    const P2 cp = pointAt(plan.centre, cs, plan.crossingAlong, &along);
    plan.crossing = cp;
    plan.sideDir = P2{-along.z, along.x};
    plan.sideHalfWidth = MIN_ROUTE_HALF_WIDTH;
    for (const OsmSideRoad& r : plan.sideRoads)
        for (size_t i = 0; i + 1 < r.line.size(); ++i)
            if (len(r.line[i], cp) < 1.0f || len(r.line[i + 1], cp) < 1.0f) {
                const P2 o = len(r.line[i], cp) < 1.0f ? r.line[i + 1] : r.line[i];
                const float l = std::max(0.01f, len(o, cp));
                const P2 d{(o.x - cp.x) / l, (o.z - cp.z) / l};
                if (std::fabs(d.x * along.x + d.z * along.z) < 0.8f) {
                    plan.sideDir = d;
                    plan.sideHalfWidth = std::max(r.halfWidth, 3.0f);
                }
            }

    plan.buildings = footprintsNear(ex, proj, plan.centre, plan.halfWidth);

    // The second car: round the shortest loop of roads through the crossing, in its right lane;
    // without one, along the route and back, round a turn at each end.
    std::vector<P2> ring;
    const std::vector<int64_t> loop = crossingNode ? roadLoop(ex, proj, crossingNode, CAR_LOOP_MIN, CAR_LOOP_MAX)
                                                   : std::vector<int64_t>{};
    if (loop.size() >= 3) {
        std::vector<float> unused;
        for (int64_t id : loop) {
            ring.push_back(project(proj, ex.nodes.at(id).lat, ex.nodes.at(id).lon));
            unused.push_back(0.0f);
        }
        ring.push_back(ring.front());
        unused.push_back(0.0f);
        dropClosePoints(ring, &unused, 1.0f);
        ring = offsetLine(ring, ROUTE_BUS_LANE_OFFSET);
    } else {
        plan.problems.push_back("no loop of roads through the crossing: the second car drives the route and back");
        ring = laneLine;
        const std::vector<P2> back = offsetLine(plan.centre, -ROUTE_BUS_LANE_OFFSET);
        ring.insert(ring.end(), back.rbegin(), back.rend());
        ring.push_back(ring.front());
    }
    const std::vector<float> rs = alongOf(ring);
    const float step = std::max(CAR_STEP, rs.back() / 19000.0f);
    for (float a = 0.0f; a < rs.back() - 0.5f * step; a += step)
        plan.carLoop.push_back(pointAt(ring, rs, a));
    const size_t n = plan.carLoop.size();
    for (size_t i = 0; i < n; ++i) {
        const P2 a = plan.carLoop[(i + n - 1) % n], b = plan.carLoop[i], c = plan.carLoop[(i + 1) % n];
        const float ab = std::max(0.01f, len(a, b)), bc = std::max(0.01f, len(b, c));
        const float cosTurn = ((b.x - a.x) * (c.x - b.x) + (b.z - a.z) * (c.z - b.z)) / (ab * bc);
        const float turn = std::acos(std::max(-1.0f, std::min(1.0f, cosTurn)));
        const float radius = turn > 0.01f ? 0.5f * (ab + bc) / turn : 1e6f;
        plan.carSpeed.push_back(std::max(0.05f, std::min(CAR_CRUISE, std::sqrt(CAR_SIDE_GRIP * radius) / 50.0f)));
    }
    return plan;
}
