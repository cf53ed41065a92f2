// The scene kept and shared, for the page's scene part (scene_controls.js), by name: the scene
// as text and as a link, a scene opened from either (on an error the scene stays as it was),
// undo and redo, the picture as SVG; and the page's additions to the editor's scene (the
// explored curve's knots, the points' weights), kept fitting its points and degree.
#include "scene_controls.h"

#include "editor.h"
#include "page_scene.h"
#include "queued_loop.h"
#include "scene.h"
#include "scene_text.h"
#include "svg.h"

#include <emscripten/bind.h>

#include <string>

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

std::string SceneLinkNow() {
    return SceneToLink(ShownScene());
}

// The scene of the current step: after "Quit", the scene as it was before.
std::string StepText() {
    return FormatScene(StepShown(page));
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

HistoryState UndoStep() {
    UndoPage(page, PageMenu());
    return State();
}

HistoryState RedoStep() {
    RedoPage(page, PageMenu());
    return State();
}

} // namespace

SceneText ShownScene() {
    return SceneOf(page);
}

std::string LoadSceneAsStep(const SceneText& scene) {
    return LoadAsStep(page, scene, PageMenu());
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
    function("sceneLink", &SceneLinkNow);
    function("stepText", &StepText);
    function("sceneSvg", &SceneSvg);
    function("openScene", &OpenScene);
    function("recordScene", &RecordStep);
    function("undo", &UndoStep);
    function("redo", &RedoStep);
}
