#pragma once

#include <cstdint>
#include <vector>

// A corner of the floor plan, in world x and z.
struct MapPoint {
    float x;
    float z;
};

// One stretch of a cell side: a wall (target -1) or an opening into cell `target`.
// Left and right sides run from high z (`from`) down to low z (`to`); top and bottom sides
// from low x (`from`) up to high x (`to`).
struct SideSegment {
    float from;
    float to;
    std::int32_t target;
};

// The segments of one side, in authoring order: the first matching entry wins.
struct SideList {
    std::vector<SideSegment> segments;
    std::uint16_t Count() const { return static_cast<std::uint16_t>(segments.size()); }
};

enum CellSide { LeftSide = 0, TopSide = 1, RightSide = 2, BottomSide = 3 };

// A wall of the floor plan in world x and z, from `a` to `b` in its side list's direction, with
// the cell and side it bounds and the model (position in the renderer's model set) that shows it.
struct WallSegment {
    MapPoint a;
    MapPoint b;
    int cell;
    int side;
    int model;
};

// A convex quadrilateral of the floor plan with its four side lists.
class CCell {
public:
    // Corner order: top-left (small x, large z), top-right, bottom-left, bottom-right.
    const MapPoint* corners[4] = {nullptr, nullptr, nullptr, nullptr};
    // Side order: left, top, right, bottom.
    SideList sides[4];

    void AllocateSides(int left, int top, int right, int bottom);

    // -2: the step is blocked; -1: allowed, stays in this cell; 0..61: allowed, enters that cell.
    std::int32_t Classify(float x0, float z0, float x1, float z1) const;
};

// The walkable floor plan of the churchyard: 62 cells, the only collision test of the program,
// the current cell of the viewer and each cell's list of models to draw.
class CLevelMap {
public:
    static constexpr int kCellCount = 62;
    static constexpr int kPointCount = 165;
    static constexpr int kStartCell = 19;

    CLevelMap();
    CLevelMap(const CLevelMap&) = delete;
    CLevelMap& operator=(const CLevelMap&) = delete;

    // Current cell back to the start cell.
    void ResetCell();
    // Asks whether the step (x0, z0) -> (x1, z1) is allowed; follows it into a neighbour cell.
    bool TryMove(float x0, float z0, float x1, float z1);
    // Draws the current cell's draw list through CRenderer::Instance().
    void DrawVisible() const;
    std::int32_t GetCurrentCell() const { return m_currentCell; }

    const CCell& Cell(int index) const { return m_cells[index]; }
    const MapPoint& Point(int index) const { return m_points[index]; }
    // Model indices (positions in the renderer's model set) drawn while standing in `cell`.
    const std::vector<int>& DrawList(int cell) const { return m_drawLists[cell]; }
    // Every wall of the plan once: where two cells' walls lie on the same stretch, the cell with
    // the lower wall model keeps it (the lower numbered one between cells of one model).
    const std::vector<WallSegment>& Walls() const { return m_walls; }

private:
    std::int32_t m_currentCell;
    CCell m_cells[kCellCount];
    std::vector<int> m_drawLists[kCellCount];
    MapPoint m_points[kPointCount];
    std::vector<WallSegment> m_walls;
};
