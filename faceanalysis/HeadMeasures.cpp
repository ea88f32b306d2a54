#include "faceanalysis/HeadMeasures.h"

#include "faceanalysis/CFaceModel.h"
#include "faceanalysis/CTrackedFace.h"
#include "faceanalysis/IntensityProfile.h"

#include <algorithm>

namespace {

// A peak must beat the smallest normal float.
constexpr float kNoPeak = 1.1754944e-38f;

// Typical span between the eye columns, or the eye and mouth rows, of a face model.
constexpr std::size_t kTypicalSpan = 200;

// Smooths the samples at relative indices from..to-1 of profile into smoothed. Neighbours
// beyond the profile's ends repeat its end samples (a face cut by the frame border).
void Smooth(const IntensityProfile& profile, int from, int to, std::vector<float>& smoothed)
{
    smoothed.resize(std::max(to - from, 0));
    const float* v = profile.Values();
    const int last = profile.Count() - 1;
    const auto at = [v, last](int i) { return v[std::clamp(i, 0, last)]; };
    for (int i = from; i < to; ++i)
        smoothed[i - from] = 0.1f * (at(i - 2) + 2 * at(i - 1) + 4.0f * at(i) + 2 * at(i + 1) + at(i + 2));
}

// Index of the first strictly greatest sample above kNoPeak, or -1.
int FindPeak(const std::vector<float>& smoothed, float& peak)
{
    peak = kNoPeak;
    int index = -1;
    for (std::size_t k = 0; k < smoothed.size(); ++k) {
        if (smoothed[k] > peak) {
            peak = smoothed[k];
            index = static_cast<int>(k);
        }
    }
    return index;
}

}  // namespace

HeadMeasures::HeadMeasures()
{
    m_smoothed.reserve(kTypicalSpan);
    m_working.reserve(kTypicalSpan);
}

void HeadMeasures::Calibrate(const CFaceModel& model)
{
    Calibrate(model.EyeColumnReference(), model.LeftEyeColumn(), model.RightEyeColumn(), model.RowReference(),
              model.EyeRow(), model.MouthRow());
}

int HeadMeasures::MeasureYaw(const CTrackedFace& face, const CFaceModel& model)
{
    return MeasureYaw(face.EyeColumnProfile(), model.LeftEyeColumn(), model.RightEyeColumn());
}

int HeadMeasures::MeasurePitch(const CTrackedFace& face, const CFaceModel& model)
{
    return MeasurePitch(face.RowProfile(), model.EyeRow(), model.MouthRow());
}

void HeadMeasures::Calibrate(const IntensityProfile& eyeColumns, int leftEyeColumn, int rightEyeColumn,
                             const IntensityProfile& rows, int eyeRow, int mouthRow)
{
    Smooth(eyeColumns, leftEyeColumn - eyeColumns.First(), rightEyeColumn - eyeColumns.First(), m_smoothed);
    m_referenceColumn = std::max(FindPeak(m_smoothed, m_referenceColumnValue), 0);

    Smooth(rows, eyeRow - rows.First(), mouthRow - rows.First(), m_working);
    m_referenceRow = std::max(FindPeak(m_working, m_referenceRowValue), 0);
}

int HeadMeasures::MeasureYaw(const IntensityProfile& eyeColumns, int leftEyeColumn, int rightEyeColumn)
{
    Smooth(eyeColumns, leftEyeColumn - eyeColumns.First(), rightEyeColumn - eyeColumns.First(), m_working);
    float peak = 0.0f;
    const int k = FindPeak(m_working, peak);
    if (k < 0)
        return 0;
    return m_referenceColumn - k;
}

int HeadMeasures::MeasurePitch(const IntensityProfile& rows, int eyeRow, int mouthRow)
{
    Smooth(rows, eyeRow - rows.First(), mouthRow - rows.First(), m_working);
    if (m_referenceRow >= static_cast<int>(m_working.size()))
        return 0;
    return static_cast<int>(m_referenceRowValue - m_working[m_referenceRow]);
}

void HeadMeasures::Reset() {}
