#include "tools/floorplan/SurfaceColumns.h"

#include <glm/geometric.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

std::vector<glm::vec3> SurfaceColumns(const std::vector<WorldTriangle>& triangles, float gridSize)
{
    // Samples closer than half a square apart reach every square a triangle covers more than
    // a sliver of.
    const float spacing = 0.4f * gridSize;
    std::unordered_map<std::int64_t, glm::vec3> tops;
    auto keep = [&](const glm::vec3& p) {
        const auto column = static_cast<std::int32_t>(std::floor(p.x / gridSize));
        const auto row = static_cast<std::int32_t>(std::floor(p.z / gridSize));
        const std::int64_t square = (std::int64_t{row} << 32) | static_cast<std::uint32_t>(column);
        const auto [it, added] = tops.emplace(square, p);
        if (!added && p.y > it->second.y)
            it->second = p;
    };
    for (const WorldTriangle& t : triangles) {
        const float longest =
            std::max({glm::distance(t[0], t[1]), glm::distance(t[1], t[2]), glm::distance(t[2], t[0])});
        const int steps = std::max(1, static_cast<int>(std::ceil(longest / spacing)));
        for (int i = 0; i <= steps; ++i)
            for (int j = 0; i + j <= steps; ++j) {
                const float a = static_cast<float>(i) / steps;
                const float b = static_cast<float>(j) / steps;
                keep(t[0] + (t[1] - t[0]) * a + (t[2] - t[0]) * b);
            }
    }
    // In plan order, so that every run gives the same list.
    std::vector<std::pair<std::int64_t, glm::vec3>> squares(tops.begin(), tops.end());
    std::sort(squares.begin(), squares.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<glm::vec3> columns;
    columns.reserve(squares.size());
    for (const auto& square : squares)
        columns.push_back(square.second);
    return columns;
}
