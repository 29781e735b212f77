// The points the renderer turns the bus's parts about. The bus models are built round them
// (tools/data) and render/scene.cpp draws about them, so each is named here once.
//
// Bus frame: +X right (the door side), +Y up, -Z forward, origin at the bus's reference point.
#pragma once

// Front wheels steer about vertical axes through (+-BUS_WHEEL_HUB_X, -, BUS_FRONT_HUB_Z); every
// wheel spins about its axle at height BUS_WHEEL_HUB_Y, the front at BUS_FRONT_HUB_Z, the rear
// pair at BUS_REAR_HUB_Z (before the parameter file's wheel offsets are added).
constexpr float BUS_WHEEL_HUB_X = 1.3f;
constexpr float BUS_WHEEL_HUB_Y = 0.45f;
constexpr float BUS_FRONT_HUB_Z = -4.55f;
constexpr float BUS_REAR_HUB_Z = 0.7f;
// A door leaf swings about a vertical hinge through (BUS_DOOR_HINGE_X, -, BUS_DOOR_HINGE_Z) of its
// model, after the parameter file's leaf offset.
constexpr float BUS_DOOR_HINGE_X = 1.5f;
constexpr float BUS_DOOR_HINGE_Z = -0.31f;
// The body, interior and lamp models are drawn this far along Z from the bus frame.
constexpr float BUS_MODEL_Z = -4.0f;
// The speedometer needle and the steering wheel turn about axes along Z through these points of
// the interior model.
constexpr float BUS_NEEDLE_PIVOT_X = -0.91f;
constexpr float BUS_NEEDLE_PIVOT_Y = 1.01f;
constexpr float BUS_STEERING_PIVOT_X = -0.79f;
constexpr float BUS_STEERING_PIVOT_Y = 0.9f;
