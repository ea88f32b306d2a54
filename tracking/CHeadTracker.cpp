#include "tracking/CHeadTracker.h"

#include "tracking/DebugWindows.h"
#include "tracking/FacePlacement.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <array>

namespace {

// Set by every start, file open and reset; consumed by the next detection that finds a face.
bool g_freshStart = true;

constexpr const char* kFrameCaption = "FRAME A";
constexpr int kFrameViewWidth = 400;
constexpr int kFrameViewHeight = 280;
constexpr int kFrameBViewWidth = 400;
constexpr int kFrameBViewHeight = 370;

// Feature marks and ellipse on the "Imagen" picture: thin black inside a wide white border.
constexpr int kMarkThickness = 1;
constexpr int kMarkInnerColour = 0x000000;
constexpr int kMarkOuterColour = 0xFFFFFF;

}

CHeadTracker::CHeadTracker(DebugWindows& debugWindows, VideoSourceOpener& sourceOpener)
    : windows(debugWindows), opener(sourceOpener)
{
    interpreter = std::make_unique<MotionInterpreter>(windows);
}

CHeadTracker::~CHeadTracker()
{
    if (interpreter)
        interpreter->CloseSampleFiles();
}

bool CHeadTracker::FreshStart()
{
    return g_freshStart;
}

void CHeadTracker::DropFaces()
{
    // Tracked faces refer to the models: they go first.
    trackedFaces.clear();
    faceModels.clear();
}

void CHeadTracker::CloseCapture()
{
    DropFaces();
    state = Detecting;
    g_freshStart = true;
    frame = nullptr;  // it belonged to the capture
    // Released before the next one opens: a camera cannot be opened twice.
    capture.reset();
}

bool CHeadTracker::StartWebcam()
{
    CloseCapture();
    capture = opener.OpenCamera();
    return capture != nullptr;
}

double CHeadTracker::OpenVideoFile(const std::string& fileName)
{
    CloseCapture();
    capture = opener.OpenFile(fileName);
    return capture ? capture->FrameRate() : 0.0;
}

bool CHeadTracker::GrabAndProcess()
{
    if (!capture)
        return false;
    VideoFrame* grabbed = capture->QueryFrame();
    if (grabbed == nullptr)
        return false;
    frame = grabbed;

    if (state == Tracking) {
        TrackStep();
    } else if (state == Detecting) {
        if (DetectAndBuild() > 0)
            state = Tracking;
    }
    return true;
}

void CHeadTracker::InterpretBetweenFrames()
{
    if (state == Tracking)
        interpreter->Interpret();
}

void CHeadTracker::ResetTracking()
{
    DropFaces();
    g_freshStart = true;
    state = Detecting;
    if (frame != nullptr && !frame->image.empty())
        DetectAndBuild();
    headMeasures.Reset();
}

void CHeadTracker::MakeTopLeft()
{
    if (frame->origin == BottomLeftOrigin) {
        cv::flip(frame->image, frame->image, 0);
        frame->origin = TopLeftOrigin;
    }
}

void CHeadTracker::TrackStep()
{
    const ImageOrigin capturedOrigin = frame->origin;
    MakeTopLeft();

    CTrackedFace& face = *trackedFaces[0];
    double cost = 0.0;
    const bool followed = face.Update(*interpreter, frame->image, cost, kCostLimit);
    lastCost = cost;
    if (!followed) {
        state = Detecting;
        interpreter->Interpret();
        ++frameCounter;
        return;
    }

    const CFaceModel& model = *faceModels[0];
    lastYaw = headMeasures.MeasureYaw(face, model);
    interpreter->SetYawMeasure(lastYaw);
    lastPitch = headMeasures.MeasurePitch(face, model);
    interpreter->SetPitchMeasure(lastPitch);

    if (showFrameA) {
        face.DrawAnalysisView(frame->image, frameView, kFrameCaption, frameCounter, cost, false);
        windows.Show(kFrameAWindow, frameView);
    }
    if (showFrameB) {
        face.DrawProfileView(frameBView);
        windows.Show(kFrameBWindow, frameBView);
    }
    cv::Mat marked;
    if (showImage) {
        marked = frame->image.clone();
        face.DrawFeatures(marked, kMarkThickness, kMarkInnerColour, kMarkOuterColour, true, true);
    }
    if (capturedOrigin == BottomLeftOrigin) {
        // The frame goes back to the capture as it came.
        cv::flip(frame->image, frame->image, 0);
        frame->origin = BottomLeftOrigin;
    }
    ++frameCounter;
    if (showImage)
        windows.Show(kImageWindow, marked);
}

