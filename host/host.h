// What the portable core asks of the program that hosts it. Each front end defines these
// functions; the tests define a fake that records the calls.
#pragma once

#include "scene.h"

struct WindowRef {
    void* handle;
};

struct TargetRef {
    void* handle;
};

struct ClientRect {
    int left;
    int top;
    int right;
    int bottom;
};

// The window's client rectangle now (empty while it is minimised).
ClientRect HostClientRect(WindowRef window);

// Copies the back buffer's (0, 0)-based area of the rectangle's size to the target at
// the rectangle's position.
void HostPresent(TargetRef target, ClientRect rect, BackBuffer buffer);
