#pragma once

#include "app/core/LevelCamera.h"
#include "bench/comparison/FaceFollower.h"
#include "bench/comparison/HandedFrameSource.h"
#include "tests/support/tracking/PreparedSourceOpener.h"
#include "tracking/CHeadTracker.h"
#include "tracking/NullDebugWindows.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

// The program's head tracker steering a camera through the level map: one whole capture step
// per frame, with the interpretation, the sample files (written in the working directory) and
// the "Imagen" overlay drawn but shown nowhere. A face it loses is looked for again in the next
// frame, as in the program.
class HeadTrackerFollower : public FaceFollower {
public:
    HeadTrackerFollower();
    std::string Name() const override { return "our tracking step"; }
    // The tracker detects the face in the first frame itself; nothing unless it found the same one.
    std::optional<cv::Point2d> Start(const cv::Mat& frame, const cv::Rect& found, int scale) override;
    std::optional<cv::Point2d> Follow(const cv::Mat& frame) override;

private:
    cv::Point2d Centre() const;

    NullDebugWindows m_windows;
    PreparedSourceOpener m_opener;
    HandedFrameSource* m_source = nullptr;
    CLevelMap m_levelMap;
    CCamera m_camera;
    LevelCamera m_steeredCamera{m_camera, m_levelMap};
    CHeadTracker m_tracker{m_windows, m_opener};
};
