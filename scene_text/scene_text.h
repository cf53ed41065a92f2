// A scene as text: "tavrimo-scene 1", then "degree D", then one "x y" line per point in
// placement order, in world coordinates (docs/scene-format.md). Parsing is strict and total:
// any bytes give either a scene or one error naming the line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

constexpr int kSceneFormatVersion = 1;
constexpr std::size_t kMostScenePoints = 100000;
// Longer texts cannot be scenes of at most kMostScenePoints points.
constexpr std::size_t kLongestSceneText = 8u << 20;

// The world coordinates the editor can give a point: the pointer's 16-bit client range,
// widened by the pick reach, since a drag keeps a point within that of the pointer.
constexpr float kReachLeft = -5.0f;
constexpr float kReachRight = 65540.0f;
constexpr float kReachBottom = 239.0f - 65535.0f - 5.0f;
constexpr float kReachTop = 244.0f;

struct ScenePoint {
    float x;
    float y;
};

struct SceneText {
    int degree;
    std::vector<ScenePoint> points;
};

struct SceneParse {
    bool ok;
    SceneText scene;   // when ok
    int line;          // when not: the line at fault, from 1
    std::string error; // "line N: what is wrong"
};

SceneParse ParseScene(const char* text, std::size_t length);
std::string FormatScene(const SceneText& scene);

// The same scene, every coordinate bit for bit.
bool SameScene(const SceneText& a, const SceneText& b);

// The compact form for a page address's fragment: the text with ';' for its line ends and ','
// for the space between numbers, as the link's scene= value.
std::string SceneToLink(const SceneText& scene);
SceneParse SceneFromLink(const char* link, std::size_t length);
