// The Windows program's entry point and its polling main loop.
#include "win32_app.h"

#include "host.h"
#include "render.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    CreateMainWindow();
    bool quit = false;
    while (!quit) {
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
            } else {
                DispatchMessageA(&message);
            }
        }
        HDC target = GetDC(MainWindow());
        RenderFrame(WindowRef{MainWindow()}, TargetRef{target});
        ReleaseDC(MainWindow(), target);
        Sleep(1);
    }
    ShutdownApp();
    return 0;
}
