// The editor's one state record and its point list.
#pragma once

#include "geometry.h"

#include <cstdint>

struct Color {
    float r;
    float g;
    float b;
    float a;
};

struct ControlPoint {
    float x;
    float y;
    ControlPoint* next;
};

struct PointList {
    ControlPoint* head;
};

// How a 32-bit pixel holds its channels, chosen by the front end so that it presents the
// back buffer as it is: 0xFFRRGGBB, the layout of a top-down 32-bit DIB section and of a
// QImage in Format_RGB32; or the bytes R, G, B, 255 in memory, a canvas's ImageData.
enum class PixelOrder : std::uint8_t { Xrgb, Rgba };

// 32-bit pixels, row 0 at the top.
struct BackBuffer {
    std::uint32_t* pixels;
    int width;
    int height;
    int stride; // in pixels
    PixelOrder order;
};

struct EditorState {
    PointList points;
    std::int32_t pointCount;
    float degree;
    Color polygonColor;
    Color markerColor;
    Color curveColor;
    float mouseX;
    float mouseY;
    float dragLastX;
    float dragLastY;
    ControlPoint* selected;
    bool pressed;
    bool dragging;
    BackBuffer backBuffer;
    // Changes with every edit that can change the picture (points, degree), so that a main
    // loop can skip frames identical to the one on the screen.
    std::uint32_t sceneVersion;
};

extern EditorState editor;

// Adds a point at the end of the list. Returns false, with nothing changed, when no
// node can be allocated.
bool Append(float x, float y);

// Frees every node; also forgets the selected point so that a node that later reuses
// its storage is never taken for it.
void Clear();

// The node at a float index: at or below 0 the head, at or past the end none, a
// fractional index like the next whole number above it.
ControlPoint* PointAt(float i);

bool Contains(const ControlPoint* p);
