// What the page adds to the editor's scene: the explored curve's knots and the points' weights.
// The editor keeps its points and degree; the additions are kept beside them and brought to fit
// whenever the points or the degree change.
#pragma once

#include "outcome.h"
#include "scene_text.h"

#include <string>
#include <vector>

struct SceneAdditions {
    KnotMode knots = KnotMode::Uniform;
    std::vector<double> customKnots{}; // when Custom
    std::vector<double> weights{};     // empty when every weight is 1
};

SceneAdditions AdditionsOf(const SceneText& scene);
// The editor's scene (its points and degree) with the additions.
SceneText WithAdditions(SceneText editorScene, const SceneAdditions& additions);
bool SameAdditions(const SceneAdditions& a, const SceneAdditions& b);

// The additions brought to N points of degree k: the weights follow the points (a new point
// weighs 1; all 1 is kept as none), a custom vector is fitted (FitKnots) and, where it cannot
// serve the points, the knots become uniform and `note` says why.
struct FittedAdditions {
    SceneAdditions additions;
    std::string note; // "" when nothing was given up
};
FittedAdditions FitAdditions(const SceneAdditions& additions, int pointCount, int degree);

// The mode named by its word in the scene text ("uniform", "clamped", "closed", "custom").
Outcome<KnotMode> KnotModeNamed(const std::string& word);

// The scenes the page offers to start from: "uniform", "clamped", "closed" and "circle", each with
// its title.
struct ExampleScene {
    const char* name;
    const char* title;
};
std::vector<ExampleScene> ExampleScenes();
Outcome<SceneText> ExampleNamed(const std::string& name);
