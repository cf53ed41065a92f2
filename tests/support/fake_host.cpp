#include "fake_host.h"

FakeHost fakeHost{{0, 0, 0, 0}, nullptr, {}};

void ResetFakeHost(ClientRect clientRect) {
    fakeHost.clientRect = clientRect;
    fakeHost.lastWindow = nullptr;
    fakeHost.presents.clear();
}

ClientRect HostClientRect(WindowRef window) {
    fakeHost.lastWindow = window.handle;
    return fakeHost.clientRect;
}

void HostPresent(TargetRef target, ClientRect rect, BackBuffer buffer) {
    PresentCall call{target.handle, rect, buffer.width, buffer.height, {}};
    for (int row = 0; row < buffer.height; ++row) {
        for (int column = 0; column < buffer.width; ++column) {
            call.pixels.push_back(buffer.pixels[row * buffer.stride + column]);
        }
    }
    fakeHost.presents.push_back(std::move(call));
}
