#pragma once

#include <opencv2/core/mat.hpp>

// An ellipse in the pixel coordinates of one image (x right, y down), with its inclusive
// bounding box. Describes the face: its size sets the model picture, its inside the mask.
struct FaceEllipse {
    // From a rectangle's two corners, in any order: the inscribed upright ellipse, whose box
    // is the ordered rectangle itself.
    FaceEllipse(int x1, int y1, int x2, int y2);
    // From centre, semi-axes and the rotation of its own x axis (radians, measured like the
    // image axes); the box is computed, truncated toward zero.
    FaceEllipse(double centreX, double centreY, double halfWidth, double halfHeight, double angle);

    // A new ellipse from this one's centre, semi-axes and angle (the box is recomputed).
    FaceEllipse Clone() const;

    // Outline (thickness > 0) or filled (thickness -1) into an 8-bit 3-channel image;
    // colour is 0xRRGGBB.
    void Draw(cv::Mat& image, int colour, int thickness) const;

    double centreX;
    double centreY;
    double halfWidth;
    double halfHeight;
    double angle;
    int left;
    int right;
    int top;
    int bottom;
};
