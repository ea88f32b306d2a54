#include "faceanalysis/FaceAnalysisDrawing.h"

#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/TruncateTowardZero.h"

#include <opencv2/imgproc.hpp>

#include <cstdio>

cv::Scalar PackedColour(int colour)
{
    return cv::Scalar(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void PlotProfile(const IntensityProfile& profile, int lo, int hi, cv::Mat& image, bool vertical, bool clear,
                 int thickness, int colour, int markerRadius, int markerColour)
{
    if (clear)
        image.setTo(cv::Scalar(255, 255, 255, 0));
    const int n = hi - lo + 1;
    if (n < 1)
        return;
    // 270 grey levels span the pane.
    constexpr double kValueUnit = 0.0037037;
    const double indexScale = static_cast<double>(vertical ? image.rows : image.cols) / n;
    const double valueScale = (vertical ? image.cols : image.rows) * kValueUnit;
    const cv::Scalar lineColour = PackedColour(colour);
    const cv::Scalar circleColour = PackedColour(markerColour);

    const float* values = profile.Values();
    const auto point = [&](int k) {
        const int along = TruncateTowardZero((profile.First() - lo + k) * indexScale);
        const int across = TruncateTowardZero(values[k] * valueScale);
        return vertical ? cv::Point(across, along) : cv::Point(along, across);
    };
    cv::Point previous = point(0);
    for (int k = 0; k < profile.Count(); ++k) {
        const cv::Point current = point(k);
        cv::line(image, previous, current, lineColour, thickness, cv::LINE_8);
        previous = current;
    }
    if (markerRadius > 0) {
        for (int k = 0; k < profile.Count(); ++k)
            cv::circle(image, point(k), markerRadius, circleColour, markerRadius);
    }
}

const cv::Mat& ProfileViewBackground()
{
    static const cv::Mat background = [] {
        constexpr int kFrameGrey = 175;
        cv::Mat picture(370, 400, CV_8UC3, cv::Scalar::all(kFrameGrey));
        struct Pane {
            cv::Rect area;
            const char* caption;
        };
        const Pane panes[] = {
            {cv::Rect(31, 37, 163, 179), "INPUT IMAGE"},
            {cv::Rect(207, 37, 155, 179), "P(y)"},
            {cv::Rect(31, 255, 163, 83), "Pr1(x)"},
            {cv::Rect(207, 255, 155, 83), "Pr2(x)"},
        };
        for (const Pane& pane : panes) {
            picture(pane.area).setTo(cv::Scalar::all(0));
            cv::putText(picture, pane.caption, cv::Point(pane.area.x, pane.area.y - 8), cv::FONT_HERSHEY_SIMPLEX, 0.5,
                        cv::Scalar::all(40), 1, cv::LINE_AA);
        }
        return picture;
    }();
    return background;
}

std::string FrameLabel(int frameNumber)
{
    char text[32];
    std::snprintf(text, sizeof text, "Frame:%03d", frameNumber);
    return text;
}

std::string DistanceLabel(double value)
{
    char text[400];
    std::snprintf(text, sizeof text, "Dist:%f", static_cast<double>(static_cast<float>(value)));
    return text;
}
