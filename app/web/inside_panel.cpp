// The numbers of the panel "Inside the curve" (inside_panel.js, basis_plot.js), by name: the
// curve's domain, the editor's samples, de Boor's triangle and the basis at a parameter, the
// span ends, the shape of a basis function; the same for the explored curve of the page's knots
// and weights (explored*), and which point a position or a stretch of curve belongs to.
#include "explain.h"
#include "explored.h"
#include "panel_curve.h"
#include "raster.h"
#include "scene.h"
#include "scene_controls.h"
#include "span_cache.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

using emscripten::val;

std::vector<float> spanEnds;
std::vector<double> firstBasis;
std::vector<float> points;
std::vector<double> exploredNumbers;

// A view of numbers the page copies at once.
val View(const std::vector<double>& numbers) {
    return val(emscripten::typed_memory_view(numbers.size(), numbers.data()));
}

val Point(CurvePoint p) {
    val point = val::object();
    point.set("x", p.x);
    point.set("y", p.y);
    return point;
}

template <typename T> val Array(const T* values, int count) {
    val array = val::array();
    for (int j = 0; j < count; ++j) {
        array.call<void>("push", values[j]);
    }
    return array;
}

// The editor's sample n: the float32 t it draws at, and the t it stands for (k + n / 10).
val Sample(int n) {
    const CurveDomain domain = DomainOfCurve();
    const int last = std::max(domain.sampleCount - 1, 0);
    const int at = std::clamp(n, 0, last);
    val sample = val::object();
    sample.set("index", at);
    sample.set("exact", SampleParameter(at));
    sample.set("nominal", std::min(domain.degree + at / 10.0, double(domain.pointCount)));
    return sample;
}

// The basis values at t in the span the panel lists: at the domain's end, the last span, so
// that t = N lists the same points however t got there.
val Basis(double t) {
    const CurveDomain domain = DomainOfCurve();
    const BasisValues basis = BasisInDomain(domain.degree, domain.pointCount, t);
    val result = val::object();
    result.set("first", basis.first);
    result.set("values", Array(basis.value, basis.degree + 1));
    return result;
}

// At t (float32, within the domain): de Boor's triangle level by level (k + 1 - l points at
// level l, from the point of index `first`), the curve point and its pixel.
val Construction(float t) {
    const DeBoorLevels triangle = DeBoorTriangle(t);
    val levels = val::array();
    for (int l = 0; l <= triangle.levels; ++l) {
        val level = val::array();
        for (int j = 0; j + l <= triangle.levels; ++j) {
            level.call<void>("push", Point(triangle.point[l][j]));
        }
        levels.call<void>("push", level);
    }
    const CurvePoint top = triangle.point[triangle.levels][0];
    val pixel = val::object();
    pixel.set("column", PixelRound(top.x));
    pixel.set("row", kWorldOriginRow - PixelRound(top.y));
    val construction = val::object();
    construction.set("t", t);
    construction.set("degree", triangle.levels);
    construction.set("first", static_cast<int>(triangle.firstIndex));
    construction.set("levels", levels);
    construction.set("point", Point(top));
    construction.set("pixel", pixel);
    return construction;
}

void AddSpanEnd(void* /*context*/, float /*t*/, CurvePoint p) {
    spanEnds.push_back(p.x);
    spanEnds.push_back(p.y);
}

// The span ends as x, y pairs in world coordinates: a view the page copies at once.
val SpanEnds() {
    spanEnds.clear();
    VisitSpanEnds(AddSpanEnd, nullptr);
    return val(emscripten::typed_memory_view(spanEnds.size(), spanEnds.data()));
}

// N_0 of degree k at perKnot samples per knot interval: (k + 1) * perKnot + 1 values, a view
// the page copies at once.
val FirstBasis(int degree, int perKnot) {
    const int k = std::clamp(degree, 1, kMaxDegree);
    const int per = std::clamp(perKnot, 1, 256);
    firstBasis.assign(static_cast<std::size_t>((k + 1) * per + 1), 0.0);
    SampleFirstBasis(k, per, firstBasis.data());
    return val(emscripten::typed_memory_view(firstBasis.size(), firstBasis.data()));
}

