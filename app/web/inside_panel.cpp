// The numbers of the panel "Inside the curve" (inside_panel.js, basis_plot.js), by name: the
// curve's domain, the editor's samples, de Boor's triangle and the basis at a parameter, the
// span ends, the shape of a basis function.
#include "explain.h"
#include "raster.h"
#include "scene.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <vector>

namespace {

using emscripten::val;

std::vector<float> spanEnds;
std::vector<double> firstBasis;
std::vector<float> points;

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
}
