#include "additions.h"

#include "explored.h"
#include "knots.h"

#include <algorithm>
#include <cmath>
#include <iterator>

SceneAdditions AdditionsOf(const SceneText& scene) {
    return SceneAdditions{scene.knots, scene.customKnots, scene.weights};
}

SceneText WithAdditions(SceneText editorScene, const SceneAdditions& additions) {
    editorScene.knots = additions.knots;
    editorScene.customKnots = additions.customKnots;
    editorScene.weights = additions.weights;
    return editorScene;
}

bool SameAdditions(const SceneAdditions& a, const SceneAdditions& b) {
    return a.knots == b.knots && a.customKnots == b.customKnots && a.weights == b.weights;
}

FittedAdditions FitAdditions(const SceneAdditions& additions, int pointCount, int degree) {
    FittedAdditions fitted{additions, ""};
    std::vector<double>& weights = fitted.additions.weights;
    if (!weights.empty()) {
        weights.resize(static_cast<std::size_t>(std::max(pointCount, 0)), 1.0);
        if (std::all_of(weights.begin(), weights.end(), [](double w) { return w == 1.0; })) {
            weights.clear();
        }
    }
    if (fitted.additions.knots == KnotMode::Custom) {
        const Outcome<std::vector<double>> knots =
            FitKnots(fitted.additions.customKnots, pointCount, degree);
        if (knots.ok()) {
            fitted.additions.customKnots = knots.value;
        } else {
            fitted.note = "The custom knots could not follow the points (" + knots.fault +
                          "): the knots are uniform now.";
            fitted.additions.knots = KnotMode::Uniform;
            fitted.additions.customKnots.clear();
        }
    }
    return fitted;
}

Outcome<KnotMode> KnotModeNamed(const std::string& word) {
    const KnotMode modes[] = {KnotMode::Uniform, KnotMode::Clamped, KnotMode::Closed,
                              KnotMode::Custom};
    const KnotMode* found = std::find_if(std::begin(modes), std::end(modes),
                                         [&](KnotMode mode) { return word == KnotModeWord(mode); });
    return found == std::end(modes)
               ? Refusal<KnotMode>("there are no knots \"" + word.substr(0, 24) + "\"")
               : Success(*found);
}

std::vector<ExampleScene> ExampleScenes() {
    return {{"uniform", "A uniform cubic"},
            {"clamped", "The same points, clamped"},
            {"closed", "A closed cubic"},
            {"circle", "A circle: a rational quadratic"}};
}

Outcome<SceneText> ExampleNamed(const std::string& name) {
    SceneText scene{
        3, {{80, -140}, {150, 120}, {280, 170}, {330, -60}, {440, -170}, {560, -20}, {590, 160}}};
    if (name == "clamped") {
        scene.knots = KnotMode::Clamped;
    } else if (name == "closed") {
        scene.points = {{320, 170}, {470, 90}, {500, -90}, {320, -190}, {140, -90}, {170, 90}};
        scene.knots = KnotMode::Closed;
    } else if (name == "circle") {
        const float r = 150.0f;
        scene.degree = 2;
        scene.points = {{320 + r, 0},  {320 + r, r}, {320, r},      {320 - r, r}, {320 - r, 0},
                        {320 - r, -r}, {320, -r},    {320 + r, -r}, {320 + r, 0}};
        const double corner = std::sqrt(2.0) / 2.0;
        scene.weights = {1, corner, 1, corner, 1, corner, 1, corner, 1};
        scene.knots = KnotMode::Custom;
        scene.customKnots = {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4};
    } else if (name != "uniform") {
        return Refusal<SceneText>("there is no example \"" + name.substr(0, 24) + "\"");
    }
    return Success(scene);
}
