#include "faceanalysis/ImageOperations.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>

namespace {

// Fixed-point bilinear weights: fractions of 1/2048, products of two of them.
constexpr int kFractionBits = 11;
constexpr int kFractionOne = 1 << kFractionBits;
constexpr int kWeightBits = 2 * kFractionBits;
constexpr int kHalf = 1 << (kWeightBits - 1);

// Bilinear sample of an 8-bit 3-channel image at (x, y); taps outside the image are black.
void SampleBilinear(const cv::Mat& source, double x, double y, unsigned char* out)
{
    const int x0 = static_cast<int>(std::floor(x));
    const int y0 = static_cast<int>(std::floor(y));
    const float fx = static_cast<float>(x - x0);
    const float fy = static_cast<float>(y - y0);
    const float weights[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    const int tapX[4] = {x0, x0 + 1, x0, x0 + 1};
    const int tapY[4] = {y0, y0, y0 + 1, y0 + 1};
    const bool inside = x0 >= 0 && y0 >= 0 && x0 + 1 < source.cols && y0 + 1 < source.rows;
    float sum[3] = {0, 0, 0};
    for (int t = 0; t < 4; ++t) {
        if (!inside && (tapX[t] < 0 || tapY[t] < 0 || tapX[t] >= source.cols || tapY[t] >= source.rows))
            continue;
        const unsigned char* pixel = source.ptr<unsigned char>(tapY[t]) + 3 * tapX[t];
        for (int c = 0; c < 3; ++c)
            sum[c] += weights[t] * pixel[c];
    }
    for (int c = 0; c < 3; ++c)
        out[c] = cv::saturate_cast<unsigned char>(sum[c]);
}

}  // namespace

// A direct loop rather than cv::warpAffine: that one allocates block buffers on every call,
// and this warp runs on every tracked frame.
void WarpAffineForward(const cv::Mat& source, cv::Mat& destination, const double coefficients[6])
{
    const double* c = coefficients;
    const double det = c[0] * c[4] - c[1] * c[3];
    if (det == 0 || !std::isfinite(det)) {
        destination.setTo(cv::Scalar::all(0));
        return;
    }
    // Destination -> source.
    const double a = c[4] / det;
    const double b = -c[1] / det;
    const double d = -c[3] / det;
    const double e = c[0] / det;
    const double tx = -(a * c[2] + b * c[5]);
    const double ty = -(d * c[2] + e * c[5]);
    const double width = source.cols;
    const double height = source.rows;
    const std::size_t step = source.step;
    for (int yd = 0; yd < destination.rows; ++yd) {
        unsigned char* out = destination.ptr<unsigned char>(yd);
        const double rowX = b * yd + tx;
        const double rowY = e * yd + ty;
        for (int xd = 0; xd < destination.cols; ++xd, out += 3) {
            const double x = a * xd + rowX;
            const double y = d * xd + rowY;
            if (x >= 0 && y >= 0 && x < width - 1 && y < height - 1) {
                // All four taps inside: the common case, in fixed point (1/2048 pixel).
                const int x0 = static_cast<int>(x);
                const int y0 = static_cast<int>(y);
                const int fx = static_cast<int>((x - x0) * kFractionOne);
                const int fy = static_cast<int>((y - y0) * kFractionOne);
                const int w00 = (kFractionOne - fx) * (kFractionOne - fy);
                const int w01 = fx * (kFractionOne - fy);
                const int w10 = (kFractionOne - fx) * fy;
                const int w11 = fx * fy;
                const unsigned char* top = source.data + y0 * step + 3 * x0;
                const unsigned char* bottom = top + step;
                for (int c = 0; c < 3; ++c)
                    out[c] = static_cast<unsigned char>(
                        (w00 * top[c] + w01 * top[c + 3] + w10 * bottom[c] + w11 * bottom[c + 3] + kHalf) >>
                        kWeightBits);
            } else if (x > -1 && y > -1 && x < width && y < height) {
                SampleBilinear(source, x, y, out);
            } else {
                out[0] = out[1] = out[2] = 0;
            }
        }
    }
}

void AndRegion(const cv::Mat& sourceA, const cv::Rect& regionA, const cv::Mat& sourceB, cv::Mat& destination)
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
            row[u][0] = static_cast<float>(w0 * quad[0][0] + w1 * quad[1][0] + w2 * quad[2][0] + w3 * quad[3][0]);
            row[u][1] = static_cast<float>(w0 * quad[0][1] + w1 * quad[1][1] + w2 * quad[2][1] + w3 * quad[3][1]);
        }
    }
    cv::Mat target = destination(destinationRect);
    cv::remap(source, target, map, cv::noArray(), interpolation == 2 ? cv::INTER_CUBIC : cv::INTER_LINEAR,
              cv::BORDER_CONSTANT, cv::Scalar::all(0));
}

void SetImage(cv::Mat& image, int value)
{
    image.setTo(cv::Scalar::all(value));
}
