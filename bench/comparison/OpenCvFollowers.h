#pragma once

#include "bench/comparison/FaceFollower.h"

#include <opencv2/tracking.hpp>
#include <opencv2/tracking/tracking_legacy.hpp>

// OpenCV's kernelized correlation filter tracker with its default parameters, started on the
// detector's face box; the face centre is the centre of the box it reports.
class KcfFollower : public FaceFollower {
public:
    std::string Name() const override { return "OpenCV KCF"; }
    std::optional<cv::Point2d> Start(const cv::Mat& frame, const cv::Rect& found, int scale) override;
    std::optional<cv::Point2d> Follow(const cv::Mat& frame) override;

private:
    cv::Ptr<cv::TrackerKCF> m_tracker;
};

// OpenCV's MOSSE correlation filter tracker (legacy interface), likewise.
class MosseFollower : public FaceFollower {
public:
    std::string Name() const override { return "OpenCV MOSSE"; }
    std::optional<cv::Point2d> Start(const cv::Mat& frame, const cv::Rect& found, int scale) override;
    std::optional<cv::Point2d> Follow(const cv::Mat& frame) override;

private:
    cv::Ptr<cv::legacy::TrackerMOSSE> m_tracker;
};
