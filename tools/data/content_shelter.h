// A stop's shelter and sign, as both the generated route and an imported one place them beside
// the kerb: glass back and sides, a roof carrying the stop's name plate, a bench, and the stop
// sign on its post at the shelter's front end with plates facing both ways along the road.
#pragma once

#include "tools/data/content_route_paint.h"
#include "tools/data/content_shapes.h"

#include <cstdint>

// Height of the pavement's top above the road: kerbs, shelters and the pump island stand on it.
constexpr float ROUTE_KERB_Y = 0.15f;

// f stands on the kerb point, along the road, its right hand towards the road's outside. back:
// how far from the kerb the shelter's back panel stands. nameOnPost: a second name plate under
// the sign.
void buildShelter(ModelBuilder& m, const RouteTextures& t, const Frame& f, int nameTexture, float back,
                  uint8_t nameOnPost);
