// The numbers of the panel's operations (operations_panel.js) on the curve the panel explains:
// knot insertion and splitting at t, the Bezier pieces, the degree raised, derivatives and
// curvature, continuity at the knots, arc length, de Boor's triangle labelled, and the triangle
// and basis at t as CSV and LaTeX; a refinement or the raised curve opened as the scene. What is
// drawn span by span is kept from frame to frame: a drag changes only the k + 1 spans a point
// shapes, and only those are computed again.
#include "calculus.h"
#include "panel_curve.h"
#include "refine.h"
#include "scene_controls.h"
#include "span_cache.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace {

using emscripten::val;

std::vector<double> numbers; // the last view handed to the page

val View(const std::vector<double>& values) {
    return val(emscripten::typed_memory_view(values.size(), values.data()));
}

// A plain array the page keeps (a view would change under it).
val Copy(const std::vector<double>& values) {
    return val::global("Array").call<val>("from", View(values));
}

val PointsOf(const Spline& spline) {
    std::vector<double> xy;
    for (const SplinePoint& p : spline.points) {
        xy.insert(xy.end(), {p.x, p.y});
    }
    return Copy(xy);
}

val Vector(SplinePoint p) {
    val v = val::object();
    v.set("x", p.x);
    v.set("y", p.y);
    return v;
}

SpanCache<BezierPiece> pieces;
SpanCache<std::vector<CombTooth>> combs;
SpanCache<double> lengths;
int combPerSpan = 0;

bool Drawable() {
    return CurrentCurve().fault.empty();
}

const std::vector<double>& Lengths() {
    const Spline& s = CurrentCurve().spline;
    return lengths.Refresh(s, [&](int i) { return SpanLength(s, i); });
}

// At t: the refinement after `times` insertions (and the halves once t is there k times), the
// derivatives, curvature and the length to t.
val OperationsAt(double t, int times) {
    val at = val::object();
    at.set("fault", CurrentCurve().fault);
    if (!Drawable()) {
        return at;
    }
    const Spline& s = CurrentCurve().spline;
    int inserted = 0;
    const Spline refined = InsertKnotTimes(s, t, times, inserted);
    const std::string next = InsertFault(refined, t);
    at.set("degree", s.degree);
    // Changes whenever the curve's knots (or whether it is rational) can: with the page's
    // additions, the degree or the number of points.
    at.set("knotsKey", std::to_string(AdditionsVersion()) + " " + std::to_string(s.degree) + " " +
                           std::to_string(s.points.size()));
    const SplineDomain domain = DomainOf(s);
    int spans = 0;
    for (int i = s.degree; i < static_cast<int>(s.points.size()); ++i) {
        spans += s.knots[i] < s.knots[i + 1] ? 1 : 0;
    }
    at.set("spans", spans);
    at.set("meanSpan", (domain.last - domain.first) / std::max(spans, 1));
    at.set("inserted", inserted);
    at.set("multiplicity", MultiplicityOf(refined, t));
    at.set("insertNote", next);
    if (inserted > 0) {
        at.set("refined", PointsOf(refined));
        at.set("refinedKnots", Copy(refined.knots));
    }
    const std::string splitFault = SplitFault(s, t);
    at.set("splitNote", splitFault);
    if (inserted > 0 && splitFault.empty() && MultiplicityOf(refined, t) >= s.degree) {
        const SplitSpline halves = SplitAt(refined, t); // t there k times: nothing inserted again
        at.set("before", PointsOf(halves.before));
        at.set("after", PointsOf(halves.after));
    }
    const std::vector<SplinePoint> c = DerivativesAt(s, t, 2);
    at.set("point", Vector(c[0]));
    at.set("first", Vector(c[1]));
    at.set("second", Vector(c[2]));
    const double curvature = CurvatureOf(c[1], c[2]);
    at.set("curvature", std::isfinite(curvature) ? val(curvature) : val::null());
    const std::vector<double>& lengthsNow = Lengths();
    at.set("length", std::accumulate(lengthsNow.begin(), lengthsNow.end(), 0.0));
    at.set("lengthToT", LengthTo(s, lengthsNow, t));
    return at;
}

