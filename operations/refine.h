// The same curve on another control polygon: a knot inserted (from de Boor's triangle), the curve
// split in two, its Bezier pieces, and its degree raised. Each reads no other state and refuses
// input it cannot serve (an invalid spline, a t outside the domain, a span that does not exist)
// with the reason; weights are carried through in homogeneous coordinates, so rational curves
// are refined, split, cut into pieces and raised exactly as plain ones.
#pragma once

#include "span_cache.h"
#include "spline.h"

#include <string>
#include <utility>
#include <vector>

// How many knots equal t.
int MultiplicityOf(const Spline& spline, double t);

// "" when t can be inserted into the valid spline: in the domain (its ends included), and there
// fewer than k times already (k times the curve already passes through a control point there);
// else why not.
std::string InsertFault(const Spline& spline, double t);

// The spline with the knot t once more: k of the old points, from the span's k + 1, replaced by
// the k points of the triangle's first level at t. The curve does not change.
Outcome<Spline> InsertKnot(const Spline& spline, double t);

// t inserted `times` (>= 0) times, or as many times as it can be: how many, and (when fewer than
// asked) InsertFault's reason it stopped.
struct Refinement {
    Spline spline;
    int inserted;
    std::string stopped;
};
Outcome<Refinement> InsertKnotTimes(const Spline& spline, double t, int times);

// The two halves at t inside the domain: t inserted until it is there k times, then cut where
// the curve passes through the control point C(t), each half ending with t k + 1 times. Not at
// the domain's ends, nor where the curve already breaks (t there k + 1 times).
struct SplitSpline {
    Spline before;
    Spline after;
};
std::string SplitFault(const Spline& spline, double t);
Outcome<SplitSpline> SplitAt(const Spline& spline, double t);

// The polar form (blossom) of the curve's polynomial piece on span i (k <= i < N, not empty) at
// k arguments, with its weight: C(t) is the blossom at t, ..., t; the triangle's level r point j
// is the blossom at r times t and the knots u_(j+1), ..., u_(j+k-r).
struct WeightedPoint {
    SplinePoint point;
    double weight;
};
Outcome<WeightedPoint> Blossom(const Spline& spline, int span,
                               const std::vector<double>& arguments);
// The arguments of the triangle's point j at level r (at t): r times t and the knots u_(j+1) ..
// u_(j+k-r), in ascending order.
std::vector<double> BlossomArguments(const Spline& spline, int j, int r, double t);

// Each non-empty span's Bezier control polygon (k + 1 points and weights), in the order of the
// spans, with the span's ends: the pieces the curve is made of.
struct BezierPiece {
    double first;
    double last;
    std::vector<WeightedPoint> points;
};
Outcome<std::vector<BezierPiece>> BezierPieces(const Spline& spline);
Outcome<BezierPiece> BezierPieceOf(const Spline& spline, int span); // k <= span < N, not empty

// The same curve over the domain with degree k + 1: every distinct knot of the domain once more,
// the knots outside it kept; a rational curve's ends k + 2 times instead (its weights outside
// the domain could otherwise turn negative).
Outcome<Spline> RaiseDegree(const Spline& spline);

// The same, kept from frame to frame: each raised point depends on one span of the original (its
// points, weights and knots), so a drag computes again only the points of the spans it changed.
// The raised knots, and which span each point is taken from, change only with the knots.
struct KeptRaise {
    std::vector<double> knots;             // the raised knots the sources are for
    std::vector<std::pair<int, int>> from; // point j: its span, and its place among its span's
    std::vector<std::vector<int>> taken;   // span k + s at s: the points taken from it
    SpanCache<std::vector<WeightedPoint>> points;
};
Outcome<Spline> RaiseDegreeKept(KeptRaise& kept, const Spline& spline);
