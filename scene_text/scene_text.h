// A scene as text: "tavrimo-scene 1", then "degree D", then one "x y" line per point in
// placement order, in world coordinates (docs/scene-format.md); version 2 adds the explored
// curve's knots ("knots MODE ...") and the points' weights ("x y w"). Parsing is strict and
// total: any bytes give either a scene or one error naming the line.
#pragma once

#include "geometry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int kSceneFormatVersion = 2;
constexpr std::size_t kMostScenePoints = 100000;
// Longer texts cannot be scenes of at most kMostScenePoints points.
constexpr std::size_t kLongestSceneText = 8u << 20;

// The world coordinates the editor can give a point: the pointer's 16-bit client range,
// widened by the pick reach, since a drag keeps a point within that of the pointer.
constexpr float kReachLeft = -kPickReach;
constexpr float kReachRight = 65535.0f + kPickReach;
constexpr float kReachBottom = static_cast<float>(kWorldOriginRow) - 65535.0f - kPickReach;
constexpr float kReachTop = static_cast<float>(kWorldOriginRow) + kPickReach;

struct ScenePoint {
    float x;
    float y;
};

// The knots of the curve explored beside the editor's: the editor's own uniform ones, clamped,
// closed (the points wrapped), or a custom vector.
enum class KnotMode : std::uint8_t { Uniform, Clamped, Closed, Custom };

struct SceneText {
    int degree;
    std::vector<ScenePoint> points;
    KnotMode knots = KnotMode::Uniform;
    std::vector<double> customKnots{}; // when Custom: N + k + 1 of them
    std::vector<double> weights{};     // empty when every weight is 1, else one per point
};

// The mode's word in the text ("uniform", "clamped", "closed", "custom").
const char* KnotModeWord(KnotMode mode);

// Version 1 when the scene is the editor's alone (uniform knots, every weight 1).
bool NeedsVersion2(const SceneText& scene);

struct SceneParse {
    bool ok;
    SceneText scene;   // when ok
    int line;          // when not: the line at fault, from 1
    std::string error; // "line N: what is wrong"
};

SceneParse ParseScene(const char* text, std::size_t length);

// A coordinate as a scene holds it, on the x (0) or y (1) axis: "" when the text is one, read
// into `value`; else what is wrong with it ("x = \"abc\" is not a decimal number").
std::string ReadCoordinate(int axis, const std::string& text, float& value);
// A point's weight as a scene holds it: "" when the text is a positive number, read into
// `value`; else what is wrong with it.
std::string ReadWeight(const std::string& text, double& value);
std::string FormatScene(const SceneText& scene);

// The same scene, every coordinate bit for bit.
bool SameScene(const SceneText& a, const SceneText& b);

// The compact form for a page address's fragment: the text with ';' for its line ends and ','
// for the space between numbers, as the link's scene= value.
std::string SceneToLink(const SceneText& scene);
SceneParse SceneFromLink(const char* link, std::size_t length);