// Every Bezier piece: its span's ends, then its k + 1 points as x, y.
val Pieces() {
    numbers.clear();
    if (Drawable()) {
        const Spline& s = CurrentCurve().spline;
        const auto& all = pieces.Refresh(s, [&](int i) {
            return s.knots[i] < s.knots[i + 1] ? BezierPieceOf(s, i) : BezierPiece{};
        });
        for (const BezierPiece& piece : all) {
            if (piece.points.empty()) {
                continue;
            }
            numbers.insert(numbers.end(), {piece.first, piece.last});
            for (const WeightedPoint& p : piece.points) {
                numbers.insert(numbers.end(), {p.point.x, p.point.y});
            }
        }
    }
    return View(numbers);
}

// The raised curve's points, kept by the span of the original each is taken from: the raised
// knots and which span each point comes from change only with the knots.
struct RaisedKept {
    std::vector<double> knots;             // the raised knots the sources are for
    std::vector<std::pair<int, int>> from; // point j: its span, and its place among its span's
    std::vector<std::vector<int>> taken;   // span k + s at s: the points taken from it
    SpanCache<std::vector<WeightedPoint>> points;
};
RaisedKept raisedKept;

Spline RaisedNow(const Spline& s) {
    std::vector<double> v = RaisedKnots(s);
    const int count = static_cast<int>(v.size()) - s.degree - 2;
    if (v != raisedKept.knots) {
        raisedKept = RaisedKept{v, {}, {}, {}};
        raisedKept.taken.resize(s.points.size() - static_cast<std::size_t>(s.degree));
        for (int j = 0; j < count; ++j) {
            std::vector<int>& taken =
                raisedKept.taken[static_cast<std::size_t>(RaisedSource(s, v, j) - s.degree)];
            raisedKept.from.emplace_back(RaisedSource(s, v, j), static_cast<int>(taken.size()));
            taken.push_back(j);
        }
    }
    const auto& bySpan = raisedKept.points.Refresh(s, [&](int i) {
        const std::vector<int>& taken = raisedKept.taken[static_cast<std::size_t>(i - s.degree)];
        std::vector<WeightedPoint> points(taken.size());
        std::transform(taken.begin(), taken.end(), points.begin(),
                       [&](int j) { return RaisedPoint(s, v, j, i); });
        return points;
    });
    Spline raised{s.degree + 1, {}, {}, std::move(v)};
    for (const auto& [span, place] : raisedKept.from) {
        const WeightedPoint& p =
            bySpan[static_cast<std::size_t>(span - s.degree)][static_cast<std::size_t>(place)];
        raised.points.push_back(p.point);
        raised.weights.push_back(p.weight);
    }
    return raised;
}

// The same curve one degree higher: its points and knots, or why there is none.
val Raised() {
    val raised = val::object();
    if (!Drawable()) {
        raised.set("fault", CurrentCurve().fault);
        return raised;
    }
    const Spline r = RaisedNow(CurrentCurve().spline);
    raised.set("fault", std::string());
    raised.set("degree", r.degree);
    raised.set("points", PointsOf(r));
    raised.set("knots", Copy(r.knots));
    return raised;
}

const std::vector<std::vector<CombTooth>>& CombSpans(int perSpan) {
    const Spline& s = CurrentCurve().spline;
    const int per = std::clamp(perSpan, 1, 64);
    if (per != combPerSpan) {
        combs = {};
        combPerSpan = per;
    }
    return combs.Refresh(s, [&](int i) {
        return s.knots[i] < s.knots[i + 1] ? CombInSpan(s, i, per) : std::vector<CombTooth>{};
    });
}

