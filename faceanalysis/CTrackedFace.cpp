#include "faceanalysis/CTrackedFace.h"

#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/ImageOperations.h"
#include "faceanalysis/MotionSampleSink.h"
#include "faceanalysis/ProfileAlignment.h"
#include "faceanalysis/TruncateTowardZero.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Grid half-width and levels of the profile alignments, and the eye refinement's reach.
constexpr int kAlignmentSteps = 4;
constexpr int kAlignmentLevels = 2;
constexpr int kEyeRefineSteps = 4;

// Sub-sample step of the cost minimum at index j of costs (indexed j + n).
double ParabolicStep(const std::array<double, 2 * kEyeRefineSteps + 1>& costs, int j, int n)
{
    if (j == -n || j == n)
        return 0.0;
    const double before = costs[j - 1 + n];
    const double at = costs[j + n];
    const double after = costs[j + 1 + n];
    const double den = after + before - 2 * at;
    if (den == 0)
        return 0.0;
    return (before - after) / (2 * den);
}

}  // namespace

CTrackedFace::CTrackedFace(int leftEyeX, int leftEyeY, int rightEyeX, int rightEyeY, int mouthX, int mouthY,
                           const FaceEllipse& ellipse)
    : m_leftEyeX(leftEyeX), m_leftEyeY(leftEyeY), m_rightEyeX(rightEyeX), m_rightEyeY(rightEyeY), m_mouthX(mouthX),
      m_mouthY(mouthY), m_ellipse(ellipse.Clone())
{
}

CTrackedFace::~CTrackedFace() = default;

bool CTrackedFace::Update(MotionSampleSink& motion, const cv::Mat& frame, double& cost, double tolerance)
{
    const CFaceModel* model = m_faceModel;
    if (model == nullptr || model->FaceImage().empty() || frame.empty() || frame.type() != CV_8UC3) {
        cost = kNoComparison;
        return false;
    }

    const int b = TruncateTowardZero(m_rangeFactor);
    m_borderX = model->Width() * b;
    m_borderY = model->Height() * b;
    m_warpWidth = model->Width() + 2 * m_borderX;
    m_warpHeight = model->Height() + 2 * m_borderY;

    const double midX = (m_leftEyeX + m_rightEyeX) * 0.5;
    const double midY = (m_leftEyeY + m_rightEyeY) * 0.5;
    const double dm = std::hypot(midX - m_mouthX, midY - m_mouthY);
    if (!Warp(frame, m_rightEyeX - m_leftEyeX, m_rightEyeY - m_leftEyeY, dm)) {
        cost = kNoComparison;
        return false;
    }

    const double saved[6] = {m_leftEyeX, m_leftEyeY, m_rightEyeX, m_rightEyeY, m_mouthX, m_mouthY};
    const auto restore = [&] {
        m_leftEyeX = saved[0];
        m_leftEyeY = saved[1];
        m_rightEyeX = saved[2];
        m_rightEyeY = saved[3];
        m_mouthX = saved[4];
        m_mouthY = saved[5];
    };

    // Negated tests so that a NaN cost fails too.
    const double costY = AlignRows();
    if (!(costY <= tolerance)) {
        restore();
        cost = 2 * costY;
        return false;
    }
    const double total = costY + AlignColumns();
    if (!(total <= tolerance)) {
        restore();
        cost = total;
        return false;
    }
    RefineEyes(kEyeRefineSteps);
    MapBack();

    cost = total;
    motion.AddSample(static_cast<float>(m_leftEyeX), static_cast<float>(m_leftEyeY), static_cast<float>(m_rightEyeX),
                     static_cast<float>(m_rightEyeY), static_cast<float>(m_mouthX), static_cast<float>(m_mouthY));
    return true;
}

