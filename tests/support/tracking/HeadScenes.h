#pragma once

#include "tools/headvideo/HeadVideoWriter.h"

#include <opencv2/core/mat.hpp>

#include <string>
#include <vector>

// 640 x 480 test pictures for the head tracker: the test data's astronaut portrait, and a wall.
namespace headscenes {

// Writes frames of the portrait with its face 160 pixels wide at the frame's rest place
// (320, 210), 25 frames per second.
const HeadVideoWriter& Writer();
cv::Mat FaceFrame(const HeadPose& pose = {});
cv::Mat WallFrame();
// Two copies of the portrait's face side by side, each about 150 pixels wide.
cv::Mat TwoFacesFrame();
// Writes frames to an AVI at 25 frames per second, MJPG for colour frames and Y800 for grey-scale
// ones; fails the test if it cannot.
void WriteVideo(const std::string& file, const std::vector<cv::Mat>& frames);

}  // namespace headscenes
