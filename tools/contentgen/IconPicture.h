#pragma once

#include "tools/contentgen/ContentMesh.h"

#include <opencv2/core.hpp>
#include <vector>

// The program's icon: the church and its tower against the sky, as the title picture shows
// them, on a rounded square. `placed` holds every placed model in world coordinates.
class IconPicture {
public:
    explicit IconPicture(const std::vector<ContentMesh>& placed);

    // The icon `size` pixels square, 8-bit BGRA, transparent outside the rounded square.
    cv::Mat Picture(int size) const;

    // The sizes a desktop's icon theme asks for.
    static const std::vector<int>& Sizes();

private:
    cv::Mat m_scene;  // 8-bit BGR, square
};
