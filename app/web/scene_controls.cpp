// The scene kept and shared, for the page's scene part (scene_controls.js), by name: the scene
// as text and as a link, a scene opened from either (on an error the scene stays as it was),
// undo and redo, the picture as SVG.
#include "scene_controls.h"

#include "editor.h"
#include "history.h"
#include "queued_loop.h"
#include "scene_load.h"
#include "scene_text.h"
#include "svg.h"

#include <emscripten/bind.h>

#include <string>

namespace {

SceneHistory history{};

struct HistoryState {
    bool canUndo;
    bool canRedo;
    bool recorded; // a new step was recorded just now
};

HistoryState State(bool recorded = false) {
    return HistoryState{CanUndo(history), CanRedo(history), recorded};
}

std::string SceneTextNow() {
    return FormatScene(CurrentScene());
}

std::string SceneLinkNow() {
    return SceneToLink(CurrentScene());
}

// The scene of the current step: after "Quit", the scene as it was before.
std::string StepText() {
    return history.steps.empty() ? FormatScene(CurrentScene())
                                 : FormatScene(history.steps[history.at]);
}

std::string SceneSvg() {
    return FormatSvg(kClientWidth, kClientHeight);
}

// Opens the bytes as a scene file (link false) or a link's scene: "" when the scene is loaded
// as a step, else the error, with the scene as it was.
std::string OpenScene(const std::string& bytes, bool link) {
    const SceneParse parse =
        link ? SceneFromLink(bytes.data(), bytes.size()) : ParseScene(bytes.data(), bytes.size());
    return parse.ok ? LoadSceneAsStep(parse.scene) : parse.error;
}

// After a pass: records the scene when it has changed and no button is held. What quitting
// clears is not a step, so that the step shown stays the scene as it was before "Quit".
HistoryState Record() {
    return State(!QuitRequested(queuedLoop) && RecordScene(history));
}

HistoryState UndoStep() {
    RecordScene(history);
    Undo(history, PageMenu());
    return State();
}

HistoryState RedoStep() {
    RecordScene(history);
    Redo(history, PageMenu());
    return State();
}

} // namespace

std::string LoadSceneAsStep(const SceneText& scene) {
    RecordScene(history); // the scene before, if it was not recorded yet
    const bool loaded = LoadScene(scene, PageMenu());
    RecordScene(history);
    return loaded ? "" : "not enough memory for every point: the scene is loaded in part";
}

EMSCRIPTEN_BINDINGS(scene_controls) {
    using namespace emscripten;
    value_object<HistoryState>("HistoryState")
        .field("canUndo", &HistoryState::canUndo)
        .field("canRedo", &HistoryState::canRedo)
        .field("recorded", &HistoryState::recorded);
    function("sceneText", &SceneTextNow);
    function("sceneLink", &SceneLinkNow);
    function("stepText", &StepText);
    function("sceneSvg", &SceneSvg);
    function("openScene", &OpenScene);
    function("recordScene", &Record);
    function("undo", &UndoStep);
    function("redo", &RedoStep);
}
