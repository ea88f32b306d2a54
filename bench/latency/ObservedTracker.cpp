#include "bench/latency/ObservedTracker.h"

#include "app/core/PassClock.h"
#include "world/CCamera.h"

#include <glm/vec3.hpp>

struct ObservedTracker::Pose {
    glm::vec3 eye, lookAt, up;

    bool operator==(const Pose& other) const { return eye == other.eye && lookAt == other.lookAt && up == other.up; }
};

ObservedTracker::ObservedTracker(TrackerOperations& tracker, const CCamera& camera, PassClock& clock)
    : m_tracker(tracker), m_camera(camera), m_clock(clock)
{
}

bool ObservedTracker::GrabAndProcess()
{
    const Pose before = CameraPose();
    const bool grabbed = m_tracker.GrabAndProcess();
    Note(true, before);
    return grabbed;
}

void ObservedTracker::InterpretBetweenFrames()
{
    const Pose before = CameraPose();
    m_tracker.InterpretBetweenFrames();
    Note(false, before);
}

std::optional<TrackerCall> ObservedTracker::TakeCall()
{
    std::optional<TrackerCall> call = m_call;
    m_call.reset();
    return call;
}

ObservedTracker::Pose ObservedTracker::CameraPose() const
{
    return {m_camera.Eye(), m_camera.LookAt(), m_camera.Up()};
}

void ObservedTracker::Note(bool captured, const Pose& before)
{
    const double end = m_clock.NowMs();
    m_call = TrackerCall{captured, !(CameraPose() == before), end};
}
