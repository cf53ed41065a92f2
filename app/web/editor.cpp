// The editor part of the browser program (editor.js): the page's events arrive here and are
// queued, one taken to the core per pass; the core's host requests go back to the page; the
// editor's geometry, menu and event language for the page, by name.
#include "editor.h"

#include "explain.h"
#include "host.h"
#include "menu.h"
#include "queued_loop.h"
#include "raster.h"
#include "reach.h"
#include "scene.h"
#include "scene_text.h"

#include <emscripten/bind.h>
#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct WebFrontEnd {
    // In the canvas's own byte order, so that the page shows it as it is.
    std::vector<std::uint32_t> back =
        std::vector<std::uint32_t>(kClientWidth * kClientHeight, kWhitePixel);
};

WebFrontEnd web;
int windowTag; // the one window: its address is the handle
int menuTag;

} // namespace

MenuRef PageMenu() {
    return MenuRef{&menuTag};
}

// clang-format off
EM_JS(void, PageShowFrame, (const std::uint32_t* rgba, int width, int height, int top, int bottom), {
    Module.page.showFrame(HEAPU8.buffer, rgba, width, height, top, bottom);
});
EM_JS(void, PageCheck, (unsigned command, bool checked), {
    Module.page.check(command, checked);
});
EM_JS(void, PageMessageBox, (const char* text, const char* title), {
    Module.page.messageBox(UTF8ToString(text), UTF8ToString(title));
});
// clang-format on

ClientRect HostClientRect(WindowRef /*window*/) {
    return ClientRect{0, 0, kClientWidth, kClientHeight};
}

TargetRef HostAcquireTarget(WindowRef /*window*/, TargetKind kind) {
    // The canvas keeps the last presented frame, so a paint request has nothing to show.
    return TargetRef{kind == TargetKind::Window ? &windowTag : nullptr};
}

void HostReleaseTarget(WindowRef /*window*/, TargetKind /*kind*/, TargetRef /*target*/) {}

void HostPresent(TargetRef /*target*/, ClientRect rect, const BackBuffer& buffer) {
    // The canvas has the back buffer's size and pixel order; the page copies the rows shown.
    PageShowFrame(buffer.pixels, buffer.width, buffer.height, rect.top, rect.bottom);
}

void HostCheckMenuItem(MenuRef menu, unsigned command, bool checked) {
    if (menu.handle != nullptr) {
        PageCheck(command, checked);
    }
}

void HostMessageBox(WindowRef /*owner*/, const char* text, const char* title) {
    // The page shows a modal dialog; until it closes the page sends no input and the loop
    // takes none, as the desktop loop waits for its message box.
    PageMessageBox(text, title);
}

namespace {

using emscripten::val;

// What the page draws and limits by: the core's own constants.
struct Geometry {
    int clientWidth;
    int clientHeight;
    int worldOriginRow;
    float markerHalfSize;
    float pickReach;
    int maxDegree;
    int mostScenePoints;
    double longestSceneText;
};

Geometry EditorGeometry() {
    return Geometry{kClientWidth,
                    kClientHeight,
                    kWorldOriginRow,
                    kMarkerHalfSize,
                    kPickReach,
                    kMaxDegree,
                    static_cast<int>(kMostScenePoints),
                    static_cast<double>(kLongestSceneText)};
}

// The menu bar, item by item: popup, text, command, checked at start.
val Menu() {
    val items = val::array();
    for (const MenuItemEntry& entry : kMenuItems) {
        val item = val::object();
        item.set("popup", std::string(entry.popup));
        item.set("text", std::string(entry.text));
        item.set("command", entry.command);
        item.set("checked", entry.initiallyChecked);
        items.call<void>("push", item);
    }
    return items;
}

// The event kinds the page may queue, the value of a key the editor does not read, and what a
// pass returns, by name.
val Language() {
    val kinds = val::object();
    for (const EventKindName& entry : kEventKindNames) {
        if (entry.kind <= EventKind::Close) {
            kinds.set(entry.name, static_cast<int>(entry.kind));
        }
    }
    val passes = val::object();
    passes.set("idle", static_cast<int>(PassOutcome::Idle));
    passes.set("busy", static_cast<int>(PassOutcome::Busy));
    passes.set("quit", static_cast<int>(PassOutcome::Quit));
    val language = val::object();
    language.set("events", kinds);
    language.set("otherKey", static_cast<double>(kOtherKey));
    language.set("passes", passes);
    return language;
}

void Start() {
    editor.backBuffer =
        BackBuffer{web.back.data(), kClientWidth, kClientHeight, kClientWidth, PixelOrder::Rgba};
}

// Queues one event from the page; a kind the page may not queue is dropped.
void Queue(int kind, int x, int y, unsigned value) {
    if (kind < 0 || kind > static_cast<int>(EventKind::Close)) {
        return;
    }
    EnqueueEvent(queuedLoop, Event{static_cast<EventKind>(kind), static_cast<std::uint16_t>(x),
                                   static_cast<std::uint16_t>(y), value});
}

// The first placed point whose marker lies within reach of a finger's press at (x, y), at its
// own client position.
ReachedPoint Reach(int x, int y, float reach) {
    return FirstPointWithinReach(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y),
                                 reach);
}

// One pass of the main loop; returns a PassOutcome.
int Pass() {
    return static_cast<int>(RunQueuedPass(queuedLoop, WindowRef{&windowTag}, MenuRef{&menuTag}));
}

} // namespace

EMSCRIPTEN_BINDINGS(editor) {
    using namespace emscripten;
    value_object<CurveDomain>("CurveDomain")
        .field("degree", &CurveDomain::degree)
        .field("points", &CurveDomain::pointCount)
        .field("hasCurve", &CurveDomain::hasCurve)
        .field("needed", &CurveDomain::pointsNeeded)
        .field("samples", &CurveDomain::sampleCount);
    function("curveDomain", &DomainOfCurve);
    value_object<Geometry>("Geometry")
        .field("clientWidth", &Geometry::clientWidth)
        .field("clientHeight", &Geometry::clientHeight)
        .field("worldOriginRow", &Geometry::worldOriginRow)
        .field("markerHalfSize", &Geometry::markerHalfSize)
        .field("pickReach", &Geometry::pickReach)
        .field("maxDegree", &Geometry::maxDegree)
        .field("mostScenePoints", &Geometry::mostScenePoints)
        .field("longestSceneText", &Geometry::longestSceneText);
    value_object<ReachedPoint>("ReachedPoint")
        .field("found", &ReachedPoint::found)
        .field("clientX", &ReachedPoint::clientX)
        .field("clientY", &ReachedPoint::clientY);
    function("geometry", &EditorGeometry);
    function("menu", &Menu);
    function("language", &Language);
    function("start", &Start);
    function("queue", &Queue);
    function("reach", &Reach);
    function("pass", &Pass);
}
