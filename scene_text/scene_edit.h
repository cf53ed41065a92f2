// A scene's points changed as a learner types them: a point moved to typed coordinates, given a
// weight, deleted, or inserted after another (with weight 1). Each gives the changed scene, or
// an error and nothing changed; the weights follow their points.
#pragma once

#include "scene_text.h"

#include <cstddef>
#include <string>

struct SceneEdit {
    bool ok;
    SceneText scene;   // when ok
    std::string error; // when not
};

SceneEdit MovePoint(const SceneText& scene, std::size_t index, const std::string& x,
                    const std::string& y);
SceneEdit DeletePoint(const SceneText& scene, std::size_t index);
SceneEdit SetWeight(const SceneText& scene, std::size_t index, const std::string& weight);
// Halfway to the next point, in whole units; after the last one, 20 units on (back, at the
// picture's right edge).
SceneEdit InsertPointAfter(const SceneText& scene, std::size_t index);
