// Boxes: row lines from ylo up to below yhi; boxes with whole corners, as the markers have,
// filled directly with the pixels those lines draw.
#include "raster_rules.h"

#include <algorithm>

namespace {

// Whole and small enough that every sum of it and 1 is exact (NaN fails both tests).
bool IsSmallWhole(float v) {
    return std::fabs(v) <= 4194304.0f && static_cast<float>(static_cast<std::int32_t>(v)) == v;
}

// The pixel a whole value rounds to: itself from 0 up, one more below 0 (the rounding adds
// 0.5 and truncates toward zero, so -1 and 0 both give 0).
std::int32_t WholePixel(std::int32_t v) {
    return v >= 0 ? v : v + 1;
}

// A box with whole-number corners, filled as its row lines would draw it: rows ylo, ylo + 1,
// ... below yhi, each with the columns of the whole values from xlo to xhi - 1 (the rounding
// maps a run of whole values onto a run of columns). Rows that cannot reach the surface are
// not visited.
void FillWholeBox(const BackBuffer& surface, float xlo, float xhi, float ylo, float yhi,
                  std::uint32_t stored) {
    if (surface.pixels == nullptr) {
        return;
    }
    const auto first = static_cast<std::int32_t>(xlo);
    const auto last = static_cast<std::int32_t>(xhi) - 1;
    const std::int32_t left = std::max(WholePixel(std::min(first, last)), 0);
    const std::int32_t right = std::min(WholePixel(std::max(first, last)), surface.width - 1);
    if (left > right) {
        return;
    }
    const std::int32_t lowest =
        std::max(static_cast<std::int32_t>(ylo), kWorldOriginRow - surface.height - 2);
    const std::int32_t past = std::min(static_cast<std::int32_t>(yhi), kWorldOriginRow + 2);
    for (std::int32_t y = lowest; y < past; ++y) {
        const std::int32_t row = kWorldOriginRow - WholePixel(y);
        if (row >= 0 && row < surface.height) {
            std::uint32_t* line =
                surface.pixels + static_cast<std::ptrdiff_t>(row) * surface.stride;
            std::fill(line + left, line + right + 1, stored);
        }
    }
}

} // namespace

void FillBox(const BackBuffer& surface, float xlo, float xhi, float ylo, float yhi, Color color) {
    if (!(ylo < yhi)) {
        return;
    }
    if (IsSmallWhole(xlo) && IsSmallWhole(xhi) && IsSmallWhole(ylo) && IsSmallWhole(yhi)) {
        FillWholeBox(surface, xlo, xhi, ylo, yhi, StoredPixel(PixelValue(color), surface.order));
        return;
    }
    const float xlast = xhi - 1.0f;
    float y = ylo;
    double next = 0.0;
    do {
        DrawLine(surface, xlo, y, xlast, y, color);
        next = static_cast<double>(y) + 1.0;
        const float advanced = static_cast<float>(next);
        if (advanced == y) {
            break; // beyond 2^24 a float row no longer advances by 1: stop, never loop for ever
        }
        y = advanced;
    } while (next < static_cast<double>(yhi));
}
