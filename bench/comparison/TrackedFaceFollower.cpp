#include "bench/comparison/TrackedFaceFollower.h"

#include "bench/comparison/FaceCentre.h"
#include "tracking/CHeadTracker.h"
#include "tracking/FacePlacement.h"

std::optional<cv::Point2d> TrackedFaceFollower::Start(const cv::Mat& frame, const cv::Rect& found, int scale)
{
    const FacePlacement place = FacePlacement::ForNewFace(found, scale);
    const std::array<int, 6>& p = place.wholePoints;
    const FaceEllipse region(place.left, place.top, place.right, place.bottom);
    m_model.Analyse(frame, p[0], p[1], p[2], p[3], p[4], p[5], region);
    m_face = std::make_unique<CTrackedFace>(p[0], p[1], p[2], p[3], p[4], p[5], region);
    m_face->SetFaceModel(&m_model);
    return Centre();
}

std::optional<cv::Point2d> TrackedFaceFollower::Follow(const cv::Mat& frame)
{
    double cost = 0.0;
    if (!m_face->Update(m_sink, frame, cost, CHeadTracker::kCostLimit))
        return std::nullopt;
    return Centre();
}

cv::Point2d TrackedFaceFollower::Centre() const
{
    return FaceCentre({m_face->LeftEyeX(), m_face->LeftEyeY()}, {m_face->RightEyeX(), m_face->RightEyeY()},
                      {m_face->MouthX(), m_face->MouthY()});
}
