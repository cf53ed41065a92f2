// The Windows program's entry point and its main loop: Windows' own queue, and after each
// message the pass that every program shares.
#include "win32_app.h"

#include "loop.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    CreateMainWindow();
    for (;;) {
        MSG message;
        const bool took = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
        const bool quit = took && message.message == WM_QUIT;
        if (took && !quit) {
            DispatchMessageA(&message);
        }
        const PassOutcome outcome = FinishPass(WindowRef{MainWindow()}, took, quit);
        if (outcome == PassOutcome::Quit) {
            break;
        }
        if (outcome == PassOutcome::Busy) {
            Sleep(1);
        } else {
            // Nothing pending and nothing to draw: sleep until the next message arrives.
            MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
    ShutdownApp();
    return 0;
}
