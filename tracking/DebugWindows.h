#pragma once

#include <opencv2/core/mat.hpp>

#include <string>

// The tracker's diagnostic windows beside the 3D view ("Imagen", "Frame", "Frame B",
// "Parámetros"), named by their titles. Creating a window that exists, or destroying one that
// does not, does nothing; showing an image in a window the player closed opens it again.
class DebugWindows {
public:
    virtual ~DebugWindows() = default;
    // A window that takes the size of the images shown in it.
    virtual void Create(const std::string& name) = 0;
    virtual void Destroy(const std::string& name) = 0;
    // Shows the image as it is now; the caller may change or free it afterwards.
    virtual void Show(const std::string& name, const cv::Mat& image) = 0;
};
