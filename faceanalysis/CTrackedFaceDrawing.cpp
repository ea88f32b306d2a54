// The drawing half of CTrackedFace: feature marks, the annotated view and the profile view.
#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/FaceAnalysisDrawing.h"
#include "faceanalysis/ImageOperations.h"
#include "faceanalysis/TruncateTowardZero.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>

namespace {

constexpr int kWhite = 0xFFFFFF;
constexpr int kBlack = 0;

const cv::Size kAnalysisViewSize(400, 280);
const cv::Size kProfileViewSize(400, 370);

// Panes of the annotated view.
const cv::Rect kFacePane(4, 4, 196, 246);
const cv::Rect kLeftEyePane(204, 4, 94, 121);
const cv::Rect kRightEyePane(302, 4, 94, 121);
const cv::Rect kMouthPane(204, 129, 192, 121);
constexpr int kTextBaseline = 271;

// Panes of the profile view.
const cv::Rect kInputImagePane(31, 37, 163, 179);
const cv::Rect kRowProfilePane(207, 37, 155, 179);
const cv::Rect kEyeBandPane(31, 255, 163, 83);
const cv::Rect kMouthBandPane(207, 255, 155, 83);
constexpr int kProfileMargin = 5;

bool IsView(const cv::Mat& view, cv::Size size)
{
    return view.size() == size && view.type() == CV_8UC3;
}

void DrawStroke(cv::Mat& image, double x0, double y0, double x1, double y1, int thickness, int innerColour,
                int outerColour)
{
    const cv::Point from(TruncateTowardZero(x0), TruncateTowardZero(y0));
    const cv::Point to(TruncateTowardZero(x1), TruncateTowardZero(y1));
    cv::line(image, from, to, PackedColour(outerColour), 3 * thickness, cv::LINE_8);
    cv::line(image, from, to, PackedColour(innerColour), thickness, cv::LINE_8);
}

// Close-up of the frame quadrangle around centre spanned by the eye line d and its
// perpendicular p, from a0 to a1 along d and b0 to b1 along p.
void DrawCloseUp(const cv::Mat& frame, cv::Mat& view, const cv::Rect& pane, cv::Point2d centre, cv::Point2d d,
                 double a0, double a1, double b0, double b1, int interpolation)
{
    const cv::Point2d p(-d.y, d.x);
    const double corners[4][2] = {{a0, b0}, {a1, b0}, {a1, b1}, {a0, b1}};
    double quad[4][2];
    for (int i = 0; i < 4; ++i) {
        const cv::Point2d corner = centre + corners[i][0] * d + corners[i][1] * p;
        quad[i][0] = corner.x;
        quad[i][1] = corner.y;
    }
    WarpBilinearQuad(frame, view, pane, quad, interpolation);
}

// Moves a crop origin inside the frame: below 1 becomes 0, past the far edge is moved back.
int PlaceCropOrigin(int origin, int size, int frameSize)
{
    if (origin < 1)
        origin = 0;
    if (origin + size > frameSize)
        origin = frameSize - size;
    return std::max(origin, 0);
}

}  // namespace

void CTrackedFace::DrawFeatures(cv::Mat& image, int thickness, int innerColour, int outerColour, bool drawMarks,
                                bool drawEllipse) const
{
    if (drawMarks) {
        const double dx = 0.2 * (m_rightEyeX - m_leftEyeX);
        const double dy = 0.2 * (m_rightEyeY - m_leftEyeY);
        const auto stroke = [&](double x0, double y0, double x1, double y1) {
            DrawStroke(image, x0, y0, x1, y1, thickness, innerColour, outerColour);
        };
        stroke(m_leftEyeX - dx, m_leftEyeY - dy, m_leftEyeX + dx, m_leftEyeY + dy);
        stroke(m_rightEyeX - dx, m_rightEyeY - dy, m_rightEyeX + dx, m_rightEyeY + dy);
        stroke(m_leftEyeX + dy, m_leftEyeY - dx, m_leftEyeX - dy, m_leftEyeY + dx);
        stroke(m_rightEyeX + dy, m_rightEyeY - dx, m_rightEyeX - dy, m_rightEyeY + dx);
        stroke(m_mouthX - 2 * dx, m_mouthY - 2 * dy, m_mouthX + 2 * dx, m_mouthY + 2 * dy);
    }
    if (drawEllipse) {
        m_ellipse.Draw(image, outerColour, 3 * thickness);
        m_ellipse.Draw(image, innerColour, thickness);
    }
}

