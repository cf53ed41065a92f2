// A general B-spline in the plane: any valid knot vector, rational where the weights differ.
// Plain functions over a small value type; nothing here reads the editor's state.
// SplineFault tells whether a spline is valid. The evaluations (DomainOf, SpanOf, TriangleOf,
// SplineAt, BasisOf, AllBasisAt, KnotPoints), called many times a curve, take a spline it has
// passed and any finite t; what makes a whole curve (SampleSpline) checks it and refuses.
#pragma once

#include "outcome.h"

#include <string>
#include <vector>

struct SplinePoint {
    double x;
    double y;
};

struct Spline {
    int degree;                      // k, from 1
    std::vector<SplinePoint> points; // N of them
    std::vector<double> weights;     // one per point, positive and finite
    std::vector<double> knots;       // N + k + 1, non-decreasing, none more than k + 1 times
};

// "" when the spline is valid, else its first fault in words.
std::string SplineFault(const Spline& spline);

// The parameter's domain [u_k, u_N].
struct SplineDomain {
    double first;
    double last;
};
SplineDomain DomainOf(const Spline& spline);

// The span i (k <= i < N, u_i < u_(i+1)) that holds t, taken into the domain; at its end the last
// span that is not empty.
int SpanOf(const Spline& spline, double t);

// De Boor's triangle at t in homogeneous coordinates, in double: level l holds the k + 1 - l
// points made from points first + l .. first + k (projected), with their weights; level k is
// the curve point C(t).
struct SplineTriangle {
    int degree;
    int first;
    std::vector<std::vector<SplinePoint>> levels;
    std::vector<std::vector<double>> weights;
};
SplineTriangle TriangleOf(const Spline& spline, double t);

SplinePoint SplineAt(const Spline& spline, double t);

// The k + 1 basis functions that can be non-zero at t, from the point `first`: rational
// (w_j N_j / sum of w_i N_i) where the weights differ; they sum to 1 in the domain.
struct SplineBasis {
    int first;
    std::vector<double> values;
};
SplineBasis BasisOf(const Spline& spline, double t);

// Every one of the N basis functions at t, anywhere on [u_0, u_(N+k)] (non-rational outside the
// domain, where the weighted sum is not the curve's).
std::vector<double> AllBasisAt(const Spline& spline, double t);

// The curve for drawing: each non-empty span halved until each piece's chord lies within
// `tolerance` (a positive number) of the curve at its middle (at least 4 pieces a span longer
// than 4 tolerances, at most 2^12); the parameters with the points. Where the curve jumps (a knot
// k + 1 times inside the domain) the sample after the jump has breakBefore. Refused for an
// invalid spline or tolerance.
struct SplineSample {
    double t;
    SplinePoint point;
    bool breakBefore;
};
Outcome<std::vector<SplineSample>> SampleSpline(const Spline& spline, double tolerance);

// The same for the one span i (k <= i < N) of a valid spline, both ends included; none when it is
// empty. A caller that keeps spans can sample again only those whose k + 1 points moved, and join
// them in order.
Outcome<std::vector<SplineSample>> SampleSpan(const Spline& spline, int span, double tolerance);
void JoinSpan(std::vector<SplineSample>& samples, const std::vector<SplineSample>& span);

// The curve at every distinct knot of the domain (from the right, at the domain's end from the
// left).
std::vector<SplineSample> KnotPoints(const Spline& spline);
