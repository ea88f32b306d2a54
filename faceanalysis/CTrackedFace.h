#pragma once

#include "faceanalysis/FaceEllipse.h"
#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/ProfileAlignment.h"

#include <opencv2/core/mat.hpp>

#include <string>

class CFaceModel;
class MotionSampleSink;

// Follows one detected face from frame to frame: warps each frame onto the picture of its face
// model, aligns the row profile (heights of eyes and mouth) and the eye-band column profile
// (their horizontal positions) with the model's, refines each eye's height and maps the points
// back into the frame. Between updates it holds the last good positions in frame pixels.
class CTrackedFace {
public:
    // The detector's starting points (frame pixels) and face ellipse (cloned).
    CTrackedFace(int leftEyeX, int leftEyeY, int rightEyeX, int rightEyeY, int mouthX, int mouthY,
                 const FaceEllipse& ellipse);
    virtual ~CTrackedFace();
    CTrackedFace(const CTrackedFace&) = delete;
    CTrackedFace& operator=(const CTrackedFace&) = delete;

    // The model this face is tracked against (not owned; must outlive this face's use).
    void SetFaceModel(const CFaceModel* model) { m_faceModel = model; }
    const CFaceModel* FaceModel() const { return m_faceModel; }

    // One frame (8-bit BGR, top-left origin). True when the face was followed: the points
    // and the ellipse move and the points go to motion.AddSample. False when an alignment
    // cost exceeds tolerance (or the geometry is degenerate): the points stay exactly as they
    // were and cost tells why (twice the row cost, or row plus column cost).
    // No allocation after the first frame of a model size.
    bool Update(MotionSampleSink& motion, const cv::Mat& frame, double& cost, double tolerance);

    double LeftEyeX() const { return m_leftEyeX; }
    double LeftEyeY() const { return m_leftEyeY; }
    double RightEyeX() const { return m_rightEyeX; }
    double RightEyeY() const { return m_rightEyeY; }
    double MouthX() const { return m_mouthX; }
    double MouthY() const { return m_mouthY; }
    const FaceEllipse& Ellipse() const { return m_ellipse; }
    double RangeFactor() const { return m_rangeFactor; }
    // Angle of the eye line in model-picture coordinates after the last refinement (radians).
    double Roll() const { return m_roll; }

    // The last alignments of the face's row profile and of the eye band's column profile
    // (identities until the first update).
    const ProfileFit& RowFit() const { return m_rowFit; }
    const ProfileFit& ColumnFit() const { return m_columnFit; }

    // The frame warped into model geometry, and that AND the model's mask (empty before the
    // first update).
    const cv::Mat& WarpImage() const { return m_warpImage; }
    const cv::Mat& FaceImage() const { return m_faceImage; }

    // Current profiles: rows of the face and columns of the eye band aligned to the model,
    // columns of the mouth band as measured, rows of each eye's column band.
    const IntensityProfile& RowProfile() const { return m_rowProfile; }
    const IntensityProfile& EyeColumnProfile() const { return m_eyeColumnProfile; }
    const IntensityProfile& MouthColumnProfile() const { return m_mouthColumnProfile; }
    const IntensityProfile& LeftEyeRowProfile() const { return m_leftEyeRowProfile; }
    const IntensityProfile& RightEyeRowProfile() const { return m_rightEyeRowProfile; }
    const float* RowProfileData(int& first, int& count) const;
    const float* EyeColumnProfileData(int& first, int& count) const;

    // Frame rectangle and zoom of the annotated view (zoom 0 until it is first drawn).
    int ViewCropX() const { return m_viewCropX; }
    int ViewCropY() const { return m_viewCropY; }
    int ViewCropWidth() const { return m_viewCropWidth; }
    int ViewCropHeight() const { return m_viewCropHeight; }
    double ViewZoomX() const { return m_viewZoomX; }
    double ViewZoomY() const { return m_viewZoomY; }

    // Marks of the eyes and the mouth and the face ellipse, in frame coordinates of image;
    // colours 0xRRGGBB: each stroke is drawn wide in outerColour, then thin in innerColour.
    void DrawFeatures(cv::Mat& image, int thickness, int innerColour, int outerColour, bool drawMarks,
                      bool drawEllipse) const;
    // The annotated view: close-ups of the eyes and the mouth, the face crop with its marks,
    // caption, frame number and value. view must be 400 x 280 (else untouched). The face crop
    // is fixed at the first drawing, or again when refresh is true.
    void DrawAnalysisView(const cv::Mat& frame, cv::Mat& view, const std::string& caption, int frameNumber,
                          double value, bool refresh);
    // The profile view: the masked face and the model's and current profiles. view must be
    // 400 x 370 (else untouched).
    void DrawProfileView(cv::Mat& view) const;

private:
    // Sets the two affine maps of this frame: m_toModel takes frame pixels to the warped image
    // (rotated so that the eye line (ex, ey) is level, scaled so that the eye mid-point to mouth
    // distance dm becomes the model's, the eye mid-point on the model's, plus the border), and
    // m_toFrame takes model-picture coordinates (no border) back to frame pixels. Then warps the
    // frame into m_warpImage and masks it into m_faceImage. False when no finite scale exists.
    bool Warp(const cv::Mat& frame, double ex, double ey, double dm);
    double AlignRows();
    double AlignColumns();
    void RefineEyes(int n);
    void MapBack();

    double m_leftEyeX;
    double m_leftEyeY;
    double m_rightEyeX;
    double m_rightEyeY;
    double m_mouthX;
    double m_mouthY;
    FaceEllipse m_ellipse;
    int m_warpWidth = 0;
    int m_warpHeight = 0;
    double m_rangeFactor = 0.25;
    int m_borderX = 0;
    int m_borderY = 0;
    // 2x3 affine matrices, row by row, applied to column vectors (x, y, 1) (see Warp).
    double m_toModel[6] = {};
    double m_toFrame[6] = {};
    cv::Mat m_warpImage;
    cv::Mat m_faceImage;
    double m_roll = 0.0;
    ProfileFit m_rowFit;
    ProfileFit m_columnFit;
    IntensityProfile m_leftEyeRowProfile;
    IntensityProfile m_rightEyeRowProfile;
    int m_viewCropX = 0;
    int m_viewCropY = 0;
    int m_viewCropWidth = 0;
    int m_viewCropHeight = 0;
    double m_viewZoomX = 0.0;
    double m_viewZoomY = 0.0;
    IntensityProfile m_rowProfile;
    IntensityProfile m_eyeColumnProfile;
    IntensityProfile m_mouthColumnProfile;
    const CFaceModel* m_faceModel = nullptr;
    // Freshly extracted profiles before alignment (corrected in place by it).
    IntensityProfile m_rowMeasured;
    IntensityProfile m_eyeColumnMeasured;
};
