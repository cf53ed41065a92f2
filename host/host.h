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

enum class TargetKind {
    Window,       // the window's own drawing context, for the main loop's frames
    PaintRequest, // the paint handling's: clipped to what the window system asks to be drawn
                  // again, so nothing when a button release paints
};

// The target a frame is presented to; none where nothing can be shown.
TargetRef HostAcquireTarget(WindowRef window, TargetKind kind);
void HostReleaseTarget(WindowRef window, TargetKind kind, TargetRef target);

// Copies the rectangle of the back buffer to the same place on the target. The core has
// clipped it to the back buffer and to the client rectangle, and it is not empty.
void HostPresent(TargetRef target, ClientRect rect, const BackBuffer& buffer);

struct MenuRef {
    void* handle; // none while the window is being created
};

// Sets or clears the check mark of the menu item with this command number.
void HostCheckMenuItem(MenuRef menu, unsigned command, bool checked);

// A modal box with an OK button, owned by the window; returns when it is closed.
void HostMessageBox(WindowRef owner, const char* text, const char* title);

// Asks the main loop to end after the pass that takes the request.
void HostPostQuit();
