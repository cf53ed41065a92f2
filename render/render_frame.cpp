#include "render.h"

#include <algorithm>

namespace {

// What the last frame drew and left behind.
struct LastFrame {
    bool drawn;
    std::uint32_t sceneVersion;
    ClientRect rect;
    bool bufferWhite;           // its clearing covered the whole back buffer
    bool presentedAccumulation; // it presented over drawing that no clearing had removed
};

LastFrame lastFrame = {false, 0, {0, 0, 0, 0}, true, false};

bool SameRect(ClientRect a, ClientRect b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool IsEmpty(ClientRect rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

bool CoversBuffer(ClientRect rect, const BackBuffer& buffer) {
    return rect.left <= 0 && rect.top <= 0 && rect.right >= buffer.width &&
           rect.bottom >= buffer.height;
}

} // namespace

ClientRect ShownRect(ClientRect client, const BackBuffer& buffer) {
    if (buffer.pixels == nullptr) {
        return ClientRect{0, 0, 0, 0};
    }
    const ClientRect shown{std::max(client.left, 0), std::max(client.top, 0),
                           std::min(client.right, buffer.width),
                           std::min(client.bottom, buffer.height)};
    return IsEmpty(shown) ? ClientRect{0, 0, 0, 0} : shown;
}

// Kept apart from composing so that programs drawing without a host (benchmarks) link
// without one.
void RenderFrame(WindowRef window, TargetRef target) {
    const ClientRect client = HostClientRect(window);
    const BackBuffer buffer = editor.backBuffer;
    const ClientRect shown = ShownRect(client, buffer);
    ComposeFrame(buffer);
    if (target.handle != nullptr && !IsEmpty(shown)) {
        HostPresent(target, shown, buffer);
    }
    ClearBackBuffer(buffer, shown);
    lastFrame = LastFrame{true, editor.sceneVersion, client, CoversBuffer(client, buffer),
                          !IsEmpty(client) && !lastFrame.bufferWhite};
}

bool FrameNeeded(WindowRef window) {
    // Drawing an unchanged scene again over a buffer that holds it changes no pixel, so
    // a minimised window with nothing new needs no frame either.
    return !lastFrame.drawn || lastFrame.sceneVersion != editor.sceneVersion ||
           !SameRect(HostClientRect(window), lastFrame.rect) || lastFrame.presentedAccumulation;
}
