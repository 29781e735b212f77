// The two generated buses: their driving limits and the nine geometry numbers of their parameter
// files, shared by the route files' writer and the bus models' generator so the models match
// where the game draws their wheels and door leaves.
//
// The bus frame (as the game draws it): origin at the bus's reference point on the ground,
// +X to the bus's right (the door side), +Y up, -Z forward. The cab camera sits at z = -5, the
// front bumper camera and both mirrors at z = -7 (the front of the body); the body of a 12 m bus
// reaches back to about z = +5. World units are metres.
//
// How the renderer places the parts (the pivots are named in assets/bus_pivots.h), and so how
// each model must be built:
// - Rear wheels (one list, both sides): drawn at translate(0, 0, rearWheelsZ), spun about the
//   axle through (0, BUS_WHEEL_HUB_Y, BUS_REAR_HUB_Z). Build them round that axle; it then stands
//   at z = BUS_REAR_HUB_Z + rearWheelsZ.
// - Front wheels: drawn at translate(0, 0, frontXWheelZ), steered about a vertical axis through
//   (+-BUS_WHEEL_HUB_X, -, BUS_FRONT_HUB_Z) and spun about the axle at (BUS_WHEEL_HUB_Y,
//   BUS_FRONT_HUB_Z). Build each front wheel centred on its axle; the axle then stands at
//   z = BUS_FRONT_HUB_Z + frontXWheelZ.
// - Door leaves: drawn in the body frame at translate(0, 0, leafZ), then shifted along Z by the
//   slide (leaf A towards -Z, leaf B towards +Z) and swung about the vertical hinge through
//   (BUS_DOOR_HINGE_X, -, BUS_DOOR_HINGE_Z) (leaf A by +swing, leaf B by -swing; both open
//   outwards, to +X). Build leaf A with its hinge edge on the hinge line and the panel reaching
//   BACK from there, BUS_DOOR_LEAF_WIDTH long; build leaf B reaching FORWARD from the same line.
//   Then a door whose opening is centred on zc has leafAZ = zc - BUS_DOOR_LEAF_WIDTH -
//   BUS_DOOR_HINGE_Z and leafBZ = zc + BUS_DOOR_LEAF_WIDTH - BUS_DOOR_HINGE_Z, and the two leaves
//   meet at zc when closed.
// - Exterior, interior and lamps are drawn at translate(0, 0, BUS_MODEL_Z) from the bus frame
//   (with the body's pitch and roll), so their model coordinates are the bus frame's less BUS_MODEL_Z.
#pragma once

#include "assets/bus_pivots.h"

#include <cstdint>

// A livery colour: red, green, blue.
struct BusColour {
    uint8_t r, g, b;
};
// The liveries: the bus textures are painted in them and the menu's pictures of the buses show them.
constexpr BusColour VOLVO_BODY{176, 28, 34};
constexpr BusColour VOLVO_SKIRT{58, 58, 62};
constexpr BusColour VOLVO_ACCENT{236, 226, 196};
constexpr BusColour URBINO_BODY{238, 238, 230};
constexpr BusColour URBINO_SKIRT{24, 120, 64};
constexpr BusColour URBINO_ACCENT{250, 196, 24};

// Width of one door leaf; each door opening is two leaves wide.
constexpr float BUS_DOOR_LEAF_WIDTH = 0.6f;

// The door openings' centres along the bus (bus frame Z) and the leaf offsets they give.
constexpr float busLeafAZ(float centreZ) { return centreZ - BUS_DOOR_LEAF_WIDTH - BUS_DOOR_HINGE_Z; }
constexpr float busLeafBZ(float centreZ) { return centreZ + BUS_DOOR_LEAF_WIDTH - BUS_DOOR_HINGE_Z; }

// --- "Volvo7000" (game.busChoice 1): wheelbase 6.0 m, the quicker of the two. ---
constexpr float VOLVO_TOP_SPEED = 0.36f;        // units per tick, about 80 km/h
constexpr float VOLVO_ACCEL_STEP = 0.00045f;    // units per tick per tick of throttle
constexpr float VOLVO_BRAKE_STEP = 0.0018f;     // units per tick per tick of braking
constexpr float VOLVO_FUEL_CAPACITY = 250.0f;   // litres
constexpr float VOLVO_DOOR1_CENTRE_Z = -6.05f;  // ahead of the front axle, beside the driver
constexpr float VOLVO_DOOR2_CENTRE_Z = -1.20f;  // between the axles
constexpr float VOLVO_DOOR3_CENTRE_Z = 3.35f;   // behind the rear axle
constexpr float VOLVO_FRONT_LEFT_WHEEL_Z = 0.10f;   // front axle at z = -4.45
constexpr float VOLVO_FRONT_RIGHT_WHEEL_Z = 0.10f;
constexpr float VOLVO_REAR_WHEELS_Z = 0.85f;        // rear axle at z = 1.55
constexpr float VOLVO_DOOR1_LEAF_A_Z = busLeafAZ(VOLVO_DOOR1_CENTRE_Z);
constexpr float VOLVO_DOOR1_LEAF_B_Z = busLeafBZ(VOLVO_DOOR1_CENTRE_Z);
constexpr float VOLVO_DOOR2_LEAF_A_Z = busLeafAZ(VOLVO_DOOR2_CENTRE_Z);
constexpr float VOLVO_DOOR2_LEAF_B_Z = busLeafBZ(VOLVO_DOOR2_CENTRE_Z);
constexpr float VOLVO_DOOR3_LEAF_A_Z = busLeafAZ(VOLVO_DOOR3_CENTRE_Z);
constexpr float VOLVO_DOOR3_LEAF_B_Z = busLeafBZ(VOLVO_DOOR3_CENTRE_Z);

// --- "Urbino12" (game.busChoice 0): wheelbase 5.9 m, bigger tank, gentler and slower. ---
constexpr float URBINO_TOP_SPEED = 0.32f;       // about 71 km/h
constexpr float URBINO_ACCEL_STEP = 0.00038f;
constexpr float URBINO_BRAKE_STEP = 0.0022f;
constexpr float URBINO_FUEL_CAPACITY = 300.0f;
constexpr float URBINO_DOOR1_CENTRE_Z = -6.15f;
constexpr float URBINO_DOOR2_CENTRE_Z = -0.95f;
constexpr float URBINO_DOOR3_CENTRE_Z = 3.60f;
constexpr float URBINO_FRONT_LEFT_WHEEL_Z = 0.25f;  // front axle at z = -4.30
constexpr float URBINO_FRONT_RIGHT_WHEEL_Z = 0.25f;
constexpr float URBINO_REAR_WHEELS_Z = 0.90f;       // rear axle at z = 1.60
constexpr float URBINO_DOOR1_LEAF_A_Z = busLeafAZ(URBINO_DOOR1_CENTRE_Z);
constexpr float URBINO_DOOR1_LEAF_B_Z = busLeafBZ(URBINO_DOOR1_CENTRE_Z);
constexpr float URBINO_DOOR2_LEAF_A_Z = busLeafAZ(URBINO_DOOR2_CENTRE_Z);
constexpr float URBINO_DOOR2_LEAF_B_Z = busLeafBZ(URBINO_DOOR2_CENTRE_Z);
constexpr float URBINO_DOOR3_LEAF_A_Z = busLeafAZ(URBINO_DOOR3_CENTRE_Z);
constexpr float URBINO_DOOR3_LEAF_B_Z = busLeafBZ(URBINO_DOOR3_CENTRE_Z);
