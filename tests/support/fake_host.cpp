#include "fake_host.h"

#include "commands.h"
#include "queued_loop.h"

#include <algorithm>

FakeHost fakeHost{{0, 0, 0, 0}, nullptr, {}, {}, {}, {}, 0};
int windowTarget = 0;
int paintTarget = 0;

void ResetFakeHost(ClientRect clientRect) {
    fakeHost = FakeHost{clientRect, nullptr, {}, {}, {}, {}, 0};
    for (unsigned command = IDM_DEGREE_1; command <= IDM_DEGREE_9; ++command) {
        fakeHost.checkMarks[command] = command == IDM_DEGREE_3;
    }
    queuedLoop = QueuedLoop{{}, false};
}

std::vector<int> CheckedDegrees() {
    std::vector<int> degrees;
    for (const auto& mark : fakeHost.checkMarks) {
        if (mark.second && mark.first >= IDM_DEGREE_1 && mark.first <= IDM_DEGREE_9) {
            degrees.push_back(static_cast<int>(mark.first - IDM_DEGREE_1) + 1);
        }
    }
    return degrees;
}

int QuitRequests() {
    return static_cast<int>(
        std::count_if(queuedLoop.events.begin(), queuedLoop.events.end(),
                      [](const Event& event) { return event.kind == EventKind::Quit; }));
}

ClientRect HostClientRect(WindowRef window) {
    fakeHost.lastWindow = window.handle;
    return fakeHost.clientRect;
}

TargetRef HostAcquireTarget(WindowRef /*window*/, TargetKind kind) {
    fakeHost.targetsHeld += 1;
    return TargetRef{kind == TargetKind::Window ? &windowTarget : &paintTarget};
}

void HostReleaseTarget(WindowRef /*window*/, TargetKind /*kind*/, TargetRef /*target*/) {
    fakeHost.targetsHeld -= 1;
}

void HostPresent(TargetRef target, ClientRect rect, const BackBuffer& buffer) {
    PresentCall call{target.handle, rect, buffer.width, buffer.height, {}};
    for (int row = 0; row < buffer.height; ++row) {
        for (int column = 0; column < buffer.width; ++column) {
            call.pixels.push_back(buffer.pixels[row * buffer.stride + column]);
        }
    }
    fakeHost.presents.push_back(std::move(call));
}

void HostCheckMenuItem(MenuRef menu, unsigned command, bool checked) {
    fakeHost.checkCalls.push_back(CheckCall{menu.handle, command, checked});
    fakeHost.checkMarks[command] = checked;
}

void HostMessageBox(WindowRef owner, const char* text, const char* title) {
    fakeHost.messageBoxes.push_back(MessageBoxCall{owner.handle, text, title});
}