void CTrackedFace::DrawAnalysisView(const cv::Mat& frame, cv::Mat& view, const std::string& caption, int frameNumber,
                                    double value, bool refresh)
{
    if (!IsView(view, kAnalysisViewSize) || frame.empty() || frame.type() != CV_8UC3)
        return;
    SetImage(view, 0);

    const cv::Point2d leftEye(m_leftEyeX, m_leftEyeY);
    const cv::Point2d rightEye(m_rightEyeX, m_rightEyeY);
    const cv::Point2d mouth(m_mouthX, m_mouthY);
    const cv::Point2d d = rightEye - leftEye;
    DrawCloseUp(frame, view, kLeftEyePane, leftEye, d, -0.3, 0.2, -0.42, 0.35, 2);
    DrawCloseUp(frame, view, kRightEyePane, rightEye, d, -0.2, 0.3, -0.42, 0.35, 2);
    DrawCloseUp(frame, view, kMouthPane, mouth, d, -0.45, 0.45, -0.2, 0.375, 1);

    const bool recompute = refresh || m_viewZoomX == 0 || m_viewZoomY == 0;
    if (recompute) {
        // A crop of at least one pixel and at most the frame, so that the zoom stays finite.
        m_viewCropHeight = std::clamp(TruncateTowardZero(3.333333333333333 * m_ellipse.halfHeight), 1, frame.rows);
        m_viewCropWidth = std::clamp(TruncateTowardZero(0.8 * m_viewCropHeight), 1, frame.cols);
        m_viewCropY = TruncateTowardZero(m_ellipse.centreY - 0.5 * m_viewCropHeight);
        m_viewCropX = TruncateTowardZero(m_ellipse.centreX - 0.5 * m_viewCropWidth);
        m_viewCropX = PlaceCropOrigin(m_viewCropX, m_viewCropWidth, frame.cols);
        m_viewCropY = PlaceCropOrigin(m_viewCropY, m_viewCropHeight, frame.rows);
    }
    // A kept crop may not fit a frame of another size.
    const cv::Rect crop =
        cv::Rect(m_viewCropX, m_viewCropY, m_viewCropWidth, m_viewCropHeight) & cv::Rect(0, 0, frame.cols, frame.rows);
    if (!crop.empty())
        ResizeBicubic(frame, crop, view, kFacePane);
    if (recompute) {
        m_viewZoomX = static_cast<double>(kFacePane.width) / m_viewCropWidth;
        m_viewZoomY = static_cast<double>(kFacePane.height) / m_viewCropHeight;
    }

    const auto toPane = [this](double x, double y) {
        return cv::Point(TruncateTowardZero((x - m_viewCropX) * m_viewZoomX),
                         TruncateTowardZero((y - m_viewCropY) * m_viewZoomY));
    };
    const FaceEllipse paneEllipse(TruncateTowardZero(m_ellipse.centreX - m_viewCropX) * m_viewZoomX,
                                  (m_ellipse.centreY - m_viewCropY) * m_viewZoomY, m_ellipse.halfWidth * m_viewZoomX,
                                  m_ellipse.halfHeight * m_viewZoomY, m_ellipse.angle);
    const cv::Point leftEyePane = toPane(m_leftEyeX, m_leftEyeY);
    const cv::Point rightEyePane = toPane(m_rightEyeX, m_rightEyeY);
    const cv::Point mouthPane = toPane(m_mouthX, m_mouthY);
    const CTrackedFace paneFace(leftEyePane.x, leftEyePane.y, rightEyePane.x, rightEyePane.y, mouthPane.x, mouthPane.y,
                                paneEllipse);
    cv::Mat facePane = view(kFacePane);
    paneFace.DrawFeatures(facePane, 1, kBlack, kWhite, true, true);

    const cv::Scalar white = PackedColour(kWhite);
    const auto write = [&](const std::string& text, int x) {
        cv::putText(view, text, cv::Point(x, kTextBaseline), cv::FONT_HERSHEY_SIMPLEX, 0.75, white, 3);
    };
    write(caption, 4);
    write(FrameLabel(frameNumber), 145);
    write(DistanceLabel(value), 285);
}

void CTrackedFace::DrawProfileView(cv::Mat& view) const
{
    if (!IsView(view, kProfileViewSize))
        return;
    ProfileViewBackground().copyTo(view);
    if (!m_faceImage.empty())
        ResizeBicubic(m_faceImage, cv::Rect(0, 0, m_faceImage.cols, m_faceImage.rows), view, kInputImagePane);
    if (m_faceModel == nullptr)
        return;

    const auto plotPair = [&view](const cv::Rect& area, const IntensityProfile& reference,
                                  const IntensityProfile& current, bool vertical) {
        cv::Mat pane = view(area);
        const int lo = reference.First() - kProfileMargin;
        const int hi = reference.Last() + kProfileMargin;
        PlotProfile(reference, lo, hi, pane, vertical, true, 2, kBlack, 0, 0);
        PlotProfile(current, lo, hi, pane, vertical, false, 1, kBlack, 0, 0);
    };
    plotPair(kRowProfilePane, m_faceModel->RowReference(), m_rowProfile, true);
    plotPair(kEyeBandPane, m_faceModel->EyeColumnReference(), m_eyeColumnProfile, false);
    plotPair(kMouthBandPane, m_faceModel->MouthColumnReference(), m_mouthColumnProfile, false);
}
