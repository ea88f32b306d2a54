#pragma once

#include "bench/comparison/FaceFollower.h"
#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/MotionSampleSink.h"

#include <memory>

// CTrackedFace::Update alone, against a face model built from the first frame as the tracker
// builds it: the following itself, without capture step, interpretation or re-detection.
class TrackedFaceFollower : public FaceFollower {
public:
    std::string Name() const override { return "CTrackedFace::Update"; }
    std::optional<cv::Point2d> Start(const cv::Mat& frame, const cv::Rect& found, int scale) override;
    std::optional<cv::Point2d> Follow(const cv::Mat& frame) override;

private:
    cv::Point2d Centre() const;

    struct NullSink : MotionSampleSink {
        void AddSample(float, float, float, float, float, float) override {}
    };

    NullSink m_sink;
    CFaceModel m_model;
    std::unique_ptr<CTrackedFace> m_face;
};
