// The route's textures (TEX_ROUTE): road surfaces and markings, pavements, grass, facades with
// their shopfronts in a lit and a shaded variant, roofs, trees, the stops' shelters and signs, the
// depot, the traffic lights (housings and lit lenses), street lamps and the sky. Painted once per
// run of the generator into one TextureSet; the slots are handed back in RouteTextures.
#pragma once

#include "tools/data/content_paint.h"

#include <string>
#include <vector>

constexpr int ROUTE_FACADE_STYLES = 6;
// Name plates painted at most: one per stop, as many as the stop file may hold.
constexpr int ROUTE_MAX_STOP_NAMES = 100;

struct RouteTextures {
    int road, asphalt, zebra, stopLine, grass, pavement, kerb, concrete;
    int facadeLit[ROUTE_FACADE_STYLES], facadeShade[ROUTE_FACADE_STYLES];
    int shopLit[ROUTE_FACADE_STYLES], shopShade[ROUTE_FACADE_STYLES];
    int roofFlat, roofTiles, roofTilesShade, wallPlain;
    int bark, leaves, leavesShade, hedge;
    int shelterGlass, shelterRoof, bench, signPost, stopSign, stopName[ROUTE_MAX_STOP_NAMES];
    int depotWall, depotDoor, canopy, canopyEdge, pump;
    int lightHousing, lightFace, lampRed, lampYellow, lampGreen;
    int streetLamp, streetLampHead;
    int sky;
};

// Paints every route texture; stopNames gives the name plate of each stop (UTF-8).
RouteTextures paintRouteTextures(TextureSet& set, const std::vector<std::string>& stopNames);
