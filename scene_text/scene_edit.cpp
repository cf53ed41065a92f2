#include "scene_edit.h"

#include "additions.h"
#include "explored.h"
#include "knots.h"

#include <cmath>

namespace {

SceneEdit Refused(const std::string& error) {
    return Refusal<SceneText>(error);
}

SceneEdit NoSuchPoint(std::size_t index) {
    return Refused("there is no point P" + std::to_string(index));
}

} // namespace

SceneEdit MovePoint(const SceneText& scene, std::size_t index, const std::string& x,
                    const std::string& y) {
    if (index >= scene.points.size()) {
        return NoSuchPoint(index);
    }
    ScenePoint moved{};
    std::string fault = ReadCoordinate(0, x, moved.x);
    if (fault.empty()) {
        fault = ReadCoordinate(1, y, moved.y);
    }
    if (!fault.empty()) {
        return Refused(fault);
    }
    SceneEdit edit = Success(scene);
    edit.value.points[index] = moved;
    return edit;
}

SceneEdit DeletePoint(const SceneText& scene, std::size_t index) {
    if (index >= scene.points.size()) {
        return NoSuchPoint(index);
    }
    SceneEdit edit = Success(scene);
    edit.value.points.erase(edit.value.points.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < edit.value.weights.size()) {
        edit.value.weights.erase(edit.value.weights.begin() + static_cast<std::ptrdiff_t>(index));
    }
    return edit;
}

SceneEdit SetWeight(const SceneText& scene, std::size_t index, const std::string& weight) {
    if (index >= scene.points.size()) {
        return NoSuchPoint(index);
    }
    double value = 1.0;
    const std::string fault = ReadWeight(weight, value);
    if (!fault.empty()) {
        return Refused(fault);
    }
    SceneEdit edit = Success(scene);
    edit.value.weights.resize(scene.points.size(), 1.0);
    edit.value.weights[index] = value;
    return edit;
}

SceneEdit InsertPointAfter(const SceneText& scene, std::size_t index) {
    if (index >= scene.points.size()) {
        return NoSuchPoint(index);
    }
    if (scene.points.size() >= kMostScenePoints) {
        return Refused("a scene holds at most " + std::to_string(kMostScenePoints) + " points");
    }
    const ScenePoint from = scene.points[index];
    ScenePoint added{};
    if (index + 1 < scene.points.size()) {
        const ScenePoint to = scene.points[index + 1];
        added = ScenePoint{std::round((from.x + to.x) / 2.0f), std::round((from.y + to.y) / 2.0f)};
    } else {
        const float step = from.x + 20.0f < static_cast<float>(kClientWidth) ? 20.0f : -20.0f;
        added = ScenePoint{std::round(from.x + step), std::round(from.y)};
    }
    SceneEdit edit = Success(scene);
    edit.value.points.insert(edit.value.points.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                             added);
    if (index < edit.value.weights.size()) {
        edit.value.weights.insert(
            edit.value.weights.begin() + static_cast<std::ptrdiff_t>(index) + 1, 1.0);
    }
    return edit;
}

SceneEdit SetKnotMode(const SceneText& scene, const std::string& word) {
    const Outcome<KnotMode> mode = KnotModeNamed(word);
    if (!mode.ok()) {
        return Refused(mode.fault);
    }
    SceneText changed = scene;
    if (mode.value == KnotMode::Custom && scene.knots != KnotMode::Custom) {
        changed.customKnots =
            scene.knots == KnotMode::Closed
                ? UniformKnots(static_cast<int>(scene.points.size()), scene.degree)
                : ExploredSpline(scene).knots;
    }
    if (mode.value != KnotMode::Custom) {
        changed.customKnots.clear();
    }
    changed.knots = mode.value;
    return Success(changed);
}

SceneEdit SetCustomKnots(const SceneText& scene, const std::vector<double>& knots) {
    const std::string fault =
        KnotsFault(knots, static_cast<int>(scene.points.size()), scene.degree);
    if (!fault.empty()) {
        return Refused(fault);
    }
    SceneText changed = scene;
    changed.knots = KnotMode::Custom;
    changed.customKnots = knots;
    return Success(changed);
}

SceneEdit SetKnotsText(const SceneText& scene, const std::string& text) {
    const Outcome<std::vector<double>> knots = ParseKnots(text);
    return knots.ok() ? SetCustomKnots(scene, knots.value) : Refused(knots.fault);
}

namespace {

// The knots shown, changed by `change`, as the scene's custom vector.
template <typename Change> SceneEdit EditKnots(const SceneText& scene, Change change) {
    if (scene.knots == KnotMode::Closed) {
        return Refused("a closed curve keeps uniform knots: choose Custom to move them");
    }
    const Outcome<std::vector<double>> knots =
        change(ExploredSpline(scene).knots, static_cast<int>(scene.points.size()), scene.degree);
    return knots.ok() ? SetCustomKnots(scene, knots.value) : Refused(knots.fault);
}

} // namespace

SceneEdit MoveSceneKnot(const SceneText& scene, int index, double u) {
    return EditKnots(scene, [&](const std::vector<double>& knots, int n, int k) {
        return MoveKnot(knots, index, u, n, k);
    });
}

SceneEdit ChangeSceneMultiplicity(const SceneText& scene, int index, int delta) {
    return EditKnots(scene, [&](const std::vector<double>& knots, int n, int k) {
        return ChangeMultiplicity(knots, index, delta, n, k);
    });
}
