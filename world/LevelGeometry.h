#pragma once

#include "world/CLevelMap.h"

#include <vector>

// Plane geometry of the floor plan shared by the map, its tools and its tests.

// The point of `side` of `cell` at coordinate `along` of the side's bounding axis (z for the
// left and right sides, x for the top and bottom sides).
MapPoint SidePoint(const CCell& cell, int side, float along);

// The walls of every cell of `map`, each stretch once (see CLevelMap::Walls).
std::vector<WallSegment> CollectWalls(const CLevelMap& map);

// Whether the path (x0, z0) -> (x1, z1) passes from one side of the wall to the other through
// it, its end points included. Starting or ending on the wall's line, or running along it, is not
// passing through it.
bool PathCrossesWall(double x0, double z0, double x1, double z1, const WallSegment& wall);

// How far (x, z) lies outside the cell, perpendicular to its farthest side: 0 or less inside;
// infinite for a point that is not finite.
double DistanceOutsideCell(const CCell& cell, double x, double z);
