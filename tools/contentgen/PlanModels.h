#pragma once

#include "tools/contentgen/MeshBuilder.h"

class LevelLayout;

// The walls and floors of the floor plan that model `modelIndex` carries (the level map names
// the model of each wall and of each cell's floor): walls extruded from the wall segments,
// floors over the cells with strips up to the walls, and the graves of the grassy plots.
MeshBuilder BuildPlanModel(const LevelLayout& layout, int modelIndex);
// Its two halves: the walls, and the floors with their dressing.
MeshBuilder BuildPlanWalls(const LevelLayout& layout, int modelIndex);
MeshBuilder BuildPlanGround(const LevelLayout& layout, int modelIndex);

// The ground of a cell: stone in the church and the crypt, gravel on the narrow cells that
// are paths, grass on the plots (which get gravel paths of their own).
Surface FloorSurface(const LevelLayout& layout, int cell);
