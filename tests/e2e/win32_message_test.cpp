// The real window procedure, reached through real messages under the window system: the
// results of the message table, and that the scene changes only as each message should.
// Prints one line per failed check and a closing "N passed, M failed" line.
#include "win32_app.h"

#include "commands.h"
#include "scene.h"

#include <cstdio>
#include <cstring>

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const char* what, long detail = 0) {
    if (ok) {
        ++passed;
    } else {
        ++failed;
        std::printf("FAILED %s (%ld)\n", what, detail);
    }
}

LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(MainWindow(), message, wParam, lParam);
}

int CheckedDegree() {
    HMENU menu = GetMenu(MainWindow());
    int found = 0;
    for (int d = 1; d <= 9; ++d) {
        if (GetMenuState(menu, static_cast<UINT>(IDM_DEGREE_1 + d - 1), MF_BYCOMMAND) &
            MF_CHECKED) {
            found = found == 0 ? d : -1; // -1: more than one
        }
    }
    return found;
}

bool LastPointIs(float x, float y) {
    const ControlPoint* p = editor.points.head;
    while (p != nullptr && p->next != nullptr) {
        p = p->next;
    }
    return p != nullptr && p->x == x && p->y == y;
}

// A move to the spot, then a left press and release there.
void ClickAt(LPARAM position) {
    Send(WM_MOUSEMOVE, 0, position);
    Check(Send(WM_LBUTTONDOWN, MK_LBUTTON, position) == 1, "WM_LBUTTONDOWN returns 1");
    Check(Send(WM_LBUTTONUP, 0, position) == 1, "WM_LBUTTONUP returns 1");
}

void UnknownMessagesGoToDefaultHandling() {
    const UINT unknown[] = {WM_USER + 1, WM_APP + 7, 0x7FFF, WM_NULL, 0xC000};
    for (UINT message : unknown) {
        const LRESULT expected = DefWindowProcA(MainWindow(), message, 12, 34);
        Check(Send(message, 12, 34) == expected, "an unknown message returns the default result",
              static_cast<long>(message));
    }
    Check(editor.pointCount == 0 && editor.degree == 3.0f, "unknown messages change nothing");
}

void CommandsReadOnlyTheLow16Bits() {
    Check(Send(WM_COMMAND, MAKEWPARAM(IDM_DEGREE_5, 1), 0) == 1, "WM_COMMAND returns 1");
    Check(editor.degree == 5.0f && CheckedDegree() == 5, "an accelerator's degree command");
    Check(Send(WM_COMMAND, 0xFFFF0000u | IDM_DEGREE_6, 0x1234) == 1, "WM_COMMAND returns 1");
    Check(editor.degree == 6.0f && CheckedDegree() == 6, "high bits set", CheckedDegree());
    const WPARAM unknown[] = {0, 40002, 40005, 40057, 40068, 40070, 0xFFFF, 0x10000 + 40001};
    for (WPARAM command : unknown) {
        Check(Send(WM_COMMAND, command, 0) == 1, "an unknown command returns 1",
              static_cast<long>(command));
    }
    Check(editor.degree == 6.0f && CheckedDegree() == 6 && editor.pointCount == 0,
          "unknown commands change nothing");
    Send(WM_COMMAND, IDM_DEGREE_3, 0);
}

void PointerPositionsAreUnsigned16BitHalves() {
    struct Case {
        LPARAM lParam;
        float x;
        float y;
    };
    const Case cases[] = {
        {0, 0.0f, 239.0f},
        {0x0000FFFF, 65535.0f, 239.0f},
        {static_cast<LPARAM>(0xFFFF0000u), 0.0f, -65296.0f},
        {static_cast<LPARAM>(0xFFFFFFFFu), 65535.0f, -65296.0f},
        {MAKELPARAM(-5, -7), 65531.0f, 239.0f - 65529.0f}, // negative client coordinates
        {MAKELPARAM(300, 200), 300.0f, 39.0f},
    };
    int count = 0;
    for (const Case& c : cases) {
        Check(Send(WM_MOUSEMOVE, 0, c.lParam) == 1, "WM_MOUSEMOVE returns 1");
        Check(editor.mouseX == c.x && editor.mouseY == c.y, "the move's world position",
              static_cast<long>(c.lParam));
        ClickAt(c.lParam);
        ++count;
        Check(editor.pointCount == count && LastPointIs(c.x, c.y), "a click places a point there",
              static_cast<long>(c.lParam));
    }
    // The wParam of pointer messages (button and modifier flags) is never read.
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON | MK_SHIFT, MAKELPARAM(500, 400));
    Check(!editor.dragging && editor.pointCount == count, "button flags in wParam mean nothing");
}

