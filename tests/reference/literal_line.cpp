#include "literal_line.h"

#include "raster.h"

#include <cmath>
#include <cstdint>

void LiteralDrawLine(const BackBuffer& surface, float x0, float y0, float x1, float y1,
                     Color color) {
    const double dx = static_cast<double>(x1) - x0;
    const double dy = static_cast<double>(y1) - y0;
    float sx = 0.0f;
    float sy = 0.0f;
    if (dx == 0.0) {
        sx = 0.0f;
        sy = dy > 0.0 ? 1.0f : -1.0f;
    } else {
        const double m = dy / dx;
        if (m >= 1.0) {
            sx = static_cast<float>(dx > 0.0 ? 1.0 / m : -1.0 / m);
            sy = dy > 0.0 ? 1.0f : -1.0f;
        } else if (0.0 < m && m < 1.0) {
            sx = dx > 0.0 ? 1.0f : -1.0f;
            sy = static_cast<float>(dy > 0.0 ? m : -m);
        } else if (-1.0 < m && m < 0.0) {
            sx = dx > 0.0 ? 1.0f : -1.0f;
            sy = static_cast<float>(dy > 0.0 ? -m : m);
        } else if (m <= -1.0) {
            sx = static_cast<float>(dx > 0.0 ? -1.0 / m : 1.0 / m);
            sy = dy > 0.0 ? 1.0f : -1.0f;
        } else {
            sx = dx > 0.0 ? 1.0f : -1.0f;
            sy = 0.0f;
        }
    }
    const float adx = static_cast<float>(std::fabs(dx));
    const double ady = std::fabs(dy);
    const std::int64_t n =
        adx < ady ? static_cast<std::int64_t>(ady) : static_cast<std::int64_t>(adx);
    const std::uint32_t stored = StoredPixel(PixelValue(color), surface.order);
    PlotPixel(surface, PixelRound(x0), PixelRound(y0), color);
    float x = x0;
    float y = y0;
    for (std::int64_t i = 0; i < n; ++i) {
        x = x + sx;
        y = y + sy;
        WritePixel(surface, PixelRound(x), std::int64_t{239} - PixelRound(y), stored);
    }
}

void LiteralFillBox(const BackBuffer& surface, float xlo, float xhi, float ylo, float yhi,
                    Color color) {
    if (!(ylo < yhi)) {
        return;
    }
    const float xlast = xhi - 1.0f;
    float y = ylo;
    double next = 0.0;
    do {
        LiteralDrawLine(surface, xlo, y, xlast, y, color);
        next = static_cast<double>(y) + 1.0;
        y = static_cast<float>(next);
    } while (next < static_cast<double>(yhi));
}
