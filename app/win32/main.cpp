// The Windows program's entry point and its main loop.
#include "win32_app.h"

#include "host.h"
#include "render.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    CreateMainWindow();
    bool quit = false;
    while (!quit) {
        MSG message;
        const bool took = PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
        if (took) {
            if (message.message == WM_QUIT) {
                quit = true;
            } else {
                DispatchMessageA(&message);
            }
        }
        const WindowRef window{MainWindow()};
        const bool draw = FrameNeeded(window);
        if (draw) {
            HDC target = GetDC(MainWindow());
            RenderFrame(window, TargetRef{target});
            ReleaseDC(MainWindow(), target);
        }
        if (took || draw) {
            Sleep(1);
        } else {
            // Nothing pending and nothing to draw: sleep until the next message arrives.
            MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        }
    }
    ShutdownApp();
    return 0;
}
