#include "world/FrustumPlanes.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>
#include <glm/vec4.hpp>
#include <gtest/gtest.h>

namespace {

enum { Right, Left, Bottom, Top, Far, Near };

// The renderer's projection and the view of the start pose (eye (0, 2.5, 0), looking along +z).
glm::mat4 Projection()
{
    return glm::perspectiveLH_ZO(0.7853982f, 640.0f / 480.0f, 1.0f, 5000.0f);
}

glm::mat4 StartView()
{
    return glm::lookAtLH(glm::vec3(0.0f, 2.5f, 0.0f), glm::vec3(0.0f, 2.5f, 1.0f), glm::vec3(0.0f, 1.0f, 0.0f));
}

float Distance(const Plane& plane, const glm::vec3& p)
{
    return plane.a * p.x + plane.b * p.y + plane.c * p.z + plane.d;
}

}  // namespace

TEST(FrustumPlanes, ProjectionHasTheLeftHandedZeroToOneLayout)
{
    // Row-vector element (3, 4) is 1 and (4, 3) is -zn·zf / (zf - zn); depth 1 maps to 0, 5000 to 1.
    const glm::mat4 p = Projection();
    EXPECT_FLOAT_EQ(p[2][3], 1.0f);
    EXPECT_FLOAT_EQ(p[3][2], -5000.0f / 4999.0f);
    EXPECT_FLOAT_EQ(p[1][1], 1.0f / std::tan(0.7853982f / 2.0f));
    EXPECT_FLOAT_EQ(p[0][0], p[1][1] / (640.0f / 480.0f));
    const glm::vec4 nearPoint = p * glm::vec4(0.0f, 0.0f, 1.0f, 1.0f);
    const glm::vec4 farPoint = p * glm::vec4(0.0f, 0.0f, 5000.0f, 1.0f);
    EXPECT_NEAR(nearPoint.z / nearPoint.w, 0.0f, 1e-6f);
    EXPECT_NEAR(farPoint.z / farPoint.w, 1.0f, 1e-6f);
}

TEST(FrustumPlanes, PointStraightAheadProjectsToTheCentre)
{
    const glm::vec4 clip = Projection() * StartView() * glm::vec4(0.0f, 2.5f, 10.0f, 1.0f);
    EXPECT_NEAR(clip.x / clip.w, 0.0f, 1e-6f);
    EXPECT_NEAR(clip.y / clip.w, 0.0f, 1e-6f);
    EXPECT_GT(clip.z / clip.w, 0.0f);
}

TEST(FrustumPlanes, PlanesComeInTableOrderNormalisedAndFacingInwards)
{
    const PlaneTable planes = ExtractPlanes(glm::mat4(1.0f), Projection());
    for (const Plane& plane : planes)
        EXPECT_NEAR(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c, 1.0f, 1e-6f);
    // Identity view: the eye at the origin looking along +z.
    EXPECT_LT(planes[Right].a, 0.0f);
    EXPECT_GT(planes[Left].a, 0.0f);
    EXPECT_GT(planes[Bottom].b, 0.0f);
    EXPECT_LT(planes[Top].b, 0.0f);
    // 1 - zf / (zf - zn) cancels in 32-bit floats: the far plane lands near, not at, 5000.
    EXPECT_FLOAT_EQ(planes[Far].c, -1.0f);
    EXPECT_NEAR(planes[Far].d, 5000.0f, 1.0f);
    EXPECT_FLOAT_EQ(planes[Near].c, 1.0f);
    // The w + z >= 0 near plane lies at a depth of about 0.5, not at the near plane's 1.0.
    EXPECT_NEAR(-planes[Near].d, 0.50005f, 1e-5f);
    // Side planes pass through the eye and make the half angles of the view.
    EXPECT_FLOAT_EQ(planes[Right].d, 0.0f);
    EXPECT_NEAR(planes[Top].b, -std::cos(0.7853982f / 2.0f), 1e-6f);
}

