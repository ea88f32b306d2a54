#include "tools/headvideo/HeadVideoWriter.h"

#include <opencv2/imgproc.hpp>
#include <opencv2/videoio.hpp>

#include <cstdio>
#include <memory>

HeadVideoWriter::HeadVideoWriter(const cv::Mat& photo, const cv::Rect& face, HeadVideoSettings settings)
    : m_photo(photo), m_faceCentre(face.x + face.width / 2.0, face.y + face.height / 2.0),
      m_baseScale(settings.faceWidth / face.width), m_settings(settings)
{
}

cv::Mat HeadVideoWriter::Frame(const HeadPose& pose) const
{
    // Photo -> frame: scale and roll about the face centre, which lands on the anchor plus the
    // shift. getRotationMatrix2D turns anticlockwise on screen for positive angles.
    cv::Matx23d map = cv::getRotationMatrix2D(m_faceCentre, -pose.rollDegrees, m_baseScale * pose.scale);
    map(0, 2) += m_settings.anchor.x + pose.shiftX - m_faceCentre.x;
    map(1, 2) += m_settings.anchor.y + pose.shiftY - m_faceCentre.y;
    cv::Mat frame;
    cv::warpAffine(m_photo, frame, map, m_settings.frameSize, cv::INTER_LINEAR, cv::BORDER_REPLICATE);
    return frame;
}

bool HeadVideoWriter::Write(const MotionScript& script, const std::string& videoFile, const std::string& truthFile,
                            std::string& error) const
{
    const std::string& codec = m_settings.codec;
    if (codec.size() != 4) {
        error = "a codec is named by four characters, not \"" + codec + "\"";
        return false;
    }
    cv::VideoWriter video(videoFile, cv::VideoWriter::fourcc(codec[0], codec[1], codec[2], codec[3]),
                          m_settings.framesPerSecond, m_settings.frameSize);
    if (!video.isOpened()) {
        error = "cannot write " + videoFile + " with the codec " + codec;
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> truth(std::fopen(truthFile.c_str(), "w"), std::fclose);
    if (!truth) {
        error = "cannot write " + truthFile;
        return false;
    }
    std::fprintf(truth.get(), "frame,segment,centre_x,centre_y,face_width,roll_degrees\n");
    for (int frame = 0; frame < script.Frames(); ++frame) {
        const HeadPose pose = script.PoseAt(frame);
        video.write(Frame(pose));
        std::fprintf(truth.get(), "%d,%s,%.2f,%.2f,%.2f,%.2f\n", frame,
                     script.Segments()[script.SegmentAt(frame)].name.c_str(), m_settings.anchor.x + pose.shiftX,
                     m_settings.anchor.y + pose.shiftY, m_settings.faceWidth * pose.scale, pose.rollDegrees);
    }
    if (std::fflush(truth.get()) != 0) {
        error = "cannot write " + truthFile;
        return false;
    }
    return true;
}
