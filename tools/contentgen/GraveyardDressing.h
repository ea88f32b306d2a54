#pragma once

#include "tools/contentgen/MeshBuilder.h"

class LevelLayout;

// A grassy plot's dressing: gravel paths from each of its openings to its middle, rows of
// headstones, crosses and grave slabs beside them, and dark cypresses in its corners, all kept
// clear of the paths and of the placed models; two cypresses flank the way from the church
// door. Chosen by hashing the cell's number, so the
// same plan always gets the same graves.
void AddYard(MeshBuilder& builder, const LevelLayout& layout, int cell);

// An avenue of cypresses along the long sides of a path cell, walls or openings alike.
void AddAvenue(MeshBuilder& builder, const LevelLayout& layout, int cell);
