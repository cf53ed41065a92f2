// De Boor's triangle at t with each point's name and blossom; the triangle, the basis values, a
// refinement and the derivatives at t as CSV or LaTeX for teachers; and a refinement or the raised
// curve opened as the scene (its points through the editor's operations, its knots as the page's
// custom vector, as one step).
#include "calculus.h"
#include "decimal.h"
#include "geometry.h"
#include "panel_curve.h"
#include "refine.h"
#include "scene_controls.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using emscripten::val;

// The point j of level r: r times t and the knots u_(j+1) .. u_(j+k-r), in ascending order.
std::vector<double> BlossomArguments(const Spline& s, int j, int r, double t) {
    std::vector<double> arguments(static_cast<std::size_t>(r), t);
    arguments.insert(arguments.end(), s.knots.begin() + j + 1,
                     s.knots.begin() + j + 1 + (s.degree - r));
    std::sort(arguments.begin(), arguments.end());
    return arguments;
}

// Per level, per point: its index j (the point P_j^r) and its blossom's arguments.
val TriangleLabels(double t) {
    val levels = val::array();
    const PanelCurve& curve = CurrentCurve();
    if (!curve.fault.empty()) {
        return levels;
    }
    const SplineTriangle triangle = TriangleOf(curve.spline, t);
    for (int r = 0; r <= triangle.degree; ++r) {
        val level = val::array();
        for (int p = 0; p + r <= triangle.degree; ++p) {
            const int j = triangle.first + r + p;
            val label = val::object();
            label.set("index", j);
            const std::vector<double> arguments = BlossomArguments(curve.spline, j, r, t);
            label.set("arguments", val::array(arguments.begin(), arguments.end()));
            level.call<void>("push", label);
        }
        levels.call<void>("push", level);
    }
    return levels;
}

std::string Joined(const std::vector<double>& values, const char* between) {
    std::string text;
    for (std::size_t j = 0; j < values.size(); ++j) {
        text += (j > 0 ? between : "") + FormatDouble(values[j]);
    }
    return text;
}

// A table cell as CSV has it and as LaTeX has it.
struct Cell {
    std::string csv;
    std::string latex;
};

Cell Number(double value) {
    const std::string text = std::isfinite(value) ? FormatDouble(value) : ""; // no curvature: still
    return Cell{text, text};
}

Cell Plain(const std::string& text) {
    return Cell{text, text};
}

struct Table {
    std::string caption;
    std::vector<Cell> head;
    std::vector<std::vector<Cell>> rows;
};

std::string Render(const Table& table, bool csv) {
    std::string text = csv ? ""
                           : "% " + table.caption + "\n\\begin{tabular}{" +
                                 std::string(table.head.size(), 'l') + "}\n";
    for (std::size_t r = 0; r <= table.rows.size(); ++r) {
        const std::vector<Cell>& row = r == 0 ? table.head : table.rows[r - 1];
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += (c > 0 ? (csv ? "," : " & ") : "") + (csv ? row[c].csv : row[c].latex);
        }
        text += csv ? "\n" : (r == 0 ? " \\\\\n\\hline\n" : " \\\\\n");
    }
    return csv ? text : text + "\\end{tabular}\n";
}

Cell PointName(int j, int r) {
    const std::string index = std::to_string(j);
    const std::string level = std::to_string(r);
    return Cell{"P_" + index + "^" + level, "$P_{" + index + "}^{" + level + "}$"};
}

Table TriangleTable(const Spline& s, double t) {
    Table table{"de Boor's triangle at t = " + FormatDouble(t) + ", degree " +
                    std::to_string(s.degree),
                {Plain("t"), Plain("level"), Plain("index"), Plain("point"), Plain("blossom"),
                 Plain("x"), Plain("y"), Plain("weight")},
                {}};
    const SplineTriangle triangle = TriangleOf(s, t);
    for (int r = 0; r <= triangle.degree; ++r) {
        for (std::size_t p = 0; p < triangle.levels[r].size(); ++p) {
            const int j = triangle.first + r + static_cast<int>(p);
            const std::string blossom = "p(" + Joined(BlossomArguments(s, j, r, t), ", ") + ")";
            table.rows.push_back({Number(t), Plain(std::to_string(r)), Plain(std::to_string(j)),
                                  PointName(j, r), Cell{"\"" + blossom + "\"", "$" + blossom + "$"},
                                  Number(triangle.levels[r][p].x), Number(triangle.levels[r][p].y),
                                  Number(triangle.weights[r][p])});
        }
    }
    return table;
}

