#include "tracking/CHeadTracker.h"

#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tools/headvideo/HeadVideoWriter.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace headscenes;

namespace {

// How the camera changed over a stretch of play, as the viewer sees it.
struct CameraChange {
    float right;     // side-step to the right (+) or left (-)
    float forward;   // walk forward (+) or back (-)
    float up;        // rise (+) or descend (-)
    float turn;      // heading change, radians, to the right (+) or left (-)
};

CameraChange Change(const glm::vec3& eye0, const glm::vec3& look0, const CCamera& after)
{
    const glm::vec3 view = look0 - eye0;
    const glm::vec3 newView = after.LookAt() - after.Eye();
    const float length = std::hypot(view.x, view.z);
    const float fx = view.x / length;
    const float fz = view.z / length;
    const glm::vec3 step = after.Eye() - eye0;
    return {step.x * fz - step.z * fx, step.x * fx + step.z * fz, step.y,
            std::atan2(newView.x, newView.z) - std::atan2(view.x, view.z)};
}

struct Movement {
    const char* name;
    // Which change must show, and with which sign.
    float CameraChange::*change;
    float sign;
};

std::ostream& operator<<(std::ostream& out, const Movement& movement)
{
    return out << movement.name;
}

class MotionSegmentsTest : public ::testing::TestWithParam<Movement> {
protected:
    MotionSegmentsTest() { tracker.SetWorld(&camera, &levelMap); }

    TemporaryFolder folder;
    NullDebugWindows windows;
    CaptureOpener opener;
    CLevelMap levelMap;
    CCamera camera;
    CHeadTracker tracker{windows, opener};
};

// Still for the rest pose and the smoothing, then the movement out, held and back.
TEST_P(MotionSegmentsTest, CameraMovesTheScriptedWayWhileTheFaceIsFollowed)
{
    const Movement movement = GetParam();
    constexpr int kStill = 12;
    constexpr int kSettled = 6;
    std::string error;
    const std::optional<MotionScript> script =
        MotionScript::Parse("still:" + std::to_string(kStill) + "," + movement.name, error);
    ASSERT_TRUE(script) << error;
    ASSERT_TRUE(Writer().Write(*script, "cara.avi", "cara.csv", error)) << error;

    ASSERT_GT(tracker.OpenVideoFile("cara.avi"), 0.0);
    for (int frame = 0; frame < kStill; ++frame) {
        ASSERT_TRUE(tracker.GrabAndProcess());
        ASSERT_EQ(tracker.State(), Tracking) << "frame " << frame;
        // The program's smoothing ring may still hold another test's last samples: once the
        // five latest are this video's, the walk starts from the start pose again.
        if (frame == kSettled) {
            camera.Reset();
            levelMap.ResetCell();
        }
    }
    // The face at rest does not steer.
    const CCamera start;
    EXPECT_EQ(camera.Eye(), start.Eye());
    EXPECT_EQ(camera.LookAt(), start.LookAt());
    const glm::vec3 eye = camera.Eye();
    const glm::vec3 lookAt = camera.LookAt();

    int lost = 0;
    while (tracker.GrabAndProcess())
        lost += tracker.State() != Tracking;
    EXPECT_EQ(lost, 0);

    const CameraChange change = Change(eye, lookAt, camera);
    const float moved = change.*movement.change * movement.sign;
    std::printf("%s: right %.3f forward %.3f up %.3f turn %.4f\n", movement.name, change.right,
                change.forward, change.up, change.turn);
    EXPECT_GT(moved, movement.change == &CameraChange::turn ? 0.05f : 0.3f);
    // No other move of the same kind goes further.
    for (float CameraChange::*other : {&CameraChange::right, &CameraChange::forward, &CameraChange::up}) {
        if (other != movement.change && movement.change != &CameraChange::turn) {
            EXPECT_LT(std::abs(change.*other), moved) << "other move";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Movements, MotionSegmentsTest,
    ::testing::Values(Movement{"left", &CameraChange::right, 1.0f},
                      Movement{"right", &CameraChange::right, -1.0f},
                      Movement{"up", &CameraChange::up, 1.0f},
                      Movement{"down", &CameraChange::up, -1.0f},
                      Movement{"nearer", &CameraChange::forward, 1.0f},
                      Movement{"farther", &CameraChange::forward, -1.0f},
                      Movement{"roll-cw", &CameraChange::turn, -1.0f},
                      Movement{"roll-ccw", &CameraChange::turn, 1.0f}),
    [](const ::testing::TestParamInfo<Movement>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

} // namespace
