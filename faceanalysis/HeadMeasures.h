#pragma once

#include <vector>

class CFaceModel;
class CTrackedFace;
class IntensityProfile;

// The yaw and pitch cues: the brightest column of the eye band between the two eye columns and
// the brightest row between the eye row and the mouth row, recorded from the face model and
// compared every frame with the tracked face's aligned profiles.
class HeadMeasures {
public:
    HeadMeasures();

    // Records the column and row peaks of the model's reference profiles.
    void Calibrate(const CFaceModel& model);
    // How many model columns the brightest column between the eyes has moved (positive to the
    // left); 0 when the eye band is entirely black.
    int MeasureYaw(const CTrackedFace& face, const CFaceModel& model);
    // How many grey levels (red channel) darker the calibrated brightest row has become.
    int MeasurePitch(const CTrackedFace& face, const CFaceModel& model);
    // Tracking was reset; the calibration stays.
    void Reset();

    // The same on the profiles themselves: eyeColumns indexed by model column, rows by model
    // row; the peaks are sought in leftEyeColumn..rightEyeColumn - 1 and eyeRow..mouthRow - 1.
    void Calibrate(const IntensityProfile& eyeColumns, int leftEyeColumn, int rightEyeColumn,
                   const IntensityProfile& rows, int eyeRow, int mouthRow);
    int MeasureYaw(const IntensityProfile& eyeColumns, int leftEyeColumn, int rightEyeColumn);
    int MeasurePitch(const IntensityProfile& rows, int eyeRow, int mouthRow);

    // Column peak counted from the left eye column, row peak counted from the eye row.
    int ReferenceColumn() const { return m_referenceColumn; }
    float ReferenceColumnValue() const { return m_referenceColumnValue; }
    int ReferenceRow() const { return m_referenceRow; }
    float ReferenceRowValue() const { return m_referenceRowValue; }

private:
    // Smoothed eye-band columns of the last calibration (sized to the face; no fixed limit).
    std::vector<float> m_smoothed;
    int m_referenceColumn = 0;
    float m_referenceColumnValue = 0.0f;
    int m_referenceRow = 0;
    float m_referenceRowValue = 0.0f;
    // Working buffer of the per-frame measures.
    std::vector<float> m_working;
};
