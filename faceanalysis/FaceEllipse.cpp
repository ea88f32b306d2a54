#include "faceanalysis/FaceEllipse.h"

#include "faceanalysis/FaceAnalysisDrawing.h"
#include "faceanalysis/TruncateTowardZero.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <cstdlib>

FaceEllipse::FaceEllipse(int x1, int y1, int x2, int y2)
    : left(std::min(x1, x2)), right(std::max(x1, x2)), top(std::min(y1, y2)), bottom(std::max(y1, y2))
{
    centreX = 0.5 * (left + right);
    centreY = 0.5 * (top + bottom);
    halfWidth = 0.5 * static_cast<double>(right - left);
    halfHeight = 0.5 * static_cast<double>(bottom - top);
    angle = 0.0;
}

FaceEllipse::FaceEllipse(double centreX, double centreY, double halfWidth, double halfHeight, double angle)
    : centreX(centreX), centreY(centreY), halfWidth(halfWidth), halfHeight(halfHeight), angle(angle)
{
    const double a2 = halfWidth * halfWidth;
    const double b2 = halfHeight * halfHeight;
    const double cos2 = std::cos(2.0 * angle);
    // max(0, ...) only guards rounding below zero when an axis is 0.
    const double hw = 0.707106781 * std::sqrt(std::max(0.0, (a2 - b2) * cos2 + a2 + b2));
    const double hh = 0.707106781 * std::sqrt(std::max(0.0, (b2 - a2) * cos2 + a2 + b2));
    left = TruncateTowardZero(centreX - hw - 0.5);
    right = TruncateTowardZero(centreX + hw + 0.5);
    top = TruncateTowardZero(centreY - hh - 0.5);
    bottom = TruncateTowardZero(centreY + hh + 0.5);
}

FaceEllipse FaceEllipse::Clone() const
{
    return FaceEllipse(centreX, centreY, halfWidth, halfHeight, angle);
}

void FaceEllipse::Draw(cv::Mat& image, int colour, int thickness) const
{
    // Negative semi-axes describe the same ellipse; OpenCV refuses them.
    const cv::Point centre(TruncateTowardZero(centreX), TruncateTowardZero(centreY));
    const cv::Size axes(std::abs(TruncateTowardZero(halfWidth)), std::abs(TruncateTowardZero(halfHeight)));
    cv::ellipse(image, centre, axes, angle * 57.29577951308232, 0.0, 360.0, PackedColour(colour), thickness);
}
