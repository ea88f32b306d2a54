#pragma once

#include "faceanalysis/FaceEllipse.h"
#include "faceanalysis/IntensityProfile.h"

#include <opencv2/core/mat.hpp>

#include <optional>

// Snapshot of a detected face: the face cut out along its ellipse and turned so that the eye
// line is horizontal (the model picture), the eyes and the mouth placed in it, and the
// reference profiles that later frames are aligned against. Built once, then only read.
class CFaceModel {
public:
    CFaceModel();
    virtual ~CFaceModel();
    CFaceModel(const CFaceModel&) = delete;
    CFaceModel& operator=(const CFaceModel&) = delete;

    // frame: 8-bit BGR, top-left origin; the points in frame pixels; faceEllipse in frame
    // coordinates (kept by the caller). Calling it again rebuilds everything in place.
    virtual void Analyse(const cv::Mat& frame, int leftEyeX, int leftEyeY, int rightEyeX, int rightEyeY, int mouthX,
                         int mouthY, const FaceEllipse& faceEllipse);

    // Model picture extent: xMin = yMin = 0, xMax = Width() - 1, yMax = Height() - 1.
    int XMin() const { return m_xMin; }
    int XMax() const { return m_xMax; }
    int YMin() const { return m_yMin; }
    int YMax() const { return m_yMax; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int FeatureCount() const { return m_featureCount; }
    // Model-picture coordinates of the left eye (slot 0), the right eye (1) and the mouth (2).
    int FeatureX(int slot) const { return m_featureX[slot]; }
    int FeatureY(int slot) const { return m_featureY[slot]; }
    // Absent until Analyse.
    const std::optional<FaceEllipse>& ModelEllipse() const { return m_modelEllipse; }

    int EyeBandTop() const { return m_eyeBandTop; }
    int EyeBandBottom() const { return m_eyeBandBottom; }
    int EyeRow() const { return m_eyeRow; }
    int MouthBandTop() const { return m_mouthBandTop; }
    int MouthBandBottom() const { return m_mouthBandBottom; }
    int MouthRow() const { return m_mouthRow; }
    int LeftEyeFrom() const { return m_leftEyeFrom; }
    int LeftEyeTo() const { return m_leftEyeTo; }
    int LeftEyeColumn() const { return m_leftEyeColumn; }
    int RightEyeFrom() const { return m_rightEyeFrom; }
    int RightEyeTo() const { return m_rightEyeTo; }
    int RightEyeColumn() const { return m_rightEyeColumn; }
    int MouthFrom() const { return m_mouthFrom; }
    int MouthTo() const { return m_mouthTo; }
    int MouthColumn() const { return m_mouthColumn; }
    int EyeRefineTop() const { return m_eyeRefineTop; }
    int EyeRefineBottom() const { return m_eyeRefineBottom; }

    const IntensityProfile& RowReference() const { return m_rowReference; }
    const IntensityProfile& RowWeights() const { return m_rowWeights; }
    const IntensityProfile& EyeColumnReference() const { return m_eyeColumnReference; }
    const IntensityProfile& EyeColumnWeights() const { return m_eyeColumnWeights; }
    const IntensityProfile& MouthColumnReference() const { return m_mouthColumnReference; }
    const IntensityProfile& MouthColumnWeights() const { return m_mouthColumnWeights; }
    const IntensityProfile& LeftEyeRowReference() const { return m_leftEyeRowReference; }
    const IntensityProfile& RightEyeRowReference() const { return m_rightEyeRowReference; }
    const IntensityProfile& LeftEyeRowWeights() const { return m_leftEyeRowWeights; }
    const IntensityProfile& RightEyeRowWeights() const { return m_rightEyeRowWeights; }

    // The normalised face, black outside the ellipse (model size; empty before Analyse).
    const cv::Mat& FaceImage() const { return m_faceImage; }
    // The frame warped into model coordinates.
    const cv::Mat& WarpImage() const { return m_warpImage; }
    // White filled model ellipse on black.
    const cv::Mat& MaskImage() const { return m_maskImage; }
    // Affine map frame -> model picture, row by row (N00 N01 N02 N10 N11 N12).
    const double* Normalise() const { return m_normalise; }

private:
    void NormaliseFace(const cv::Mat& frame, int dx, int dy, const FaceEllipse& faceEllipse);
    void PlaceFeatures(int leftEyeX, int leftEyeY, int rightEyeX, int rightEyeY, int mouthX, int mouthY);
    void BuildReferences();

    std::optional<FaceEllipse> m_modelEllipse;
    int m_xMin = 0;
    int m_xMax = 0;
    int m_yMin = 0;
    int m_yMax = 0;
    int m_width = 0;
    int m_height = 0;
    int m_featureCount = 3;
    // Slots 1..3 first receive the frame points, slots 0..2 then the model points.
    int m_featureX[4] = {};
    int m_featureY[4] = {};
    IntensityProfile m_rowReference;
    IntensityProfile m_rowWeights;
    int m_eyeBandTop = 0;
    int m_eyeBandBottom = 0;
    int m_eyeRow = 0;
    int m_mouthBandTop = 0;
    int m_mouthBandBottom = 0;
    int m_mouthRow = 0;
    IntensityProfile m_eyeColumnReference;
    IntensityProfile m_eyeColumnWeights;
    IntensityProfile m_mouthColumnReference;
    IntensityProfile m_mouthColumnWeights;
    int m_leftEyeFrom = 0;
    int m_leftEyeTo = 0;
    int m_leftEyeColumn = 0;
    int m_rightEyeFrom = 0;
    int m_rightEyeTo = 0;
    int m_rightEyeColumn = 0;
    int m_mouthFrom = 0;
    int m_mouthTo = 0;
    int m_mouthColumn = 0;
    int m_eyeRefineTop = 0;
    int m_eyeRefineBottom = 0;
    IntensityProfile m_leftEyeRowReference;
    IntensityProfile m_rightEyeRowReference;
    IntensityProfile m_leftEyeRowWeights;
    IntensityProfile m_rightEyeRowWeights;
    cv::Mat m_faceImage;
    cv::Mat m_warpImage;
    cv::Mat m_maskImage;
    double m_normalise[6] = {};
};