bool CTrackedFace::Warp(const cv::Mat& frame, double ex, double ey, double dm)
{
    const CFaceModel& model = *m_faceModel;
    const double theta = std::atan2(ey, ex);
    const double alpha = -theta;
    const double c = std::cos(alpha);
    const double s = std::sin(alpha);
    const double k = std::abs(model.EyeRow() - model.MouthRow()) / dm;
    // Mouth on the eye line (in the frame or in the model): no scale to warp by.
    if (!(k > 0) || !std::isfinite(k))
        return false;

    const double cx = (m_leftEyeX + m_rightEyeX) * 0.5;
    const double cy = (m_leftEyeY + m_rightEyeY) * 0.5;
    const double mu = 0.5 * (model.LeftEyeColumn() + model.RightEyeColumn());
    const double mv = model.EyeRow();

    m_toModel[0] = k * c;
    m_toModel[1] = -k * s;
    m_toModel[2] = m_borderX + mu - k * c * cx + k * s * cy;
    m_toModel[3] = k * s;
    m_toModel[4] = k * c;
    m_toModel[5] = m_borderY + mv - k * s * cx - k * c * cy;

    m_toFrame[0] = c / k;
    m_toFrame[1] = s / k;
    m_toFrame[2] = cx - (c / k) * mu - (s / k) * mv;
    m_toFrame[3] = -s / k;
    m_toFrame[4] = c / k;
    m_toFrame[5] = cy + (s / k) * mu - (c / k) * mv;

    if (m_warpImage.empty() || m_warpImage.cols != m_warpWidth || m_warpImage.rows != m_warpHeight) {
        m_warpImage.create(m_warpHeight, m_warpWidth, CV_8UC3);
        m_faceImage.create(model.Height(), model.Width(), CV_8UC3);
    }

    WarpAffineForward(frame, m_warpImage, m_toModel);
    AndRegion(m_warpImage, cv::Rect(m_borderX, m_borderY, model.Width(), model.Height()), model.MaskImage(),
              m_faceImage);
    return true;
}

double CTrackedFace::AlignRows()
{
    const CFaceModel& model = *m_faceModel;
    m_rowMeasured.ExtractRows(m_faceImage, 0, m_faceImage.cols - 1, 0, m_faceImage.rows - 1, 3, 0);
    m_rowFit = AlignProfile(m_rangeFactor, m_rowMeasured, model.RowReference(), model.RowWeights(), m_rowProfile,
                            kAlignmentSteps, kAlignmentLevels);
    m_leftEyeY = m_rightEyeY = model.EyeRow() * m_rowFit.scale + m_rowFit.shift;
    m_mouthY = model.MouthRow() * m_rowFit.scale + m_rowFit.shift;
    return m_rowFit.cost;
}

double CTrackedFace::AlignColumns()
{
    const CFaceModel& model = *m_faceModel;
    const int lastColumn = m_warpImage.cols - 1;

    const ProfileFit& rows = m_rowFit;
    const int eyeTop = TruncateTowardZero(model.EyeBandTop() * rows.scale + rows.shift - 0.5 + m_borderY);
    const int eyeBottom = TruncateTowardZero(model.EyeBandBottom() * rows.scale + rows.shift + m_borderY + 0.5);
    m_eyeColumnMeasured.ExtractColumns(m_warpImage, 0, lastColumn, eyeTop, eyeBottom, 3, 0);
    m_eyeColumnMeasured.SetFirst(m_eyeColumnMeasured.First() - m_borderX);

    const int mouthTop = TruncateTowardZero(model.MouthBandTop() * rows.scale + rows.shift - 0.5 + m_borderY);
    const int mouthBottom = TruncateTowardZero(model.MouthBandBottom() * rows.scale + rows.shift + m_borderY + 0.5);
    m_mouthColumnProfile.ExtractColumns(m_warpImage, 0, lastColumn, mouthTop, mouthBottom, 3, 0);
    m_mouthColumnProfile.SetFirst(m_mouthColumnProfile.First() - m_borderX);

    m_columnFit = AlignProfile(m_rangeFactor, m_eyeColumnMeasured, model.EyeColumnReference(), model.EyeColumnWeights(),
                               m_eyeColumnProfile, kAlignmentSteps, kAlignmentLevels);
    m_leftEyeX = model.LeftEyeColumn() * m_columnFit.scale + m_columnFit.shift;
    m_rightEyeX = model.RightEyeColumn() * m_columnFit.scale + m_columnFit.shift;
    m_mouthX = model.MouthColumn() * m_columnFit.scale + m_columnFit.shift;
    return m_columnFit.cost;
}