Table BasisTable(const Spline& s, double t) {
    const std::string k = std::to_string(s.degree);
    Table table{"the basis functions of degree " + k + " at t = " + FormatDouble(t),
                {Plain("t"), Plain("point"), Cell{"N_j," + k, "$N_{j," + k + "}(t)$"}},
                {}};
    const SplineBasis basis = BasisOf(s, t);
    for (std::size_t p = 0; p < basis.values.size(); ++p) {
        const int j = basis.first + static_cast<int>(p);
        table.rows.push_back({Number(t),
                              Cell{"P_" + std::to_string(j), "$P_{" + std::to_string(j) + "}$"},
                              Number(basis.values[p])});
    }
    return table;
}

// The refined polygon and knot vector after t is inserted `times` times (as far as it can be).
Table RefinementTable(const Spline& s, double t, int times) {
    int inserted = 0;
    const Spline refined = InsertKnotTimes(s, t, times, inserted);
    Table table{"the curve with t = " + FormatDouble(t) + " inserted: points, weights and knots",
                {Plain("index"), Plain("x"), Plain("y"), Plain("weight"), Plain("knot")},
                {}};
    for (std::size_t j = 0; j < refined.knots.size(); ++j) {
        const bool point = j < refined.points.size();
        table.rows.push_back(
            {Plain(std::to_string(j)), point ? Number(refined.points[j].x) : Plain(""),
             point ? Number(refined.points[j].y) : Plain(""),
             point ? Number(refined.weights[j]) : Plain(""), Number(refined.knots[j])});
    }
    return table;
}

// C, C', C'' and the curvature at t, and the arc length to t and in all.
Table DerivativesTable(const Spline& s, double t) {
    const std::vector<SplinePoint> c = DerivativesAt(s, t, 2);
    const std::vector<double> lengths = SpanLengths(s);
    Table table{"the curve's derivatives, curvature and arc length at t = " + FormatDouble(t),
                {Plain("t"), Plain("x"), Plain("y"), Cell{"dx", "$x'$"}, Cell{"dy", "$y'$"},
                 Cell{"ddx", "$x''$"}, Cell{"ddy", "$y''$"}, Cell{"curvature", "$\\kappa$"},
                 Cell{"length to t", "$s(t)$"}, Cell{"length", "$L$"}},
                {}};
    table.rows.push_back({Number(t), Number(c[0].x), Number(c[0].y), Number(c[1].x), Number(c[1].y),
                          Number(c[2].x), Number(c[2].y), Number(CurvatureOf(c[1], c[2])),
                          Number(LengthTo(s, lengths, t)),
                          Number(LengthTo(s, lengths, DomainOf(s).last))});
    return table;
}

// "triangle", "basis", "refinement" or "derivatives" at t, as "csv" or "latex": every number in
// the fewest digits that read back the same; "" for an unknown kind or a curve that cannot be
// drawn.
std::string TableText(const std::string& kind, const std::string& format, double t, int times) {
    const PanelCurve& curve = CurrentCurve();
    if (!curve.fault.empty()) {
        return "";
    }
    const Spline& s = curve.spline;
    const bool csv = format == "csv";
    if (kind == "triangle") {
        return Render(TriangleTable(s, t), csv);
    }
    if (kind == "basis") {
        return Render(BasisTable(s, t), csv);
    }
    if (kind == "refinement") {
        return Render(RefinementTable(s, t, times), csv);
    }
    if (kind == "derivatives") {
        return Render(DerivativesTable(s, t), csv);
    }
    return "";
}

std::string Open(const Spline& s) {
    if (s.degree > kMaxDegree) {
        return "the editor's degrees go up to " + std::to_string(kMaxDegree);
    }
    if (s.points.size() > kMostScenePoints) {
        return "a scene holds at most " + std::to_string(kMostScenePoints) + " points";
    }
    SceneText scene{s.degree, {}};
    for (const SplinePoint& p : s.points) {
        scene.points.push_back(ScenePoint{static_cast<float>(p.x), static_cast<float>(p.y)});
    }
    scene.knots = KnotMode::Custom;
    scene.customKnots = s.knots;
    if (std::any_of(s.weights.begin(), s.weights.end(), [](double w) { return w != 1.0; })) {
        scene.weights = s.weights;
    }
    return LoadSceneAsStep(scene);
}

// The curve with t inserted `times` times (as far as it can be), or one degree higher, as the
// scene: "" when opened, else why not.
std::string OpenRefinement(double t, int times) {
    const PanelCurve& curve = CurrentCurve();
    if (!curve.fault.empty()) {
        return curve.fault;
    }
    int inserted = 0;
    return Open(InsertKnotTimes(curve.spline, t, times, inserted));
}

std::string OpenRaised() {
    const PanelCurve& curve = CurrentCurve();
    return curve.fault.empty() ? Open(RaiseDegree(curve.spline)) : curve.fault;
}

} // namespace

EMSCRIPTEN_BINDINGS(operations_tables) {
    using namespace emscripten;
    function("triangleLabels", &TriangleLabels);
    function("operationsTable", &TableText);
    function("openRefinement", &OpenRefinement);
    function("openRaised", &OpenRaised);
}