void RightPressesAndDoubleClicks() {
    const LPARAM empty = MAKELPARAM(600, 50);
    Send(WM_MOUSEMOVE, 0, empty);
    const LRESULT expected = DefWindowProcA(MainWindow(), WM_RBUTTONDOWN, MK_RBUTTON, empty);
    const int before = editor.pointCount;
    Check(Send(WM_RBUTTONDOWN, MK_RBUTTON, empty) == expected,
          "a right press that picks nothing returns the default result");
    Check(editor.pressed && !editor.dragging && editor.pointCount == before,
          "a right press on empty space places nothing");
    Check(Send(WM_RBUTTONDOWN, MK_RBUTTON, empty) == 1, "a second right press is ignored, handled");
    Check(Send(WM_RBUTTONUP, 0, empty) == 1 && !editor.pressed, "WM_RBUTTONUP ends the press");

    const LPARAM onPoint = MAKELPARAM(302, 201); // the point at client (300, 200)
    Send(WM_MOUSEMOVE, 0, onPoint);
    Check(Send(WM_RBUTTONDOWN, MK_RBUTTON, onPoint) == 1 && editor.dragging,
          "a right press on a point picks it");
    Send(WM_MOUSEMOVE, MK_RBUTTON, MAKELPARAM(312, 198));
    Check(LastPointIs(310.0f, 42.0f), "a right drag moves the point by the displacement");
    Send(WM_RBUTTONUP, 0, MAKELPARAM(312, 198));

    const LPARAM spot = MAKELPARAM(200, 300);
    Send(WM_MOUSEMOVE, 0, spot);
    const LRESULT dblclk = DefWindowProcA(MainWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, spot);
    const int count = editor.pointCount;
    Check(Send(WM_LBUTTONDBLCLK, MK_LBUTTON, spot) == dblclk && editor.pointCount == count,
          "a double-click message gets default handling only");
}

void KeysForEveryVirtualKey() {
    for (WPARAM key = 0; key <= 255; ++key) {
        const float before = editor.degree;
        Check(Send(WM_KEYDOWN, key, 0x00000001) == 1, "WM_KEYDOWN returns 1",
              static_cast<long>(key));
        const bool digit = key >= 0x31 && key <= 0x39;
        const float expected = digit ? static_cast<float>(key - 0x30) : before;
        Check(editor.degree == expected, "only the digit keys 1 to 9 set the degree",
              static_cast<long>(key));
    }
    Check(CheckedDegree() == 9, "the last digit's item is the one checked", CheckedDegree());
    const int count = editor.pointCount;
    for (WPARAM key = 0; key <= 255; ++key) {
        const LRESULT expected = DefWindowProcA(MainWindow(), WM_KEYUP, key, 0xC0000001);
        Check(Send(WM_KEYUP, key, 0xC0000001) == expected, "a key release goes to default handling",
              static_cast<long>(key));
    }
    Check(Send(WM_CHAR, '5', 1) == DefWindowProcA(MainWindow(), WM_CHAR, '5', 1),
          "a character message goes to default handling");
    Check(editor.degree == 9.0f && editor.pointCount == count,
          "releases and characters change nothing");
}

void PaintAndClose() {
    Check(Send(WM_PAINT, 0, 0) == 1, "WM_PAINT returns 1");
    Check(editor.pointCount > 0, "points before the close");
    Check(Send(WM_CLOSE, 0, 0) == 1, "WM_CLOSE returns 1");
    Check(editor.pointCount == 0 && editor.points.head == nullptr, "WM_CLOSE clears the points");
    Check(IsWindow(MainWindow()) != FALSE, "WM_CLOSE does not destroy the window");
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        quit = quit || message.message == WM_QUIT;
        if (message.message != WM_QUIT) {
            DispatchMessageA(&message);
        }
    }
    Check(quit, "WM_CLOSE posts the quit message");
}

} // namespace

int main() {
    CreateMainWindow();
    if (MainWindow() == nullptr || GetMenu(MainWindow()) == nullptr) {
        std::printf("FAILED the window or its menu was not created\n0 passed, 1 failed\n");
        return 1;
    }
    Check(CheckedDegree() == 3, "the menu starts with 3 checked");
    UnknownMessagesGoToDefaultHandling();
    CommandsReadOnlyTheLow16Bits();
    PointerPositionsAreUnsigned16BitHalves();
    RightPressesAndDoubleClicks();
    KeysForEveryVirtualKey();
    PaintAndClose();
    ShutdownApp();
    std::printf("win32 message path: %d passed, %d failed\n", passed, failed);
    return failed == 0 ? 0 : 1;
}
