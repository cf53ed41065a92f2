// A back buffer for tests, and the editor reset to its start values around it.
#pragma once

#include "scene.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

struct Canvas {
    int width;
    int height;
    std::vector<std::uint32_t> pixels;
};

// Clears the list and puts every other field back to its start value; the editor's back
// buffer is then canvas, or none when canvas is null.
void ResetEditor(Canvas* canvas);
Canvas MakeCanvas(int width, int height);
// The canvas as a surface to draw into.
BackBuffer SurfaceOf(Canvas& canvas);

// A surface inside a white frame of kGuard pixels that no drawing may touch: the fast paths
// write without bounds checks.
constexpr int kGuard = 2;
struct GuardedCanvas {
    Canvas framed;
    int width;
    int height;
};
GuardedCanvas MakeGuardedCanvas(int width, int height);
BackBuffer SurfaceOf(GuardedCanvas& guarded);
// The surface's pixels, without the frame.
Canvas InsideOf(const GuardedCanvas& guarded);
bool FrameTouched(const GuardedCanvas& guarded);

// A float's bits, to compare values exactly (NaNs and signed zeros included).
std::uint32_t Bits(float v);

std::uint32_t PixelAt(const Canvas& canvas, int column, int row);
// The client pixels holding a colour, as "column,row" strings in row-major order.
std::vector<std::string> PixelsOf(const Canvas& canvas, std::uint32_t color);
int CountNotWhite(const Canvas& canvas);

bool WritePpm(const std::string& path, const Canvas& canvas);
bool ReadPpm(const std::string& path, Canvas* canvas);
