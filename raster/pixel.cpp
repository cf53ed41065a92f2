#include "raster_rules.h"

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

std::uint32_t StoredPixel(std::uint32_t colorref, PixelOrder order) {
    if (order == PixelOrder::Rgba) {
        return 0xFF000000u | colorref; // R in the lowest byte, as a COLORREF has it
    }
    const std::uint32_t r = colorref & 0xFFu;
    const std::uint32_t g = (colorref >> 8) & 0xFFu;
    const std::uint32_t b = (colorref >> 16) & 0xFFu;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

void WritePixel(const BackBuffer& surface, std::int64_t column, std::int64_t row,
                std::uint32_t stored) {
    if (surface.pixels == nullptr || column < 0 || row < 0 || column >= surface.width ||
        row >= surface.height) {
        return;
    }
    // cppcheck-suppress unreadVariable ; the surface is a view, the write lands in its pixels
    surface.pixels[row * surface.stride + column] = stored;
}

void PlotPixel(const BackBuffer& surface, std::int32_t x, std::int32_t y, Color color) {
    WriteWorldPixel(surface, x, y, StoredPixel(PixelValue(color), surface.order));
}
