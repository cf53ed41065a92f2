// The rules the drawing files share, each written once: the largest surface the shortcuts
// serve, the margin inside every edge, the rounding of a pixel inside the surface and the
// steps of a line.
#pragma once

#include "raster.h"

#include <cmath>
#include <cstdint>

// The shortcuts below serve surfaces up to this size on each side, where a float32 step
// drifts by at most half a spacing, under 2^-11 of a pixel.
constexpr int kLargestFastSide = 8192;

// A margin inside every edge: a point within it rounds to a pixel of the surface whatever
// an eighth of a pixel of drift does.
struct InsideMargin {
    bool usable; // the surface has pixels and is small enough for the shortcuts
    float left;
    float right;
    float top;
    float bottom;
};

inline InsideMargin MarginOf(const BackBuffer& surface) {
    return InsideMargin{surface.pixels != nullptr && surface.width <= kLargestFastSide &&
                            surface.height <= kLargestFastSide,
                        1.0f, static_cast<float>(surface.width - 2),
                        static_cast<float>(kWorldOriginRow - 2),
                        static_cast<float>(kWorldOriginRow + 2 - surface.height)};
}

inline bool WithinMargin(const InsideMargin& margin, float x, float y) {
    return x >= margin.left && x <= margin.right && y <= margin.top && y >= margin.bottom;
}

// The pixel rounding of a coordinate inside the surface: adding 0.5 is exact in float32
// there, so this is PixelRound's sum in double.
inline std::int32_t RoundInside(float v) {
    const float shifted = v + 0.5f;
    return static_cast<std::int32_t>(shifted);
}

// The index of the pixel at world (column, world row), both rounded inside the surface.
inline std::int32_t IndexOf(std::int32_t column, std::int32_t worldRow, std::int32_t stride) {
    return (kWorldOriginRow - worldRow) * stride + column;
}

inline std::int32_t IndexInside(float x, float y, std::int32_t stride) {
    return IndexOf(RoundInside(x), RoundInside(y), stride);
}

inline void PutInside(const BackBuffer& surface, float x, float y, std::uint32_t stored) {
    std::uint32_t* const pixels = surface.pixels;
    pixels[IndexInside(x, y, surface.stride)] = stored;
}

// Takes `steps` float32 steps that stay inside the surface, writing each pixel.
inline void StepInside(const BackBuffer& surface, float& x, float& y, float sx, float sy,
                       std::int64_t steps, std::uint32_t stored) {
    float xs = x;
    float ys = y;
    for (std::int64_t k = 0; k < steps; ++k) {
        xs = xs + sx;
        ys = ys + sy;
        PutInside(surface, xs, ys, stored);
    }
    x = xs;
    y = ys;
}

// Two lines' steps taken together, `steps` times: at and step hold x, y of the first line,
// then x, y of the second; each step writes the first line's pixel, then the second's. Both
// lines stay inside the surface. at is left at the last position.
void StepPairInside(const BackBuffer& surface, float* at, const float* step, std::int64_t steps,
                    std::uint32_t stored);

// The float32 steps of a line and how many steps it takes.
struct LineSteps {
    float sx;
    float sy;
    std::int64_t steps;
};

// The line's steps, case by case by its slope m = dy / dx.
inline LineSteps StepsOf(float x0, float y0, float x1, float y1) {
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
    return LineSteps{sx, sy, steps};
}

// StepsOf for lines side by side: every case is worked out and then chosen, so that the
// lanes take one path. Lines longer than `longest` steps do not fit, and get no steps here.
struct LaneSteps {
    float sx;
    float sy;
    std::int32_t steps;
    bool fits;
};

inline LaneSteps LaneStepsOf(float x0, float y0, float x1, float y1, double longest) {
    const double dx = static_cast<double>(x1) - static_cast<double>(x0);
    const double dy = static_cast<double>(y1) - static_cast<double>(y0);
    // StepsOf's cases by |dy / dx|: the signs of 1 / m and of m there are those of dx and dy.
    const bool vertical = dx == 0.0;
    const double slope = std::fabs(dy / (vertical ? 1.0 : dx));
    const bool steep = slope >= 1.0;
    const float signX = dx > 0.0 ? 1.0f : -1.0f;
    const float signY = dy > 0.0 ? 1.0f : -1.0f;
    const float inverse = static_cast<float>(1.0 / (steep ? slope : 1.0)) * signX;
    const float shallow = static_cast<float>(slope) * signY;
    const float sx = vertical ? 0.0f : (steep ? inverse : signX);
    const float sy = vertical || steep ? signY : (slope > 0.0 ? shallow : 0.0f);
    const double adx = static_cast<float>(std::fabs(dx));
    const double ady = std::fabs(dy);
    const double major = adx < ady ? ady : adx;
    const bool fits = major <= longest;
    return LaneSteps{sx, sy, static_cast<std::int32_t>(fits ? major : 0.0), fits};
}

// Both ends within the margin and few enough steps that no step between them can leave it:
// each float32 step drifts by at most half a spacing from the exact one (under 2^-11 on the
// largest surfaces, under 2^-15 up to 1024 pixels), so 256 steps, or 4096 on the smaller
// surfaces, drift at most an eighth of a pixel.
bool ShortAndInside(const BackBuffer& surface, float x0, float y0, float x1, float y1,
                    std::int64_t steps);

// Writes the pixel at world (x, y), rounded: row 239 - y in 64 bits, so that no rounded
// coordinate can overflow it.
inline void WriteWorldPixel(const BackBuffer& surface, std::int32_t x, std::int32_t y,
                            std::uint32_t stored) {
    WritePixel(surface, x, std::int64_t{kWorldOriginRow} - y, stored);
}
