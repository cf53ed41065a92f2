// Small X11 helpers for the Linux program's end-to-end test and benchmark.
//
//   x11_tool close WINDOW-ID
//       asks the window to close the way a window manager's close button does
//       (a WM_DELETE_WINDOW client message).
//   x11_tool wait-pixel X Y RRGGBB TIMEOUT-MS
//       polls the screen pixel at (X, Y) until it has the colour; prints the moment it did
//       on the monotonic clock, in seconds, or exits 1 at the timeout.
//   x11_tool follow RRGGBB TIMEOUT-MS < lines "X Y PX PY"
//       for each line moves the pointer to (X, Y) and waits until the screen pixel (PX, PY)
//       has the colour before the next; prints how many positions were shown in how many
//       seconds, or exits 1 when one is not shown within the timeout.
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

unsigned long PixelAt(Display* display, int x, int y) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) {
        return 0x1000000ul; // no colour
    }
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFFul;
    XDestroyImage(image);
    return pixel;
}

int Follow(Display* display, unsigned long rgb, long timeoutMs) {
    const Window root = DefaultRootWindow(display);
    int x = 0;
    int y = 0;
    int px = 0;
    int py = 0;
    long shown = 0;
    const double start = MonotonicSeconds();
    while (std::scanf("%d %d %d %d", &x, &y, &px, &py) == 4) {
        XWarpPointer(display, None, root, 0, 0, 0, 0, x, y);
        XFlush(display);
        const double deadline = MonotonicSeconds() + static_cast<double>(timeoutMs) / 1000.0;
        unsigned long pixel = PixelAt(display, px, py);
        while (pixel != rgb) {
            if (MonotonicSeconds() > deadline) {
                std::fprintf(stderr, "x11_tool: position %ld: pixel (%d, %d) is %06lx, not %06lx\n",
                             shown + 1, px, py, pixel, rgb);
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            pixel = PixelAt(display, px, py);
        }
        ++shown;
    }
    std::printf("%ld %.6f\n", shown, MonotonicSeconds() - start);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool close = argc == 3 && std::strcmp(argv[1], "close") == 0;
    const bool wait = argc == 6 && std::strcmp(argv[1], "wait-pixel") == 0;
    const bool follow = argc == 4 && std::strcmp(argv[1], "follow") == 0;
    if (!close && !wait && !follow) {
        std::fprintf(stderr, "usage: x11_tool close WINDOW-ID | wait-pixel X Y RRGGBB TIMEOUT-MS"
                             " | follow RRGGBB TIMEOUT-MS\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_tool: cannot open the display\n");
        return 1;
    }
    int result = 0;
    if (close) {
        result = Close(display, std::strtoul(argv[2], nullptr, 0));
    } else if (wait) {
        result = WaitPixel(display, std::atoi(argv[2]), std::atoi(argv[3]),
                           std::strtoul(argv[4], nullptr, 16), std::atol(argv[5]));
    } else {
        result = Follow(display, std::strtoul(argv[2], nullptr, 16), std::atol(argv[3]));
    }
    XCloseDisplay(display);
    return result;
}
