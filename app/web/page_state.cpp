// The page's one state (page.js) with the core: its view as a JavaScript object and back, kept
// fitting the scene; the link and the scene file written and read with their view; undo and
// redo, whose steps keep the view's insertions.
#include "editor.h"
#include "fit_panel.h"
#include "page_view.h"
#include "scene.h"
#include "scene_controls.h"

#include <emscripten/bind.h>

#include <string>

namespace {

using emscripten::val;

val ViewValue(const PageView& view) {
    val shown = val::array();
    for (int j = 0; j < kPageViewCount; ++j) {
        if ((view.shown & (1u << j)) != 0) {
            shown.call<void>("push", std::string(kPageViewWords[j]));
        }
    }
    val value = val::object();
    value.set("panelOpen", view.panelOpen);
    value.set("t", view.hasT ? val(view.t) : val::null());
    value.set("insertions", view.insertions);
    value.set("shown", shown);
    value.set("naming", std::string(TriangleNamingWord(view.naming)));
    value.set("level", view.level < 0 ? val::null() : val(view.level));
    value.set("combScale", view.combScale);
    value.set("exact", view.exact);
    value.set("pointLabels", view.pointLabels);
    value.set("looked", view.looked < 0 ? val::null() : val(view.looked));
    value.set("speed", view.speed);
    value.set("continuityOpen", view.continuityOpen);
    value.set("title", view.title);
    value.set("note", view.note);
    SetFitValues(value, view.fit);
    return value;
}

int WholeOr(const val& value, int none) {
    return value.isNumber() ? value.as<int>() : none;
}

// The page's view object as the core's: what the page's controls can set, nothing more.
PageView ViewOf(const val& value) {
    PageView view{};
    view.panelOpen = value["panelOpen"].as<bool>();
    view.hasT = value["t"].isNumber();
    view.t = view.hasT ? value["t"].as<double>() : 0.0;
    view.insertions = WholeOr(value["insertions"], 0);
    const val shown = value["shown"];
    for (int j = 0; j < kPageViewCount; ++j) {
        if (shown.call<bool>("includes", std::string(kPageViewWords[j]))) {
            view.shown |= 1u << j;
        }
    }
    const Outcome<TriangleNaming> naming = TriangleNamingNamed(value["naming"].as<std::string>());
    view.naming = naming.ok() ? naming.value : TriangleNaming::None;
    view.level = WholeOr(value["level"], -1);
    view.combScale = value["combScale"].as<double>();
    view.exact = value["exact"].as<bool>();
    view.pointLabels = value["pointLabels"].as<bool>();
    view.looked = WholeOr(value["looked"], -1);
    view.speed = WholeOr(value["speed"], kPlaySpeedUsual);
    view.continuityOpen = value["continuityOpen"].as<bool>();
    view.title = value["title"].as<std::string>();
    view.note = value["note"].as<std::string>();
    view.fit = FitViewOf(value);
    return view;
}

val FreshView() {
    return ViewValue(PageView{});
}

val Kept(const val& view) {
    return ViewValue(KeptView(ViewOf(view), LimitsOf(ShownScene())));
}

std::string PageLink(const val& view) {
    return FormatPageLink(PageState{ShownScene(), ViewOf(view)});
}

std::string PageFile(const val& view) {
    return FormatPageFile(PageState{ShownScene(), ViewOf(view)});
}

// Opens the bytes as a link's fragment or a scene file: the scene as one step, and its view; or
// the error, with the scene as it was.
// Strictly: a view with a pair set aside is refused too, and nothing changes.
val OpenPage(const std::string& bytes, bool link, bool strictly) {
    const PageParse parse = link ? ParsePageLink(bytes.data(), bytes.size())
                                 : ParsePageFile(bytes.data(), bytes.size());
    val opened = val::object();
    opened.set("error", parse.error);
    if (parse.ok && strictly && !parse.setAside.empty()) {
        opened.set("error", "its view has " + parse.setAside);
    } else if (parse.ok) {
        opened.set("error", LoadSceneAsStep(parse.state.scene, StepViewText(parse.state.view)));
        opened.set("setAside", parse.setAside);
        opened.set("view", ViewValue(parse.state.view));
    }
    return opened;
}

// The view's insertions kept with the steps: as a step of their own, or with the next one.
void KeepStepView(const val& view, bool asStep) {
    ChangeStepViewAs(StepViewText(ViewOf(view)), asStep);
}

// The insertions of the step shown, after undo or redo.
int ShownStepInsertions() {
    return StepInsertions(StepView());
}

// Versions that change with every change to the editor's scene and to what the page adds, and
// whether a button is held on the editor (a drag).
val SceneVersions() {
    val versions = val::object();
    versions.set("scene", editor.sceneVersion);
    versions.set("additions", AdditionsVersion());
    versions.set("pressed", editor.pressed);
    return versions;
}

} // namespace

EMSCRIPTEN_BINDINGS(page_state) {
    using namespace emscripten;
    function("sceneVersions", &SceneVersions);
    function("freshView", &FreshView);
    function("keptView", &Kept);
    function("pageLink", &PageLink);
    function("pageFile", &PageFile);
    function("openPage", &OpenPage);
    function("keepStepView", &KeepStepView);
    function("stepInsertions", &ShownStepInsertions);
}
