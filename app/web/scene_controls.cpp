// The scene kept and shared, for the page (page.js, scene_controls.js), by name: the scene as
// text, its steps recorded, undo and redo, the picture as vectors; and the page's additions to the
// editor's scene (the explored curve's knots, the points' weights), kept fitting its points and
// degree.
#include "scene_controls.h"

#include "editor.h"
#include "page_scene.h"
#include "queued_loop.h"
#include "scene.h"
#include "scene_text.h"
#include "svg.h"

#include <emscripten/bind.h>

#include <string>
#include <vector>

namespace {

PageScene page{};

bool Record() {
    return RecordPage(page);
}

struct HistoryState {
    bool canUndo;
    bool canRedo;
    bool recorded; // a new step was recorded just now
};

HistoryState State(bool recorded = false) {
    return HistoryState{CanUndo(page.history), CanRedo(page.history), recorded};
}

std::string SceneTextNow() {
    return FormatScene(ShownScene());
}

// The scene of the current step: after "Quit", the scene as it was before.
std::string StepText() {
    return FormatScene(StepShown(page));
}

emscripten::val FloatArray(const std::vector<float>& numbers) {
    return emscripten::val::global("Float32Array")
        .new_(emscripten::typed_memory_view(numbers.size(), numbers.data()));
}

// The editor's picture as vectors, for a figure.
emscripten::val EditorVectorsNow() {
    const EditorVectors vectors = VectorsOfEditor();
    emscripten::val shown = emscripten::val::object();
    shown.set("polygon", FloatArray(vectors.polygon));
    shown.set("curve", FloatArray(vectors.curve));
    shown.set("markerHalfSize", vectors.markerHalfSize);
    shown.set("polygonColour", vectors.polygonColor);
    shown.set("markerColour", vectors.markerColor);
    shown.set("curveColour", vectors.curveColor);
    return shown;
}

// After a pass: records the scene when it has changed and no button is held. What quitting
// clears is not a step, so that the step shown stays the scene as it was before "Quit".
HistoryState RecordStep() {
    return State(!QuitRequested(queuedLoop) && Record());
}

HistoryState HistoryNow() {
    return State();
}

bool UndoStep() {
    return UndoPage(page, PageMenu());
}

bool RedoStep() {
    return RedoPage(page, PageMenu());
}

} // namespace

SceneText ShownScene() {
    return SceneOf(page);
}

std::string LoadSceneAsStep(const SceneText& scene, const std::string& stepView) {
    return LoadAsStep(page, scene, PageMenu(), stepView);
}

void ChangeStepViewAs(const std::string& view, bool asStep) {
    ChangeStepView(page, view, asStep);
}

const std::string& StepView() {
    return page.view;
}

void ChangeAdditionsAsStep(const SceneText& scene) {
    ChangeAdditions(page, scene, true);
}

void ChangeAdditions(const SceneText& scene) {
    ChangeAdditions(page, scene, false);
}

std::uint32_t AdditionsVersion() {
    return page.additionsVersion;
}

const std::string& AdditionsNote() {
    return page.note;
}

EMSCRIPTEN_BINDINGS(scene_controls) {
    using namespace emscripten;
    value_object<HistoryState>("HistoryState")
        .field("canUndo", &HistoryState::canUndo)
        .field("canRedo", &HistoryState::canRedo)
        .field("recorded", &HistoryState::recorded);
    function("sceneText", &SceneTextNow);
    function("stepText", &StepText);
    function("editorVectors", &EditorVectorsNow);
    function("recordScene", &RecordStep);
    function("historyState", &HistoryNow);
    function("undo", &UndoStep);
    function("redo", &RedoStep);
}
