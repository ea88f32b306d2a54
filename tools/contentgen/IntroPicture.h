#pragma once

#include "tools/contentgen/ContentMesh.h"

#include <opencv2/core.hpp>
#include <string>
#include <vector>

// The title picture shown before the walk: the church in the mist, seen from its forecourt,
// with "Brumaria" above and "Pulsa Intro para empezar" below. 1024 x 768 (4:3, the shape of
// the view it fills). `placed` holds every placed model in world coordinates; `fontFile` is
// the serif face of the titles. Returns an empty picture when the font cannot be read.
cv::Mat MakeIntroPicture(const std::vector<ContentMesh>& placed, const std::string& fontFile);

// Liberation Serif Bold, the metric twin of the Times New Roman face the program writes in.
extern const char* const kTitleFontFile;
