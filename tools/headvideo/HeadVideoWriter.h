#pragma once

#include "tools/headvideo/MotionScript.h"

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>

#include <string>

// Makes a head-motion video from a face photo: the photo is scaled so that the face is
// faceWidth pixels wide with its centre at the frame's anchor (the rest place), then every
// frame moves it as the script says. Edges are filled by repeating the photo's border pixels,
// so no second face appears. Written in an AVI file with the codec named by its FourCC (MJPG
// by default; H264 makes files a tenth of the size).
struct HeadVideoSettings {
    cv::Size frameSize{640, 480};
    double framesPerSecond = 25.0;
    double faceWidth = 160.0;
    cv::Point2d anchor{320.0, 210.0};
    std::string codec = "MJPG";
};

// The ground truth, one line per frame after a header line:
//   frame,segment,centre_x,centre_y,face_width,roll_degrees
// where centre is the face centre in the frame and roll is clockwise as seen in the video.
class HeadVideoWriter {
public:
    HeadVideoWriter(const cv::Mat& photo, const cv::Rect& face, HeadVideoSettings settings = {});

    // The frame showing the face in the given pose.
    cv::Mat Frame(const HeadPose& pose) const;
    // False with error set when a file cannot be written.
    bool Write(const MotionScript& script, const std::string& videoFile, const std::string& truthFile,
               std::string& error) const;

private:
    cv::Mat m_photo;
    cv::Point2d m_faceCentre;
    double m_baseScale;
    HeadVideoSettings m_settings;
};
