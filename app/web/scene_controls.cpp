// The scene kept and shared, for the page's scene part (scene_controls.js), by name: the scene
// as text and as a link, a scene opened from either (on an error the scene stays as it was),
// undo and redo, the picture as SVG; and the page's additions to the editor's scene (the
// explored curve's knots, the points' weights), kept fitting its points and degree.
#include "scene_controls.h"

#include "additions.h"
#include "editor.h"
#include "history.h"
#include "queued_loop.h"
#include "scene.h"
#include "scene_load.h"
#include "scene_text.h"
#include "svg.h"

#include <emscripten/bind.h>

#include <string>

namespace {

SceneHistory history{};
SceneAdditions additions{};
std::uint32_t additionsVersion = 0;
std::string additionsNote;

// The additions brought to the editor's points and degree; the note kept until the next change.
void KeepAdditionsFitting() {
    const FittedAdditions fitted =
        FitAdditions(additions, editor.pointCount, static_cast<int>(editor.degree));
    if (!fitted.note.empty()) {
        additionsNote = fitted.note;
    }
    if (!SameAdditions(fitted.additions, additions)) {
        additions = fitted.additions;
        additionsVersion += 1;
    }
}

void SetAdditions(const SceneText& scene) {
    additions = AdditionsOf(scene);
    additionsVersion += 1;
    additionsNote.clear();
    KeepAdditionsFitting();
}

bool Record() {
    KeepAdditionsFitting();
    return RecordScene(history, additionsVersion, PageScene);
}

struct HistoryState {
    bool canUndo;
    bool canRedo;
    bool recorded; // a new step was recorded just now
};

HistoryState State(bool recorded = false) {
    return HistoryState{CanUndo(history), CanRedo(history), recorded};
}

std::string SceneTextNow() {
    return FormatScene(PageScene());
}

std::string SceneLinkNow() {
    return SceneToLink(PageScene());
}

// The scene of the current step: after "Quit", the scene as it was before.
std::string StepText() {
    return history.steps.empty() ? FormatScene(PageScene())
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
HistoryState RecordStep() {
    return State(!QuitRequested(queuedLoop) && Record());
}

// Undo or Redo: the editor's scene restored through its operations, then the step's additions.
HistoryState Step(bool (*restore)(SceneHistory&, MenuRef)) {
    Record();
    if (restore(history, PageMenu())) {
        SetAdditions(history.steps[history.at]);
        history.extraVersion = additionsVersion;
    }
    return State();
}

HistoryState UndoStep() {
    return Step(Undo);
}

HistoryState RedoStep() {
    return Step(Redo);
}

} // namespace

SceneText PageScene() {
    return WithAdditions(CurrentScene(), additions);
}

std::string LoadSceneAsStep(const SceneText& scene) {
    Record(); // the scene before, if it was not recorded yet
    const bool loaded = LoadScene(scene, PageMenu());
    SetAdditions(scene);
    Record();
    return loaded ? "" : "not enough memory for every point: the scene is loaded in part";
}

void ChangeAdditionsAsStep(const SceneText& scene) {
    Record();
    SetAdditions(scene);
    Record();
}

void ChangeAdditions(const SceneText& scene) {
    Record();
    SetAdditions(scene);
}

std::uint32_t AdditionsVersion() {
    return additionsVersion;
}

const std::string& AdditionsNote() {
    return additionsNote;
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
    function("recordScene", &RecordStep);
    function("undo", &UndoStep);
    function("redo", &RedoStep);
}
