// The numbers of the panel's "Knots, ends and weights" (knots_panel.js), by name: the knots'
// mode and vector, a vector typed or a knot moved, a multiplicity changed, and example scenes.
// Each change is one step; none touches the editor's own curve.
#include "explored.h"
#include "knots.h"
#include "scene.h"
#include "scene_controls.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <vector>

namespace {

using emscripten::val;

template <typename T> val Array(const std::vector<T>& values) {
    val array = val::array();
    for (const T& value : values) {
        array.call<void>("push", value);
    }
    return array;
}

val Knots() {
    const SceneText scene = PageScene();
    const Spline spline = ExploredSpline(scene);
    val state = val::object();
    state.set("mode", std::string(KnotModeWord(scene.knots)));
    state.set("degree", scene.degree);
    state.set("points", static_cast<int>(scene.points.size()));
    state.set("knots", Array(spline.knots));
    state.set("text", FormatKnots(spline.knots));
    state.set("valid", SplineFault(spline).empty());
    state.set("note", AdditionsNote());
    return state;
}

KnotMode ModeOf(const std::string& word) {
    const KnotMode modes[] = {KnotMode::Clamped, KnotMode::Closed, KnotMode::Custom};
    const KnotMode* found = std::find_if(std::begin(modes), std::end(modes),
                                         [&](KnotMode mode) { return word == KnotModeWord(mode); });
    return found == std::end(modes) ? KnotMode::Uniform : *found;
}

std::string SetMode(const std::string& word) {
    SceneText scene = PageScene();
    const KnotMode mode = ModeOf(word);
    if (mode == KnotMode::Custom && scene.knots != KnotMode::Custom) {
        // A custom vector starts from the knots shown (a closed curve's are not its points').
        scene.customKnots = scene.knots == KnotMode::Closed
                                ? UniformKnots(static_cast<int>(scene.points.size()), scene.degree)
                                : ExploredSpline(scene).knots;
    }
    if (mode != KnotMode::Custom) {
        scene.customKnots.clear();
    }
    scene.knots = mode;
    ChangeAdditionsAsStep(scene);
    return "";
}

// A custom vector for the page's points, or the reason it cannot be one; nothing changes then.
// A step of its own, unless a drag goes on.
std::string SetCustom(SceneText scene, const std::vector<double>& knots, bool step = true) {
    const std::string fault =
        KnotsFault(knots, static_cast<int>(scene.points.size()), scene.degree);
    if (!fault.empty()) {
        return fault;
    }
    scene.knots = KnotMode::Custom;
    scene.customKnots = knots;
    if (step) {
        ChangeAdditionsAsStep(scene);
    } else {
        ChangeAdditions(scene);
    }
    return "";
}

std::string SetText(const std::string& text) {
    std::vector<double> knots;
    const std::string fault = ParseKnots(text, knots);
    return fault.empty() ? SetCustom(PageScene(), knots) : fault;
}

// The vector a knot is edited in: a closed curve's knots belong to its wrapped points.
std::string Editable(const SceneText& scene, std::vector<double>& knots) {
    if (scene.knots == KnotMode::Closed) {
        return "a closed curve keeps uniform knots: choose Custom to move them";
    }
    knots = ExploredSpline(scene).knots;
    return knots.empty() ? "there are no knots" : "";
}

// The run of equal knots from `index` moved to u, kept between the knots before and after it; a
// step of its own unless `dragging`.
std::string MoveKnot(int index, double u, bool dragging) {
    const SceneText scene = PageScene();
    std::vector<double> knots;
    const std::string fault = Editable(scene, knots);
    if (!fault.empty() || index < 0 || static_cast<std::size_t>(index) >= knots.size()) {
        return fault.empty() ? "there is no knot " + std::to_string(index) : fault;
    }
    std::size_t end = static_cast<std::size_t>(index);
    while (end + 1 < knots.size() && knots[end + 1] == knots[static_cast<std::size_t>(index)]) {
        ++end;
    }
    const double low = index > 0 ? knots[static_cast<std::size_t>(index) - 1] : -1e9;
    const double high = end + 1 < knots.size() ? knots[end + 1] : 1e9;
    const double to = std::isfinite(u) ? std::min(std::max(u, low), high) : knots[end];
    for (std::size_t j = static_cast<std::size_t>(index); j <= end; ++j) {
        knots[j] = to;
    }
    return SetCustom(scene, knots, !dragging);
}

// Raises the multiplicity of the knots equal to knot `index` by taking the next knot (or the one
// before, at the end) onto them; lowers it by moving one copy halfway to the next knot.
std::string ChangeMultiplicity(int index, int delta) {
    const SceneText scene = PageScene();
    std::vector<double> knots;
    const std::string fault = Editable(scene, knots);
    if (!fault.empty() || index < 0 || static_cast<std::size_t>(index) >= knots.size()) {
        return fault.empty() ? "there is no knot " + std::to_string(index) : fault;
    }
    const double u = knots[static_cast<std::size_t>(index)];
    std::size_t first = static_cast<std::size_t>(index);
    while (first > 0 && knots[first - 1] == u) {
        --first;
    }
    std::size_t end = first;
    while (end + 1 < knots.size() && knots[end + 1] == u) {
        ++end;
    }
    const std::size_t m = end - first + 1;
    if (delta > 0) {
        if (m >= static_cast<std::size_t>(scene.degree) + 1) {
            return "the knot " + FormatKnots({u}) + " already stands k + 1 times";
        }
        if (end + 1 < knots.size()) {
            knots[end + 1] = u;
        } else if (first > 0) {
            knots[first - 1] = u;
        }
    } else {
        if (m == 1) {
            return "the knot " + FormatKnots({u}) + " stands once";
        }
        knots[end] = end + 1 < knots.size() ? (u + knots[end + 1]) / 2.0 : u + 1.0;
    }
    return SetCustom(scene, knots);
}

struct Example {
    const char* name;
    const char* title;
};

constexpr Example kExamples[] = {
    {"uniform", "A uniform cubic"},
    {"clamped", "The same points, clamped"},
    {"closed", "A closed cubic"},
    {"circle", "A circle: a rational quadratic"},
};

val Examples() {
    val list = val::array();
    for (const Example& example : kExamples) {
        val item = val::object();
        item.set("name", std::string(example.name));
        item.set("title", std::string(example.title));
        list.call<void>("push", item);
    }
    return list;
}

std::string OpenExample(const std::string& name) {
    const std::vector<ScenePoint> cubic = {{80, -140},  {150, 120}, {280, 170}, {330, -60},
                                           {440, -170}, {560, -20}, {590, 160}};
    SceneText scene{3, cubic};
    if (name == "clamped") {
        scene.knots = KnotMode::Clamped;
    } else if (name == "closed") {
        scene.points = {{320, 170}, {470, 90}, {500, -90}, {320, -190}, {140, -90}, {170, 90}};
        scene.knots = KnotMode::Closed;
    } else if (name == "circle") {
        const float r = 150.0f;
        scene.degree = 2;
        scene.points = {{320 + r, 0},  {320 + r, r}, {320, r},      {320 - r, r}, {320 - r, 0},
                        {320 - r, -r}, {320, -r},    {320 + r, -r}, {320 + r, 0}};
        const double corner = std::sqrt(2.0) / 2.0;
        scene.weights = {1, corner, 1, corner, 1, corner, 1, corner, 1};
        scene.knots = KnotMode::Custom;
        scene.customKnots = {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4};
    } else if (name != "uniform") {
        return "there is no example \"" + name + "\"";
    }
    return LoadSceneAsStep(scene);
}

} // namespace

EMSCRIPTEN_BINDINGS(knots_panel) {
    using namespace emscripten;
    function("knots", &Knots);
    function("setKnotMode", &SetMode);
    function("setKnotsText", &SetText);
    function("moveKnot", &MoveKnot);
    function("changeMultiplicity", &ChangeMultiplicity);
    function("examples", &Examples);
    function("openExample", &OpenExample);
}
