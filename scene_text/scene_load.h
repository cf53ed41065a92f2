// The editor's scene as a SceneText, and a SceneText made the editor's scene through its own
// operations.
#pragma once

#include "host.h"
#include "scene_text.h"

SceneText CurrentScene();

// Clear, then Append per point, then SelectDegree, as placing the points and choosing the
// degree would. False when a point could not be allocated: the points placed so far stay.
bool LoadScene(const SceneText& scene, MenuRef menu);
