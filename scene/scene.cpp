#include "scene.h"

#include <new>

EditorState editor = {
    {nullptr},                            // points
    0,                                    // pointCount
    3.0f,                                 // degree
    {255, 0, 0, 0},                       // polygonColor
    {0, 255, 0, 0},                       // markerColor
    {0, 0, 255, 0},                       // curveColor
    0.0f,                                 // mouseX
    0.0f,                                 // mouseY
    0.0f,                                 // dragLastX
    0.0f,                                 // dragLastY
    nullptr,                              // selected
    false,                                // pressed
    false,                                // dragging
    {nullptr, 0, 0, 0, PixelOrder::Xrgb}, // backBuffer
    0,                                    // sceneVersion
};

bool Append(float x, float y) {
    // cppcheck-suppress unusedAllocatedMemory ; the node is linked into the list below
    ControlPoint* node = new (std::nothrow) ControlPoint{};
    if (node == nullptr) {
        return false;
    }
    node->x = x;
    node->y = y;
    if (editor.points.head == nullptr) {
        editor.points.head = node;
    } else {
        ControlPoint* last = editor.points.head;
        while (last->next != nullptr) {
            last = last->next;
        }
        last->next = node;
    }
    editor.pointCount += 1;
    editor.sceneVersion += 1;
    return true;
}

void Clear() {
    editor.pointCount = 0;
    ControlPoint* node = editor.points.head;
    while (node != nullptr) {
        ControlPoint* next = node->next;
        delete node;
        node = next;
    }
    editor.points.head = nullptr;
    editor.selected = nullptr;
    editor.sceneVersion += 1;
}

ControlPoint* PointAt(float i) {
    ControlPoint* node = editor.points.head;
    // The counter is compared as float32, as the index is; a NaN index compares false
    // at once and yields the head.
    for (std::int32_t c = 0; static_cast<float>(c) < i; ++c) {
        if (node == nullptr) {
            break; // every further step would stay at none
        }
        node = node->next;
    }
    return node;
}

bool Contains(const ControlPoint* p) {
    for (const ControlPoint* node = editor.points.head; node != nullptr; node = node->next) {
        if (node == p) {
            return true;
        }
    }
    return false;
}
