#include "input.h"

#include "commands.h"
#include "scene.h"
#include "texts.h"

namespace {

float WorldX(std::uint16_t clientX) {
    return static_cast<float>(clientX);
}
float WorldY(std::uint16_t clientY) {
    return static_cast<float>(kWorldOriginRow) - static_cast<float>(clientY);
}

} // namespace

bool PickPoint() {
    for (ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        if (p->x + kPickReach > editor.mouseX && p->x - kPickReach < editor.mouseX &&
            p->y + kPickReach > editor.mouseY && p->y - kPickReach < editor.mouseY) {
            editor.selected = p;
            editor.dragLastX = editor.mouseX;
            editor.dragLastY = editor.mouseY;
            editor.dragging = true;
            return true;
        }
    }
    return false;
}

void OnMouseMove(std::uint16_t clientX, std::uint16_t clientY) {
    editor.mouseX = WorldX(clientX);
    editor.mouseY = WorldY(clientY);
    if (!editor.pressed || !editor.dragging || editor.points.head == nullptr) {
        return;
    }
    // The list may have been cleared since the pick.
    if (!Contains(editor.selected)) {
        return;
    }
    editor.selected->x = editor.selected->x + (editor.mouseX - editor.dragLastX);
    editor.selected->y = editor.selected->y + (editor.mouseY - editor.dragLastY);
    editor.dragLastX = editor.mouseX;
    editor.dragLastY = editor.mouseY;
    editor.sceneVersion += 1;
}

void OnLeftButtonDown(std::uint16_t clientX, std::uint16_t clientY) {
    editor.pressed = true;
    if (PickPoint()) {
        return;
    }
    // The new point is placed where this press is, not where the last move was.
    Append(WorldX(clientX), WorldY(clientY));
}

bool OnRightButtonDown() {
    if (editor.pressed) {
        return true;
    }
    editor.pressed = true;
    return PickPoint();
}

void OnButtonUp() {
    editor.pressed = false;
    editor.dragging = false;
}

void SelectDegree(MenuRef menu, int d) {
    if (d < 1 || d > kMaxDegree) {
        return; // never a degree the curve cannot draw, and the marks stay as they are
    }
    editor.degree = static_cast<float>(d);
    editor.sceneVersion += 1;
    for (int j = 1; j <= kMaxDegree; ++j) {
        HostCheckMenuItem(menu, static_cast<unsigned>(IDM_DEGREE_1 + (j - 1)), j == d);
    }
}

void OnKeyDown(MenuRef menu, std::uintptr_t virtualKey) {
    if (virtualKey >= 0x31 && virtualKey <= 0x39) {
        SelectDegree(menu, static_cast<int>(virtualKey - 0x30));
    }
}

void OnCommand(WindowRef window, MenuRef menu, std::uintptr_t wParam) {
    const unsigned command = static_cast<unsigned>(wParam & 0xFFFFu);
    switch (command) {
    case IDM_CLEAR_LINES:
        Clear();
        break;
    case IDM_QUIT:
        Clear();
        HostPostQuit();
        break;
    case IDM_INSTRUCTIONS:
        HostMessageBox(window, kInstructionsText, kInstructionsTitle);
        break;
    case IDM_ABOUT:
        HostMessageBox(window, kAboutText, kAboutTitle);
        break;
    default:
        if (command >= IDM_DEGREE_1 && command <= IDM_DEGREE_9) {
            SelectDegree(menu, static_cast<int>(command - IDM_DEGREE_1) + 1);
        }
        break;
    }
}

void OnClose() {
    Clear();
    HostPostQuit();
}
