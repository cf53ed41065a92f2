#include "page_scene.h"

#include "scene.h"
#include "scene_load.h"

namespace {

// The additions brought to the editor's points and degree; the note kept until the next change.
void KeepFitting(PageScene& page) {
    const FittedAdditions fitted =
        FitAdditions(page.additions, editor.pointCount, static_cast<int>(editor.degree));
    if (!fitted.note.empty()) {
        page.note = fitted.note;
    }
    if (!SameAdditions(fitted.additions, page.additions)) {
        page.additions = fitted.additions;
        page.additionsVersion += 1;
    }
}

void SetAdditions(PageScene& page, const SceneText& scene) {
    page.additions = AdditionsOf(scene);
    page.additionsVersion += 1;
    page.note.clear();
    KeepFitting(page);
}

bool Restore(PageScene& page, bool (*restore)(SceneHistory&, MenuRef), MenuRef menu) {
    RecordPage(page);
    if (!restore(page.history, menu)) {
        return false;
    }
    SetAdditions(page, page.history.steps[page.history.at].scene);
    page.view = page.history.steps[page.history.at].view;
    page.history.extraVersion = page.additionsVersion;
    return true;
}

} // namespace

SceneText SceneOf(const PageScene& page) {
    return WithAdditions(CurrentScene(), page.additions);
}

SceneText StepShown(const PageScene& page) {
    return page.history.steps.empty() ? SceneOf(page) : page.history.steps[page.history.at].scene;
}

bool RecordPage(PageScene& page) {
    KeepFitting(page);
    return RecordScene(page.history, page.additionsVersion, [&] {
        return HistoryStep{SceneOf(page), page.view};
    });
}

std::string LoadAsStep(PageScene& page, const SceneText& scene, MenuRef menu,
                       const std::string& view) {
    RecordPage(page); // the scene before, if it was not recorded yet
    const bool loaded = LoadScene(scene, menu);
    SetAdditions(page, scene);
    page.view = view;
    RecordPage(page);
    return loaded ? "" : "not enough memory for every point: the scene is loaded in part";
}

void ChangeAdditions(PageScene& page, const SceneText& scene, bool asStep) {
    RecordPage(page);
    SetAdditions(page, scene);
    if (asStep) {
        RecordPage(page);
    }
}

void ChangeStepView(PageScene& page, const std::string& view, bool asStep) {
    if (view == page.view) {
        return;
    }
    RecordPage(page);
    page.view = view;
    page.additionsVersion += 1;
    if (asStep) {
        RecordPage(page);
    }
}

bool UndoPage(PageScene& page, MenuRef menu) {
    return Restore(page, Undo, menu);
}

bool RedoPage(PageScene& page, MenuRef menu) {
    return Restore(page, Redo, menu);
}
