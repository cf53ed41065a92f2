// What the page shows of an explored curve beyond its points: the curve drawn span by span and
// kept from frame to frame, the stretch of curve one control point moves, and every basis
// function across the whole knot range.
#pragma once

#include "span_cache.h"
#include "spline.h"

#include <vector>

// The samples of each span at one tolerance, kept: a drag samples again only the k + 1 spans its
// point shapes.
struct KeptSamples {
    double tolerance = 0.0;
    SpanCache<std::vector<SplineSample>> spans{};
};
// The whole curve for drawing (as SampleSpline), from the kept spans made current.
Outcome<std::vector<SplineSample>> KeptCurve(KeptSamples& kept, const Spline& spline,
                                             double tolerance);

// The stretch of curve point j moves: the samples over its basis function's support, where it
// shapes the curve. `ownPoints` is how many of the spline's points are the scene's own; a closed
// curve's later ones are copies of its first, and move with them.
Outcome<std::vector<SplinePoint>> PointStretch(const Spline& spline, int ownPoints, int j,
                                               double tolerance);

// The N basis functions (AllBasisAt) and their sum at `count` >= 2 parameters evenly over the
// whole knot range [u_0, u_(N+k)].
struct BasisRow {
    double t;
    std::vector<double> values;
    double sum;
};
Outcome<std::vector<BasisRow>> BasisAcrossKnots(const Spline& spline, int count);
