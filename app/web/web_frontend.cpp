// The browser program: the page's events arrive here as queued messages, one taken to the
// core per pass; the core's host requests go back to the page (tavrimo_page.js).
#include "commands.h"
#include "host.h"
#include "menu.h"
#include "message_queue.h"
#include "raster.h"
#include "render.h"
#include "scene.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct WebFrontEnd {
    std::vector<std::uint32_t> back = std::vector<std::uint32_t>(kWidth * kHeight, kWhitePixel);
    std::vector<std::uint8_t> front = std::vector<std::uint8_t>(kWidth * kHeight * 4, 255);
    MessageQueue queue;
    bool quit = false;
    std::string menu;
};

WebFrontEnd web;
int windowTag; // the one window: its address is the handle
int menuTag;

} // namespace

// clang-format off
EM_JS(void, PageShowFrame, (const std::uint8_t* rgba, int width, int height), {
    Tavrimo.showFrame(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
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

void HostPresent(TargetRef target, ClientRect rect, BackBuffer buffer) {
    if (target.handle == nullptr || buffer.pixels == nullptr) {
        return;
    }
    const int right = std::min(rect.right, std::min(buffer.width, kWidth));
    const int bottom = std::min(rect.bottom, std::min(buffer.height, kHeight));
    for (int row = std::max(rect.top, 0); row < bottom; ++row) {
        for (int column = std::max(rect.left, 0); column < right; ++column) {
            const std::uint32_t pixel = buffer.pixels[row * buffer.stride + column];
            std::uint8_t* out = &web.front[(row * kWidth + column) * 4];
            out[0] = static_cast<std::uint8_t>(pixel >> 16);
            out[1] = static_cast<std::uint8_t>(pixel >> 8);
            out[2] = static_cast<std::uint8_t>(pixel);
            out[3] = 255;
        }
    }
    PageShowFrame(web.front.data(), kWidth, kHeight);
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

void HostPostQuit() {
    // Taken before any other pending input, as a Windows quit message is.
    web.queue.push_front(QueuedMessage{QueuedMessage::Quit, 0, 0, 0});
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
    editor.backBuffer = BackBuffer{web.back.data(), kWidth, kHeight, kWidth};
}

// Queues one message from the page (kinds numbered as QueuedMessage::Kind); anything else
// is dropped.
EMSCRIPTEN_KEEPALIVE void tavrimo_queue(int kind, int x, int y, unsigned value) {
    if (web.quit || kind < QueuedMessage::Move || kind > QueuedMessage::Close) {
        return;
    }
    EnqueueMessage(web.queue, QueuedMessage{static_cast<QueuedMessage::Kind>(kind),
                                            static_cast<std::uint16_t>(x),
                                            static_cast<std::uint16_t>(y), value});
}

// One pass of the main loop: at most one message to the core, then a frame if the picture can
// have changed. Returns 1 while there is more to do, 0 when idle, 2 once the editor has quit.
EMSCRIPTEN_KEEPALIVE int tavrimo_pass() {
    if (web.quit) {
        return 2;
    }
    const MenuRef menu{&menuTag};
    const WindowRef window{&windowTag};
    if (!web.queue.empty()) {
        const QueuedMessage message = web.queue.front();
        web.queue.pop_front();
        if (message.kind == QueuedMessage::Quit) {
            web.quit = true;
            web.queue.clear();
            return 2;
        }
        DispatchQueued(message, window, menu);
    }
    if (FrameNeeded(window)) {
        RenderFrame(window, TargetRef{&windowTag});
    }
    return !web.queue.empty() || FrameNeeded(window) ? 1 : 0;
}

} // extern "C"
