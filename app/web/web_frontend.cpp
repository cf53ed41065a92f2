// The browser program: the page's events arrive here and are queued, one taken to the core
// per pass; the core's host requests go back to the page (tavrimo_page.js).
#include "web_frontend.h"

#include "host.h"
#include "menu.h"
#include "queued_loop.h"
#include "raster.h"
#include "reach.h"
#include "scene.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct WebFrontEnd {
    // In the canvas's own byte order, so that the page shows it as it is.
    std::vector<std::uint32_t> back = std::vector<std::uint32_t>(kWidth * kHeight, kWhitePixel);
    std::string menu;
    std::string language;
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
    Tavrimo.showFrame(HEAPU8.buffer, rgba, width, height, top, bottom);
});
EM_JS(void, PageCheck, (unsigned command, bool checked), {
    Tavrimo.check(command, checked);
});
EM_JS(void, PageMessageBox, (const char* text, const char* title), {
    Tavrimo.messageBox(UTF8ToString(text), UTF8ToString(title));
});
// clang-format on

ClientRect HostClientRect(WindowRef /*window*/) {
    return ClientRect{0, 0, kWidth, kHeight};
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

extern "C" {

// The menu bar as "popup\titem\tcommand\tchecked" lines, for the page to build.
EMSCRIPTEN_KEEPALIVE const char* tavrimo_menu() {
    web.menu.clear();
    for (const MenuItemEntry& entry : kMenuItems) {
        web.menu += std::string(entry.popup) + "\t" + entry.text + "\t" +
                    std::to_string(entry.command) + "\t" + (entry.initiallyChecked ? "1" : "0") +
                    "\n";
    }
    return web.menu.c_str();
}

EMSCRIPTEN_KEEPALIVE void tavrimo_start() {
    editor.backBuffer = BackBuffer{web.back.data(), kWidth, kHeight, kWidth, PixelOrder::Rgba};
}

// The event language for the page: "event NAME NUMBER" for the kinds it may queue,
// "key other NUMBER" for the value of a key the editor does not read, and
// "pass NAME NUMBER" for what a pass returns.
EMSCRIPTEN_KEEPALIVE const char* tavrimo_language() {
    web.language.clear();
    for (const EventKindName& entry : kEventKindNames) {
        if (entry.kind <= EventKind::Close) {
            web.language += std::string("event ") + entry.name + " " +
                            std::to_string(static_cast<int>(entry.kind)) + "\n";
        }
    }
    web.language += "key other " + std::to_string(kOtherKey) + "\n";
    web.language += "pass idle " + std::to_string(static_cast<int>(PassOutcome::Idle)) + "\n";
    web.language += "pass busy " + std::to_string(static_cast<int>(PassOutcome::Busy)) + "\n";
    web.language += "pass quit " + std::to_string(static_cast<int>(PassOutcome::Quit)) + "\n";
    return web.language.c_str();
}

// Queues one event from the page; a kind the page may not queue is dropped.
EMSCRIPTEN_KEEPALIVE void tavrimo_queue(int kind, int x, int y, unsigned value) {
    if (kind < 0 || kind > static_cast<int>(EventKind::Close)) {
        return;
    }
    EnqueueEvent(queuedLoop, Event{static_cast<EventKind>(kind), static_cast<std::uint16_t>(x),
                                   static_cast<std::uint16_t>(y), value});
}

// The client position of the first placed point whose marker lies within reach of a finger's
// press at (x, y), as x * 65536 + y, or -1 when there is none.
EMSCRIPTEN_KEEPALIVE int tavrimo_reach(int x, int y, float reach) {
    const ReachedPoint point =
        FirstPointWithinReach(static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y), reach);
    if (!point.found || point.clientX < 0 || point.clientY < 0 || point.clientX > 32767 ||
        point.clientY > 65535) {
        return -1;
    }
    return point.clientX * 65536 + point.clientY;
}

// One pass of the main loop; returns a PassOutcome.
EMSCRIPTEN_KEEPALIVE int tavrimo_pass() {
    return static_cast<int>(RunQueuedPass(queuedLoop, WindowRef{&windowTag}, MenuRef{&menuTag}));
}

} // extern "C"
