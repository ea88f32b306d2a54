#pragma once

#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/HeadMeasures.h"
#include "tracking/FaceDetector.h"
#include "tracking/MotionInterpreter.h"
#include "tracking/TrackerState.h"
#include "tracking/VideoSource.h"

#include <opencv2/core/mat.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DebugWindows;
class SteeredCamera;

// The head-tracking front end: grabs frames from the webcam or a video file, looks for faces
// while none is followed (Detecting) and follows the first one found (Tracking), hands the
// measures to its MotionInterpreter, which moves the camera, and fills the debug windows.
//
// The first detection that finds a face after a start, a file open or a reset builds new face
// models and takes the rest pose; a detection after the face was lost only rebuilds the
// tracked faces, keeping models and rest pose. Only face 0 is followed.
class CHeadTracker {
public:
    static constexpr const char* kImageWindow = "Imagen";
    static constexpr const char* kFrameAWindow = "Frame";
    static constexpr const char* kFrameBWindow = "Frame B";
    // Largest alignment cost of a followed face.
    static constexpr double kCostLimit = 12.0;

    // The interpreter loads "configuracion" and opens the sample files in the writable
    // folder. windows and opener must outlive the tracker.
    CHeadTracker(DebugWindows& windows, VideoSourceOpener& opener);
    // Completes the sample files.
    ~CHeadTracker();
    CHeadTracker(const CHeadTracker&) = delete;
    CHeadTracker& operator=(const CHeadTracker&) = delete;

    // The camera that head steering moves (none: it moves nothing).
    void SetCamera(SteeredCamera* camera) { m_interpreter->SetCamera(camera); }

    // Sources: both drop the faces and start detecting afresh. True when a camera was opened;
    // the file's frame rate, or 0.0 when it cannot be opened.
    bool StartWebcam();
    double OpenVideoFile(const std::string& fileName);

    // Grabs one frame and runs one detection or tracking step; false only when no frame could
    // be grabbed (nothing changes then).
    bool GrabAndProcess();
    // Between captures: while tracking, one more interpretation of the last smoothed measures.
    void InterpretBetweenFrames();
    // The sample files take the passes so far when their flush interval has passed (milliseconds
    // since the program started).
    void FlushSampleFilesIfDue(double nowMs) { m_interpreter->FlushSampleFilesIfDue(nowMs); }
    // Completes and closes them; later passes are no longer recorded.
    void CloseSampleFiles() { m_interpreter->CloseSampleFiles(); }
    // Drops the faces and looks for one at once in the last frame grabbed; the next face found
    // sets a new rest pose, and tracking resumes after one more detection.
    void ResetTracking();

    // Debug views and detection mode.
    void OpenImageWindow();
    void SetImageView(bool on);
    void SetFrameAView(bool on);
    void SetFrameBView(bool on);
    void SetValuesView(bool on);
    void SetPreciseDetection(bool on);

    // The thresholds and switches the parameter dialogs edit; the pixel dead zones follow new
    // distances once recomputed.
    MotionSettings& Settings() { return m_interpreter->Settings(); }
    void UpdatePixelThresholds() { m_interpreter->UpdatePixelThresholds(); }

    // What the tracker holds, for diagnostics and tests.
    TrackerState State() const { return m_state; }
    std::int32_t FrameCounter() const { return m_frameCounter; }
    bool HasCapture() const { return m_capture != nullptr; }
    const std::vector<std::unique_ptr<CFaceModel>>& FaceModels() const { return m_faceModels; }
    const std::vector<std::unique_ptr<CTrackedFace>>& TrackedFaces() const { return m_trackedFaces; }
    const MotionInterpreter& Interpreter() const { return *m_interpreter; }
    const HeadMeasures& Measures() const { return m_headMeasures; }
    bool ShowImage() const { return m_showImage; }
    bool ShowFrameA() const { return m_showFrameA; }
    bool ShowFrameB() const { return m_showFrameB; }
    bool ShowValues() const { return m_showValues; }
    bool PreciseDetection() const { return m_preciseDetection; }
    // The alignment cost of the last tracking step, also of one that lost the face; the yaw and
    // pitch measures of the last successful one.
    double LastCost() const { return m_lastCost; }
    int LastYaw() const { return m_lastYaw; }
    int LastPitch() const { return m_lastPitch; }
    // Set by a start, a file open or a reset; cleared by the next detection that finds a face.
    static bool FreshStart();

private:
    void DropFaces();
    // Drops the faces and the capture; detection restarts with a fresh rest pose.
    void CloseCapture();
    void TrackStep();
    // Number of faces found in the current frame (0 when none); builds the face objects.
    int DetectAndBuild();
    const std::vector<cv::Rect>& DetectFaces();
    void BuildFaces(const std::vector<cv::Rect>& faces, int scale);
    void RebuildTrackedFaces(const std::vector<cv::Rect>& faces, int scale);
    // The current frame top row first, for the analysis.
    void MakeTopLeft();
    // Notes the view's switch and opens or closes its window.
    void SetWindowShown(bool& shown, const char* window, bool on);

    std::int32_t m_frameCounter = 0;
    TrackerState m_state = Detecting;
    // Last frame grabbed: belongs to the capture.
    VideoFrame* m_frame = nullptr;
    cv::Mat m_frameClone;
    cv::Mat m_frameView;
    cv::Mat m_frameBView;
    HeadMeasures m_headMeasures;
    std::unique_ptr<VideoSource> m_capture;
    bool m_showFrameA = false;
    bool m_showFrameB = false;
    bool m_preciseDetection = false;
    bool m_showImage = true;
    bool m_showValues = false;
    // Face objects: models of the last full build, tracked faces of the last detection. A
    // tracked face refers to the model of the same index.
    std::vector<std::unique_ptr<CFaceModel>> m_faceModels;
    std::vector<std::unique_ptr<CTrackedFace>> m_trackedFaces;
    FaceDetector m_detector;
    std::unique_ptr<MotionInterpreter> m_interpreter;

    DebugWindows& m_windows;
    VideoSourceOpener& m_opener;
    double m_lastCost = 0.0;
    int m_lastYaw = 0;
    int m_lastPitch = 0;
};
