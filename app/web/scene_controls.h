// What the page's other parts share with the scene part: a scene made the editor's as one
// step of undo and redo.
#pragma once

#include "scene_text.h"

#include <string>

// Loads the scene through the editor's own operations as one step: "" when it is loaded, else
// what went wrong.
std::string LoadSceneAsStep(const SceneText& scene);
