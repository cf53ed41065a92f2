// Reads what a screenshot cannot tell from the running editor under test: where its client
// area is, where its menu items and close button are, which "Degree" item is checked, and
// what a message box says. Prints plain text lines; exits 1 when the window is not there.
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

int Menu(HWND window) {
    HMENU bar = GetMenu(window);
    if (bar == nullptr) {
        std::printf("nomenu\n");
        return 1;
    }
    for (int top = 0; top < GetMenuItemCount(bar); ++top) {
        char text[64] = {};
        GetMenuStringA(bar, static_cast<UINT>(top), text, sizeof text, MF_BYPOSITION);
        RECT r = {};
        GetMenuItemRect(window, bar, static_cast<UINT>(top), &r);
        std::printf("bar %d %s %ld %ld %ld %ld\n", top, text, r.left, r.top, r.right - r.left,
                    r.bottom - r.top);
        HMENU popup = GetSubMenu(bar, top);
        for (int item = 0; item < GetMenuItemCount(popup); ++item) {
            char itemText[64] = {};
            GetMenuStringA(popup, static_cast<UINT>(item), itemText, sizeof itemText,
                           MF_BYPOSITION);
            const UINT id = GetMenuItemID(popup, item);
            const UINT state = GetMenuState(popup, static_cast<UINT>(item), MF_BYPOSITION);
            RECT ir = {};
            GetMenuItemRect(nullptr, popup, static_cast<UINT>(item), &ir);
            std::printf("item %d %u %s %s %ld %ld %ld %ld\n", top, id,
                        (state & MF_CHECKED) ? "checked" : "-", itemText, ir.left, ir.top,
                        ir.right - ir.left, ir.bottom - ir.top);
        }
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

} // namespace

int main(int argc, char** argv) {
    HWND window = FindEditor();
    const std::string what = argc > 1 ? argv[1] : "client";
    if (what == "box" && argc > 2) {
        return Box(argv[2]);
    }
    if (window == nullptr) {
        std::printf("nowindow\n");
        return 1;
    }
    if (what == "menu") {
        return Menu(window);
    }
    return Client(window);
}
