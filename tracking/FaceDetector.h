#pragma once

#include <opencv2/core/mat.hpp>
#include <opencv2/core/types.hpp>
#include <opencv2/objdetect.hpp>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// Finds frontal faces with OpenCV's Haar cascade "haarcascade_frontalface_default.xml".
// Normal mode searches a Gaussian half-size copy of the frame with a coarse scale step;
// precise mode the full frame with a fine one.
class FaceDetector {
public:
    static constexpr const char* kDefaultCascadeFile =
        "/usr/share/opencv4/haarcascades/haarcascade_frontalface_default.xml";
    // Names another cascade file to use instead.
    static constexpr const char* kCascadeVariable = "BRUMARIA_FACE_CASCADE";

    // The cascade file looked for: the variable's value, or the default.
    static std::string CascadeFile();

    // With the cascade file CascadeFile() names when the cascade is first needed.
    FaceDetector() = default;
    // With the given cascade file.
    explicit FaceDetector(std::string cascadeFile) : m_cascadeFile(std::move(cascadeFile)) {}
    // Full-frame pixels per pixel of the rectangles found in the given mode.
    static int Scale(bool precise) { return precise ? 1 : 2; }

    // Loads the cascade at the first call. A file that cannot be loaded is reported once to the
    // player (detection then never finds a face, and the keys keep steering).
    bool Ready();
    // Faces in frame (8-bit BGR, top row first), as rectangles in the pixels of the image
    // searched: Scale(precise) times smaller than the frame's; the face the detector is surest
    // of first. Empty when the cascade is not ready. The result is reused by the next call, so
    // results never pile up.
    const std::vector<cv::Rect>& Detect(const cv::Mat& frame, bool precise);

private:
    enum class Cascade { NotLoaded, Loaded, Missing };

    // A rectangle with its number of neighbouring detections.
    using Ranked = std::pair<int, cv::Rect>;

    bool Load(const std::string& file);
    void SortSurestFirst();

    std::optional<std::string> m_cascadeFile;
    cv::CascadeClassifier m_classifier;
    Cascade m_cascade = Cascade::NotLoaded;
    cv::Mat m_halfSize;
    std::vector<cv::Rect> m_faces;
    std::vector<int> m_neighbours;
    std::vector<Ranked> m_ranked;
};
