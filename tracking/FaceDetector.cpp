#include "tracking/FaceDetector.h"

#include "platform/MessageBox.h"

#include <opencv2/core/utils/logger.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string FaceDetector::CascadeFile()
{
    const char* chosen = std::getenv(kCascadeVariable);
    return chosen != nullptr && *chosen != '\0' ? chosen : kDefaultCascadeFile;
}

bool FaceDetector::Load(const std::string& file)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error))
        return false;
    // A file that is not a cascade is answered by the result alone, without OpenCV's error log.
    const cv::utils::logging::LogLevel level = cv::utils::logging::setLogLevel(cv::utils::logging::LOG_LEVEL_SILENT);
    bool loaded = false;
    try {
        loaded = m_classifier.load(file);
    } catch (const cv::Exception&) {
        loaded = false;
    }
    cv::utils::logging::setLogLevel(level);
    return loaded;
}

bool FaceDetector::Ready()
{
    if (m_cascade == Cascade::NotLoaded) {
        const std::string file = m_cascadeFile.value_or(CascadeFile());
        if (Load(file)) {
            m_cascade = Cascade::Loaded;
        } else {
            m_cascade = Cascade::Missing;
            ShowMessageBox(kApplicationTitle,
                           "No se puede cargar el detector de caras:\n" + file +
                               "\n\nSin él la cabeza no puede guiar la cámara; se sigue con las "
                               "teclas.\nInstale el paquete opencv-data o indique el fichero en "
                               "la variable " +
                               kCascadeVariable + ".");
        }
    }
    return m_cascade == Cascade::Loaded;
}

const std::vector<cv::Rect>& FaceDetector::Detect(const cv::Mat& frame, bool precise)
{
    m_faces.clear();
    if (!Ready())
        return m_faces;
    if (precise) {
        m_classifier.detectMultiScale(frame, m_faces, m_neighbours, 1.1, 2, 0);
    } else {
        cv::pyrDown(frame, m_halfSize, cv::Size(frame.cols / 2, frame.rows / 2));
        // Cascades in OpenCV 4's format accept the Canny pruning flag and ignore it (only the
        // old format used it); it is passed to keep the normal mode's parameters complete.
        m_classifier.detectMultiScale(m_halfSize, m_faces, m_neighbours, 1.2, 2, cv::CASCADE_DO_CANNY_PRUNING);
    }
    SortSurestFirst();
    return m_faces;
}

void FaceDetector::SortSurestFirst()
{
    // The detector's own order varies from run to run (it searches in parallel), and a
    // stray rectangle can come before the face; the face with the most neighbouring
    // detections is the one to follow. Ties keep a fixed order: larger, then upper, then left.
    m_ranked.clear();
    for (std::size_t i = 0; i < m_faces.size(); ++i)
        m_ranked.push_back({m_neighbours[i], m_faces[i]});
    std::sort(m_ranked.begin(), m_ranked.end(), [](const Ranked& a, const Ranked& b) {
        if (a.first != b.first)
            return a.first > b.first;
        if (a.second.area() != b.second.area())
            return a.second.area() > b.second.area();
        if (a.second.y != b.second.y)
            return a.second.y < b.second.y;
        return a.second.x < b.second.x;
    });
    for (std::size_t i = 0; i < m_ranked.size(); ++i)
        m_faces[i] = m_ranked[i].second;
}
