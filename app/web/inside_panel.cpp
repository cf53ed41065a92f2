// The numbers of the panel "Inside the curve" (inside_panel.js), by name: the editor's samples,
// de Boor's triangle and the basis at a parameter; the explored curve of the page's knots and
// weights at t with its triangle's names, and its basis functions; which point a pixel holds.
#include "explain.h"
#include "explore.h"
#include "explored.h"
#include "js_values.h"
#include "panel_curve.h"
#include "raster.h"
#include "reach.h"
#include "scene_controls.h"
#include "tables.h"

#include <emscripten/bind.h>

#include <string>
#include <vector>

namespace {

using emscripten::val;

val Sample(int n) {
    const EditorSample at = EditorSampleAt(n);
    val sample = val::object();
    sample.set("index", at.index);
    sample.set("exact", at.exact);
    sample.set("nominal", at.nominal);
    return sample;
}

val Basis(double t) {
    const CurveDomain domain = DomainOfCurve();
    const BasisValues basis = BasisInDomain(domain.degree, domain.pointCount, t);
    val result = val::object();
    result.set("first", basis.first);
    result.set("values", ArrayOf(std::vector<double>(basis.value, basis.value + basis.degree + 1)));
    return result;
}

// At t (float32, within the domain): de Boor's triangle level by level, the curve point and its
// pixel.
val Construction(float t) {
    const DeBoorLevels triangle = DeBoorTriangle(t);
    val levels = val::array();
    for (int l = 0; l <= triangle.levels; ++l) {
        val level = val::array();
        for (int j = 0; j + l <= triangle.levels; ++j) {
            level.call<void>("push", XY(triangle.point[l][j].x, triangle.point[l][j].y));
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
    construction.set("point", XY(top.x, top.y));
    construction.set("pixel", pixel);
    return construction;
}

// The explored curve: whether it is the editor's own, whether it can be drawn (or why not), its
// domain and knots, and a key that changes when its basis functions do.
val Explored() {
    const PanelCurve& curve = CurrentCurve();
    val explored = val::object();
    explored.set("editors", IsEditorsCurve(curve.scene));
    explored.set("mode", std::string(KnotModeWord(curve.scene.knots)));
    explored.set("fault", curve.fault);
    explored.set("degree", curve.spline.degree);
    explored.set("points", static_cast<int>(curve.spline.points.size()));
    explored.set("weighted", !curve.scene.weights.empty());
    explored.set("knots", ArrayOf(curve.spline.knots));
    explored.set("key", std::to_string(curve.spline.degree) + " " +
                            std::to_string(AdditionsVersion()) + " " +
                            std::to_string(curve.spline.knots.size()));
    if (curve.fault.empty()) {
        const SplineDomain domain = DomainOf(curve.spline);
        explored.set("first", domain.first);
        explored.set("last", domain.last);
    }
    return explored;
}

// At t in the explored curve's domain: de Boor's triangle, C(t) and the basis values.
val ExploredAt(double t) {
    const PanelCurve& curve = CurrentCurve();
    val at = val::object();
    if (!curve.fault.empty()) {
        return at;
    }
    const SplineTriangle triangle = TriangleOf(curve.spline, t);
    val levels = val::array();
    for (const std::vector<SplinePoint>& level : triangle.levels) {
        val points = val::array();
        for (const SplinePoint& p : level) {
            points.call<void>("push", XY(p));
        }
        levels.call<void>("push", points);
    }
    at.set("t", t);
    at.set("degree", triangle.degree);
    at.set("first", triangle.first);
    at.set("levels", levels);
    at.set("point", XY(triangle.levels.back().front()));
    at.set("basis", ArrayOf(BasisOf(curve.spline, t).values));
    return at;
}

// Per level, per point: its index j (the point P_j^r) and its blossom's arguments.
val Labels(double t) {
    val levels = val::array();
    const Outcome<std::vector<std::vector<TriangleLabel>>> labels =
        TriangleLabels(CurrentCurve().spline, t);
    for (const std::vector<TriangleLabel>& level : labels.value) {
        val names = val::array();
        for (const TriangleLabel& label : level) {
            val name = val::object();
            name.set("index", label.index);
            name.set("arguments", ArrayOf(label.arguments));
            names.call<void>("push", name);
        }
        levels.call<void>("push", names);
    }
    return levels;
}

// The N basis functions and their sum at `count` parameters evenly over the whole knot range:
// N + 1 numbers a parameter.
val ExploredBasis(int count) {
    std::vector<double> numbers;
    for (const BasisRow& row : BasisAcrossKnots(CurrentCurve().spline, count).value) {
        numbers.insert(numbers.end(), row.values.begin(), row.values.end());
        numbers.push_back(row.sum);
    }
    return NumberArray(numbers);
}

} // namespace

EMSCRIPTEN_BINDINGS(inside_panel) {
    using namespace emscripten;
    function("sample", &Sample);
    function("basisAt", &Basis);
    function("construction", &Construction);
    function("explored", &Explored);
    function("exploredAt", &ExploredAt);
    function("triangleLabels", &Labels);
    function("exploredBasis", &ExploredBasis);
    function("pointIndexAt", &PointIndexAtPixel);
}