// The curvature comb: x, y, the unit normal, the curvature (NaN where the curve stands still)
// and 1 where the comb breaks before the tooth, else 0.
val Comb(int perSpan) {
    numbers.clear();
    if (Drawable()) {
        for (const std::vector<CombTooth>& span : CombSpans(perSpan)) {
            for (std::size_t j = 0; j < span.size(); ++j) {
                const CombTooth& tooth = span[j];
                const bool jump = j == 0 && numbers.size() >= 6 &&
                                  (numbers[numbers.size() - 6] != tooth.point.x ||
                                   numbers[numbers.size() - 5] != tooth.point.y);
                numbers.insert(numbers.end(), {tooth.point.x, tooth.point.y, tooth.normal.x,
                                               tooth.normal.y, tooth.curvature, jump ? 1.0 : 0.0});
            }
        }
    }
    return View(numbers);
}

void AddTick(const Spline& s, double t, std::vector<double>& out) {
    const std::vector<SplinePoint> c = DerivativesAt(s, t, 1);
    const double speed = std::hypot(c[1].x, c[1].y);
    const SplinePoint n =
        speed > 0.0 ? SplinePoint{-c[1].y / speed, c[1].x / speed} : SplinePoint{0, 0};
    out.insert(out.end(), {c[0].x, c[0].y, n.x, n.y});
}

// count + 1 ticks at equal steps of t and as many at equal arc length: x, y and the unit normal
// each, the first set then the second.
val LengthTicks(int count) {
    numbers.clear();
    if (Drawable() && count >= 1 && count <= 4096) {
        const Spline& s = CurrentCurve().spline;
        const SplineDomain d = DomainOf(s);
        for (int m = 0; m <= count; ++m) {
            AddTick(s, m == count ? d.last : d.first + (d.last - d.first) * m / count, numbers);
        }
        for (const double t : EqualLengthParameters(s, Lengths(), count)) {
            AddTick(s, t, numbers);
        }
    }
    return View(numbers);
}

// At the `count` knots inside the domain nearest t: each one's value, multiplicity, the
// promised and the measured continuity.
val Continuity(double t, int count) {
    val result = val::object();
    val knots = val::array();
    result.set("knots", knots);
    if (!Drawable()) {
        result.set("total", 0);
        return result;
    }
    const Spline& s = CurrentCurve().spline;
    const SplineDomain domain = DomainOf(s);
    int total = 0;
    for (std::size_t j = 0; j < s.knots.size(); ++j) {
        const double u = s.knots[j];
        total += u > domain.first && u < domain.last && (j == 0 || s.knots[j - 1] != u) ? 1 : 0;
    }
    result.set("total", total);
    for (const KnotContinuity& knot : ContinuityNear(s, t, count)) {
        val one = val::object();
        one.set("t", knot.t);
        one.set("multiplicity", knot.multiplicity);
        one.set("promised", knot.promised);
        one.set("measured", knot.measured);
        knots.call<void>("push", one);
    }
    return result;
}

// The non-empty span nearest the world point within `reach`, by the comb's points, as its
// piece's index among the pieces and its ends; index -1 when none is that near.
val SpanNear(double x, double y, double reach) {
    val near = val::object();
    near.set("index", -1);
    if (!Drawable()) {
        return near;
    }
    double best = reach;
    int piece = -1;
    int found = -1;
    for (const std::vector<CombTooth>& span : CombSpans(combPerSpan > 0 ? combPerSpan : 8)) {
        piece += span.empty() ? 0 : 1;
        for (const CombTooth& tooth : span) {
            const double distance = std::hypot(tooth.point.x - x, tooth.point.y - y);
            if (distance <= best) {
                best = distance;
                found = piece;
                near.set("first", span.front().t);
                near.set("last", span.back().t);
            }
        }
    }
    near.set("index", found);
    return near;
}

} // namespace

EMSCRIPTEN_BINDINGS(operations_panel) {
    using namespace emscripten;
    function("operationsAt", &OperationsAt);
    function("bezierPieces", &Pieces);
    function("raisedDegree", &Raised);
    function("curvatureComb", &Comb);
    function("lengthTicks", &LengthTicks);
    function("continuity", &Continuity);
    function("spanNear", &SpanNear);
}
