// The numbers of the panel's operations (operations_panel.js) on the curve the panel explains,
// by name: knot insertion and splitting at t, the Bezier pieces, the degree raised, derivatives
// and curvature, continuity at the knots, arc length, the tables at t as CSV or LaTeX; a
// refinement or the raised curve opened as the scene (its points through the editor's
// operations, its knots as the page's custom vector, as one step).
#include "calculus.h"
#include "explored.h"
#include "js_values.h"
#include "kept.h"
#include "panel_curve.h"
#include "refine.h"
#include "scene_controls.h"
#include "tables.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using emscripten::val;

KeptOperations kept{};

const Spline& Curve() {
    return CurrentCurve().spline;
}

val AtT(double t, int times) {
    val at = val::object();
    const Outcome<OperationsAtT> made = OperationsAt(kept, Curve(), t, times);
    at.set("fault", CurrentCurve().fault.empty() ? made.fault : CurrentCurve().fault);
    if (!made.ok()) {
        return at;
    }
    const OperationsAtT& o = made.value;
    const Spline& s = Curve();
    at.set("degree", s.degree);
    // Changes whenever the curve's knots (or whether it is rational) can: with the page's
    // additions, the degree or the number of points.
    at.set("knotsKey", std::to_string(AdditionsVersion()) + " " + std::to_string(s.degree) + " " +
                           std::to_string(s.points.size()));
    at.set("spans", o.spans);
    at.set("meanSpan", o.meanSpan);
    at.set("inserted", o.refinement.inserted);
    at.set("multiplicity", o.multiplicity);
    at.set("insertNote", o.insertFault);
    if (o.refinement.inserted > 0) {
        at.set("refined", PointNumbers(o.refinement.spline.points));
        at.set("refinedKnots", ArrayOf(o.refinement.spline.knots));
    }
    at.set("splitNote", o.splitFault);
    if (o.split) {
        at.set("before", PointNumbers(o.halves.before.points));
        at.set("after", PointNumbers(o.halves.after.points));
    }
    at.set("point", XY(o.derivatives[0]));
    at.set("first", XY(o.derivatives[1]));
    at.set("second", XY(o.derivatives[2]));
    at.set("curvature", std::isfinite(o.curvature) ? val(o.curvature) : val::null());
    at.set("length", o.length);
    at.set("lengthToT", o.lengthToT);
    return at;
}

// Every Bezier piece: its span's ends, then its k + 1 points as x, y.
val Pieces() {
    std::vector<double> numbers;
    for (const BezierPiece& piece : KeptPieces(kept, Curve()).value) {
        numbers.insert(numbers.end(), {piece.first, piece.last});
        for (const WeightedPoint& p : piece.points) {
            numbers.insert(numbers.end(), {p.point.x, p.point.y});
        }
    }
    return NumberArray(numbers);
}

// The same curve one degree higher: its points and knots, or why there is none.
val Raised() {
    val raised = val::object();
    const Outcome<Spline> r = RaiseDegreeKept(kept.raise, Curve());
    raised.set("fault", r.fault);
    if (r.ok()) {
        raised.set("degree", r.value.degree);
        raised.set("points", PointNumbers(r.value.points));
        raised.set("knots", ArrayOf(r.value.knots));
    }
    return raised;
}

// The curvature comb: x, y, the unit normal, the curvature (NaN where the curve stands still)
// and 1 where the comb breaks before the tooth, else 0.
val Comb(int perSpan) {
    std::vector<double> numbers;
    for (const CombTooth& tooth : KeptComb(kept, Curve(), std::clamp(perSpan, 1, 64)).value) {
        numbers.insert(numbers.end(), {tooth.point.x, tooth.point.y, tooth.normal.x, tooth.normal.y,
                                       tooth.curvature, tooth.breakBefore ? 1.0 : 0.0});
    }
    return NumberArray(numbers);
}

// count + 1 ticks at equal steps of t and as many at equal arc length: x, y and the unit normal
// each, the first set then the second.
val Ticks(int count) {
    std::vector<double> numbers;
    const Outcome<std::vector<double>> lengths = KeptLengths(kept, Curve());
    for (const CurveTick& tick : LengthTicks(Curve(), lengths.value, count).value) {
        numbers.insert(numbers.end(), {tick.point.x, tick.point.y, tick.normal.x, tick.normal.y});
    }
    return NumberArray(numbers);
}

// At the `count` knots inside the domain nearest t: each one's value, multiplicity, the
// promised and the measured continuity; and how many there are in all.
val Continuity(double t, int count) {
    val result = val::object();
    val knots = val::array();
    result.set("knots", knots);
    result.set("total", InnerKnotCount(Curve()));
    for (const KnotContinuity& knot : ContinuityNear(Curve(), t, count).value) {
        val one = val::object();
        one.set("t", knot.t);
        one.set("multiplicity", knot.multiplicity);
        one.set("promised", knot.promised);
        one.set("measured", knot.measured);
        knots.call<void>("push", one);
    }
    return result;
}

// The piece nearest the world point within `reach`: its index among the pieces and its span's
// ends; index -1 when none is that near.
val SpanNear(double x, double y, double reach) {
    const PieceNear piece = PieceNearPoint(kept, Curve(), SplinePoint{x, y}, reach);
    val near = val::object();
    near.set("index", piece.index);
    if (piece.index >= 0) {
        near.set("first", piece.first);
        near.set("last", piece.last);
    }
    return near;
}

// "triangle", "basis", "refinement" or "derivatives" at t, as "csv" or "latex"; "" for an
// unknown kind or format, or a curve that cannot be drawn.
std::string TableAsText(const std::string& kind, const std::string& format, double t, int times,
                        int digits) {
    const Outcome<TableKind> named = TableKindNamed(kind);
    const Outcome<TableFormat> as = TableFormatNamed(format);
    const Outcome<Table> table =
        named.ok() ? TableAt(named.value, Curve(), t, times) : Refusal<Table>(named.fault);
    const Outcome<std::string> text =
        table.ok() && as.ok() ? TableText(table.value, as.value, digits) : Refusal<std::string>("");
    return text.ok() ? text.value : "";
}

std::string Open(const Outcome<Spline>& made) {
    const Outcome<SceneText> scene =
        made.ok() ? SceneOfSpline(made.value) : Refusal<SceneText>(made.fault);
    return scene.ok() ? LoadSceneAsStep(scene.value) : scene.fault;
}

// The curve with t inserted `times` times (as far as it can be), or one degree higher, as the
// scene: "" when opened, else why not.
std::string OpenRefinement(double t, int times) {
    const Outcome<Refinement> refined = InsertKnotTimes(Curve(), t, times);
    return Open(refined.ok() ? Success(refined.value.spline) : Refusal<Spline>(refined.fault));
}

std::string OpenRaised() {
    return Open(RaiseDegree(Curve()));
}

} // namespace

EMSCRIPTEN_BINDINGS(operations_panel) {
    using namespace emscripten;
    function("operationsAt", &AtT);
    function("bezierPieces", &Pieces);
    function("raisedDegree", &Raised);
    function("curvatureComb", &Comb);
    function("lengthTicks", &Ticks);
    function("continuity", &Continuity);
    function("spanNear", &SpanNear);
    function("operationsTable", &TableAsText);
    function("openRefinement", &OpenRefinement);
    function("openRaised", &OpenRaised);
}
