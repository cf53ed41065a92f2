// The curve a scene's knots and weights describe beside the editor's own: its points as
// doubles, its weights (1 where none are given), and the knots of its mode.
#pragma once

#include "scene_text.h"
#include "spline.h"

Spline ExploredSpline(const SceneText& scene);

// True when the scene explores nothing beyond the editor's curve: uniform knots, weights 1.
bool IsEditorsCurve(const SceneText& scene);
