// The Windows program's window, back buffer and message routing. Every editing rule lives
// in the portable core; this file only translates.
#include "win32_app.h"

#include "commands.h"
#include "host.h"
#include "input.h"
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
};

Win32State win32 = {nullptr, nullptr, nullptr, nullptr};

WindowRef Window(HWND window) {
    return WindowRef{window};
}
MenuRef Menu(HMENU menu) {
    return MenuRef{menu};
}

std::uint16_t ClientX(LPARAM lParam) {
    return static_cast<std::uint16_t>(LOWORD(lParam));
}
std::uint16_t ClientY(LPARAM lParam) {
    return static_cast<std::uint16_t>(HIWORD(lParam));
}

void PaintWindow(HWND window) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    RenderFrame(Window(window), TargetRef{target});
    EndPaint(window, &paint);
}

LRESULT OnRightButtonDownMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnRightButtonDown()) {
        return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HMENU menu = GetMenu(win32.mainWindow);
    switch (message) {
    case WM_PAINT:
        PaintWindow(window);
        return 1;
    case WM_CLOSE:
        OnClose();
        return 1;
    case WM_KEYDOWN:
        OnKeyDown(Menu(menu), static_cast<std::uintptr_t>(wParam));
        return 1;
    case WM_COMMAND:
        OnCommand(Window(window), Menu(menu), static_cast<std::uintptr_t>(wParam));
        return 1;
    case WM_MOUSEMOVE:
        OnMouseMove(ClientX(lParam), ClientY(lParam));
        return 1;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(ClientX(lParam), ClientY(lParam));
        return 1;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        OnButtonUp();
        PaintWindow(window);
        return 1;
    case WM_RBUTTONDOWN:
        return OnRightButtonDownMessage(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
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
        editor.backBuffer = BackBuffer{static_cast<std::uint32_t*>(bits), width, height, width};
        // White from the start, so the first frame shows no undefined memory.
        ClearBackBuffer(ClientRect{0, 0, width, height});
    }
}

void ShutdownApp() {
    Clear();
    editor.backBuffer = BackBuffer{nullptr, 0, 0, 0};
    SelectObject(win32.backDC, win32.previousBitmap);
    DeleteDC(win32.backDC);
    DeleteObject(win32.backBitmap);
    DestroyWindow(win32.mainWindow);
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
    win32 = Win32State{nullptr, nullptr, nullptr, nullptr};
}

HWND MainWindow() {
    return win32.mainWindow;
}

ClientRect HostClientRect(WindowRef window) {
    RECT client = {};
    GetClientRect(static_cast<HWND>(window.handle), &client);
    return ClientRect{client.left, client.top, client.right, client.bottom};
}

void HostPresent(TargetRef target, ClientRect rect, BackBuffer /*buffer*/) {
    BitBlt(static_cast<HDC>(target.handle), rect.left, rect.top, rect.right - rect.left,
           rect.bottom - rect.top, win32.backDC, 0, 0, SRCCOPY);
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
