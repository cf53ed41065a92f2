// The operations the page draws every frame, kept span by span from frame to frame (SpanCache):
// a drag computes again only the k + 1 spans its point shapes. And what the page shows at t: the
// refinement and split there, the derivatives, curvature and length.
#pragma once

#include "calculus.h"
#include "refine.h"
#include "span_cache.h"

#include <string>
#include <vector>

struct KeptOperations {
    SpanCache<BezierPiece> pieces;
    SpanCache<std::vector<CombTooth>> combs;
    int combPerSpan = 0; // the teeth a span the combs were made with
    SpanCache<double> lengths;
    KeptRaise raise;
};

// Each non-empty span's Bezier piece (BezierPieces).
Outcome<std::vector<BezierPiece>> KeptPieces(KeptOperations& kept, const Spline& spline);
// The curvature comb (CurvatureComb), 1 to 64 teeth a span.
Outcome<std::vector<CombTooth>> KeptComb(KeptOperations& kept, const Spline& spline, int perSpan);
// Each span's arc length (SpanLengths).
Outcome<std::vector<double>> KeptLengths(KeptOperations& kept, const Spline& spline);

// The piece nearest a point within `reach`, by the teeth of the comb last kept (8 a span when
// none was): its index among the pieces and its span's ends; index -1 when none is that near.
struct PieceNear {
    int index;
    double first;
    double last;
};
PieceNear PieceNearPoint(KeptOperations& kept, const Spline& spline, SplinePoint point,
                         double reach);

// At t in the domain: t inserted `times` times (as far as it can be: how many, what the
// refinement is, its multiplicity there and why it cannot take one more) and, once t is there k
// times, the two halves; C, C', C'' and the curvature (NaN where the curve stands still); the
// length to t and in all; how many spans are not empty and their mean width.
struct OperationsAtT {
    int spans;
    double meanSpan;
    Refinement refinement;
    int multiplicity;
    std::string insertFault;
    std::string splitFault;
    bool split;
    SplitSpline halves; // when split
    std::vector<SplinePoint> derivatives;
    double curvature;
    double length;
    double lengthToT;
};
Outcome<OperationsAtT> OperationsAt(KeptOperations& kept, const Spline& spline, double t,
                                    int times);
