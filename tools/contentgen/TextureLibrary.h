#pragma once

#include "tools/contentgen/Surface.h"

#include <opencv2/core.hpp>

// The procedural textures of the churchyard: every one tiles seamlessly in both directions
// (the sky only around the horizon), has power-of-two sides and is the same bit for bit on
// every run (fixed seeds, integer hashing, no C-library transcendental functions).
cv::Mat MakeSurfaceTexture(Surface surface);

// The texture darkened to a shade level of SunShading.
cv::Mat ShadeTexture(const cv::Mat& texture, int level);
