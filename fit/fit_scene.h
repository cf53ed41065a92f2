// A scene's points as the data of a fit, fitted as the page's view chooses (fit_view.h): the
// ends and knots are interpolation's choices, least squares fits an open curve; and the fitted
// curve as points to draw.
#pragma once

#include "fit.h"
#include "fit_view.h"
#include "scene_text.h"

std::vector<SplinePoint> FitData(const SceneText& scene);

// Refused with "no fit chosen" when the view chooses none.
Outcome<Fit> FitOfScene(const SceneText& scene, const FitView& view);

// The fitted curve sampled to within `tolerance` of it, as points.
std::vector<SplinePoint> FitSamples(const Fit& fit, double tolerance);
