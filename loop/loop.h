// The main loop's message table and the part of a pass that follows its message, written once
// for the three programs.
#pragma once

#include "event.h"
#include "host.h"

enum class Handling : std::uint8_t {
    Handled,  // the Windows program returns 1
    PassedOn, // the Windows program returns what its default window procedure returns
};

// Calls the handler the event names; a button release then also runs the paint handling,
// which draws and clears a frame that it presents only where the window system asks for
// drawing. Quit is the pass's to act on and is passed on here.
Handling Dispatch(const Event& event, WindowRef window, MenuRef menu);

// After the pass's event: draws, presents and clears a frame if the picture can have changed.
// mayHaveMore says whether more events may be pending; quit, whether the pass took the quit
// request.
PassOutcome FinishPass(WindowRef window, bool mayHaveMore, bool quit);
