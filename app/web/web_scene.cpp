// Keeping and sharing the scene, for the page: the scene as text and as a link, a scene opened
// from either (on an error the scene stays as it was), undo and redo, the picture as SVG.
#include "history.h"
#include "scene_load.h"
#include "scene_text.h"
#include "svg.h"
#include "web_frontend.h"

#include <emscripten/emscripten.h>

#include <string>

namespace {

std::string text;    // the last text handed to the page
std::string input;   // what the page hands in
std::string failure; // the last error
SceneHistory history{};

int HistoryFlags() {
    return (CanUndo(history) ? 1 : 0) | (CanRedo(history) ? 2 : 0);
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* tavrimo_scene_text() {
    text = FormatScene(CurrentScene());
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* tavrimo_scene_link() {
    text = SceneToLink(CurrentScene());
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* tavrimo_scene_svg() {
    text = FormatSvg(640, 480);
    return text.c_str();
}

// Room for `size` bytes of a scene's text or link; null when no scene is that long.
EMSCRIPTEN_KEEPALIVE char* tavrimo_scene_input(int size) {
    if (size < 0 || static_cast<std::size_t>(size) > kLongestSceneText) {
        return nullptr;
    }
    input.assign(static_cast<std::size_t>(size), '\0');
    return input.data();
}

// Opens the text (link = 0) or link (link = 1) handed in: null when the scene is loaded and
// recorded as a step, else the error, with the scene as it was.
EMSCRIPTEN_KEEPALIVE const char* tavrimo_scene_open(int link) {
    const SceneParse parse = link != 0 ? SceneFromLink(input.data(), input.size())
                                       : ParseScene(input.data(), input.size());
    if (!parse.ok) {
        failure = parse.error;
        return failure.c_str();
    }
    RecordScene(history); // the scene before, if it was not recorded yet
    if (!LoadScene(parse.scene, PageMenu())) {
        failure = "not enough memory for every point: the scene is loaded in part";
        RecordScene(history);
        return failure.c_str();
    }
    RecordScene(history);
    return nullptr;
}

// After each pass: records the scene when it has changed and no button is held. Returns 1
// when there is a step to undo, plus 2 when there is one to redo.
EMSCRIPTEN_KEEPALIVE int tavrimo_history_record() {
    RecordScene(history);
    return HistoryFlags();
}

EMSCRIPTEN_KEEPALIVE int tavrimo_undo() {
    RecordScene(history);
    Undo(history, PageMenu());
    return HistoryFlags();
}

EMSCRIPTEN_KEEPALIVE int tavrimo_redo() {
    RecordScene(history);
    Redo(history, PageMenu());
    return HistoryFlags();
}

} // extern "C"