const std::vector<cv::Rect>& CHeadTracker::DetectFaces()
{
    MakeTopLeft();
    return detector.Detect(frame->image, preciseDetection);
}

int CHeadTracker::DetectAndBuild()
{
    const int scale = FaceDetector::Scale(preciseDetection);
    const std::vector<cv::Rect>& faces = DetectFaces();
    const int count = static_cast<int>(faces.size());
    if (count <= 0) {
        frameClone.release();
        return count;
    }

    if (g_freshStart) {
        g_freshStart = false;
        BuildFaces(faces, scale);
    } else {
        RebuildTrackedFaces(faces, scale);
    }
    headMeasures.Calibrate(*faceModels[0]);

    frameClone = frame->image.clone();
    frameView = cv::Mat::zeros(kFrameViewHeight, kFrameViewWidth, CV_8UC3);
    frameBView = cv::Mat::zeros(kFrameBViewHeight, kFrameBViewWidth, CV_8UC3);
    // A view the player switched off stays off: showing it would open it again.
    if (showImage)
        windows.Show(kImageWindow, frameClone);
    // Drawn even when not shown: the first drawing fixes the face crop of the annotated view.
    trackedFaces[0]->DrawAnalysisView(frameClone, frameView, kFrameCaption, 0, 0.0, false);
    if (showFrameA)
        windows.Show(kFrameAWindow, frameView);
    frameClone.release();
    return count;
}

void CHeadTracker::BuildFaces(const std::vector<cv::Rect>& faces, int scale)
{
    DropFaces();
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const FacePlacement place = FacePlacement::ForNewFace(faces[i], scale);
        const std::array<int, 6>& p = place.wholePoints;
        const FaceEllipse region(place.left, place.top, place.right, place.bottom);

        auto model = std::make_unique<CFaceModel>();
        model->Analyse(frame->image, p[0], p[1], p[2], p[3], p[4], p[5], region);
        // The rest pose is that of the face that will be followed.
        if (i == 0) {
            const std::array<float, 6>& r = place.points;
            interpreter->SetRestPose(r[0], r[1], r[2], r[3], r[4], r[5]);
            interpreter->UpdatePixelThresholds();
        }
        auto tracked = std::make_unique<CTrackedFace>(p[0], p[1], p[2], p[3], p[4], p[5], region);
        tracked->SetFaceModel(model.get());
        faceModels.push_back(std::move(model));
        trackedFaces.push_back(std::move(tracked));
    }
}

void CHeadTracker::RebuildTrackedFaces(const std::vector<cv::Rect>& faces, int scale)
{
    trackedFaces.clear();
    // Faces beyond the models of the last full build have no model to follow: they are left
    // out (only face 0 is ever followed).
    const std::size_t count = std::min(faces.size(), faceModels.size());
    for (std::size_t i = 0; i < count; ++i) {
        const FacePlacement place = FacePlacement::ForFoundAgain(faces[i], scale);
        const std::array<int, 6>& p = place.wholePoints;
        const FaceEllipse region(place.left, place.top, place.right, place.bottom);
        auto tracked = std::make_unique<CTrackedFace>(p[0], p[1], p[2], p[3], p[4], p[5], region);
        tracked->SetFaceModel(faceModels[i].get());
        trackedFaces.push_back(std::move(tracked));
    }
}

void CHeadTracker::OpenImageWindow()
{
    windows.Create(kImageWindow);
}

void CHeadTracker::SetWindowShown(bool& shown, const char* window, bool on)
{
    shown = on;
    if (on)
        windows.Create(window);
    else
        windows.Destroy(window);
}

void CHeadTracker::SetImageView(bool on)
{
    SetWindowShown(showImage, kImageWindow, on);
}

void CHeadTracker::SetFrameAView(bool on)
{
    SetWindowShown(showFrameA, kFrameAWindow, on);
}

void CHeadTracker::SetFrameBView(bool on)
{
    SetWindowShown(showFrameB, kFrameBWindow, on);
}

void CHeadTracker::SetValuesView(bool on)
{
    showValues = on;
    if (on)
        interpreter->ShowValuesWindow();
    else
        interpreter->HideValuesWindow();
}

void CHeadTracker::SetPreciseDetection(bool on)
{
    preciseDetection = on;
}
