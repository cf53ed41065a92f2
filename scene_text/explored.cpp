#include "explored.h"

#include "knots.h"

Spline ExploredSpline(const SceneText& scene) {
    Spline spline{scene.degree, {}, {}, {}};
    for (std::size_t j = 0; j < scene.points.size(); ++j) {
        spline.points.push_back(SplinePoint{scene.points[j].x, scene.points[j].y});
        spline.weights.push_back(j < scene.weights.size() ? scene.weights[j] : 1.0);
    }
    const int n = static_cast<int>(spline.points.size());
    switch (scene.knots) {
    case KnotMode::Clamped:
        spline.knots = ClampedKnots(n, scene.degree);
        break;
    case KnotMode::Closed:
        return ClosedSpline(spline.points, spline.weights, scene.degree);
    case KnotMode::Custom:
        spline.knots = scene.customKnots;
        break;
    case KnotMode::Uniform:
        spline.knots = UniformKnots(n, scene.degree);
        break;
    }
    return spline;
}

bool IsEditorsCurve(const SceneText& scene) {
    return !NeedsVersion2(scene);
}
