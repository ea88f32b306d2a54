#include "faceanalysis/IntensityProfile.h"

#include "faceanalysis/TruncateTowardZero.h"

#include <algorithm>
#include <cmath>
#include <utility>

IntensityProfile::IntensityProfile() : m_values(1, 0.0f) {}

IntensityProfile::IntensityProfile(int a, int b)
    : m_first(std::min(a, b)), m_last(std::max(a, b)), m_count(m_last - m_first + 1)
{
    m_values.assign(m_count, 0.0f);
}

IntensityProfile::IntensityProfile(int first, std::vector<float> values) : m_values(std::move(values)), m_first(first)
{
    if (m_values.empty())
        m_values.push_back(0.0f);
    m_count = static_cast<int>(m_values.size());
    m_last = m_first + m_count - 1;
}

IntensityProfile IntensityProfile::RowProfile(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel,
                                              int maskValue)
{
    IntensityProfile profile;
    profile.ExtractRows(image, xa, xb, ya, yb, channel, maskValue);
    return profile;
}

IntensityProfile IntensityProfile::ColumnProfile(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel,
                                                 int maskValue)
{
    IntensityProfile profile;
    profile.ExtractColumns(image, xa, xb, ya, yb, channel, maskValue);
    return profile;
}

void IntensityProfile::ExtractRows(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel, int maskValue)
{
    Extract(image, xa, xb, ya, yb, channel, maskValue, true);
}

void IntensityProfile::ExtractColumns(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel, int maskValue)
{
    Extract(image, xa, xb, ya, yb, channel, maskValue, false);
}

void IntensityProfile::Extract(const cv::Mat& image, int xa, int xb, int ya, int yb, int channel, int maskValue,
                               bool rows)
{
    const int x0 = std::max(std::min(xa, xb), 0);
    const int x1 = std::min(std::max(xa, xb), image.cols - 1);
    const int y0 = std::max(std::min(ya, yb), 0);
    const int y1 = std::min(std::max(ya, yb), image.rows - 1);
    const int sampleFirst = rows ? y0 : x0;
    const int samples = rows ? y1 - y0 + 1 : x1 - x0 + 1;
    if (samples < 1 || x0 > x1 || y0 > y1 || image.type() != CV_8UC3 || channel < 1 || channel > 4) {
        m_values.assign(1, 0.0f);
        m_first = m_last = sampleFirst;
        m_count = 1;
        return;
    }

    m_sums.assign(samples, 0);
    m_pixelCounts.assign(samples, 0);
    const bool allChannels = channel == 4;
    const int byteOffset = allChannels ? 0 : channel - 1;
    for (int y = y0; y <= y1; ++y) {
        const unsigned char* pixel = image.ptr<unsigned char>(y) + x0 * 3;
        int* sum = rows ? &m_sums[y - y0] : m_sums.data();
        int* counted = rows ? &m_pixelCounts[y - y0] : m_pixelCounts.data();
        const int step = rows ? 0 : 1;
        for (int x = x0; x <= x1; ++x, pixel += 3, sum += step, counted += step) {
            if (allChannels) {
                if (pixel[0] != maskValue || pixel[1] != maskValue || pixel[2] != maskValue) {
                    *sum += pixel[0] + pixel[1] + pixel[2];
                    *counted += 3;
                }
            } else if (pixel[byteOffset] != maskValue) {
                *sum += pixel[byteOffset];
                *counted += 1;
            }
        }
    }

    m_values.resize(samples);
    int leading = 0;
    int lastValid = -1;
    for (int k = 0; k < samples; ++k) {
        if (m_pixelCounts[k] >= kMinProfilePixels) {
            m_values[k] = static_cast<float>(m_sums[k]) / static_cast<float>(m_pixelCounts[k]);
            lastValid = k;
        } else if (lastValid >= 0) {
            m_values[k] = m_values[k - 1];
        } else {
            m_values[k] = 0.0f;
            ++leading;
        }
    }
    m_first = sampleFirst;
    if (lastValid < 0) {
        m_values.resize(1);
        m_values[0] = 0.0f;
        m_count = 1;
        m_last = m_first;
        return;
    }
    m_count = samples;
    if (leading > 0 || lastValid != samples - 1) {
        m_first += leading;
        m_count = lastValid - leading + 1;
        std::copy(m_values.begin() + leading, m_values.begin() + lastValid + 1, m_values.begin());
        m_values.resize(m_count);
    }
    m_last = m_first + m_count - 1;
}

