// Derivatives, curvature, continuity and length of a spline (rational ones too: the derivatives
// of the weighted curve are divided out by the quotient rule). Nothing here reads any other
// state. What works on the whole curve refuses an invalid spline (SplineFault); what works at one
// t or on one span, called many times a curve, checks in constant time that the span exists and
// the arguments make sense, and expects a spline that SplineFault has passed.
#pragma once

#include "spline.h"

#include <vector>

// C(t), C'(t), ..., the order-th derivative at t (order from 0; beyond k they are zero), on the
// piece of span i (k <= i < N, not empty), also at and beyond its ends.
Outcome<std::vector<SplinePoint>> DerivativesInSpan(const Spline& spline, int span, double t,
                                                    int order);

// The same on the piece that holds t: from the right, or from the left where t is a knot.
Outcome<std::vector<SplinePoint>> DerivativesAt(const Spline& spline, double t, int order,
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
Outcome<std::vector<KnotContinuity>> ContinuityAtKnots(const Spline& spline);
// The same at the `count` knots inside the domain nearest t (all of them when count < 0): those
// whose distance to t is smallest, in ascending order.
Outcome<std::vector<KnotContinuity>> ContinuityNear(const Spline& spline, double t, int count);
// How many distinct knots lie strictly inside the domain.
int InnerKnotCount(const Spline& spline);

// The curvature comb: on each non-empty span, `perSpan` (>= 1) + 1 parameters evenly from its
// start to its end, with the curve point, its unit normal (the tangent turned left) and the
// signed curvature: a tooth drawn along normal times curvature points to where the curve turns.
// Where the curve jumps, the tooth after the jump has breakBefore.
struct CombTooth {
    double t;
    SplinePoint point;
    SplinePoint normal;
    double curvature;
    bool breakBefore;
};
Outcome<std::vector<CombTooth>> CurvatureComb(const Spline& spline, int perSpan);
Outcome<std::vector<CombTooth>> CombInSpan(const Spline& spline, int span, int perSpan);
// Spans' teeth joined into one comb, breakBefore set where one span does not start where the
// one before ended.
std::vector<CombTooth> JoinComb(const std::vector<std::vector<CombTooth>>& spans);

// The arc length of each span k .. N - 1 (0 for an empty span), by Gauss-Legendre quadrature
// refined until halving its pieces changes the sum by less than about 1e-12 of it.
Outcome<std::vector<double>> SpanLengths(const Spline& spline);
Outcome<double> SpanLength(const Spline& spline, int span);

// The arc length from the domain's start to t (taken into the domain), given the span lengths.
Outcome<double> LengthTo(const Spline& spline, const std::vector<double>& spanLengths, double t);

// count + 1 parameters, from the domain's start to its end, that cut the curve into count pieces
// of equal arc length (count >= 1).
Outcome<std::vector<double>>
EqualLengthParameters(const Spline& spline, const std::vector<double>& spanLengths, int count);

// A tick across the curve at t: the curve point and the unit normal (zero where the curve
// stands still).
struct CurveTick {
    double t;
    SplinePoint point;
    SplinePoint normal;
};
// count + 1 ticks at equal steps of t over the domain, then count + 1 at equal arc length
// (1 <= count <= 4096).
Outcome<std::vector<CurveTick>> LengthTicks(const Spline& spline,
                                            const std::vector<double>& spanLengths, int count);
