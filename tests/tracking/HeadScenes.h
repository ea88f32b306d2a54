#pragma once

#include "tools/headvideo/HeadVideoWriter.h"

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>

#include <string>
#include <vector>

// Test pictures for the head tracker: the astronaut portrait of the test data placed in
// 640 x 480 frames by the head-video writer, and a brick wall with no face.
namespace headscenes {

// The portrait (8-bit BGR); fails the test when missing.
const cv::Mat& Portrait();
// The face in the portrait, as the detector finds it on the full picture.
const cv::Rect& PortraitFace();
// Writes frames of the portrait with its face at the frame's rest place (320, 210), 160 pixels
// wide, 25 frames per second.
const HeadVideoWriter& Writer();
cv::Mat FaceFrame(const HeadPose& pose = {});
// A 640 x 480 brick wall.
cv::Mat WallFrame();
// Two copies of the portrait's face side by side, each about 150 pixels wide.
cv::Mat TwoFacesFrame();

// Writes frames to an MJPG AVI at 25 frames per second; fails the test if it cannot.
void WriteVideo(const std::string& file, const std::vector<cv::Mat>& frames);

} // namespace headscenes
