// The curve a scene's knots and weights describe beside the editor's own: its points as
// doubles, its weights (1 where none are given), and the knots of its mode.
#pragma once

#include "scene_text.h"
#include "spline.h"

Spline ExploredSpline(const SceneText& scene);

// True when the scene explores nothing beyond the editor's curve: uniform knots, weights 1.
bool IsEditorsCurve(const SceneText& scene);

// A spline (a refinement, a raised curve) as a scene the editor can hold: its points to the
// editor's float, its knots as the custom vector, its weights where they are not all 1. Refused
// beyond the editor's degrees, a scene's points or the reach of its coordinates.
Outcome<SceneText> SceneOfSpline(const Spline& spline);
