#include "tools/floorplan/SurfaceColumns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

// Over each square of the grid the highest point of the surface: a wall face six high standing on
// z = 0.5 over a ground quad 10 by 1 gives the wall's top over its squares, one point a square.
TEST(SurfaceColumns, EachSquareUnderTheSurfaceKeepsItsHighestPoint)
{
    const glm::vec3 a(0, 0, 0.5f), b(10, 0, 0.5f), c(10, 6, 0.5f), d(0, 6, 0.5f);
    const glm::vec3 g0(0, 0, 0), g1(10, 0, 0), g2(10, 0, 3), g3(0, 0, 3);
    const std::vector<glm::vec3> columns = SurfaceColumns({{g0, g1, g2}, {g0, g2, g3}, {a, b, c}, {a, c, d}}, 1.0f);
    std::map<std::pair<int, int>, float> squares;
    for (const glm::vec3& p : columns) {
        EXPECT_GE(p.x, 0) << p.z;
        EXPECT_LE(p.x, 10.001f) << p.z;
        EXPECT_GE(p.z, 0) << p.x;
        EXPECT_LE(p.z, 3.001f) << p.x;
        squares[{int(std::floor(p.x)), int(std::floor(p.z))}] = p.y;
    }
    EXPECT_EQ(squares.size(), columns.size()) << "one point a square";
    for (int x = 0; x < 10; ++x)
        for (int z = 0; z < 3; ++z) {
            const auto square = squares.find(std::pair(x, z));
            ASSERT_NE(square, squares.end()) << x << ", " << z;
            EXPECT_EQ(square->second, z == 0 ? 6.0f : 0.0f) << x << ", " << z;
        }
    EXPECT_LT(SurfaceColumns({{g0, g1, g2}, {g0, g2, g3}}, 2.0f).size(),
              SurfaceColumns({{g0, g1, g2}, {g0, g2, g3}}, 1.0f).size());
}
