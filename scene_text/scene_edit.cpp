#include "scene_edit.h"

#include <cmath>

namespace {

SceneEdit Refused(const std::string& error) {
    return SceneEdit{false, SceneText{}, error};
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
    SceneEdit edit{true, scene, ""};
    edit.scene.points[index] = moved;
    return edit;
}

SceneEdit DeletePoint(const SceneText& scene, std::size_t index) {
    if (index >= scene.points.size()) {
        return NoSuchPoint(index);
    }
    SceneEdit edit{true, scene, ""};
    edit.scene.points.erase(edit.scene.points.begin() + static_cast<std::ptrdiff_t>(index));
    if (index < edit.scene.weights.size()) {
        edit.scene.weights.erase(edit.scene.weights.begin() + static_cast<std::ptrdiff_t>(index));
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
    SceneEdit edit{true, scene, ""};
    edit.scene.weights.resize(scene.points.size(), 1.0);
    edit.scene.weights[index] = value;
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
    SceneEdit edit{true, scene, ""};
    edit.scene.points.insert(edit.scene.points.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                             added);
    if (index < edit.scene.weights.size()) {
        edit.scene.weights.insert(
            edit.scene.weights.begin() + static_cast<std::ptrdiff_t>(index) + 1, 1.0);
    }
    return edit;
}
