#pragma once

#include "tools/contentgen/WallStyle.h"

#include <array>
#include <glm/vec2.hpp>
#include <vector>

struct WallRun;

// Walls between two plots are lower than the churchyard's enclosure.
constexpr float kPartitionHeight = 3.5f;

// A stretch of a wall as it is built: its footprint and the style it is built in there.
struct WallPiece {
    std::array<glm::vec2, 4> footprint;  // inner-start, inner-end, outer-end, outer-start
    WallStyle style;  // as built: a churchyard wall between plots is lowered
    bool startIsJamb;
    bool endIsJamb;
};

// The pieces of a wall, split where its middle line enters or leaves a building's zone, with
// their final heights (0 where nothing is built). Floor-plan tools read the walls' heights here.
std::vector<WallPiece> WallPieces(const WallRun& run);
