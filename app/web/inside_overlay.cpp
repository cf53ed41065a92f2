// The numbers of what the panel "Inside the curve" draws over the editor (inside_overlay.js), by
// name: the editor's span ends and points, the explored curve and its knots' points, and the
// stretch of curve a point moves.
#include "curve.h"
#include "explore.h"
#include "js_values.h"
#include "panel_curve.h"
#include "scene.h"

#include <emscripten/bind.h>

#include <vector>

namespace {

using emscripten::val;

void AddSpanEnd(void* context, float /*t*/, CurvePoint p) {
    static_cast<std::vector<double>*>(context)->insert(
        static_cast<std::vector<double>*>(context)->end(), {p.x, p.y});
}

// The editor's span ends as x, y pairs in world coordinates.
val SpanEnds() {
    std::vector<double> ends;
    VisitSpanEnds(AddSpanEnd, &ends);
    return NumberArray(ends);
}

// Every point as x, y pairs in world coordinates, for their labels.
val Points() {
    std::vector<double> xy;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        xy.insert(xy.end(), {p->x, p->y});
    }
    return NumberArray(xy);
}

KeptSamples kept{};

// The explored curve for drawing: x, y and 1 where the curve breaks before the sample, else 0.
val ExploredSamples(double tolerance) {
    std::vector<double> numbers;
    for (const SplineSample& s : KeptCurve(kept, CurrentCurve().spline, tolerance).value) {
        numbers.insert(numbers.end(), {s.point.x, s.point.y, s.breakBefore ? 1.0 : 0.0});
    }
    return NumberArray(numbers);
}

// The curve at each distinct knot of the domain: t, x, y.
val ExploredKnotPoints() {
    std::vector<double> numbers;
    if (CurrentCurve().fault.empty()) {
        for (const SplineSample& s : KnotPoints(CurrentCurve().spline)) {
            numbers.insert(numbers.end(), {s.t, s.point.x, s.point.y});
        }
    }
    return NumberArray(numbers);
}

// The stretch of the curve point j moves, as x, y pairs.
val Stretch(int j, double tolerance) {
    const PanelCurve& curve = CurrentCurve();
    return PointNumbers(
        PointStretch(curve.spline, static_cast<int>(curve.scene.points.size()), j, tolerance)
            .value);
}

} // namespace

EMSCRIPTEN_BINDINGS(inside_overlay) {
    using namespace emscripten;
    function("spanEnds", &SpanEnds);
    function("pointsView", &Points);
    function("exploredSamples", &ExploredSamples);
    function("exploredKnotPoints", &ExploredKnotPoints);
    function("pointStretch", &Stretch);
}
