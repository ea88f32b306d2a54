#include "faceanalysis/CFaceModel.h"

#include "faceanalysis/ImageOperations.h"
#include "faceanalysis/TruncateTowardZero.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Weights of a reference profile over its own range: a difference at the picture's centre is
// divided by 25, one at its edge by about 31.
IntensityProfile CentreWeights(const IntensityProfile& reference, int centre, int extent)
{
    std::vector<float> values(reference.Count());
    for (int k = 0; k < reference.Count(); ++k) {
        const double relative = (reference.First() + k - centre) / static_cast<double>(extent);
        values[k] = static_cast<float>(25 * (1 + relative * relative));
    }
    return IntensityProfile(reference.First(), std::move(values));
}

IntensityProfile ConstantWeights(const IntensityProfile& reference)
{
    return IntensityProfile(reference.First(), std::vector<float>(reference.Count(), 25.0f));
}

}  // namespace

CFaceModel::CFaceModel() = default;

CFaceModel::~CFaceModel() = default;

void CFaceModel::Analyse(const cv::Mat& frame, int leftEyeX, int leftEyeY, int rightEyeX, int rightEyeY, int mouthX,
                         int mouthY, const FaceEllipse& faceEllipse)
{
    if (frame.empty() || frame.type() != CV_8UC3)
        return;
    NormaliseFace(frame, rightEyeX - leftEyeX, rightEyeY - leftEyeY, faceEllipse);
    PlaceFeatures(leftEyeX, leftEyeY, rightEyeX, rightEyeY, mouthX, mouthY);
    BuildReferences();
}

void CFaceModel::NormaliseFace(const cv::Mat& frame, int dx, int dy, const FaceEllipse& faceEllipse)
{
    const double phi = -std::atan2(static_cast<double>(dy), static_cast<double>(dx));
    const double modelAngle = faceEllipse.angle - phi;
    // An ellipse beyond the frame's diagonal shows nothing more of it; capping the semi-axes
    // keeps absurd input from asking for a huge picture.
    const double limit = std::hypot(frame.cols, frame.rows);
    const auto semiAxis = [limit](double value) {
        return std::isfinite(value) ? std::min(std::abs(value), limit) : 0.0;
    };
    const double halfWidth = semiAxis(faceEllipse.halfWidth);
    const double halfHeight = semiAxis(faceEllipse.halfHeight);
    const FaceEllipse extent(0.0, 0.0, halfWidth, halfHeight, modelAngle);
    m_xMin = 0;
    m_yMin = 0;
    m_xMax = extent.right - extent.left;
    m_yMax = extent.bottom - extent.top;
    m_width = m_xMax + 1;
    m_height = m_yMax + 1;

    if (m_faceImage.empty() || m_faceImage.cols != m_width || m_faceImage.rows != m_height) {
        m_faceImage.create(m_height, m_width, CV_8UC3);
        m_warpImage.create(m_height, m_width, CV_8UC3);
        m_maskImage.create(m_height, m_width, CV_8UC3);
    }

    m_modelEllipse.emplace(0.5 * m_xMax, 0.5 * m_yMax, halfWidth, halfHeight, modelAngle);
    m_maskImage.setTo(cv::Scalar::all(0));
    m_modelEllipse->Draw(m_maskImage, 0xFFFFFF, -1);

    // Rotation by phi about the face centre, which lands on the middle of the picture.
    const double c = std::cos(phi);
    const double s = std::sin(phi);
    const double cx = faceEllipse.centreX;
    const double cy = faceEllipse.centreY;
    m_normalise[0] = c;
    m_normalise[1] = -s;
    m_normalise[2] = 0.5 * m_xMax - c * cx + s * cy;
    m_normalise[3] = s;
    m_normalise[4] = c;
    m_normalise[5] = 0.5 * m_yMax - (s * cx + c * cy);

    WarpAffineForward(frame, m_warpImage, m_normalise);
    cv::bitwise_and(m_warpImage, m_maskImage, m_faceImage);
}

