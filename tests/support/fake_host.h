// A host that records what the core asks of it. Its quit requests go to the queued loop, as
// the Linux and browser programs' do.
#pragma once

#include "host.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct PresentCall {
    void* target;
    ClientRect rect;
    int width;
    int height;
    std::vector<std::uint32_t> pixels; // the back buffer as it was presented, row by row
};

struct CheckCall {
    void* menu;
    unsigned command;
    bool checked;
};

struct MessageBoxCall {
    void* owner;
    std::string text;
    std::string title;
};

struct FakeHost {
    ClientRect clientRect;
    void* lastWindow;
    std::vector<PresentCall> presents;
    std::vector<CheckCall> checkCalls;
    std::map<unsigned, bool> checkMarks; // by command number, as the menu now shows them
    std::vector<MessageBoxCall> messageBoxes;
    int targetsHeld; // acquired and not yet released
};

extern FakeHost fakeHost;
// What HostAcquireTarget gives for each kind: a paint request's target stands for a Windows
// paint context clipped to nothing.
extern int windowTarget;
extern int paintTarget;

// Forgets every call and empties the queued loop; the "Degree" marks start on "3" as the
// menu resource has them.
void ResetFakeHost(ClientRect clientRect);

// The degrees whose item is checked now.
std::vector<int> CheckedDegrees();

// The quit requests waiting in the queued loop.
int QuitRequests();
