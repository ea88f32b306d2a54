#include "tools/floorplan/SurfaceColumns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace {

std::set<std::pair<int, int>> Squares(const std::vector<glm::vec3>& columns)
{
    std::set<std::pair<int, int>> squares;
    for (const glm::vec3& p : columns)
        squares.insert({static_cast<int>(std::floor(p.x)), static_cast<int>(std::floor(p.z))});
    return squares;
}

} // namespace

TEST(SurfaceColumns, AGroundQuadFillsTheSquaresUnderIt)
{
    const glm::vec3 a(0.0f, 0.0f, 0.0f), b(4.0f, 0.0f, 0.0f), c(4.0f, 0.0f, 3.0f), d(0.0f, 0.0f, 3.0f);
    const std::vector<glm::vec3> columns = SurfaceColumns({{a, b, c}, {a, c, d}}, 1.0f);
    // The far edges at x = 4 and z = 3 touch the next squares.
    const std::set<std::pair<int, int>> squares = Squares(columns);
    EXPECT_EQ(columns.size(), squares.size()) << "one point a square";
    for (int x = 0; x < 4; ++x)
        for (int z = 0; z < 3; ++z)
            EXPECT_TRUE(squares.count({x, z})) << x << ", " << z;
    for (const glm::vec3& p : columns) {
        EXPECT_FLOAT_EQ(p.y, 0.0f);
        EXPECT_TRUE(p.x >= 0.0f && p.x <= 4.0f && p.z >= 0.0f && p.z <= 3.0f);
    }
}

TEST(SurfaceColumns, EachSquareKeepsTheHighestPointOverIt)
{
    // A wall face standing on the line z = 0.5 from x = 0 to x = 10, six high, over ground.
    const glm::vec3 a(0.0f, 0.0f, 0.5f), b(10.0f, 0.0f, 0.5f), c(10.0f, 6.0f, 0.5f), d(0.0f, 6.0f, 0.5f);
    const glm::vec3 g0(0.0f, 0.0f, 0.0f), g1(10.0f, 0.0f, 0.0f), g2(10.0f, 0.0f, 1.0f), g3(0.0f, 0.0f, 1.0f);
    const std::vector<glm::vec3> columns = SurfaceColumns({{g0, g1, g2}, {g0, g2, g3}, {a, b, c}, {a, c, d}}, 1.0f);
    int tops = 0;
    for (const glm::vec3& p : columns)
        if (p.z >= 0.0f && p.z < 1.0f && p.x < 10.0f) {
            EXPECT_FLOAT_EQ(p.y, 6.0f) << p.x;
            ++tops;
        }
    EXPECT_EQ(tops, 10);
}

TEST(SurfaceColumns, CoarserSquaresGiveFewerPoints)
{
    const glm::vec3 a(0.0f, 0.0f, 0.0f), b(8.0f, 0.0f, 0.0f), c(0.0f, 0.0f, 8.0f);
    EXPECT_LT(SurfaceColumns({{a, b, c}}, 2.0f).size(), SurfaceColumns({{a, b, c}}, 1.0f).size());
}
