#include "fit_scene.h"

#include <algorithm>

std::vector<SplinePoint> FitData(const SceneText& scene) {
    std::vector<SplinePoint> data(scene.points.size());
    std::transform(scene.points.begin(), scene.points.end(), data.begin(), [](const ScenePoint& p) {
        return SplinePoint{p.x, p.y};
    });
    return data;
}

Outcome<Fit> FitOfScene(const SceneText& scene, const FitView& view) {
    if (view.shown == FitShown::None) {
        return Refusal<Fit>("no fit chosen");
    }
    const std::vector<SplinePoint> data = FitData(scene);
    const bool leastSquares = view.shown == FitShown::LeastSquares;
    const FitSpacing spacing = view.spacing == FitSpacingChoice::Uniform ? FitSpacing::Uniform
                               : view.spacing == FitSpacingChoice::ChordLength
                                   ? FitSpacing::ChordLength
                                   : FitSpacing::Centripetal;
    const FitChoice choice{leastSquares,
                           spacing,
                           view.uniformKnots ? FitKnots::Uniform : FitKnots::Averaged,
                           view.closed && !leastSquares,
                           FitControls(view, scene.degree, static_cast<int>(data.size())),
                           view.pinned};
    return FitThrough(data, scene.degree, choice);
}

std::vector<SplinePoint> FitSamples(const Fit& fit, double tolerance) {
    const std::vector<SplineSample> samples = SampleSpline(fit.spline, tolerance).value;
    std::vector<SplinePoint> points(samples.size());
    std::transform(samples.begin(), samples.end(), points.begin(),
                   [](const SplineSample& s) { return s.point; });
    return points;
}
