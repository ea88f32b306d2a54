#include "tracking/FacePlacement.h"

#include "faceanalysis/TruncateTowardZero.h"

namespace {

// Proportions of the face rectangle.
constexpr double kLeftEyeX = 0.31;
constexpr double kRightEyeX = 0.69;
constexpr double kEyeY = 0.4;
constexpr double kMouthX = 0.5;
constexpr double kMouthY = 0.78;
constexpr double kInsetX = 0.15;
constexpr double kInsetY = 0.08;

// The six coordinates in double precision.
std::array<double, 6> Points(const cv::Rect& face, int k)
{
    const double x = face.x;
    const double y = face.y;
    const double w = face.width;
    const double h = face.height;
    return {(x + kLeftEyeX * w) * k, (y + kEyeY * h) * k,   (x + kRightEyeX * w) * k,
            (y + kEyeY * h) * k,     (x + kMouthX * w) * k, (y + kMouthY * h) * k};
}

}  // namespace

FacePlacement FacePlacement::ForNewFace(const cv::Rect& face, int scale)
{
    FacePlacement placement;
    const std::array<double, 6> points = Points(face, scale);
    for (int i = 0; i < 6; ++i) {
        placement.points[i] = static_cast<float>(points[i]);
        placement.wholePoints[i] = TruncateTowardZero(placement.points[i]);
    }
    placement.insetX = static_cast<float>(kInsetX * face.width * scale);
    placement.insetY = static_cast<float>(kInsetY * face.width * scale);
    placement.left = TruncateTowardZero(static_cast<float>(face.x * scale) + placement.insetX);
    placement.top = TruncateTowardZero(static_cast<float>(face.y * scale) + placement.insetY);
    placement.right = TruncateTowardZero(static_cast<float>((face.x + face.width) * scale) - placement.insetX);
    placement.bottom = TruncateTowardZero(static_cast<float>((face.y + face.height) * scale) - placement.insetY);
    return placement;
}

FacePlacement FacePlacement::ForFoundAgain(const cv::Rect& face, int scale)
{
    FacePlacement placement;
    const std::array<double, 6> points = Points(face, scale);
    for (int i = 0; i < 6; ++i) {
        placement.wholePoints[i] = TruncateTowardZero(points[i]);
        placement.points[i] = static_cast<float>(placement.wholePoints[i]);
    }
    const int insetX = TruncateTowardZero(kInsetX * face.width * scale);
    const int insetY = TruncateTowardZero(kInsetY * face.width * scale);
    placement.insetX = static_cast<float>(insetX);
    placement.insetY = static_cast<float>(insetY);
    placement.left = face.x * scale + insetX;
    placement.top = face.y * scale + insetY;
    placement.right = (face.x + face.width) * scale - insetX;
    placement.bottom = (face.y + face.height) * scale - insetY;
    return placement;
}
