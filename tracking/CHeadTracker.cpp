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

}  // namespace

CHeadTracker::CHeadTracker(DebugWindows& windows, VideoSourceOpener& opener) : m_windows(windows), m_opener(opener)
{
    m_interpreter = std::make_unique<MotionInterpreter>(m_windows);
}

CHeadTracker::~CHeadTracker()
{
    if (m_interpreter)
        m_interpreter->CloseSampleFiles();
}

bool CHeadTracker::FreshStart()
{
    return g_freshStart;
}

void CHeadTracker::DropFaces()
{
    // Tracked faces refer to the models: they go first.
    m_trackedFaces.clear();
    m_faceModels.clear();
}

void CHeadTracker::CloseCapture()
{
    DropFaces();
    m_state = Detecting;
    g_freshStart = true;
    m_frame = nullptr;  // it belonged to the capture
    // Released before the next one opens: a camera cannot be opened twice.
    m_capture.reset();
}

bool CHeadTracker::StartWebcam()
{
    CloseCapture();
    m_capture = m_opener.OpenCamera();
    return m_capture != nullptr;
}

double CHeadTracker::OpenVideoFile(const std::string& fileName)
{
    CloseCapture();
    m_capture = m_opener.OpenFile(fileName);
    return m_capture ? m_capture->FrameRate() : 0.0;
}

bool CHeadTracker::GrabAndProcess()
{
    if (!m_capture)
        return false;
    VideoFrame* grabbed = m_capture->QueryFrame();
    if (grabbed == nullptr)
        return false;
    m_frame = grabbed;

    if (m_state == Tracking) {
        TrackStep();
    } else if (m_state == Detecting) {
        if (DetectAndBuild() > 0)
            m_state = Tracking;
    }
    return true;
}

void CHeadTracker::InterpretBetweenFrames()
{
    if (m_state == Tracking)
        m_interpreter->Interpret();
}

void CHeadTracker::ResetTracking()
{
    DropFaces();
    g_freshStart = true;
    m_state = Detecting;
    if (m_frame != nullptr && !m_frame->image.empty())
        DetectAndBuild();
    m_headMeasures.Reset();
}

void CHeadTracker::MakeTopLeft()
{
    if (m_frame->origin == BottomLeftOrigin) {
        cv::flip(m_frame->image, m_frame->image, 0);
        m_frame->origin = TopLeftOrigin;
    }
}

void CHeadTracker::TrackStep()
{
    const ImageOrigin capturedOrigin = m_frame->origin;
    MakeTopLeft();

    CTrackedFace& face = *m_trackedFaces[0];
    double cost = 0.0;
    const bool followed = face.Update(*m_interpreter, m_frame->image, cost, kCostLimit);
    m_lastCost = cost;
    if (!followed) {
        m_state = Detecting;
        m_interpreter->Interpret();
        ++m_frameCounter;
        return;
    }

    const CFaceModel& model = *m_faceModels[0];
    m_lastYaw = m_headMeasures.MeasureYaw(face, model);
    m_interpreter->SetYawMeasure(m_lastYaw);
    m_lastPitch = m_headMeasures.MeasurePitch(face, model);
    m_interpreter->SetPitchMeasure(m_lastPitch);

    if (m_showFrameA) {
        face.DrawAnalysisView(m_frame->image, m_frameView, kFrameCaption, m_frameCounter, cost, false);
        m_windows.Show(kFrameAWindow, m_frameView);
    }
    if (m_showFrameB) {
        face.DrawProfileView(m_frameBView);
        m_windows.Show(kFrameBWindow, m_frameBView);
    }
    cv::Mat marked;
    if (m_showImage) {
        marked = m_frame->image.clone();
        face.DrawFeatures(marked, kMarkThickness, kMarkInnerColour, kMarkOuterColour, true, true);
    }
    if (capturedOrigin == BottomLeftOrigin) {
        // The frame goes back to the capture as it came.
        cv::flip(m_frame->image, m_frame->image, 0);
        m_frame->origin = BottomLeftOrigin;
    }
    ++m_frameCounter;
    if (m_showImage)
        m_windows.Show(kImageWindow, marked);
}

