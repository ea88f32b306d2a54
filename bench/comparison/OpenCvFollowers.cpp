#include "bench/comparison/OpenCvFollowers.h"

namespace {

cv::Rect FullFrame(const cv::Rect& found, int scale)
{
    return {found.x * scale, found.y * scale, found.width * scale, found.height * scale};
}

template <typename Box>
cv::Point2d Centre(const Box& box)
{
    return {box.x + box.width / 2.0, box.y + box.height / 2.0};
}

}  // namespace

std::optional<cv::Point2d> KcfFollower::Start(const cv::Mat& frame, const cv::Rect& found, int scale)
{
    m_tracker = cv::TrackerKCF::create();
    m_tracker->init(frame, FullFrame(found, scale));
    return Centre(FullFrame(found, scale));
}

std::optional<cv::Point2d> KcfFollower::Follow(const cv::Mat& frame)
{
    cv::Rect box;
    if (!m_tracker->update(frame, box))
        return std::nullopt;
    return Centre(box);
}

std::optional<cv::Point2d> MosseFollower::Start(const cv::Mat& frame, const cv::Rect& found, int scale)
{
    m_tracker = cv::legacy::TrackerMOSSE::create();
    if (!m_tracker->init(frame, cv::Rect2d(FullFrame(found, scale))))
        return std::nullopt;
    return Centre(FullFrame(found, scale));
}

std::optional<cv::Point2d> MosseFollower::Follow(const cv::Mat& frame)
{
    cv::Rect2d box;
    if (!m_tracker->update(frame, box))
        return std::nullopt;
    return Centre(box);
}
