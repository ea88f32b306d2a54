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
#include <filesystem>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <tuple>

// The committed draw lists against the committed content in data/: from places and heights of
// the eye picked at random in a cell, no model that the cell's list leaves out shows any corner
// of its mesh past the walls within the fog's reach.
class DrawListCoverageTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const std::filesystem::path data = std::filesystem::path(BRUMARIA_SOURCE_DIR) / "data";
        s_present = std::filesystem::exists(data / "modelos" / "cielo.x");
        s_models = std::make_unique<ModelSetSurvey>();
        s_loaded = s_present && s_models->Load(data, s_error);
        if (!s_loaded)
            return;
        const CLevelMap map;
        s_walls = WallOccluders(LevelLayout(map));
        s_corners.assign(s_models->ModelCount(), {});
        for (int m = 0; m < s_models->ModelCount(); ++m) {
            if (m == DrawListDeriver::kSkyModel)
                continue;
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

    void SetUp() override
    {
        if (!s_present)
            GTEST_SKIP() << "no content in data/";
        ASSERT_TRUE(s_loaded) << s_error;
    }

    // Places in the cell, on a fixed draw, with the middle of each of its openings.
    std::vector<glm::vec2> Eyes(int cell, int count) const
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
        while (static_cast<int>(eyes.size()) < count) {
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
        return eyes;
    }

    // The models that show from some of the cell's eyes, low or high, but are not in `list`.
    std::set<int> SeenButNotListed(int cell, const std::vector<int>& list) const
    {
        std::set<int> missing;
        EyeSight sight(s_walls, s_models->ViewReach());
        for (const glm::vec2& eye : Eyes(cell, 6))
            for (const float height : {0.0f, kHighestEye}) {
                sight.MoveTo(eye, height);
                for (int m = 0; m < s_models->ModelCount(); ++m) {
                    if (missing.count(m) || std::find(list.begin(), list.end(), m) != list.end())
                        continue;
                    for (const glm::vec3& corner : s_corners[m])
                        if (sight.Sees(corner)) {
                            missing.insert(m);
                            break;
                        }
                }
            }
        return missing;
    }

    static std::unique_ptr<ModelSetSurvey> s_models;
    static bool s_present;
    static bool s_loaded;
    static std::string s_error;
    static std::vector<Occluder> s_walls;
    static std::vector<std::vector<glm::vec3>> s_corners;
    const CLevelMap map;
};

std::unique_ptr<ModelSetSurvey> DrawListCoverageTest::s_models;
bool DrawListCoverageTest::s_present = false;
bool DrawListCoverageTest::s_loaded = false;
std::string DrawListCoverageTest::s_error;
std::vector<Occluder> DrawListCoverageTest::s_walls;
std::vector<std::vector<glm::vec3>> DrawListCoverageTest::s_corners;

// The five cells whose lists are given as they are known (0, 1, 19, 20, 50) keep them and are
// not checked.
TEST_F(DrawListCoverageTest, NoModelShowsFromACellWhoseListLeavesItOut)
{
    const std::set<int> given = {0, 1, 19, 20, 50};
    for (int cell = 0; cell < CLevelMap::kCellCount; ++cell) {
        if (!given.count(cell)) {
            EXPECT_EQ(SeenButNotListed(cell, map.DrawList(cell)), std::set<int>()) << "cell " << cell;
        }
    }
}

TEST_F(DrawListCoverageTest, CatchesAModelLeftOut)
{
    // The square tower (19) rises over the walls east of the north square (46).
    std::vector<int> list = map.DrawList(46);
    ASSERT_NE(std::find(list.begin(), list.end(), 19), list.end());
    list.erase(std::find(list.begin(), list.end(), 19));
    EXPECT_EQ(SeenButNotListed(46, list), std::set<int>{19});
}
