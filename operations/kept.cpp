#include "kept.h"

#include <algorithm>
#include <cmath>
#include <numeric>

Outcome<std::vector<BezierPiece>> KeptPieces(KeptOperations& kept, const Spline& spline) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty()) {
        return Refusal<std::vector<BezierPiece>>(fault);
    }
    const std::vector<BezierPiece>& all = kept.pieces.Refresh(spline, [&](int i) {
        const Outcome<BezierPiece> piece = BezierPieceOf(spline, i);
        return piece.ok() ? piece.value : BezierPiece{}; // an empty span has no piece
    });
    std::vector<BezierPiece> pieces;
    std::copy_if(all.begin(), all.end(), std::back_inserter(pieces),
                 [](const BezierPiece& piece) { return !piece.points.empty(); });
    return Success(std::move(pieces));
}

namespace {

const std::vector<std::vector<CombTooth>>& CombSpans(KeptOperations& kept, const Spline& spline,
                                                     int perSpan) {
    if (perSpan != kept.combPerSpan) {
        kept.combs = {};
        kept.combPerSpan = perSpan;
    }
    return kept.combs.Refresh(spline, [&](int i) {
        const Outcome<std::vector<CombTooth>> teeth = CombInSpan(spline, i, perSpan);
        return teeth.value; // none for an empty span
    });
}

} // namespace

Outcome<std::vector<CombTooth>> KeptComb(KeptOperations& kept, const Spline& spline, int perSpan) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty() || perSpan < 1 || perSpan > 64) {
        return Refusal<std::vector<CombTooth>>(fault.empty() ? "a comb has 1 to 64 teeth a span"
                                                             : fault);
    }
    return Success(JoinComb(CombSpans(kept, spline, perSpan)));
}

Outcome<std::vector<double>> KeptLengths(KeptOperations& kept, const Spline& spline) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty()) {
        return Refusal<std::vector<double>>(fault);
    }
    return Success(
        kept.lengths.Refresh(spline, [&](int i) { return SpanLength(spline, i).value; }));
}

PieceNear PieceNearPoint(KeptOperations& kept, const Spline& spline, SplinePoint point,
                         double reach) {
    PieceNear near{-1, 0.0, 0.0};
    if (!SplineFault(spline).empty()) {
        return near;
    }
    double best = reach;
    int piece = -1;
    const int perSpan = kept.combPerSpan > 0 ? kept.combPerSpan : 8;
    for (const std::vector<CombTooth>& span : CombSpans(kept, spline, perSpan)) {
        piece += span.empty() ? 0 : 1;
        for (const CombTooth& tooth : span) {
            const double distance = std::hypot(tooth.point.x - point.x, tooth.point.y - point.y);
            if (distance <= best) {
                best = distance;
                near = PieceNear{piece, span.front().t, span.back().t};
            }
        }
    }
    return near;
}

Outcome<OperationsAtT> OperationsAt(KeptOperations& kept, const Spline& spline, double t,
                                    int times) {
    const Outcome<Refinement> refinement = InsertKnotTimes(spline, t, times);
    if (!refinement.ok()) {
        return Refusal<OperationsAtT>(refinement.fault);
    }
    const SplineDomain domain = DomainOf(spline);
    if (!(t >= domain.first && t <= domain.last)) {
        return Refusal<OperationsAtT>("t must lie in the domain");
    }
    OperationsAtT at{};
    for (int i = spline.degree; i < static_cast<int>(spline.points.size()); ++i) {
        at.spans += spline.knots[i] < spline.knots[i + 1] ? 1 : 0;
    }
    at.meanSpan = (domain.last - domain.first) / std::max(at.spans, 1);
    at.refinement = refinement.value;
    at.multiplicity = MultiplicityOf(at.refinement.spline, t);
    at.insertFault = InsertFault(at.refinement.spline, t);
    at.splitFault = SplitFault(spline, t);
    if (at.refinement.inserted > 0 && at.splitFault.empty() && at.multiplicity >= spline.degree) {
        at.halves = SplitAt(at.refinement.spline, t).value; // t there k times: none inserted again
        at.split = true;
    }
    at.derivatives = DerivativesAt(spline, t, 2).value;
    at.curvature = CurvatureOf(at.derivatives[1], at.derivatives[2]);
    const std::vector<double> lengths = KeptLengths(kept, spline).value;
    at.length = std::accumulate(lengths.begin(), lengths.end(), 0.0);
    at.lengthToT = LengthTo(spline, lengths, t).value;
    return Success(std::move(at));
}
