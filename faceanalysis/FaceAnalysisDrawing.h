#pragma once

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>

#include <string>

class IntensityProfile;

// Colour of the drawing calls, 0xRRGGBB, as the B, G, R scalar of an 8-bit BGR image.
cv::Scalar PackedColour(int colour);

// Plots profile into image (typically a pane: a submatrix of a view) over the index window
// lo..hi. Horizontal: index to the right, value downwards (270 grey levels span the height);
// vertical: index downwards, value to the right. clear paints the pane white first; a
// markerRadius other than 0 adds a circle at every sample.
void PlotProfile(const IntensityProfile& profile, int lo, int hi, cv::Mat& image, bool vertical, bool clear,
                 int thickness, int colour, int markerRadius, int markerColour);

// The 400 x 370 picture behind the profile view: a grey frame around the four panes with the
// captions INPUT IMAGE, P(y), Pr1(x), Pr2(x). Built at first use and kept.
const cv::Mat& ProfileViewBackground();

// Texts of the annotated view: "Frame:" with the number padded to three digits, "Dist:" with
// the value printed as a float with six decimals.
std::string FrameLabel(int frameNumber);
std::string DistanceLabel(double value);