TEST(FrustumPlanes, RightPlaneIsColumnFourMinusColumnOneOfViewTimesProjection)
{
    const glm::mat4 view = StartView();
    const glm::mat4 m = Projection() * view;
    const PlaneTable planes = ExtractPlanes(view, Projection());
    const float a = m[0][3] - m[0][0];
    const float b = m[1][3] - m[1][0];
    const float c = m[2][3] - m[2][0];
    const float d = m[3][3] - m[3][0];
    const float scale = 1.0f / std::sqrt(a * a + b * b + c * c);
    EXPECT_EQ(planes[Right].a, a * scale);
    EXPECT_EQ(planes[Right].b, b * scale);
    EXPECT_EQ(planes[Right].c, c * scale);
    EXPECT_EQ(planes[Right].d, d * scale);
}

TEST(FrustumPlanes, StartViewKeepsWhatIsAheadAndDropsWhatIsBehindOrBeside)
{
    const PlaneTable planes = ExtractPlanes(StartView(), Projection());
    for (const Plane& plane : planes)
        EXPECT_GT(Distance(plane, {0.0f, 2.5f, 10.0f}), 0.0f);
    EXPECT_LT(Distance(planes[Near], {0.0f, 2.5f, -1.0f}), 0.0f);
    EXPECT_LT(Distance(planes[Right], {50.0f, 2.5f, 10.0f}), 0.0f);
    EXPECT_LT(Distance(planes[Left], {-50.0f, 2.5f, 10.0f}), 0.0f);
    EXPECT_LT(Distance(planes[Far], {0.0f, 2.5f, 6000.0f}), 0.0f);
}

TEST(FrustumPlanes, BoxIsCulledOnlyWhenWhollyOutsideOnePlane)
{
    const PlaneTable planes = ExtractPlanes(StartView(), Projection());
    // Ahead.
    EXPECT_TRUE(BoxTouchesFrustum(planes, {-1.0f, 0.0f, 20.0f}, {1.0f, 5.0f, 22.0f}));
    // Wholly behind the camera.
    EXPECT_FALSE(BoxTouchesFrustum(planes, {-50.0f, -50.0f, -40.0f}, {50.0f, 50.0f, -1.0f}));
    // Far to the right, and one straddling the right plane.
    EXPECT_FALSE(BoxTouchesFrustum(planes, {40.0f, 0.0f, 10.0f}, {45.0f, 5.0f, 12.0f}));
    EXPECT_TRUE(BoxTouchesFrustum(planes, {2.0f, 0.0f, 10.0f}, {45.0f, 5.0f, 12.0f}));
    // Around the viewer: no single plane has all corners outside.
    EXPECT_TRUE(BoxTouchesFrustum(planes, {-300.0f, -100.0f, -300.0f}, {300.0f, 100.0f, 300.0f}));
    // Just behind the conservative near plane (view depth 0.5) it is culled, just in front it is not.
    EXPECT_FALSE(BoxTouchesFrustum(planes, {-0.1f, 2.4f, 0.3f}, {0.1f, 2.6f, 0.49f}));
    EXPECT_TRUE(BoxTouchesFrustum(planes, {-0.1f, 2.4f, 0.3f}, {0.1f, 2.6f, 0.52f}));
}

TEST(FrustumPlanes, CornerOnAPlaneCountsAsOutside)
{
    // Only x > 0 is inside the first plane; the other planes keep everything.
    PlaneTable planes;
    planes.fill({0.0f, 1.0f, 0.0f, 100.0f});
    planes[Right] = {1.0f, 0.0f, 0.0f, 0.0f};
    EXPECT_FALSE(BoxTouchesFrustum(planes, {-1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 1.0f}));
    EXPECT_TRUE(BoxTouchesFrustum(planes, {-1.0f, 0.0f, 0.0f}, {0.001f, 1.0f, 1.0f}));
}
