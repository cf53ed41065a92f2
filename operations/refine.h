// The same curve on another control polygon: a knot inserted (from de Boor's triangle), the curve
// split in two, its Bezier pieces, and its degree raised. Each takes a valid spline and reads no
// other state; weights are carried through in homogeneous coordinates, so rational curves are
// refined, split, cut into pieces and raised exactly as plain ones.
#pragma once

#include "spline.h"

#include <string>
#include <vector>

// How many knots equal t.
int MultiplicityOf(const Spline& spline, double t);

// "" when t can be inserted: in the domain, and there fewer than k times already (k times the
// curve already passes through a control point there); else why not.
std::string InsertFault(const Spline& spline, double t);

// The spline with the knot t once more: k of the old points, from the span's k + 1, replaced by
// the k points of the triangle's first level at t. The curve does not change.
Spline InsertKnot(const Spline& spline, double t);

// t inserted `times` times, or as many as it can be (InsertFault); how many in `inserted`.
Spline InsertKnotTimes(const Spline& spline, double t, int times, int& inserted);

// The two halves at t inside the domain: t inserted until it is there k times, then cut where
// the curve passes through the control point C(t), each half ending with t k + 1 times.
struct SplitSpline {
    Spline before;
    Spline after;
};
std::string SplitFault(const Spline& spline, double t);
SplitSpline SplitAt(const Spline& spline, double t);

// The polar form (blossom) of the curve's polynomial piece on span i (k <= i < N, not empty) at
// k arguments, with its weight: C(t) is the blossom at t, ..., t; the triangle's level r point j
// is the blossom at r times t and the knots u_(j+1), ..., u_(j+k-r).
struct WeightedPoint {
    SplinePoint point;
    double weight;
};
WeightedPoint Blossom(const Spline& spline, int span, const std::vector<double>& arguments);

// Each non-empty span's Bezier control polygon (k + 1 points and weights), in the order of the
// spans, with the span's ends: the pieces the curve is made of.
struct BezierPiece {
    double first;
    double last;
    std::vector<WeightedPoint> points;
};
std::vector<BezierPiece> BezierPieces(const Spline& spline);
BezierPiece BezierPieceOf(const Spline& spline, int span); // span k <= i < N, not empty

// The same curve over the domain with degree k + 1: every distinct knot of the domain once more,
// the knots outside it kept; a rational curve's ends k + 2 times instead (its weights outside
// the domain could otherwise turn negative).
Spline RaiseDegree(const Spline& spline);
// Its parts, for a caller that keeps raised points from frame to frame: the raised knots, the
// span of the original each raised point j is taken from (its value depends on that span's
// points, weights and knots only), and the point.
std::vector<double> RaisedKnots(const Spline& spline);
int RaisedSource(const Spline& spline, const std::vector<double>& raisedKnots, int j);
WeightedPoint RaisedPoint(const Spline& spline, const std::vector<double>& raisedKnots, int j,
                          int span);
