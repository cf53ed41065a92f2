// A host that records what the core asks of it.
#pragma once

#include "host.h"

#include <cstdint>
#include <vector>

struct PresentCall {
    void* target;
    ClientRect rect;
    int width;
    int height;
    std::vector<std::uint32_t> pixels; // the back buffer as it was presented, row by row
};

struct FakeHost {
    ClientRect clientRect;
    void* lastWindow;
    std::vector<PresentCall> presents;
};

extern FakeHost fakeHost;

void ResetFakeHost(ClientRect clientRect);
