#include "world/FrustumPlanes.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <cmath>

namespace {

enum { Right, Left, Bottom, Top, Far, Near };

// The renderer's projection and the view of the start pose (eye (0, 2.5, 0), looking along +z).
const glm::mat4 kProjection = glm::perspectiveLH_ZO(0.7853982f, 640.0f / 480.0f, 1.0f, 5000.0f);
const glm::mat4 kStartView = glm::lookAtLH(glm::vec3(0, 2.5f, 0), glm::vec3(0, 2.5f, 1), glm::vec3(0, 1, 0));

}  // namespace

TEST(FrustumPlanes, PlanesComeInTableOrderNormalisedAndFacingInwards)
{
    const PlaneTable planes = ExtractPlanes(glm::mat4(1.0f), kProjection);
    for (const Plane& p : planes)
        EXPECT_NEAR(p.a * p.a + p.b * p.b + p.c * p.c, 1.0f, 1e-6f);
    // From the origin along +z. 1 - zf / (zf - zn) cancels in 32-bit floats: the far plane lands
    // near, not at, 5000; the w + z >= 0 near plane lies at a depth of about 0.5, not 1.
    EXPECT_LT(planes[Right].a, 0);
    EXPECT_GT(planes[Left].a, 0);
    EXPECT_GT(planes[Bottom].b, 0);
    EXPECT_LT(planes[Top].b, 0);
    EXPECT_EQ(planes[Far].c, -1.0f);
    EXPECT_NEAR(planes[Far].d, 5000.0f, 1.0f);
    EXPECT_EQ(planes[Near].c, 1.0f);
    EXPECT_NEAR(planes[Near].d, -0.50005f, 1e-5f);
    EXPECT_FLOAT_EQ(planes[Right].d, 0.0f);
    EXPECT_NEAR(planes[Top].b, -std::cos(0.7853982f / 2.0f), 1e-6f);
}

// Boxes behind and far beside the start view are CModelTest's.
TEST(FrustumPlanes, BoxIsCulledOnlyWhenWhollyOutsideOnePlane)
{
    const PlaneTable planes = ExtractPlanes(kStartView, kProjection);
    EXPECT_TRUE(BoxTouchesFrustum(planes, {-1, 0, 20}, {1, 5, 22}));
    EXPECT_TRUE(BoxTouchesFrustum(planes, {2, 0, 10}, {45, 5, 12})) << "across the right plane";
    EXPECT_TRUE(BoxTouchesFrustum(planes, {-300, -100, -300}, {300, 100, 300})) << "around the viewer";
    EXPECT_FALSE(BoxTouchesFrustum(planes, {-45, 0, 10}, {-40, 5, 12})) << "to the left";
    EXPECT_FALSE(BoxTouchesFrustum(planes, {-1, 0, 5500}, {1, 5, 6000})) << "beyond the far plane";
    // Just behind the conservative near plane (view depth 0.5) it is culled, just in front it is not.
    EXPECT_FALSE(BoxTouchesFrustum(planes, {-0.1f, 2.4f, 0.3f}, {0.1f, 2.6f, 0.49f}));
    EXPECT_TRUE(BoxTouchesFrustum(planes, {-0.1f, 2.4f, 0.3f}, {0.1f, 2.6f, 0.52f}));
    // A corner on a plane counts as outside: only x > 0 is inside the first plane here.
    PlaneTable half;
    half.fill({0.0f, 1.0f, 0.0f, 100.0f});
    half[Right] = {1.0f, 0.0f, 0.0f, 0.0f};
    EXPECT_FALSE(BoxTouchesFrustum(half, {-1, 0, 0}, {0, 1, 1}));
    EXPECT_TRUE(BoxTouchesFrustum(half, {-1, 0, 0}, {0.001f, 1, 1}));
}
