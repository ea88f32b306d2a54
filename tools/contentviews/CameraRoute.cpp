#include "tools/contentviews/CameraRoute.h"

#include "tools/contentgen/LevelLayout.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <glm/geometric.hpp>
#include <vector>

namespace {

constexpr float kLongestStep = 3.0f;
constexpr float kBeyondOpening = 2.5f;
constexpr float kPitchStep = 0.05f;

glm::vec2 Ground(const glm::vec3& p)
{
    return {p.x, p.z};
}

glm::vec2 Middle(const LayoutCell& cell)
{
    return (cell.corners[0] + cell.corners[1] + cell.corners[2] + cell.corners[3]) * 0.25f;
}

// The widest opening of `from` into `to`.
const LayoutSegment* OpeningBetween(const LayoutCell& from, int to)
{
    const LayoutSegment* best = nullptr;
    for (const std::vector<LayoutSegment>& side : from.sides) {
        for (const LayoutSegment& segment : side) {
            if (segment.target == to &&
                (!best || glm::length(segment.to - segment.from) > glm::length(best->to - best->from)))
                best = &segment;
        }
    }
    return best;
}

void TurnTowards(CCamera& camera, const glm::vec2& direction)
{
    const glm::vec2 view = Ground(camera.LookAt()) - Ground(camera.Eye());
    // Positive angles turn right, from +z towards +x.
    const float angle = std::atan2(view.y * direction.x - view.x * direction.y, glm::dot(view, direction));
    camera.TurnRight(angle);
}

}  // namespace

bool CameraRoute::Step(CCamera& camera, CLevelMap& map, const glm::vec2& to, std::string& error) const
{
    for (int guard = 0; guard < 1000; ++guard) {
        const glm::vec2 eye = Ground(camera.Eye());
        const float distance = glm::length(to - eye);
        if (distance < 0.05f)
            return true;
        TurnTowards(camera, to - eye);
        camera.WalkForward(map, std::min(distance, kLongestStep));
        if (glm::length(Ground(camera.Eye()) - eye) < 1e-4f) {
            error = "the map refuses a step towards (" + std::to_string(to.x) + ", " + std::to_string(to.y) +
                ") in cell " + std::to_string(map.GetCurrentCell());
            return false;
        }
    }
    error = "the walk does not arrive";
    return false;
}

bool CameraRoute::WalkTo(CCamera& camera, CLevelMap& map, const glm::vec2& target, std::string& error) const
{
    const int start = map.GetCurrentCell();
    const int goal = m_layout.CellAt(target);
    if (goal < 0) {
        error = "the target lies in no cell";
        return false;
    }
    // Breadth-first through the openings.
    std::vector<int> cameFrom(m_layout.CellCount(), -1);
    std::deque<int> queue = {start};
    cameFrom[start] = start;
    while (!queue.empty() && cameFrom[goal] < 0) {
        const int cell = queue.front();
        queue.pop_front();
        for (const std::vector<LayoutSegment>& side : m_layout.Cell(cell).sides) {
            for (const LayoutSegment& segment : side) {
                if (segment.target >= 0 && cameFrom[segment.target] < 0) {
                    cameFrom[segment.target] = cell;
                    queue.push_back(segment.target);
                }
            }
        }
    }
    if (cameFrom[goal] < 0) {
        error = "no way of openings leads to cell " + std::to_string(goal);
        return false;
    }
    std::vector<int> cells = {goal};
    while (cells.back() != start)
        cells.push_back(cameFrom[cells.back()]);
    std::reverse(cells.begin(), cells.end());

    for (std::size_t i = 0; i + 1 < cells.size(); ++i) {
        const LayoutCell& here = m_layout.Cell(cells[i]);
        const LayoutSegment* opening = OpeningBetween(here, cells[i + 1]);
        const glm::vec2 middle = (opening->from + opening->to) * 0.5f;
        const glm::vec2 across = glm::normalize(middle - Middle(here));
        glm::vec2 outward = glm::normalize(glm::vec2(opening->to.y - opening->from.y, opening->from.x - opening->to.x));
        if (glm::dot(outward, across) < 0.0f)
            outward = -outward;
        if (!Step(camera, map, middle - outward * kBeyondOpening, error) ||
            !Step(camera, map, middle + outward * kBeyondOpening, error))
            return false;
    }
    return Step(camera, map, target, error);
}

void CameraRoute::Face(CCamera& camera, const glm::vec3& target)
{
    TurnTowards(camera, Ground(target) - Ground(camera.Eye()));
    const float reach = glm::length(Ground(target) - Ground(camera.Eye()));
    const float wanted = std::clamp((target.y - camera.Eye().y) / std::max(reach, 0.01f), -1.0f, 1.0f);
    for (int guard = 0; guard < 100; ++guard) {
        const float offset = camera.LookAt().y - camera.Eye().y;
        if (offset < wanted - 0.5f * kPitchStep)
            camera.LookUp(kPitchStep);
        else if (offset > wanted + 0.5f * kPitchStep)
            camera.LookDown(kPitchStep);
        else
            break;
    }
}
