#include "raster.h"

#include <cmath>

std::int32_t PixelRound(double v) {
    const double shifted = v + 0.5;
    if (!(shifted > -2147483648.0)) {
        return INT32_MIN; // also NaN
    }
    if (shifted >= 2147483647.0) {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(shifted);
}

std::uint32_t PixelValue(Color color) {
    const auto channel = [](float c) { return static_cast<std::uint32_t>(PixelRound(c)) & 0xFFu; };
    return channel(color.r) + 256u * channel(color.g) + 65536u * channel(color.b);
}

std::uint32_t StoredPixel(std::uint32_t colorref) {
    const std::uint32_t r = colorref & 0xFFu;
    const std::uint32_t g = (colorref >> 8) & 0xFFu;
    const std::uint32_t b = (colorref >> 16) & 0xFFu;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void WritePixel(BackBuffer buffer, std::int64_t column, std::int64_t row, std::uint32_t stored) {
    if (buffer.pixels == nullptr || column < 0 || row < 0 || column >= buffer.width ||
        row >= buffer.height) {
        return;
    }
    buffer.pixels[row * buffer.stride + column] = stored;
}

static void WriteWorldPixel(std::int32_t x, std::int32_t y, std::uint32_t stored) {
    // 64-bit so that 239 - y cannot overflow for any rounded coordinate.
    WritePixel(editor.backBuffer, x, std::int64_t{kWorldOriginRow} - y, stored);
}

void PlotPixel(std::int32_t x, std::int32_t y, Color color) {
    WriteWorldPixel(x, y, StoredPixel(PixelValue(color)));
}

void DrawLine(float x0, float y0, float x1, float y1, Color color) {
    const double dx = static_cast<double>(x1) - static_cast<double>(x0);
    const double dy = static_cast<double>(y1) - static_cast<double>(y0);
    float sx = 0.0f;
    float sy = 0.0f;
    if (dx == 0.0) {
        sy = dy > 0.0 ? 1.0f : -1.0f;
    } else {
        const double m = dy / dx;
        if (m >= 1.0) {
            sx = static_cast<float>(dx > 0.0 ? 1.0 / m : -1.0 / m);
            sy = dy > 0.0 ? 1.0f : -1.0f;
        } else if (m > 0.0) {
            sx = dx > 0.0 ? 1.0f : -1.0f;
            sy = static_cast<float>(dy > 0.0 ? m : -m);
        } else if (m > -1.0 && m < 0.0) {
            sx = dx > 0.0 ? 1.0f : -1.0f;
            sy = static_cast<float>(dy > 0.0 ? -m : m);
        } else if (m <= -1.0) {
            sx = static_cast<float>(dx > 0.0 ? -1.0 / m : 1.0 / m);
            sy = dy > 0.0 ? 1.0f : -1.0f;
        } else {
            sx = dx > 0.0 ? 1.0f : -1.0f;
        }
    }

    // |dx| is rounded to float32 before the comparison; |dy| stays double.
    const float adx = static_cast<float>(std::fabs(dx));
    const double ady = std::fabs(dy);
    const double major = static_cast<double>(adx) < ady ? ady : static_cast<double>(adx);
    // Segments of any finite length within the world span far less than this; the bound
    // only keeps a corrupt coordinate from looping for ever.
    const std::int64_t steps = major < 4.0e9 ? static_cast<std::int64_t>(major) : 0;

    const std::uint32_t stored = StoredPixel(PixelValue(color));
    const BackBuffer buffer = editor.backBuffer;
    std::int32_t column = PixelRound(x0);
    std::int32_t worldRow = PixelRound(y0);
    WriteWorldPixel(column, worldRow, stored);
    float x = x0;
    float y = y0;
    for (std::int64_t step = 0; step < steps; ++step) {
        // Float steps of fixed sign never turn back, so once off the surface and heading
        // away no later pixel can land on it.
        const std::int64_t row = std::int64_t{kWorldOriginRow} - worldRow;
        if ((column < 0 && sx <= 0.0f) || (column >= buffer.width && sx >= 0.0f) ||
            (row < 0 && sy >= 0.0f) || (row >= buffer.height && sy <= 0.0f)) {
            break;
        }
        x = x + sx;
        y = y + sy;
        column = PixelRound(x);
        worldRow = PixelRound(y);
        WriteWorldPixel(column, worldRow, stored);
    }
}

void FillBox(float xlo, float xhi, float ylo, float yhi, Color color) {
    if (!(ylo < yhi)) {
        return;
    }
    const float xlast = xhi - 1.0f;
    float y = ylo;
    double next = 0.0;
    do {
        DrawLine(xlo, y, xlast, y, color);
        next = static_cast<double>(y) + 1.0;
        const float advanced = static_cast<float>(next);
        if (advanced == y) {
            break; // beyond 2^24 a float row no longer advances by 1: stop, never loop for ever
        }
        y = advanced;
    } while (next < static_cast<double>(yhi));
}
