// Small X11 helpers for the Linux program's end-to-end test and benchmark.
//
//   x11_tool close WINDOW-ID
//       asks the window to close the way a window manager's close button does
//       (a WM_DELETE_WINDOW client message).
//   x11_tool wait-pixel X Y RRGGBB TIMEOUT-MS
//       polls the screen pixel at (X, Y) until it has the colour; prints the moment it did
//       on the monotonic clock, in seconds, or exits 1 at the timeout.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

int Close(Display* display, Window window) {
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent != 0 ? 0 : 1;
}

double MonotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int WaitPixel(Display* display, int x, int y, unsigned long rgb, long timeoutMs) {
    const Window root = DefaultRootWindow(display);
    const double deadline = MonotonicSeconds() + static_cast<double>(timeoutMs) / 1000.0;
    for (;;) {
        XImage* image = XGetImage(display, root, x, y, 1, 1, AllPlanes, ZPixmap);
        const unsigned long pixel = image != nullptr ? XGetPixel(image, 0, 0) & 0xFFFFFFul : 0;
        if (image != nullptr) {
            XDestroyImage(image);
        }
        const double now = MonotonicSeconds();
        if (image != nullptr && pixel == rgb) {
            std::printf("%.6f\n", now);
            return 0;
        }
        if (now > deadline) {
            std::fprintf(stderr, "x11_tool: pixel (%d, %d) is %06lx, not %06lx\n", x, y, pixel,
                         rgb);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    const bool wait = argc == 6 && std::strcmp(argv[1], "wait-pixel") == 0;
    if (!close && !wait) {
        std::fprintf(stderr,
                     "usage: x11_tool close WINDOW-ID | wait-pixel X Y RRGGBB TIMEOUT-MS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_tool: cannot open the display\n");
        return 1;
    }
    const int result = close ? Close(display, std::strtoul(argv[2], nullptr, 0))
                             : WaitPixel(display, std::atoi(argv[2]), std::atoi(argv[3]),
                                         std::strtoul(argv[4], nullptr, 16), std::atol(argv[5]));
    XCloseDisplay(display);
    return result;
}
