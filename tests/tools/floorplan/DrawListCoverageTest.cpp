#include "tools/contentgen/LevelLayout.h"
#include "tools/floorplan/DrawListDeriver.h"
#include "tools/floorplan/EyeSight.h"
#include "tools/floorplan/ModelSetSurvey.h"
#include "tools/floorplan/WallOccluders.h"
#include "world/CLevelMap.h"
#include "world/LevelGeometry.h"

#include <glm/common.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <set>
#include <tuple>

// The committed draw lists against the committed content in data/: from places and heights of the
// eye picked at random in a cell, no model that the cell's list leaves out shows any corner of its
// mesh past the walls within the fog's reach.
class DrawListCoverageTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_models = std::make_unique<ModelSetSurvey>();
        if (!s_models->Load(std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data", s_error))
            return;
        s_walls = WallOccluders(LevelLayout(CLevelMap()));
        s_corners.assign(s_models->ModelCount(), {});
        for (int m = 1; m < s_models->ModelCount(); ++m) {  // not the sky, seen from anywhere
            for (const WorldTriangle& t : s_models->Triangles(m))
                s_corners[m].insert(s_corners[m].end(), t.begin(), t.end());
            auto byPosition = [](const glm::vec3& a, const glm::vec3& b) {
                return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
            };
            std::sort(s_corners[m].begin(), s_corners[m].end(), byPosition);
            s_corners[m].erase(std::unique(s_corners[m].begin(), s_corners[m].end()), s_corners[m].end());
        }
    }
    static void TearDownTestSuite() { s_models.reset(); }
    void SetUp() override { ASSERT_TRUE(s_error.empty()) << s_error; }

    // The models that show from some of the cell's eyes, low or high, but are not in `list`: six
    // places in the cell on a fixed draw, and the middle of each of its openings.
    std::set<int> SeenButNotListed(int cell, const std::vector<int>& list) const
    {
        const CCell& c = map.Cell(cell);
        glm::vec2 low(1e9f), high(-1e9f);
        for (const MapPoint* p : c.corners) {
            low = glm::min(low, glm::vec2(p->x, p->z));
            high = glm::max(high, glm::vec2(p->x, p->z));
        }
        std::mt19937 random(static_cast<unsigned>(cell));
        std::uniform_real_distribution<float> x(low.x, high.x), z(low.y, high.y);
        std::vector<glm::vec2> eyes;
        while (eyes.size() < 6) {
            const glm::vec2 p(x(random), z(random));
            if (DistanceOutsideCell(c, p.x, p.y) < 0.0)
                eyes.push_back(p);
        }
        for (int side = 0; side < 4; ++side)
            for (const SideSegment& s : c.sides[side].segments)
                if (s.target >= 0) {
                    const MapPoint middle = SidePoint(c, side, (s.from + s.to) / 2.0f);
                    eyes.emplace_back(middle.x, middle.z);
                }
        std::set<int> missing;
        EyeSight sight(s_walls, s_models->ViewReach());
        for (const glm::vec2& eye : eyes)
            for (const float height : {0.0f, kHighestEye}) {
                sight.MoveTo(eye, height);
                for (int m = 0; m < s_models->ModelCount(); ++m)
                    if (!missing.count(m) && std::find(list.begin(), list.end(), m) == list.end() &&
                        std::any_of(s_corners[m].begin(), s_corners[m].end(),
                                    [&](const glm::vec3& p) { return sight.Sees(p); }))
                        missing.insert(m);
            }
        return missing;
    }

    static inline std::unique_ptr<ModelSetSurvey> s_models;
    static inline std::string s_error;
    static inline std::vector<Occluder> s_walls;
    static inline std::vector<std::vector<glm::vec3>> s_corners;
    const CLevelMap map;
};

// The five cells whose lists are given as they are known (0, 1, 19, 20, 50) keep them and are not
// checked.
TEST_F(DrawListCoverageTest, NoModelShowsFromACellWhoseListLeavesItOut)
{
    for (int cell = 0; cell < CLevelMap::kCellCount; ++cell) {
        if (!std::set<int>{0, 1, 19, 20, 50}.count(cell)) {
            EXPECT_EQ(SeenButNotListed(cell, map.DrawList(cell)), std::set<int>()) << "cell " << cell;
        }
    }
}

TEST_F(DrawListCoverageTest, CatchesAModelLeftOut)
{
    // The square tower (19) rises over the walls east of the north square (46).
    std::vector<int> list = map.DrawList(46);
    const auto tower = std::find(list.begin(), list.end(), 19);
    ASSERT_NE(tower, list.end());
    list.erase(tower);
    EXPECT_EQ(SeenButNotListed(46, list), std::set<int>{19});
}