// Every point as x, y pairs in world coordinates, for their labels: a view the page reads at
// once.
val PointsView() {
    points.clear();
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        points.push_back(p->x);
        points.push_back(p->y);
    }
    return val(emscripten::typed_memory_view(points.size(), points.data()));
}

// The explored curve: whether it is the editor's own, whether it can be drawn (or why not), its
// domain and knots, and a key that changes when its basis functions do.
val Explored() {
    const SceneText& scene = CurrentCurve().scene;
    const Spline& spline = CurrentCurve().spline;
    const std::string& fault = CurrentCurve().fault;
    val explored = val::object();
    explored.set("editors", IsEditorsCurve(scene));
    explored.set("mode", std::string(KnotModeWord(scene.knots)));
    explored.set("fault", fault);
    explored.set("degree", spline.degree);
    explored.set("points", static_cast<int>(spline.points.size()));
    explored.set("weighted", !scene.weights.empty());
    // The knots as a plain array, made from a view of them in one call.
    exploredNumbers = spline.knots;
    explored.set("knots", val::global("Array").call<val>("from", View(exploredNumbers)));
    explored.set("key", std::to_string(spline.degree) + " " + std::to_string(AdditionsVersion()) +
                            " " + std::to_string(spline.knots.size()));
    if (fault.empty()) {
        const SplineDomain domain = DomainOf(spline);
        explored.set("first", domain.first);
        explored.set("last", domain.last);
    }
    return explored;
}

val SplinePointValue(SplinePoint p) {
    val point = val::object();
    point.set("x", p.x);
    point.set("y", p.y);
    return point;
}

// At t in the explored curve's domain: de Boor's triangle, C(t) and the basis values.
val ExploredAt(double t) {
    const Spline& spline = CurrentCurve().spline;
    val at = val::object();
    if (!CurrentCurve().fault.empty()) {
        return at;
    }
    const SplineTriangle triangle = TriangleOf(spline, t);
    val levels = val::array();
    for (const std::vector<SplinePoint>& level : triangle.levels) {
        val levelPoints = val::array();
        for (const SplinePoint& p : level) {
            levelPoints.call<void>("push", SplinePointValue(p));
        }
        levels.call<void>("push", levelPoints);
    }
    const SplineBasis basis = BasisOf(spline, t);
    val values = val::array();
    for (const double value : basis.values) {
        values.call<void>("push", value);
    }
    at.set("t", t);
    at.set("degree", triangle.degree);
    at.set("first", triangle.first);
    at.set("levels", levels);
    at.set("point", SplinePointValue(triangle.levels.back().front()));
    at.set("basis", values);
    return at;
}

// The explored curve's samples span by span, kept from frame to frame: a drag moves one point,
// and only the k + 1 spans it shapes are sampled again.
struct KeptSamples {
    double tolerance;
    SpanCache<std::vector<SplineSample>> spans;
};
KeptSamples kept{};

const std::vector<std::vector<SplineSample>>& SampledSpans(const Spline& spline, double tolerance) {
    if (kept.tolerance != tolerance) {
        kept = KeptSamples{tolerance, {}};
    }
    return kept.spans.Refresh(spline, [&](int i) { return SampleSpan(spline, i, tolerance); });
}

// The explored curve for drawing: x, y and 1 where the curve breaks before the sample, else 0.
val ExploredSamples(double tolerance) {
    const Spline& spline = CurrentCurve().spline;
    exploredNumbers.clear();
    if (!CurrentCurve().fault.empty()) {
        kept = KeptSamples{};
        return View(exploredNumbers);
    }
    std::vector<SplineSample> samples;
    for (const std::vector<SplineSample>& span : SampledSpans(spline, tolerance)) {
        JoinSpan(samples, span);
    }
    for (const SplineSample& s : samples) {
        exploredNumbers.insert(exploredNumbers.end(),
                               {s.point.x, s.point.y, s.breakBefore ? 1.0 : 0.0});
    }
    return View(exploredNumbers);
}

