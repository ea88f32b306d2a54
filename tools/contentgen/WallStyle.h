#pragma once

#include "tools/contentgen/Surface.h"

#include <glm/vec2.hpp>
#include <vector>

// How a wall of the floor plan is built where it stands.
struct WallStyle {
    Surface surface;
    float height;  // 0: no wall is built here (the gate stands in its place)
    float tile;  // world size of one texture repeat
    bool churchyard;  // a coped boundary wall with posts at its gateways; otherwise a building
        // wall with a plinth and a cornice
};

// A building's shell: the walls whose middle line runs inside `minimum`..`maximum` (world x, z)
// are built in the building's style, tall enough to carry its roof.
struct BuildingZone {
    glm::vec2 minimum;
    glm::vec2 maximum;
    WallStyle style;

    bool Contains(const glm::vec2& p) const
    {
        return p.x >= minimum.x && p.x <= maximum.x && p.y >= minimum.y && p.y <= maximum.y;
    }
};

// World size of a repeat of the church's ashlar: blocks about three quarters of a unit high.
constexpr float kChurchStoneTile = 6.0f;

// The churchyard's mossy walls.
const WallStyle& ChurchyardWallStyle();

// The church, the crypt and the square tower, whose walls the floor plan lays out; their models
// add what stands above those walls.
const BuildingZone& ChurchZone();
const BuildingZone& CryptZone();
const BuildingZone& SquareTowerZone();
// The stretch of the north wall where the churchyard gate stands instead.
const BuildingZone& GateZone();
const std::vector<BuildingZone>& BuildingZones();
