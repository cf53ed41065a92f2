// A host that records what the core asks of it.
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
    int quitRequests;
};

extern FakeHost fakeHost;

// Forgets every call; the "Degree" marks start on "3" as the menu resource has them.
void ResetFakeHost(ClientRect clientRect);

// The degrees whose item is checked now.
std::vector<int> CheckedDegrees();
