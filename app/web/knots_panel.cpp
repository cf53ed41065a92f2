// The numbers of the panel's "Knots, ends and weights" (knots_panel.js), by name: the knots'
// mode and vector, a vector typed or a knot moved, a multiplicity changed, a point's weight on
// the slider, and example scenes. Each change is one step; none touches the editor's own curve.
#include "additions.h"
#include "explored.h"
#include "js_values.h"
#include "knots.h"
#include "scene_controls.h"
#include "scene_edit.h"

#include <emscripten/bind.h>

#include <string>

namespace {

using emscripten::val;

val Knots() {
    const SceneText scene = ShownScene();
    const Spline spline = ExploredSpline(scene);
    val state = val::object();
    state.set("mode", std::string(KnotModeWord(scene.knots)));
    state.set("degree", scene.degree);
    state.set("points", static_cast<int>(scene.points.size()));
    state.set("knots", ArrayOf(spline.knots));
    state.set("text", FormatKnots(spline.knots));
    state.set("valid", SplineFault(spline).empty());
    state.set("note", AdditionsNote());
    return state;
}

// The edit's knots and weights as one step (or, while dragging, none until the pass after);
// "" when made, else why not.
std::string Apply(const SceneEdit& edit, bool dragging = false) {
    if (edit.ok() && dragging) {
        ChangeAdditions(edit.value);
    } else if (edit.ok()) {
        ChangeAdditionsAsStep(edit.value);
    }
    return edit.fault;
}

std::string SetMode(const std::string& word) {
    return Apply(SetKnotMode(ShownScene(), word));
}

std::string SetText(const std::string& text) {
    return Apply(SetKnotsText(ShownScene(), text));
}

std::string Move(int index, double u, bool dragging) {
    return Apply(MoveSceneKnot(ShownScene(), index, u), dragging);
}

std::string Multiplicity(int index, int delta) {
    return Apply(ChangeSceneMultiplicity(ShownScene(), index, delta));
}

double SliderWeight(int index) {
    const SceneText scene = ShownScene();
    return index >= 0 && static_cast<std::size_t>(index) < scene.weights.size()
               ? scene.weights[static_cast<std::size_t>(index)]
               : 1.0;
}

std::string SetSliderWeight(int index, const std::string& weight, bool dragging) {
    const std::size_t at = index < 0 ? SIZE_MAX : static_cast<std::size_t>(index);
    return Apply(SetWeight(ShownScene(), at, weight), dragging);
}

val Examples() {
    val list = val::array();
    for (const ExampleScene& example : ExampleScenes()) {
        val item = val::object();
        item.set("name", std::string(example.name));
        item.set("title", std::string(example.title));
        list.call<void>("push", item);
    }
    return list;
}

std::string OpenExample(const std::string& name) {
    const Outcome<SceneText> example = ExampleNamed(name);
    return example.ok() ? LoadSceneAsStep(example.value) : example.fault;
}

} // namespace

EMSCRIPTEN_BINDINGS(knots_panel) {
    using namespace emscripten;
    function("knots", &Knots);
    function("setKnotMode", &SetMode);
    function("setKnotsText", &SetText);
    function("moveKnot", &Move);
    function("changeMultiplicity", &Multiplicity);
    function("sliderWeight", &SliderWeight);
    function("setSliderWeight", &SetSliderWeight);
    function("examples", &Examples);
    function("openExample", &OpenExample);
}