const std::vector<cv::Rect>& CHeadTracker::DetectFaces()
{
    MakeTopLeft();
    return m_detector.Detect(m_frame->image, m_preciseDetection);
}

int CHeadTracker::DetectAndBuild()
{
    const int scale = FaceDetector::Scale(m_preciseDetection);
    const std::vector<cv::Rect>& faces = DetectFaces();
    const int count = static_cast<int>(faces.size());
    if (count <= 0) {
        m_frameClone.release();
        return count;
    }

    if (g_freshStart) {
        g_freshStart = false;
        BuildFaces(faces, scale);
    } else {
        RebuildTrackedFaces(faces, scale);
    }
    m_headMeasures.Calibrate(*m_faceModels[0]);

    m_frameClone = m_frame->image.clone();
    m_frameView = cv::Mat::zeros(kFrameViewHeight, kFrameViewWidth, CV_8UC3);
    m_frameBView = cv::Mat::zeros(kFrameBViewHeight, kFrameBViewWidth, CV_8UC3);
    // A view the player switched off stays off: showing it would open it again.
    if (m_showImage)
        m_windows.Show(kImageWindow, m_frameClone);
    // Drawn even when not shown: the first drawing fixes the face crop of the annotated view.
    m_trackedFaces[0]->DrawAnalysisView(m_frameClone, m_frameView, kFrameCaption, 0, 0.0, false);
    if (m_showFrameA)
        m_windows.Show(kFrameAWindow, m_frameView);
    m_frameClone.release();
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
        model->Analyse(m_frame->image, p[0], p[1], p[2], p[3], p[4], p[5], region);
        // The rest pose is that of the face that will be followed.
        if (i == 0) {
            const std::array<float, 6>& r = place.points;
            m_interpreter->SetRestPose(r[0], r[1], r[2], r[3], r[4], r[5]);
            m_interpreter->UpdatePixelThresholds();
        }
        auto tracked = std::make_unique<CTrackedFace>(p[0], p[1], p[2], p[3], p[4], p[5], region);
        tracked->SetFaceModel(model.get());
        m_faceModels.push_back(std::move(model));
        m_trackedFaces.push_back(std::move(tracked));
    }
}

void CHeadTracker::RebuildTrackedFaces(const std::vector<cv::Rect>& faces, int scale)
{
    m_trackedFaces.clear();
    // Faces beyond the models of the last full build have no model to follow: they are left
    // out (only face 0 is ever followed).
    const std::size_t count = std::min(faces.size(), m_faceModels.size());
    for (std::size_t i = 0; i < count; ++i) {
        const FacePlacement place = FacePlacement::ForFoundAgain(faces[i], scale);
        const std::array<int, 6>& p = place.wholePoints;
        const FaceEllipse region(place.left, place.top, place.right, place.bottom);
        auto tracked = std::make_unique<CTrackedFace>(p[0], p[1], p[2], p[3], p[4], p[5], region);
        tracked->SetFaceModel(m_faceModels[i].get());
        m_trackedFaces.push_back(std::move(tracked));
    }
}

void CHeadTracker::OpenImageWindow()
{
    m_windows.Create(kImageWindow);
}

void CHeadTracker::SetWindowShown(bool& shown, const char* window, bool on)
{
    shown = on;
    if (on)
        m_windows.Create(window);
    else
        m_windows.Destroy(window);
}

void CHeadTracker::SetImageView(bool on)
{
    SetWindowShown(m_showImage, kImageWindow, on);
}

void CHeadTracker::SetFrameAView(bool on)
{
    SetWindowShown(m_showFrameA, kFrameAWindow, on);
}

void CHeadTracker::SetFrameBView(bool on)
{
    SetWindowShown(m_showFrameB, kFrameBWindow, on);
}

void CHeadTracker::SetValuesView(bool on)
{
    m_showValues = on;
    if (on)
        m_interpreter->ShowValuesWindow();
    else
        m_interpreter->HideValuesWindow();
}

void CHeadTracker::SetPreciseDetection(bool on)
{
    m_preciseDetection = on;
}
