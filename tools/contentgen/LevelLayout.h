#pragma once

#include <array>
#include <glm/vec2.hpp>
#include <vector>

class CLevelMap;

// One stretch of a cell side as plain geometry: its end points on the side line, in the side
// list's order, and the cell it opens into (-1 for a wall).
struct LayoutSegment {
    glm::vec2 from;
    glm::vec2 to;
    int target;
};

// A cell of the floor plan in world x and z (glm x = world x, glm y = world z).
struct LayoutCell {
    // Corners in walking order round the cell: top-left, top-right, bottom-right, bottom-left.
    std::array<glm::vec2, 4> corners;
    // Side segments by side: left, top, right, bottom.
    std::array<std::vector<LayoutSegment>, 4> sides;
    std::vector<int> drawList;
    int floorModel;  // the model that carries the cell's floor
};

// A wall stretch of the plan, once even where two cells' walls lie back to back: the side of
// `cell` it stands on and the model that carries it.
struct LayoutWall {
    int cell;
    int side;
    glm::vec2 from;
    glm::vec2 to;
    int model;
};

// The plan of a wall the player runs into: where it stands and how thick it may be. The inner
// face keeps its distance from the side line (about the camera's near plane, so a player
// pressed against a wall never sees through it) and two walls back to back meet half way.
struct WallRun {
    int cell;
    int side;
    int model;
    glm::vec2 from;  // on the side line
    glm::vec2 to;
    glm::vec2 outward;  // unit normal of the side, away from the cell
    float clearance;  // free distance beyond the side before another cell's floor (capped)
    float inner;  // offsets of the inner and outer faces beyond the side line
    float outer;
    // Plan of the wall's footprint: inner-from, inner-to, outer-to, outer-from. Ends at a
    // corner shared with another wall of the cell are mitred into it; other ends that meet no
    // opening reach on past the corner, so walls of neighbouring cells close up.
    std::array<glm::vec2, 4> footprint;
    bool fromIsJamb;  // an opening in line with the wall starts at this end (a gateway post
    bool toIsJamb;  // belongs there)
};

// The level map read as geometry for building the wall and floor models.
class LevelLayout {
public:
    static constexpr float kClearanceCap = 10.0f;
    static constexpr float kInnerOffset = 1.25f;
    static constexpr float kFreeWallThickness = 1.25f;

    explicit LevelLayout(const CLevelMap& map);
    LevelLayout(std::vector<LayoutCell> cells, const std::vector<LayoutWall>& walls);

    int CellCount() const { return static_cast<int>(m_cells.size()); }
    const LayoutCell& Cell(int index) const { return m_cells[index]; }
    const std::vector<WallRun>& Walls() const { return m_walls; }

    // Whether p lies inside some cell by more than `margin`.
    bool IsWalkable(const glm::vec2& p, float margin = 0.05f) const;
    // Index of a cell containing p, or -1.
    int CellAt(const glm::vec2& p) const;
    // How far p lies inside `cell` (negative outside).
    float DepthInside(int cell, const glm::vec2& p) const;
    glm::vec2 Minimum() const { return m_minimum; }
    glm::vec2 Maximum() const { return m_maximum; }

private:
    // How far p lies inside `cell` (negative outside).
    float Depth(int cell, const glm::vec2& p) const;
    void BuildWalls(const std::vector<LayoutWall>& walls);
    // Whether an opening in line with `direction` ends at p.
    bool IsOpeningEnd(const glm::vec2& p, const glm::vec2& direction) const;
    // Whether the strip from p along `direction`, between the offsets inner and outer, is
    // clear of every cell.
    bool IsFreeStrip(const glm::vec2& p, const glm::vec2& direction, float length, const glm::vec2& outward,
                     float inner, float outer) const;
    float Clearance(const glm::vec2& from, const glm::vec2& to, const glm::vec2& outward) const;

    std::vector<LayoutCell> m_cells;
    // Each cell's side normals, away from the cell, by side.
    std::vector<std::array<glm::vec2, 4>> m_outward;
    std::vector<WallRun> m_walls;
    glm::vec2 m_minimum;
    glm::vec2 m_maximum;
};
