// Derivatives, curvature, continuity and length of a valid spline (rational ones too: the
// derivatives of the weighted curve are divided out by the quotient rule). Nothing here reads
// any other state.
#pragma once

#include "spline.h"

#include <vector>

// C(t), C'(t), ..., the order-th derivative at t (order from 0; beyond k they are zero), on the
// piece of span i (k <= i < N, not empty), also at and beyond its ends.
std::vector<SplinePoint> DerivativesInSpan(const Spline& spline, int span, double t, int order);

// The same on the piece that holds t: from the right, or from the left where t is a knot.
std::vector<SplinePoint> DerivativesAt(const Spline& spline, double t, int order,
                                       bool fromLeft = false);

// Signed curvature (x'y'' - y'x'') / |C'|^3 from C', C''; NaN where the curve stands still.
double CurvatureOf(SplinePoint first, SplinePoint second);

// At each distinct knot strictly inside the domain: how many times it is a knot, the
// continuity k - m it promises, and the order r up to which the derivatives from both sides
// agree (-1 where the curve itself jumps; k where all k agree, so the pieces are one
// polynomial).
struct KnotContinuity {
    double t;
    int multiplicity;
    int promised;
    int measured;
};
std::vector<KnotContinuity> ContinuityAtKnots(const Spline& spline);
// The same at the `count` knots inside the domain nearest t (all of them when count < 0).
std::vector<KnotContinuity> ContinuityNear(const Spline& spline, double t, int count);

// The curvature comb: on each non-empty span, `perSpan` + 1 parameters evenly from its start to
// its end, with the curve point, its unit normal (the tangent turned left) and the signed
// curvature. Where the curve jumps, the tooth after the jump has breakBefore.
struct CombTooth {
    double t;
    SplinePoint point;
    SplinePoint normal;
    double curvature;
    bool breakBefore;
};
std::vector<CombTooth> CurvatureComb(const Spline& spline, int perSpan);
std::vector<CombTooth> CombInSpan(const Spline& spline, int span, int perSpan); // no breaks

// The arc length of each span k .. N - 1 (0 for an empty span), by Gauss-Legendre quadrature
// refined until halving its pieces changes the sum by less than about 1e-12 of it.
std::vector<double> SpanLengths(const Spline& spline);
double SpanLength(const Spline& spline, int span);

// The arc length from the domain's start to t, given the span lengths.
double LengthTo(const Spline& spline, const std::vector<double>& spanLengths, double t);

// count + 1 parameters, from the domain's start to its end, that cut the curve into count pieces
// of equal arc length (count >= 1).
std::vector<double> EqualLengthParameters(const Spline& spline,
                                          const std::vector<double>& spanLengths, int count);
