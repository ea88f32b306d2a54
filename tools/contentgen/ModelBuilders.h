#pragma once

#include "tools/contentgen/MeshBuilder.h"

class LevelLayout;

// One function per model of the model set. Each builds its model in world coordinates around
// the placement of ModelSet(), standing on the ground (world y = 0); the writer moves it into
// model space. Models that fit the floor plan read it from the layout.
MeshBuilder BuildSkyDome();
MeshBuilder BuildBust();
MeshBuilder BuildChurch(const LevelLayout& layout);
MeshBuilder BuildTomb();
MeshBuilder BuildGate(const LevelLayout& layout);
MeshBuilder BuildCross();
MeshBuilder BuildSmallTower(const LevelLayout& layout);
MeshBuilder BuildBigTower(const LevelLayout& layout);
MeshBuilder BuildArch(const LevelLayout& layout);
MeshBuilder BuildCrypt(const LevelLayout& layout);
