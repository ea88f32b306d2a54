#pragma once

#include <opencv2/core/mat.hpp>

#include <vector>

// Least number of counted pixels (bytes in the summed-channel mode) that makes a row or
// column mean valid.
inline constexpr int kMinProfilePixels = 2;

// The cost and error that mean "no comparison is possible".
inline constexpr double kNoComparison = 1e51;

// A run of float samples at absolute indices first..last (image rows or columns, or shifted
// positions). Owns its samples; re-indexing never copies them, and the in-place operations
// reuse the buffer, so a profile refilled every frame stops allocating once it has grown.
class IntensityProfile {
public:
    // One sample of value 0 at index 0.
    IntensityProfile();
    // Indices min(a, b)..max(a, b), all values 0.
    IntensityProfile(int a, int b);
    // The given samples starting at index first (at least one sample).
    IntensityProfile(int first, std::vector<float> values);

    // Mean of the channel-th byte (1..3) of each row (column) of the region, skipping bytes
    // equal to maskValue; channel 4 sums all three bytes and skips only pixels whose three
    // bytes all equal maskValue. The region is clamped to the image (any view offset of a
    // submatrix is ignored: coordinates are those of the Mat given). Rows (columns) with fewer
    // than kMinProfilePixels counted values repeat the previous valid one, and the profile is
    // cropped to the span from the first to the last valid one; with no valid one it is a
    // single 0 at the region's first index.
    static IntensityProfile RowProfile(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel,
                                       int maskValue);
    static IntensityProfile ColumnProfile(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel,
                                          int maskValue);
    // The same, refilling this profile in place.
    void ExtractRows(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel, int maskValue);
    void ExtractColumns(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel, int maskValue);

    int First() const { return m_first; }
    int Last() const { return m_last; }
    int Count() const { return m_count; }
    const float* Values() const { return m_values.data(); }
    float* Values() { return m_values.data(); }
    // Sample at an absolute index in First()..Last().
    float At(int index) const { return m_values[index - m_first]; }

    // Re-indexes without touching the values.
    void SetFirst(int first);
    // value = index * slope + value * gain + offset at every index.
    void ApplyLinear(double offset, double slope, double gain);
    // Replaces the samples by the source's, linearly interpolated at index * scale + shift.
    void ResampleFrom(const IntensityProfile& source, double scale, double shift);
    // Resamples this profile onto itself, then value = value * gain + index * slope + offset.
    void ResampleMapped(double scale, double shift, double offset, double slope, double gain);
    // Unbiased sample variance; both 0 for fewer than 3 samples.
    void MeanAndVariance(double& mean, double& variance) const;

    // Mean of (P - R)^2 / W over the overlap of P and R; kNoComparison without overlap.
    // weights has the index range of reference.
    static double WeightedError(const IntensityProfile& profile, const IntensityProfile& reference,
                                const IntensityProfile& weights);
    static double RootError(const IntensityProfile& profile, const IntensityProfile& reference,
                            const IntensityProfile& weights);
    // 1 when profile covers the whole reference, growing as the overlap shrinks;
    // kNoComparison for an overlap of fewer than 3 indices.
    static double OverlapPenalty(const IntensityProfile& profile, const IntensityProfile& reference);

private:
    void Extract(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel, int maskValue, bool rows);
    void Resample(const float* source, int sourceFirst, int sourceCount, double scale, double shift, double offset,
                  double slope, double gain);

    std::vector<float> m_values;
    int m_first = 0;
    int m_last = 0;
    int m_count = 1;
    // Working buffers: the self-resampling's copy, the column extraction's running sums.
    std::vector<float> m_scratch;
    std::vector<int> m_sums;
    std::vector<int> m_pixelCounts;
};
