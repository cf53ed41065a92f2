// What the page's other parts share with the scene part: the page's scene (the editor's points
// and degree, and what the page adds to them: the explored curve's knots and the points'
// weights), and changes to it made as one step of undo and redo.
#pragma once

#include "scene_text.h"

#include <cstdint>
#include <string>

// The editor's scene with the page's additions, which always fit its points and degree.
SceneText ShownScene();

// Loads the scene through the editor's own operations, then its additions and the view the
// steps keep, as one step: "" when
// it is loaded, else what went wrong.
std::string LoadSceneAsStep(const SceneText& scene, const std::string& stepView = "");

// What of the page's view the steps keep, changed as one step (or with the next one); and that
// of the step shown.
void ChangeStepViewAs(const std::string& view, bool asStep);
const std::string& StepView();

// Changes only the additions (knots, weights) to those of `scene`, as one step; or, while a
// knot or a weight is dragged, without one: the pass after the drag records it.
void ChangeAdditionsAsStep(const SceneText& scene);
void ChangeAdditions(const SceneText& scene);

// Changes whenever the additions do.
std::uint32_t AdditionsVersion();

// What the last fitting of the additions to the points had to give up, or "".
const std::string& AdditionsNote();
