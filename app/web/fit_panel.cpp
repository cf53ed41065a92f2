// The part "Through the points" (fit_panel.js): the fit of the editor's points as the view
// chooses it, as JavaScript values; its table as CSV or LaTeX; the fit opened as the scene.
#include "fit_panel.h"

#include "explored.h"
#include "fit_scene.h"
#include "fit_table.h"
#include "js_values.h"
#include "panel_curve.h"
#include "scene.h"
#include "scene_controls.h"

#include <emscripten/bind.h>

#include <string>

namespace {

using emscripten::val;

constexpr int kMostMatrixRows = 40;      // the collocation matrix is shown up to this many rows
constexpr double kSampleTolerance = 1.0; // pixels between the fit's chords and the curve

struct Kept {
    std::uint32_t sceneVersion = 0;
    std::uint32_t additionsVersion = 0;
    bool made = false;
    FitView fit;
    std::vector<SplinePoint> data;
    Outcome<Fit> result;
};
Kept kept{};

// The fit of the editor's points, made again only when the scene or the choices change.
const Kept& FitNow(const FitView& fit) {
    const PanelCurve& curve = CurrentCurve();
    if (kept.made && kept.sceneVersion == curve.sceneVersion &&
        kept.additionsVersion == curve.additionsVersion && SameFit(kept.fit, fit)) {
        return kept;
    }
    kept.data = FitData(curve.scene);
    kept.result = FitOfScene(curve.scene, fit);
    kept.sceneVersion = curve.sceneVersion;
    kept.additionsVersion = curve.additionsVersion;
    kept.fit = fit;
    kept.made = true;
    return kept;
}

val Rows(const Fit& fit) {
    val rows = val::array();
    if (fit.parameters.size() > kMostMatrixRows) {
        return rows;
    }
    for (const SplineBasis& basis : CollocationOf(fit)) {
        val row = val::object();
        row.set("first", basis.first);
        row.set("values", ArrayOf(basis.values));
        rows.call<void>("push", row);
    }
    return rows;
}

// The fit as the page draws it: the control points, the knots, the parameters, each data
// point's curve point, the distances, the band, the curve's samples and the matrix's rows.
val FitValue(const val& view) {
    const Kept& now = FitNow(FitViewOf(view));
    val shown = val::object();
    shown.set("fault", now.result.fault);
    if (!now.result.ok()) {
        return shown;
    }
    const Fit& fit = now.result.value;
    shown.set("degree", fit.spline.degree);
    shown.set("points", PointNumbers(fit.spline.points));
    shown.set("knots", ArrayOf(fit.spline.knots));
    shown.set("parameters", ArrayOf(fit.parameters));
    shown.set("onCurve", PointNumbers(fit.onCurve));
    shown.set("data", PointNumbers(now.data));
    shown.set("largest", fit.largest);
    shown.set("mean", fit.mean);
    shown.set("lower", fit.lower);
    shown.set("upper", fit.upper);
    shown.set("samples", PointNumbers(FitSamples(fit, kSampleTolerance)));
    shown.set("rows", Rows(fit));
    return shown;
}

// "csv" or "latex" ("" without a fit).
std::string FitTableText(const val& view, const std::string& format, int digits) {
    const Kept& now = FitNow(FitViewOf(view));
    const Outcome<TableFormat> as = TableFormatNamed(format);
    if (!now.result.ok() || !as.ok()) {
        return "";
    }
    const Table table =
        FitTable(now.result.value, now.data,
                 "the curve through the points: parameters, knots and control points");
    const Outcome<std::string> text = TableText(table, as.value, digits);
    return text.ok() ? text.value : "";
}

// The fit as the scene, its knots the custom vector, as one step: "" when opened, else why not.
std::string OpenFit(const val& view) {
    const Kept& now = FitNow(FitViewOf(view));
    if (!now.result.ok()) {
        return now.result.fault;
    }
    const Outcome<SceneText> scene = SceneOfSpline(now.result.value.spline);
    return scene.ok() ? LoadSceneAsStep(scene.value) : scene.fault;
}

} // namespace

FitView FitViewOf(const val& view) {
    FitView fit{};
    // The words read as a link's are: an unknown one leaves the fresh choice.
    TakeFitPair(fit, "fit", view["fit"].as<std::string>(), 0, 0);
    TakeFitPair(fit, "spacing", view["fitSpacing"].as<std::string>(), 0, 0);
    fit.uniformKnots = view["fitKnots"].as<std::string>() == "uniform";
    fit.closed = view["fitClosed"].as<bool>();
    fit.controls = view["fitControls"].isNumber() ? view["fitControls"].as<int>() : -1;
    fit.pinned = view["fitPinned"].as<bool>();
    return fit;
}

void SetFitValues(val& view, const FitView& fit) {
    view.set("fit", std::string(FitShownWord(fit.shown)));
    view.set("fitSpacing", std::string(FitSpacingChoiceWord(fit.spacing)));
    view.set("fitKnots", std::string(fit.uniformKnots ? "uniform" : "average"));
    view.set("fitClosed", fit.closed);
    view.set("fitControls", fit.controls < 0 ? val::null() : val(fit.controls));
    view.set("fitPinned", fit.pinned);
}

EMSCRIPTEN_BINDINGS(fit_panel) {
    emscripten::function("fitNow", &FitValue);
    emscripten::function("fitTable", &FitTableText);
    emscripten::function("openFit", &OpenFit);
}
