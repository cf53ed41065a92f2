// The numbers of the panel's "Points" section (points_panel.js), by name: a page of the
// points with their weights, and a point moved to typed coordinates, given a weight, deleted or
// inserted, each one step through the editor's own operations.
#include "scene_controls.h"
#include "scene_edit.h"
#include "scene_load.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

using emscripten::val;

// Points first .. first + count - 1 as {x, y}, and how many there are in all.
val PointsPage(int first, int count) {
    const SceneText scene = ShownScene();
    const int total = static_cast<int>(scene.points.size());
    const int from = std::clamp(first, 0, total);
    const int to = std::clamp(from + std::max(count, 0), from, total);
    val points = val::array();
    for (int j = from; j < to; ++j) {
        val point = val::object();
        point.set("x", scene.points[static_cast<std::size_t>(j)].x);
        point.set("y", scene.points[static_cast<std::size_t>(j)].y);
        point.set("w", static_cast<std::size_t>(j) < scene.weights.size()
                           ? scene.weights[static_cast<std::size_t>(j)]
                           : 1.0);
        points.call<void>("push", point);
    }
    val page = val::object();
    page.set("total", total);
    page.set("first", from);
    page.set("points", points);
    return page;
}

std::string Apply(const SceneEdit& edit) {
    return edit.ok() ? LoadSceneAsStep(edit.value) : edit.fault;
}

std::size_t Index(int index) {
    return index < 0 ? SIZE_MAX : static_cast<std::size_t>(index);
}

std::string MoveTo(int index, const std::string& x, const std::string& y) {
    return Apply(MovePoint(ShownScene(), Index(index), x, y));
}

std::string Delete(int index) {
    return Apply(DeletePoint(ShownScene(), Index(index)));
}

std::string InsertAfter(int index) {
    return Apply(InsertPointAfter(ShownScene(), Index(index)));
}

// A weight changes only what the page adds to the scene: one step, the editor untouched.
std::string Weigh(int index, const std::string& weight) {
    const SceneEdit edit = SetWeight(ShownScene(), Index(index), weight);
    if (edit.ok()) {
        ChangeAdditionsAsStep(edit.value);
    }
    return edit.fault;
}

} // namespace

EMSCRIPTEN_BINDINGS(points_panel) {
    using namespace emscripten;
    function("pointsPage", &PointsPage);
    function("movePoint", &MoveTo);
    function("deletePoint", &Delete);
    function("insertPointAfter", &InsertAfter);
    function("setWeight", &Weigh);
}
