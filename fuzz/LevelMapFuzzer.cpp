// CLevelMap::TryMove on random steps: a walk of small and large steps from the start, mixed
// with steps between any two points (any floats). Whatever the steps, the current cell stays
// a cell of the plan, a refused step changes nothing, and an allowed step crosses no wall and
// ends by its cell.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "tests/support/world/LevelInvariants.h"
#include "world/CLevelMap.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// How far outside its cell an allowed step may end (the map's own tolerance, plus rounding).
constexpr double kOutsideTolerance = 0.5 + 1e-3;

CLevelMap* g_map = nullptr;

bool CrossesAWall(double x0, double z0, double x1, double z1)
{
    for (const WallSegment& wall : g_map->Walls()) {
        if (level_invariants::PassesThrough(x0, z0, x1, z1, wall.a.x, wall.a.z, wall.b.x, wall.b.z))
            return true;
    }
    return false;
}

// One step from (x0, z0) to (x1, z1); true when it was allowed.
bool Step(float x0, float z0, float x1, float z1)
{
    const std::int32_t before = g_map->GetCurrentCell();
    const bool allowed = g_map->TryMove(x0, z0, x1, z1);
    const std::int32_t after = g_map->GetCurrentCell();
    fuzz::Require(after >= 0 && after < CLevelMap::kCellCount, "the current cell is a cell of the plan");
    if (!allowed) {
        fuzz::Require(after == before, "a refused step leaves the cell as it was");
        return false;
    }
    fuzz::Require(!CrossesAWall(x0, z0, x1, z1), "an allowed step crosses no wall");
    fuzz::Require(level_invariants::OutsideDistance(g_map->Cell(after), x1, z1) <= kOutsideTolerance,
                  "an allowed step ends by its cell");
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_map = new CLevelMap;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    g_map->ResetCell();
    float x = 0.0f;
    float z = 0.0f;
    while (!input.Empty()) {
        const std::uint8_t op = input.Byte() % 8;
        if (op <= 3) {
            // Steps the size of the keyboard's and the head's.
            const float dx = input.Raw<std::int8_t>() / 64.0f;
            const float dz = input.Raw<std::int8_t>() / 64.0f;
            if (Step(x, z, x + dx, z + dz)) {
                x += dx;
                z += dz;
            }
        } else if (op <= 5) {
            // Long strides, up to eight units.
            const float dx = input.Raw<std::int16_t>() / 4096.0f;
            const float dz = input.Raw<std::int16_t>() / 4096.0f;
            if (Step(x, z, x + dx, z + dz)) {
                x += dx;
                z += dz;
            }
        } else if (op == 6) {
            const float x0 = input.Raw<float>();
            const float z0 = input.Raw<float>();
            const float x1 = input.Raw<float>();
            const float z1 = input.Raw<float>();
            if (std::isfinite(x0) && std::isfinite(z0) && std::isfinite(x1) && std::isfinite(z1)) {
                Step(x0, z0, x1, z1);
            } else {
                g_map->TryMove(x0, z0, x1, z1);
                fuzz::Require(g_map->GetCurrentCell() >= 0 && g_map->GetCurrentCell() < CLevelMap::kCellCount,
                              "the current cell is a cell of the plan");
            }
        } else {
            g_map->ResetCell();
            x = 0.0f;
            z = 0.0f;
        }
    }
    return 0;
}
