#pragma once

#include "faceanalysis/IntensityProfile.h"

// Finds how a current profile C maps onto a reference R: geometrically, index -> index * scale
// + shift; photometrically, value -> offset + slope * index + gain * value. A coarse-to-fine
// grid search over scale and shift, each level followed by a least-squares photometric fit.

// One alignment's mapping and what the match costs (kNoComparison for a hopeless one). The
// defaults are the identity, not compared yet.
struct ProfileFit {
    double cost = kNoComparison;
    double offset = 0.0;
    double slope = 0.0;
    double gain = 1.0;
    double scale = 1.0;
    double shift = 0.0;
};

// Aligns current onto reference (weights indexed like reference) and leaves the aligned
// samples in aligned (a working profile the caller owns and may reuse from call to call).
// current is corrected in place by each level's photometric fit. rangeFactor sets the search
// range (0.25 for a tracked face); gridHalfWidth grid steps on each side of the centre;
// levels of refinement.
ProfileFit AlignProfile(double rangeFactor, IntensityProfile& current, const IntensityProfile& reference,
                        const IntensityProfile& weights, IntensityProfile& aligned, int gridHalfWidth, int levels);

// RootError * AlignmentPrior * OverlapPenalty, or kNoComparison for parameters out of range.
double AlignmentCost(const IntensityProfile& aligned, const IntensityProfile& reference,
                     const IntensityProfile& weights, double offset, double slope, double gain, double scale,
                     double shift);

// 1 for the identity mapping, growing with the departure of scale and gain from 1;
// kNoComparison outside the accepted ranges.
double AlignmentPrior(double offset, double slope, double gain, double scale);

// Least-squares fit of reference ~ offset + slope * index + gain * aligned over the interior
// of their overlap; offset 0, slope 0, gain 1 when the overlap is under 5 indices or singular.
void FitLinear(const IntensityProfile& aligned, const IntensityProfile& reference, double& offset, double& slope,
               double& gain);