// The curve at each distinct knot of the domain: t, x, y; the ends of the spans kept for
// drawing, which are those points (ExploredSamples runs first in a frame).
val ExploredKnotPoints() {
    exploredNumbers.clear();
    if (!CurrentCurve().fault.empty()) {
        return View(exploredNumbers);
    }
    const Spline& spline = CurrentCurve().spline;
    if (kept.spans.values.empty()) {
        for (const SplineSample& s : KnotPoints(spline)) {
            exploredNumbers.insert(exploredNumbers.end(), {s.t, s.point.x, s.point.y});
        }
        return View(exploredNumbers);
    }
    const SplineSample* last = nullptr;
    for (const std::vector<SplineSample>& span : SampledSpans(spline, kept.tolerance)) {
        if (!span.empty()) {
            exploredNumbers.insert(exploredNumbers.end(),
                                   {span.front().t, span.front().point.x, span.front().point.y});
            last = &span.back();
        }
    }
    if (last != nullptr) {
        exploredNumbers.insert(exploredNumbers.end(), {last->t, last->point.x, last->point.y});
    }
    return View(exploredNumbers);
}

// The N basis functions and their sum at `count` parameters evenly over the whole knot range:
// N + 1 numbers a parameter.
val ExploredBasis(int count) {
    const Spline& spline = CurrentCurve().spline;
    exploredNumbers.clear();
    if (CurrentCurve().fault.empty() && count >= 2) {
        const double from = spline.knots.front();
        const double to = spline.knots.back();
        for (int s = 0; s < count; ++s) {
            const double t = from + (to - from) * s / (count - 1);
            const std::vector<double> all = AllBasisAt(spline, t);
            exploredNumbers.insert(exploredNumbers.end(), all.begin(), all.end());
            exploredNumbers.push_back(std::accumulate(all.begin(), all.end(), 0.0));
        }
    }
    return View(exploredNumbers);
}

// The stretch of the curve point j moves: the curve over its basis function's support, as x, y
// pairs; on the editor's uniform knots when nothing is explored.
val PointStretch(int j, double tolerance) {
    const SceneText& scene = CurrentCurve().scene;
    const Spline& spline = CurrentCurve().spline;
    exploredNumbers.clear();
    if (!CurrentCurve().fault.empty() || j < 0 ||
        static_cast<std::size_t>(j) >= scene.points.size()) {
        return View(exploredNumbers);
    }
    const std::size_t k = static_cast<std::size_t>(spline.degree);
    const std::size_t count = spline.points.size();
    // A closed curve's wrapped copy of the point (index + N) moves the curve too.
    const auto moves = [&](std::size_t i, double t) {
        return i < count && t >= spline.knots[i] && t <= spline.knots[i + k + 1];
    };
    const std::size_t index = static_cast<std::size_t>(j);
    for (const SplineSample& s : SampleSpline(spline, tolerance)) {
        if (moves(index, s.t) || moves(index + scene.points.size(), s.t)) {
            exploredNumbers.insert(exploredNumbers.end(), {s.point.x, s.point.y});
        }
    }
    return View(exploredNumbers);
}

// The point whose marker holds the client pixel, placed first; -1 when none does.
int PointIndexAt(int x, int y) {
    const float worldX = static_cast<float>(x);
    const float worldY = static_cast<float>(kWorldOriginRow - y);
    int index = 0;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next, ++index) {
        if (worldX >= p->x - kMarkerHalfSize && worldX < p->x + kMarkerHalfSize &&
            worldY >= p->y - kMarkerHalfSize && worldY < p->y + kMarkerHalfSize) {
            return index;
        }
    }
    return -1;
}

} // namespace

EMSCRIPTEN_BINDINGS(inside_panel) {
    using namespace emscripten;
    value_object<CurveDomain>("CurveDomain")
        .field("degree", &CurveDomain::degree)
        .field("points", &CurveDomain::pointCount)
        .field("hasCurve", &CurveDomain::hasCurve)
        .field("needed", &CurveDomain::pointsNeeded)
        .field("samples", &CurveDomain::sampleCount);
    function("curveDomain", &DomainOfCurve);
    function("sample", &Sample);
    function("basisAt", &Basis);
    function("construction", &Construction);
    function("spanEnds", &SpanEnds);
    function("firstBasis", &FirstBasis);
    function("pointsView", &PointsView);
    function("explored", &Explored);
    function("exploredAt", &ExploredAt);
    function("exploredSamples", &ExploredSamples);
    function("exploredKnotPoints", &ExploredKnotPoints);
    function("exploredBasis", &ExploredBasis);
    function("pointStretch", &PointStretch);
    function("pointIndexAt", &PointIndexAt);
}