void CFaceModel::PlaceFeatures(int leftEyeX, int leftEyeY, int rightEyeX, int rightEyeY, int mouthX, int mouthY)
{
    m_featureX[1] = leftEyeX;
    m_featureY[1] = leftEyeY;
    m_featureX[2] = rightEyeX;
    m_featureY[2] = rightEyeY;
    m_featureX[3] = mouthX;
    m_featureY[3] = mouthY;
    const double* n = m_normalise;
    for (int k = 0; k < 3; ++k) {
        const double x = m_featureX[k + 1];
        const double y = m_featureY[k + 1];
        m_featureX[k] = TruncateTowardZero(n[0] * x + n[1] * y + n[2] + 0.5);
        m_featureY[k] = TruncateTowardZero(n[3] * x + n[4] * y + n[5] + 0.5);
    }
    m_featureCount = 3;

    const int hy = std::max(1, TruncateTowardZero(m_height * 0.05)) + 1;
    m_eyeRow = (m_featureY[0] + m_featureY[1]) / 2;
    m_eyeBandTop = m_eyeRow - 2 * hy;
    m_eyeBandBottom = m_eyeRow + hy;
    m_mouthRow = m_featureY[2];
    m_mouthBandTop = m_mouthRow - hy;
    m_mouthBandBottom = m_mouthRow + hy;

    const int hx = std::max(1, TruncateTowardZero(m_width * 0.0667)) + 1;
    m_leftEyeColumn = m_featureX[0];
    m_leftEyeFrom = m_leftEyeColumn - hx;
    m_leftEyeTo = m_leftEyeColumn + hx;
    m_rightEyeColumn = m_featureX[1];
    m_rightEyeFrom = m_rightEyeColumn - hx;
    m_rightEyeTo = m_rightEyeColumn + hx;

    const int hm = std::max(2, TruncateTowardZero(m_width * 0.1818)) + 1;
    m_mouthColumn = m_featureX[2];
    m_mouthFrom = m_mouthColumn - hm;
    m_mouthTo = m_mouthColumn + hm;
}

void CFaceModel::BuildReferences()
{
    const cv::Mat& face = m_faceImage;
    m_rowReference.ExtractRows(face, m_xMin, m_xMax, m_yMin, m_yMax, 3, 0);
    m_eyeColumnReference.ExtractColumns(face, m_xMin, m_xMax, m_eyeBandTop, m_eyeBandBottom, 3, 0);
    m_mouthColumnReference.ExtractColumns(face, m_xMin, m_xMax, m_mouthBandTop, m_mouthBandBottom, 3, 0);

    const int rowCentre = (m_yMin + m_yMax) / 2;
    const int rowExtent = m_yMax - m_yMin + 1;
    const int columnCentre = (m_xMin + m_xMax) / 2;
    const int columnExtent = m_xMax - m_xMin + 1;
    m_rowWeights = CentreWeights(m_rowReference, rowCentre, rowExtent);
    m_eyeColumnWeights = CentreWeights(m_eyeColumnReference, columnCentre, columnExtent);
    m_mouthColumnWeights = CentreWeights(m_mouthColumnReference, columnCentre, columnExtent);

    const int d = std::max(TruncateTowardZero(rowExtent * 0.15), 2);
    m_eyeRefineTop = std::max(m_eyeRow - TruncateTowardZero(d * 1.5), m_yMin);
    m_eyeRefineBottom = std::min(m_yMax, m_eyeRow + d);

    m_leftEyeRowReference.ExtractRows(face, m_leftEyeFrom, m_leftEyeTo, m_eyeRefineTop, m_eyeRefineBottom, 3, 0);
    m_rightEyeRowReference.ExtractRows(face, m_rightEyeFrom, m_rightEyeTo, m_eyeRefineTop, m_eyeRefineBottom, 3, 0);
    m_leftEyeRowWeights = ConstantWeights(m_leftEyeRowReference);
    m_rightEyeRowWeights = ConstantWeights(m_rightEyeRowReference);
}
