#include "faceanalysis/ImageOperations.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

void WarpAffineForward(const cv::Mat& source, cv::Mat& destination, const double coefficients[6])
{
    // Without WARP_INVERSE_MAP OpenCV treats the matrix as source -> destination.
    const cv::Matx23d forward(coefficients);
    cv::warpAffine(source, destination, forward, destination.size(), cv::INTER_LINEAR,
                   cv::BORDER_CONSTANT, cv::Scalar::all(0));
}

void AndRegion(const cv::Mat& sourceA, const cv::Rect& regionA, const cv::Mat& sourceB,
               cv::Mat& destination)
{
    const cv::Rect corner(0, 0, regionA.width, regionA.height);
    cv::Mat target = destination(corner);
    cv::bitwise_and(sourceA(regionA), sourceB(corner), target);
}

void ResizeBicubic(const cv::Mat& source, const cv::Rect& sourceRect, cv::Mat& destination,
                   const cv::Rect& destinationRect)
{
    cv::Mat target = destination(destinationRect);
    cv::resize(source(sourceRect), target, destinationRect.size(), 0, 0, cv::INTER_CUBIC);
}

void WarpBilinearQuad(const cv::Mat& source, cv::Mat& destination, const cv::Rect& destinationRect,
                      const double quad[4][2], int interpolation)
{
    const int width = destinationRect.width;
    const int height = destinationRect.height;
    if (width < 1 || height < 1)
        return;
    cv::Mat map(height, width, CV_32FC2);
    const double uSpan = width > 1 ? width - 1 : 1;
    const double vSpan = height > 1 ? height - 1 : 1;
    for (int v = 0; v < height; ++v) {
        const double t = v / vSpan;
        cv::Vec2f* row = map.ptr<cv::Vec2f>(v);
        for (int u = 0; u < width; ++u) {
            const double s = u / uSpan;
            const double w0 = (1 - s) * (1 - t);
            const double w1 = s * (1 - t);
            const double w2 = s * t;
            const double w3 = (1 - s) * t;
            row[u][0] = static_cast<float>(w0 * quad[0][0] + w1 * quad[1][0] + w2 * quad[2][0] +
                                           w3 * quad[3][0]);
            row[u][1] = static_cast<float>(w0 * quad[0][1] + w1 * quad[1][1] + w2 * quad[2][1] +
                                           w3 * quad[3][1]);
        }
    }
    cv::Mat target = destination(destinationRect);
    cv::remap(source, target, map, cv::noArray(),
              interpolation == 2 ? cv::INTER_CUBIC : cv::INTER_LINEAR, cv::BORDER_CONSTANT,
              cv::Scalar::all(0));
}

void SetImage(cv::Mat& image, int value)
{
    image.setTo(cv::Scalar::all(value));
}
