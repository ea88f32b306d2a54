#pragma once

#include <opencv2/core/mat.hpp>

// The image operations of the face warps, masks, resizes and close-ups, on 8-bit 3-channel
// images. Destinations are written in place: a destination of the right size and type is
// never reallocated.

// Every destination pixel (x', y') takes the source value, bilinearly interpolated, at the
// point (x, y) that the forward coefficients map onto it: x' = c[0] x + c[1] y + c[2],
// y' = c[3] x + c[4] y + c[5]. Points outside the source give black.
void WarpAffineForward(const cv::Mat& source, cv::Mat& destination, const double coefficients[6]);

// Bytewise AND of sourceA's region and sourceB, written to destination; sourceB and destination
// are used over the region's size from their top-left corners.
void AndRegion(const cv::Mat& sourceA, const cv::Rect& regionA, const cv::Mat& sourceB, cv::Mat& destination);

// The source rectangle scaled bicubically into the destination rectangle.
void ResizeBicubic(const cv::Mat& source, const cv::Rect& sourceRect, cv::Mat& destination,
                   const cv::Rect& destinationRect);

// Maps the source quadrangle onto the destination rectangle by a bilinear transform of its four
// corners: corner 0 to the centre of the rectangle's top-left pixel, 1 top-right, 2
// bottom-right, 3 bottom-left. interpolation: 1 bilinear, 2 bicubic. Points outside the source
// give black.
void WarpBilinearQuad(const cv::Mat& source, cv::Mat& destination, const cv::Rect& destinationRect,
                      const double quad[4][2], int interpolation);

// Every byte of the image set to value.
void SetImage(cv::Mat& image, int value);
