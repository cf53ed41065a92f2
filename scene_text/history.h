// Undo and redo of every change to the scene, each step a whole scene restored as loading
// restores one. A step is recorded once the scene differs from the last one recorded and no
// button is held, so a drag from press to release is one step.
#pragma once

#include "host.h"
#include "scene_text.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

constexpr std::size_t kMostHistorySteps = 1000;
// Beyond this many points in all, the oldest steps go first (32 MB of coordinates).
constexpr std::size_t kMostHistoryPoints = std::size_t{4} << 20;

// A step: the scene, and what the caller keeps of its view with it (the page's insertions).
struct HistoryStep {
    SceneText scene;
    std::string view;
};

struct SceneHistory {
    std::deque<HistoryStep> steps; // steps[at] is the scene shown
    std::size_t at;
    std::size_t points;         // in all the steps
    std::uint32_t version;      // the editor's sceneVersion when last compared
    std::uint32_t extraVersion; // the caller's, when last compared
};

// Records the editor's scene when it has changed since steps[at]; true when it did.
bool RecordScene(SceneHistory& history);

// The same for the step `read` gives: the editor's scene and what the caller adds to it (the
// explored curve's knots and weights, a view), whose changes `extraVersion` counts.
bool RecordScene(SceneHistory& history, std::uint32_t extraVersion,
                 const std::function<HistoryStep()>& read);
bool CanUndo(const SceneHistory& history);
bool CanRedo(const SceneHistory& history);
// Restores the step before or after through the editor's operations (what the caller adds is
// then steps[at]'s to restore); false when there is none or a button is held.
bool Undo(SceneHistory& history, MenuRef menu);
bool Redo(SceneHistory& history, MenuRef menu);