void CTrackedFace::RefineEyes(int n)
{
    const CFaceModel& model = *m_faceModel;
    n = std::min(n, kEyeRefineSteps);
    const ProfileFit& rows = m_rowFit;
    const ProfileFit& columns = m_columnFit;
    const int r0 = TruncateTowardZero(model.EyeRefineTop() * rows.scale + m_borderY + rows.shift);
    const int r1 = TruncateTowardZero(model.EyeRefineBottom() * rows.scale + m_borderY + rows.shift);

    const auto measure = [&](IntensityProfile& profile, int from, int to) {
        const int c0 = TruncateTowardZero(from * columns.scale + m_borderX + columns.shift);
        const int c1 = TruncateTowardZero(to * columns.scale + m_borderX + columns.shift);
        profile.ExtractRows(m_warpImage, c0, c1, r0, r1, 3, 0);
        profile.SetFirst(profile.First() - m_borderY);
        profile.ResampleMapped(rows.scale, rows.shift, 0, 0, 1);
    };
    measure(m_leftEyeRowProfile, model.LeftEyeFrom(), model.LeftEyeTo());
    measure(m_rightEyeRowProfile, model.RightEyeFrom(), model.RightEyeTo());

    std::array<double, 2 * kEyeRefineSteps + 1> leftCosts{};
    std::array<double, 2 * kEyeRefineSteps + 1> rightCosts{};
    const int base = m_leftEyeRowProfile.First();
    int leftBest = 0;
    int rightBest = 0;
    double leftBestCost = kNoComparison;
    double rightBestCost = kNoComparison;
    for (int j = -n; j <= n; ++j) {
        m_leftEyeRowProfile.SetFirst(base + j);
        leftCosts[j + n] =
            IntensityProfile::RootError(m_leftEyeRowProfile, model.LeftEyeRowReference(), model.LeftEyeRowWeights());
        m_rightEyeRowProfile.SetFirst(base + j);
        rightCosts[j + n] =
            IntensityProfile::RootError(m_rightEyeRowProfile, model.RightEyeRowReference(), model.RightEyeRowWeights());
        if (leftCosts[j + n] < leftBestCost) {
            leftBestCost = leftCosts[j + n];
            leftBest = j;
        }
        if (rightCosts[j + n] < rightBestCost) {
            rightBestCost = rightCosts[j + n];
            rightBest = j;
        }
    }
    m_leftEyeRowProfile.SetFirst(base + leftBest);
    m_rightEyeRowProfile.SetFirst(base + rightBest);

    m_leftEyeY -= leftBest + ParabolicStep(leftCosts, leftBest, n);
    m_rightEyeY -= rightBest + ParabolicStep(rightCosts, rightBest, n);
    m_roll = std::atan2(m_rightEyeY - m_leftEyeY, m_rightEyeX - m_leftEyeX);
}

void CTrackedFace::MapBack()
{
    const CFaceModel& model = *m_faceModel;
    const double* t = m_toFrame;
    const auto toFrame = [t](double x, double y) {
        return cv::Point2d(t[0] * x + t[1] * y + t[2], t[3] * x + t[4] * y + t[5]);
    };
    double* points[3][2] = {{&m_leftEyeX, &m_leftEyeY}, {&m_rightEyeX, &m_rightEyeY}, {&m_mouthX, &m_mouthY}};
    for (auto& point : points) {
        const cv::Point2d mapped = toFrame(*point[0], *point[1]);
        *point[0] = mapped.x;
        *point[1] = mapped.y;
    }

    const double u = model.Width() * m_columnFit.scale * 0.5 + m_columnFit.shift;
    const double v = model.Height() * m_rowFit.scale * 0.5 + m_rowFit.shift;
    const cv::Point2d centre = toFrame(u, v);
    const double halfWidth = cv::norm(centre - toFrame(m_columnFit.shift, v));
    const double halfHeight = cv::norm(centre - toFrame(u, m_rowFit.shift));
    m_ellipse = FaceEllipse(centre.x, centre.y, halfWidth, halfHeight, m_ellipse.angle - m_roll);
}

const float* CTrackedFace::RowProfileData(int& first, int& count) const
{
    first = m_rowProfile.First();
    count = m_rowProfile.Count();
    return m_rowProfile.Values();
}

const float* CTrackedFace::EyeColumnProfileData(int& first, int& count) const
{
    first = m_eyeColumnProfile.First();
    count = m_eyeColumnProfile.Count();
    return m_eyeColumnProfile.Values();
}
