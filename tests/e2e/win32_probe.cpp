// Reads what a screenshot cannot tell from the running editor under test: where its client
// area and title bar are, where an open popup menu is, and what a message box says and who
// owns it. Prints plain text lines; exits 1 when the window asked about is not there.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

HWND FindEditor() {
    return FindWindowA("QORVEN", "Tavrimo");
}

void PrintRect(const char* name, RECT r) {
    std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

int Client(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    RECT frame;
    GetWindowRect(window, &frame);
    PrintRect("window", frame);
    TITLEBARINFO title = {};
    title.cbSize = sizeof title;
    if (GetTitleBarInfo(window, &title)) {
        PrintRect("titlebar", title.rcTitleBar);
    }
    return 0;
}

struct BoxSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<BoxSearch*>(context);
    char title[128] = {};
    char cls[64] = {};
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(title, search->title) == 0 && std::strcmp(cls, "#32770") == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    RECT r = {};
    GetWindowRect(child, &r);
    std::string escaped;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '\n') {
            escaped += "\\n";
        } else if (*c == '\t') {
            escaped += "\\t";
        } else if (*c != '\r') {
            escaped += *c;
        }
    }
    std::printf("child %s %ld %ld %ld %ld %s\n", cls, r.left, r.top, r.right - r.left,
                r.bottom - r.top, escaped.c_str());
    return TRUE;
}

int Box(const char* title) {
    BoxSearch search = {title, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        std::printf("nobox\n");
        return 1;
    }
    HWND owner = GetWindow(search.found, GW_OWNER);
    std::printf("box owner %s\n", owner == FindEditor() ? "editor" : "other");
    RECT r;
    GetWindowRect(search.found, &r);
    PrintRect("boxrect", r);
    EnumChildWindows(search.found, PrintChild, 0);
    return 0;
}

BOOL CALLBACK FindPopup(HWND window, LPARAM context) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::strcmp(cls, "#32768") == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(context) = window;
        return FALSE;
    }
    return TRUE;
}

// The open popup menu's window, if one is shown.
int Popup() {
    HWND popup = nullptr;
    EnumWindows(FindPopup, reinterpret_cast<LPARAM>(&popup));
    if (popup == nullptr) {
        std::printf("nopopup\n");
        return 1;
    }
    RECT r;
    GetWindowRect(popup, &r);
    PrintRect("popup", r);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    HWND window = FindEditor();
    const std::string what = argc > 1 ? argv[1] : "client";
    if (what == "box" && argc > 2) {
        return Box(argv[2]);
    }
    if (what == "popup") {
        return Popup();
    }
    if (window == nullptr) {
        std::printf("nowindow\n");
        return 1;
    }
    return Client(window);
}
