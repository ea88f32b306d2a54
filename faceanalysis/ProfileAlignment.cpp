#include "faceanalysis/ProfileAlignment.h"

#include "faceanalysis/IntensityProfile.h"
#include "faceanalysis/TruncateTowardZero.h"

#include <algorithm>
#include <cmath>

namespace {

// Start index that no real candidate has.
constexpr int kNoCandidate = -9999;

}  // namespace

double AlignmentPrior(double offset, double slope, double gain, double scale)
{
    if (std::fabs(offset) > 200 || std::fabs(slope) > 2.5 || gain <= 0.25 || scale <= 0.1 || gain > 2.5 || gain < 0.4)
        return kNoComparison;
    const double g = gain > 1 ? gain : 1 / gain;
    return std::exp(3 * (scale - 1) * (scale - 1)) * std::exp(3 * (g - 1) * (g - 1));
}

double AlignmentCost(const IntensityProfile& aligned, const IntensityProfile& reference,
                     const IntensityProfile& weights, double offset, double slope, double gain, double scale,
                     double /*shift*/)
{
    if (offset > 200 || std::fabs(slope) > 2.5 || gain <= 0.25 || scale <= 0.1)
        return kNoComparison;
    return IntensityProfile::RootError(aligned, reference, weights) * AlignmentPrior(offset, slope, gain, scale) *
        IntensityProfile::OverlapPenalty(aligned, reference);
}

void FitLinear(const IntensityProfile& aligned, const IntensityProfile& reference, double& offset, double& slope,
               double& gain)
{
    offset = 0.0;
    slope = 0.0;
    gain = 1.0;
    const int lo = std::max(aligned.First(), reference.First());
    const int hi = std::min(aligned.Last(), reference.Last());
    if (lo > hi || hi - lo + 1 < 5)
        return;

    double s = 0, sx = 0, sa = 0, sxx = 0, sxa = 0, saa = 0, sb = 0, sxb = 0, sab = 0;
    for (int x = lo + 1; x <= hi - 1; ++x) {
        const double a = aligned.At(x);
        const double b = reference.At(x);
        s += 1;
        sx += x;
        sa += a;
        sxx += static_cast<double>(x) * x;
        sxa += x * a;
        saa += a * a;
        sb += b;
        sxb += x * b;
        sab += a * b;
    }
    const double det = saa * sxx * s + 2 * sxa * sa * sx - sxx * sa * sa - saa * sx * sx - sxa * sxa * s;
    if (det == 0)
        return;
    // Adjugate of the symmetric normal matrix.
    const double m00 = sxx * saa - sxa * sxa;
    const double m01 = sxa * sa - sx * saa;
    const double m02 = sx * sxa - sxx * sa;
    const double m11 = s * saa - sa * sa;
    const double m12 = sa * sx - s * sxa;
    const double m22 = s * sxx - sx * sx;
    offset = (m00 * sb + m01 * sxb + m02 * sab) / det;
    slope = (m01 * sb + m11 * sxb + m12 * sab) / det;
    gain = (m02 * sb + m12 * sxb + m22 * sab) / det;
}

ProfileFit AlignProfile(double rangeFactor, IntensityProfile& current, const IntensityProfile& reference,
                        const IntensityProfile& weights, IntensityProfile& aligned, int gridHalfWidth, int levels)
{
    const int n = gridHalfWidth;
    double stepScale = rangeFactor;
    double stepShift = reference.Count() * rangeFactor;
    const double f = 1.0 / (n + 1);
    ProfileFit fit;

    for (int level = 1; level <= levels; ++level) {
        stepScale *= f;
        stepShift *= f;
        if (level == 2) {
            stepScale *= 0.5;
            stepShift *= 0.5;
        }
        // A level whose candidates all lose keeps the scale and shift it started with.
        double bestScale = fit.scale;
        double bestShift = fit.shift;
        for (int i = -n; i <= n; ++i) {
            const double s = i * stepScale + fit.scale;
            aligned.ResampleFrom(current, s, 0);
            // Shifts are realised by whole-sample re-indexing of the profile resampled at
            // shift 0; a shift landing on the previous start is not evaluated again.
            int previous = kNoCandidate;
            for (int j = -n; j <= n; ++j) {
                const double t = j * stepShift + fit.shift;
                const int k = TruncateTowardZero(std::floor((current.First() - t) * (1 / s) + 0.5));
                if (k == previous)
                    continue;
                aligned.SetFirst(k);
                previous = k;
                const double c = AlignmentCost(aligned, reference, weights, fit.offset, fit.slope, fit.gain, s, t);
                if (c < fit.cost) {
                    fit.cost = c;
                    bestScale = s;
                    bestShift = t;
                }
            }
        }
        fit.scale = bestScale;
        fit.shift = bestShift;
        aligned.ResampleFrom(current, fit.scale, fit.shift);

        double levelOffset;
        double levelSlope;
        double levelGain;
        FitLinear(aligned, reference, levelOffset, levelSlope, levelGain);
        current.ApplyLinear(levelOffset, levelSlope, levelGain);
        fit.offset = levelGain * fit.offset + levelOffset;
        fit.slope = levelGain * fit.slope + levelSlope;
        fit.gain = levelGain * fit.gain;
        aligned.ApplyLinear(levelOffset, levelSlope, levelGain);
        fit.cost = AlignmentCost(aligned, reference, weights, fit.offset, fit.slope, fit.gain, fit.scale, fit.shift);
    }
    return fit;
}
