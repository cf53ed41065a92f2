// The Windows program's window, back buffer and message routing. Every editing rule lives
// in the portable core; this file only translates.
#include "win32_app.h"

#include "commands.h"
#include "host.h"
#include "loop.h"
#include "render.h"
#include "scene.h"

#include <cstdint>

namespace {

const char kClassName[] = "QORVEN";
const char kTitle[] = "Tavrimo";
constexpr DWORD kWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

struct Win32State {
    HWND mainWindow;
    HDC backDC;
    HBITMAP backBitmap;
    HBITMAP previousBitmap;
    PAINTSTRUCT paint; // of the paint handling under way
};

Win32State win32 = {nullptr, nullptr, nullptr, nullptr, {}};

std::uint16_t ClientX(LPARAM lParam) {
    return static_cast<std::uint16_t>(LOWORD(lParam));
}
std::uint16_t ClientY(LPARAM lParam) {
    return static_cast<std::uint16_t>(HIWORD(lParam));
}

// The event a message stands for; false for the messages the editor leaves to Windows.
bool Translate(UINT message, WPARAM wParam, LPARAM lParam, Event* event) {
    const auto value = static_cast<std::uintptr_t>(wParam);
    switch (message) {
    case WM_PAINT:
        *event = Event{EventKind::Paint, 0, 0, 0};
        return true;
    case WM_CLOSE:
        *event = Event{EventKind::Close, 0, 0, 0};
        return true;
    case WM_KEYDOWN:
        *event = Event{EventKind::Key, 0, 0, value};
        return true;
    case WM_COMMAND:
        *event = Event{EventKind::Command, 0, 0, value};
        return true;
    case WM_MOUSEMOVE:
        *event = Event{EventKind::Move, ClientX(lParam), ClientY(lParam), 0};
        return true;
    case WM_LBUTTONDOWN:
        *event = Event{EventKind::LeftPress, ClientX(lParam), ClientY(lParam), 0};
        return true;
    case WM_LBUTTONUP:
        *event = Event{EventKind::LeftRelease, 0, 0, 0};
        return true;
    case WM_RBUTTONDOWN:
        *event = Event{EventKind::RightPress, ClientX(lParam), ClientY(lParam), 0};
        return true;
    case WM_RBUTTONUP:
        *event = Event{EventKind::RightRelease, 0, 0, 0};
        return true;
    default:
        return false;
    }
}

} // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HMENU menu = GetMenu(win32.mainWindow);
    Event event{};
    if (Translate(message, wParam, lParam, &event) &&
        Dispatch(event, WindowRef{window}, MenuRef{menu}) == Handling::Handled) {
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

// A 32-bit top-down DIB section, so that the core writes its pixels straight into it.
HBITMAP CreateBackBitmap(HDC reference, int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: row 0 at the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(reference, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

} // namespace

void CreateMainWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = kClassName;
    windowClass.hIconSm = LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
    RegisterClassExA(&windowClass);

    win32.mainWindow =
        CreateWindowExA(0, kClassName, kTitle, kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);

    RECT client = {};
    GetClientRect(win32.mainWindow, &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;

    HDC windowDC = GetDC(win32.mainWindow);
    win32.backDC = CreateCompatibleDC(windowDC);
    void* bits = nullptr;
    win32.backBitmap = CreateBackBitmap(windowDC, width, height, &bits);
    ReleaseDC(win32.mainWindow, windowDC);
    win32.previousBitmap = static_cast<HBITMAP>(SelectObject(win32.backDC, win32.backBitmap));

    if (win32.backBitmap != nullptr && bits != nullptr) {
        editor.backBuffer =
            BackBuffer{static_cast<std::uint32_t*>(bits), width, height, width, PixelOrder::Xrgb};
        // White from the start, so the first frame shows no undefined memory.
        ClearBackBuffer(editor.backBuffer, ClientRect{0, 0, width, height});
    }
}

void ShutdownApp() {
    Clear();
    editor.backBuffer = BackBuffer{nullptr, 0, 0, 0, PixelOrder::Xrgb};
    SelectObject(win32.backDC, win32.previousBitmap);
    DeleteDC(win32.backDC);
    DeleteObject(win32.backBitmap);
    DestroyWindow(win32.mainWindow);
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
    win32 = Win32State{nullptr, nullptr, nullptr, nullptr, {}};
}

HWND MainWindow() {
    return win32.mainWindow;
}

ClientRect HostClientRect(WindowRef window) {
    RECT client = {};
    GetClientRect(static_cast<HWND>(window.handle), &client);
    return ClientRect{client.left, client.top, client.right, client.bottom};
}

TargetRef HostAcquireTarget(WindowRef window, TargetKind kind) {
    const auto handle = static_cast<HWND>(window.handle);
    if (kind == TargetKind::PaintRequest) {
        return TargetRef{BeginPaint(handle, &win32.paint)};
    }
    return TargetRef{GetDC(handle)};
}

void HostReleaseTarget(WindowRef window, TargetKind kind, TargetRef target) {
    const auto handle = static_cast<HWND>(window.handle);
    if (kind == TargetKind::PaintRequest) {
        EndPaint(handle, &win32.paint);
    } else {
        ReleaseDC(handle, static_cast<HDC>(target.handle));
    }
}

void HostPresent(TargetRef target, ClientRect rect, const BackBuffer& /*buffer*/) {
    BitBlt(static_cast<HDC>(target.handle), rect.left, rect.top, rect.right - rect.left,
           rect.bottom - rect.top, win32.backDC, rect.left, rect.top, SRCCOPY);
    // GDI may batch the copy; it must be done before the core writes the section's memory.
    GdiFlush();
}

void HostCheckMenuItem(MenuRef menu, unsigned command, bool checked) {
    CheckMenuItem(static_cast<HMENU>(menu.handle), command,
                  MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void HostMessageBox(WindowRef owner, const char* text, const char* title) {
    MessageBoxA(static_cast<HWND>(owner.handle), text, title, MB_OK);
}

void HostPostQuit() {
    PostQuitMessage(0);
}