void IntensityProfile::SetFirst(int first)
{
    m_first = first;
    m_last = m_count + first - 1;
}

void IntensityProfile::ApplyLinear(double offset, double slope, double gain)
{
    for (int k = 0; k < m_count; ++k)
        m_values[k] = static_cast<float>((m_first + k) * slope + m_values[k] * gain + offset);
}

void IntensityProfile::ResampleFrom(const IntensityProfile& source, double scale, double shift)
{
    if (&source == this) {
        ResampleMapped(scale, shift, 0.0, 0.0, 1.0);
        return;
    }
    Resample(source.Values(), source.m_first, source.m_count, scale, shift, 0.0, 0.0, 1.0);
}

void IntensityProfile::ResampleMapped(double scale, double shift, double offset, double slope, double gain)
{
    m_scratch.assign(m_values.begin(), m_values.begin() + m_count);
    Resample(m_scratch.data(), m_first, m_count, scale, shift, offset, slope, gain);
}

void IntensityProfile::Resample(const float* source, int sourceFirst, int sourceCount, double scale, double shift,
                                double offset, double slope, double gain)
{
    const int sourceLast = sourceFirst + sourceCount - 1;
    const double inverse = 1 / scale;
    const int newFirst = TruncateTowardZero(std::floor((sourceFirst - shift) * inverse + 0.5));
    const int newLast = TruncateTowardZero(std::floor((sourceLast - shift) * inverse + 0.5));
    const int count = std::max(newLast - newFirst + 1, 1);
    m_values.resize(count);
    for (int k = 0; k < count; ++k) {
        const int j = newFirst + k;
        double value;
        if (sourceCount < 2) {
            // Nothing to interpolate between: the one sample holds everywhere.
            value = source[0];
        } else {
            const double p = j * scale + shift;
            int i = TruncateTowardZero(std::floor(p));
            if (i < sourceFirst)
                i = sourceFirst;
            else if (i >= sourceLast - 1)
                i = sourceLast - 1;
            // The fraction is taken from the pair actually read, so that the last sample is
            // reproduced and points beyond either end take the end sample.
            const double f = std::clamp(p - i, 0.0, 1.0);
            value = (1 - f) * source[i - sourceFirst] + f * source[i - sourceFirst + 1];
        }
        m_values[k] = static_cast<float>(value * gain + j * slope + offset);
    }
    m_first = newFirst;
    m_count = count;
    m_last = newFirst + count - 1;
}

void IntensityProfile::MeanAndVariance(double& mean, double& variance) const
{
    const int n = m_count;
    if (n < 3) {
        mean = variance = 0.0;
        return;
    }
    double sum = 0.0;
    double sumSquares = 0.0;
    for (int k = 0; k < n; ++k) {
        sum += m_values[k];
        sumSquares += static_cast<double>(m_values[k]) * m_values[k];
    }
    mean = sum / n;
    variance = (sumSquares / n - mean * mean) * n / (n - 1);
}

double IntensityProfile::WeightedError(const IntensityProfile& profile, const IntensityProfile& reference,
                                       const IntensityProfile& weights)
{
    const int lo = std::max(profile.m_first, reference.m_first);
    const int hi = std::min(profile.m_last, reference.m_last);
    if (lo > hi)
        return kNoComparison;
    const float* p = profile.Values() + (lo - profile.m_first);
    const float* r = reference.Values() + (lo - reference.m_first);
    const float* w = weights.Values() + (lo - weights.m_first);
    double sum = 0.0;
    for (int k = 0; k <= hi - lo; ++k) {
        const double difference = static_cast<double>(p[k]) - r[k];
        sum += difference * difference / w[k];
    }
    return sum / (hi - lo + 1);
}

double IntensityProfile::RootError(const IntensityProfile& profile, const IntensityProfile& reference,
                                   const IntensityProfile& weights)
{
    return std::sqrt(WeightedError(profile, reference, weights));
}

double IntensityProfile::OverlapPenalty(const IntensityProfile& profile, const IntensityProfile& reference)
{
    const int n = std::min(profile.m_last, reference.m_last) - std::max(profile.m_first, reference.m_first) + 1;
    if (n < 3)
        return kNoComparison;
    const double uncovered = 1.0 - static_cast<double>(n) / reference.m_count;
    return std::exp(3.0 * uncovered * uncovered);
}
