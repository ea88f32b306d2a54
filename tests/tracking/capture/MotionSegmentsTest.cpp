#include "tracking/CHeadTracker.h"

#include "app/core/LevelCamera.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/HeadScenes.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <cmath>

// Each scripted movement in a video of its own: still for the rest pose and the smoothing, then
// out, held and back. The camera must move the scripted way (to the right, forward, up, or turned
// to the right, as the viewer sees it) more than any other way.
TEST(MotionSegments, TheCameraMovesTheScriptedWayWhileTheFaceIsFollowed)
{
    const std::tuple<const char*, int, float> movements[] = {{"left", 0, 1},     {"right", 0, -1},  {"up", 2, 1},
                                                             {"down", 2, -1},    {"nearer", 1, 1},  {"farther", 1, -1},
                                                             {"roll-cw", 3, -1}, {"roll-ccw", 3, 1}};
    for (const auto& [movement, change, sign] : movements) {
        SCOPED_TRACE(movement);
        TemporaryFolder folder;
        NullDebugWindows windows;
        CaptureOpener opener;
        CLevelMap levelMap;
        CCamera camera;
        LevelCamera steeredCamera(camera, levelMap);
        CHeadTracker tracker(windows, opener);
        tracker.SetCamera(&steeredCamera);
        std::string error;
        ASSERT_TRUE(headscenes::Writer().Write(*MotionScript::Parse("still:12," + std::string(movement), error),
                                               "cara.avi", "cara.csv", error));
        ASSERT_GT(tracker.OpenVideoFile("cara.avi"), 0.0);
        for (int frame = 0; frame < 12; ++frame) {
            ASSERT_TRUE(tracker.GrabAndProcess()) << frame;
            ASSERT_EQ(tracker.State(), Tracking) << frame;
            // Once the program's smoothing ring holds only this video's samples, the walk starts again.
            if (frame == 6) {
                camera.Reset();
                levelMap.ResetCell();
            }
        }
        ASSERT_EQ(camera.Eye(), CCamera().Eye()) << "a face at rest";
        ASSERT_EQ(camera.LookAt(), CCamera().LookAt()) << "a face at rest";
        while (tracker.GrabAndProcess())
            ASSERT_EQ(tracker.State(), Tracking);

        // The start view is along +z, with +x to its right.
        const glm::vec3 view = camera.LookAt() - camera.Eye();
        const float changes[] = {camera.Eye().x, camera.Eye().z, camera.Eye().y - CCamera().Eye().y,
                                 std::atan2(view.x, view.z)};
        EXPECT_GT(changes[change] * sign, change == 3 ? 0.05f : 0.3f);
        for (int other = 0; other < 3 && change != 3; ++other)
            if (other != change) {
                EXPECT_LT(std::abs(changes[other]), changes[change] * sign) << other;
            }
    }
}
