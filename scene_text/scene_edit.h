// A scene changed as a learner types or drags: a point moved to typed coordinates, given a
// weight, deleted, or inserted after another (with weight 1); the explored curve's knots given a
// mode, a typed vector, a knot moved or its multiplicity changed. Each gives the changed scene,
// or why not and nothing changed; the weights follow their points.
#pragma once

#include "outcome.h"
#include "scene_text.h"

#include <cstddef>
#include <string>
#include <vector>

using SceneEdit = Outcome<SceneText>;

SceneEdit MovePoint(const SceneText& scene, std::size_t index, const std::string& x,
                    const std::string& y);
SceneEdit DeletePoint(const SceneText& scene, std::size_t index);
SceneEdit SetWeight(const SceneText& scene, std::size_t index, const std::string& weight);
// Halfway to the next point, in whole units; after the last one, 20 units on (back, at the
// picture's right edge).
SceneEdit InsertPointAfter(const SceneText& scene, std::size_t index);

// The knots' mode by its word; a custom vector starts from the knots shown (a closed curve's
// uniform ones are its wrapped points', so it starts from the points' own uniform knots).
SceneEdit SetKnotMode(const SceneText& scene, const std::string& word);
// A custom vector, typed or given, for the scene's points and degree.
SceneEdit SetCustomKnots(const SceneText& scene, const std::vector<double>& knots);
SceneEdit SetKnotsText(const SceneText& scene, const std::string& text);
// A knot moved or its multiplicity changed (MoveKnot, ChangeMultiplicity) in the knots shown,
// which become custom; a closed curve keeps its knots.
SceneEdit MoveSceneKnot(const SceneText& scene, int index, double u);
SceneEdit ChangeSceneMultiplicity(const SceneText& scene, int index, int delta);
