// Polylines on the flat ground: lengths along them, points at a distance, the nearest point after
// a distance, rounded corners, thinning. Shared by the route's layout and the town.
#pragma once

#include "tools/data/content_shapes.h"

#include <utility>
#include <vector>

float len(P2 a, P2 b);
// The distance of each point from the first, along the line.
std::vector<float> alongOf(const std::vector<P2>& line);
// The nearest point of the polyline at or after along-distance `from`: its along and distance.
std::pair<float, float> projectAfter(const std::vector<P2>& line, const std::vector<float>& s, P2 p, float from);
// The point `at` along the line (clamped to its ends), and the unit direction there when dir is given.
P2 pointAt(const std::vector<P2>& line, const std::vector<float>& s, float at, P2* dir = nullptr);
// Corners rounded: each becomes a curve of 10 m radius, or of what the neighbouring segments
// leave. The widths follow their points; the tightest radius of a turn over 30 degrees is returned.
float roundCorners(std::vector<P2>& line, std::vector<float>& width);
// Points closer than `gap` to the one kept before them are dropped (their widths with them).
void dropClosePoints(std::vector<P2>& line, std::vector<float>* width, float gap);
// Douglas-Peucker: points within `tolerance` of the line past them are dropped (the widths with them).
void simplify(std::vector<P2>& line, std::vector<float>& width, float tolerance);
