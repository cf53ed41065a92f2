#include "explored.h"

#include "knots.h"

#include <algorithm>

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

Outcome<SceneText> SceneOfSpline(const Spline& spline) {
    const std::string fault = SplineFault(spline);
    if (!fault.empty()) {
        return Refusal<SceneText>(fault);
    }
    if (spline.degree > kMaxDegree) {
        return Refusal<SceneText>("the editor's degrees go up to " + std::to_string(kMaxDegree));
    }
    if (spline.points.size() > kMostScenePoints) {
        return Refusal<SceneText>("a scene holds at most " + std::to_string(kMostScenePoints) +
                                  " points");
    }
    SceneText scene{spline.degree, {}};
    for (const SplinePoint& p : spline.points) {
        const ScenePoint point{static_cast<float>(p.x), static_cast<float>(p.y)};
        if (!(point.x >= kReachLeft && point.x <= kReachRight && point.y >= kReachBottom &&
              point.y <= kReachTop)) {
            return Refusal<SceneText>("a point lies beyond what the editor reaches");
        }
        scene.points.push_back(point);
    }
    scene.knots = KnotMode::Custom;
    scene.customKnots = spline.knots;
    if (std::any_of(spline.weights.begin(), spline.weights.end(),
                    [](double w) { return w != 1.0; })) {
        scene.weights = spline.weights;
    }
    return Success(scene);
}
