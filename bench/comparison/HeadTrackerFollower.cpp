#include "bench/comparison/HeadTrackerFollower.h"

#include "bench/comparison/FaceCentre.h"
#include "tracking/FacePlacement.h"

#include <memory>

HeadTrackerFollower::HeadTrackerFollower()
{
    auto source = std::make_unique<HandedFrameSource>();
    m_source = source.get();
    m_opener.PrepareCamera(std::move(source));
    m_tracker.SetCamera(&m_steeredCamera);
    m_tracker.StartWebcam();
}

std::optional<cv::Point2d> HeadTrackerFollower::Start(const cv::Mat& frame, const cv::Rect& found, int scale)
{
    m_source->Hand(frame);
    if (!m_tracker.GrabAndProcess() || m_tracker.State() != Tracking)
        return std::nullopt;
    const std::array<int, 6> expected = FacePlacement::ForNewFace(found, scale).wholePoints;
    const CTrackedFace& face = *m_tracker.TrackedFaces()[0];
    const std::array<int, 6> placed{int(face.LeftEyeX()),  int(face.LeftEyeY()), int(face.RightEyeX()),
                                    int(face.RightEyeY()), int(face.MouthX()),   int(face.MouthY())};
    if (placed != expected)
        return std::nullopt;
    return Centre();
}

std::optional<cv::Point2d> HeadTrackerFollower::Follow(const cv::Mat& frame)
{
    m_source->Hand(frame);
    m_tracker.GrabAndProcess();
    if (m_tracker.State() != Tracking)
        return std::nullopt;
    return Centre();
}

cv::Point2d HeadTrackerFollower::Centre() const
{
    const CTrackedFace& face = *m_tracker.TrackedFaces()[0];
    return FaceCentre({face.LeftEyeX(), face.LeftEyeY()}, {face.RightEyeX(), face.RightEyeY()},
                      {face.MouthX(), face.MouthY()});
}
