#include "history.h"

#include "scene.h"
#include "scene_load.h"

namespace {

void DropOldest(SceneHistory& history) {
    history.points -= history.steps.front().scene.points.size();
    history.steps.pop_front();
    history.at -= 1;
}

bool Restore(SceneHistory& history, std::size_t at, MenuRef menu) {
    if (editor.pressed) {
        return false;
    }
    history.at = at;
    LoadScene(history.steps[at].scene, menu);
    history.version = editor.sceneVersion;
    return true;
}

} // namespace

bool RecordScene(SceneHistory& history) {
    return RecordScene(history, history.extraVersion, [] {
        return HistoryStep{CurrentScene(), ""};
    });
}

bool RecordScene(SceneHistory& history, std::uint32_t extraVersion,
                 const std::function<HistoryStep()>& read) {
    if (editor.pressed || (!history.steps.empty() && history.version == editor.sceneVersion &&
                           history.extraVersion == extraVersion)) {
        return false;
    }
    history.version = editor.sceneVersion;
    history.extraVersion = extraVersion;
    HistoryStep step = read();
    if (!history.steps.empty() && SameScene(step.scene, history.steps[history.at].scene) &&
        step.view == history.steps[history.at].view) {
        return false;
    }
    while (!history.steps.empty() && history.steps.size() > history.at + 1) {
        history.points -= history.steps.back().scene.points.size();
        history.steps.pop_back();
    }
    history.points += step.scene.points.size();
    history.steps.push_back(std::move(step));
    history.at = history.steps.size() - 1;
    while (history.steps.size() > kMostHistorySteps + 1 ||
           (history.points > kMostHistoryPoints && history.steps.size() > 1)) {
        DropOldest(history);
    }
    return true;
}

bool CanUndo(const SceneHistory& history) {
    return !history.steps.empty() && history.at > 0;
}

bool CanRedo(const SceneHistory& history) {
    return history.at + 1 < history.steps.size();
}

bool Undo(SceneHistory& history, MenuRef menu) {
    return CanUndo(history) && Restore(history, history.at - 1, menu);
}

bool Redo(SceneHistory& history, MenuRef menu) {
    return CanRedo(history) && Restore(history, history.at + 1, menu);
}
