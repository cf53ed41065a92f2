#include "canvas.h"

#include <algorithm>
#include <cstring>
#include <fstream>

void ResetEditor(Canvas* canvas) {
    Clear();
    editor.degree = 3.0f;
    editor.mouseX = 0.0f;
    editor.mouseY = 0.0f;
    editor.dragLastX = 0.0f;
    editor.dragLastY = 0.0f;
    editor.selected = nullptr;
    editor.pressed = false;
    editor.dragging = false;
    editor.sceneVersion += 1;
    if (canvas == nullptr) {
        editor.backBuffer = BackBuffer{nullptr, 0, 0, 0, PixelOrder::Xrgb};
        return;
    }
    editor.backBuffer = SurfaceOf(*canvas);
}

Canvas MakeCanvas(int width, int height) {
    return Canvas{width, height,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, kWhite)};
}

BackBuffer SurfaceOf(Canvas& canvas) {
    return BackBuffer{canvas.pixels.data(), canvas.width, canvas.height, canvas.width,
                      PixelOrder::Xrgb};
}

GuardedCanvas MakeGuardedCanvas(int width, int height) {
    return GuardedCanvas{MakeCanvas(width + 2 * kGuard, height + 2 * kGuard), width, height};
}

BackBuffer SurfaceOf(GuardedCanvas& guarded) {
    Canvas& framed = guarded.framed;
    return BackBuffer{framed.pixels.data() + std::ptrdiff_t{kGuard} * framed.width + kGuard,
                      guarded.width, guarded.height, framed.width, PixelOrder::Xrgb};
}

Canvas InsideOf(const GuardedCanvas& guarded) {
    Canvas inside = MakeCanvas(guarded.width, guarded.height);
    for (int row = 0; row < guarded.height; ++row) {
        for (int column = 0; column < guarded.width; ++column) {
            inside.pixels[static_cast<std::size_t>(row) * guarded.width + column] =
                PixelAt(guarded.framed, column + kGuard, row + kGuard);
        }
    }
    return inside;
}

bool FrameTouched(const GuardedCanvas& guarded) {
    return CountNotWhite(guarded.framed) != CountNotWhite(InsideOf(guarded));
}

std::uint32_t Bits(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

std::uint32_t PixelAt(const Canvas& canvas, int column, int row) {
    return canvas.pixels[static_cast<std::size_t>(row) * canvas.width + column];
}

std::vector<std::string> PixelsOf(const Canvas& canvas, std::uint32_t color) {
    std::vector<std::string> found;
    for (int row = 0; row < canvas.height; ++row) {
        for (int column = 0; column < canvas.width; ++column) {
            if (PixelAt(canvas, column, row) == color) {
                found.push_back(std::to_string(column) + "," + std::to_string(row));
            }
        }
    }
    return found;
}

int CountNotWhite(const Canvas& canvas) {
    return static_cast<int>(std::count_if(canvas.pixels.begin(), canvas.pixels.end(),
                                          [](std::uint32_t pixel) { return pixel != kWhite; }));
}

bool WritePpm(const std::string& path, const Canvas& canvas) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << canvas.width << " " << canvas.height << "\n255\n";
    for (std::uint32_t pixel : canvas.pixels) {
        const char rgb[3] = {static_cast<char>((pixel >> 16) & 0xFF),
                             static_cast<char>((pixel >> 8) & 0xFF),
                             static_cast<char>(pixel & 0xFF)};
        out.write(rgb, 3);
    }
    return static_cast<bool>(out);
}

bool ReadPpm(const std::string& path, Canvas* canvas) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0;
    int height = 0;
    int maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    if (!in || magic != "P6" || maxValue != 255 || width <= 0 || height <= 0) {
        return false;
    }
    in.get();
    *canvas = MakeCanvas(width, height);
    for (std::uint32_t& pixel : canvas->pixels) {
        unsigned char rgb[3];
        if (!in.read(reinterpret_cast<char*>(rgb), 3)) {
            return false;
        }
        pixel = 0xFF000000u | (std::uint32_t{rgb[0]} << 16) | (std::uint32_t{rgb[1]} << 8) | rgb[2];
    }
    return true;
}
