// One line, stepped as described: the start pixel, then n float32 steps. Steps that stay far
// off the surface are jumped over, and runs that stay well inside it are written unchecked.
#include "raster_rules.h"

#include <algorithm>

namespace {

constexpr std::int64_t kUnbounded = INT64_MAX;

// A run of steps v, v + s, v + 2s, ... in float32 that are all exact: within one binade of v
// every sum rounds to v + k * delta, delta being the multiple of v's spacing nearest s.
struct ExactRun {
    std::int64_t steps;
    double delta;
};

ExactRun ExactSteps(float v, float s) {
    if (s == 0.0f) {
        return ExactRun{kUnbounded, 0.0};
    }
    const double value = v;
    if (value == 0.0 || !std::isfinite(value) || !std::isfinite(s)) {
        return ExactRun{0, 0.0};
    }
    int exponent = 0;
    std::frexp(std::fabs(value), &exponent);
    const double low = std::ldexp(1.0, exponent - 1); // |v| lies in [low, 2 low)
    if (low < std::ldexp(1.0, -126)) {
        return ExactRun{0, 0.0}; // subnormal spacing
    }
    const double spacing = std::ldexp(low, -23);
    const double ratio = static_cast<double>(s) / spacing;
    if (ratio - std::floor(ratio) == 0.5) {
        return ExactRun{0, 0.0}; // a tie would round by v's last bit, step by step
    }
    const double delta = std::round(ratio) * spacing;
    if (delta == 0.0) {
        return ExactRun{kUnbounded, 0.0}; // v never moves
    }
    // Every value reached stays a spacing inside the binade, so each sum before rounding
    // lies inside it too.
    const double lower = value > 0.0 ? low + spacing : -(2.0 * low - spacing);
    const double upper = value > 0.0 ? 2.0 * low - spacing : -(low + spacing);
    const double room = delta > 0.0 ? (upper - value) / delta : (lower - value) / delta;
    if (!(room >= 2.0)) {
        return ExactRun{0, delta};
    }
    return ExactRun{static_cast<std::int64_t>(std::min(room, 1.0e15)) - 1, delta};
}

// Whole steps of v by delta that keep it at or beyond limit (direction +1: at or below it,
// -1: at or above it).
std::int64_t StepsBeyond(double v, double delta, double limit, int direction) {
    const double distance = direction > 0 ? limit - v : v - limit;
    const double speed = direction > 0 ? delta : -delta;
    if (distance < 0.0) {
        return 0;
    }
    if (speed <= 0.0) {
        return kUnbounded;
    }
    return static_cast<std::int64_t>(std::min(std::floor(distance / speed), 1.0e15));
}

struct Skip {
    std::int64_t steps;
    double deltaX;
    double deltaY;
};

// How many of the next steps can be taken at once, exactly and without reaching the
// surface, and what each adds: none unless the point is far off the surface on some axis
// and heading towards it.
Skip SkippableSteps(const BackBuffer& surface, float x, float y, float sx, float sy) {
    const ExactRun runX = ExactSteps(x, sx);
    const ExactRun runY = ExactSteps(y, sy);
    const std::int64_t exact = std::min(runX.steps, runY.steps);
    if (exact < 2) {
        return Skip{0, 0.0, 0.0};
    }
    // Off-surface margins one pixel beyond where the pixel rounding reaches the surface:
    // column < 0 below x = -1.5, column >= width from width - 0.5, row < 0 from
    // y = 239.5, row >= height below y = 239.5 - height.
    std::int64_t off = 0;
    off = std::max(off, StepsBeyond(x, runX.delta, -2.0, +1));
    off = std::max(off, StepsBeyond(x, runX.delta, surface.width + 1.0, -1));
    off = std::max(off, StepsBeyond(y, runY.delta, kWorldOriginRow + 2.0, -1));
    off = std::max(off, StepsBeyond(y, runY.delta, kWorldOriginRow - surface.height - 1.0, +1));
    return Skip{std::min(off, exact), runX.delta, runY.delta};
}

// How many of the next steps stay within the margin, so that their pixels need no bounds
// checks: none unless the point is within it. There every float32 step moves by at most its
// size and half a spacing, and the rounding lands within 1.5 of the coordinate.
std::int64_t StepsInside(const BackBuffer& surface, float x, float y, float sx, float sy) {
    const InsideMargin margin = MarginOf(surface);
    if (!margin.usable || !WithinMargin(margin, x, y)) {
        return 0;
    }
    const double slack = 1.0 / 1024.0;
    const double byX = sx > 0.0f ? (margin.right - static_cast<double>(x)) / (sx + slack)
                                 : (x - static_cast<double>(margin.left)) / (slack - sx);
    const double byY = sy > 0.0f ? (margin.top - static_cast<double>(y)) / (sy + slack)
                                 : (y - static_cast<double>(margin.bottom)) / (slack - sy);
    return static_cast<std::int64_t>(std::min(std::min(byX, byY), 1.0e9));
}

} // namespace

bool ShortAndInside(const BackBuffer& surface, float x0, float y0, float x1, float y1,
                    std::int64_t steps) {
    const std::int64_t longest = surface.width <= 1024 && surface.height <= 1024 ? 4096 : 256;
    const InsideMargin margin = MarginOf(surface);
    return steps <= longest && margin.usable && WithinMargin(margin, x0, y0) &&
           WithinMargin(margin, x1, y1);
}

void DrawLine(const BackBuffer& surface, float x0, float y0, float x1, float y1, Color color) {
    DrawLineStored(surface, x0, y0, x1, y1, StoredPixel(PixelValue(color), surface.order));
}

void DrawLineStored(const BackBuffer& surface, float x0, float y0, float x1, float y1,
                    std::uint32_t stored) {
    const BackBuffer own = surface; // a copy that the pixel writes cannot alias
    const LineSteps line = StepsOf(x0, y0, x1, y1);
    const float sx = line.sx;
    const float sy = line.sy;
    const std::int64_t steps = line.steps;
    float x = x0;
    float y = y0;
    if (ShortAndInside(own, x0, y0, x1, y1, steps)) {
        PutInside(own, x, y, stored);
        StepInside(own, x, y, sx, sy, steps, stored);
        return;
    }
    std::int32_t column = PixelRound(x0);
    std::int32_t worldRow = PixelRound(y0);
    WriteWorldPixel(own, column, worldRow, stored);
    std::int64_t taken = 0;
    while (taken < steps) {
        const std::int64_t row = std::int64_t{kWorldOriginRow} - worldRow;
        // Float steps of fixed sign never turn back, so once off the surface and heading
        // away no later pixel can land on it.
        if ((column < 0 && sx <= 0.0f) || (column >= own.width && sx >= 0.0f) ||
            (row < 0 && sy >= 0.0f) || (row >= own.height && sy <= 0.0f)) {
            break;
        }
        // Heading towards the surface from off it: jump over the steps that stay off it.
        const bool off = column < 0 || column >= own.width || row < 0 || row >= own.height;
        const Skip skip = off ? SkippableSteps(own, x, y, sx, sy) : Skip{0, 0.0, 0.0};
        const std::int64_t jump = std::min(skip.steps, steps - taken);
        if (jump >= 2) {
            x = static_cast<float>(static_cast<double>(x) +
                                   static_cast<double>(jump) * skip.deltaX);
            y = static_cast<float>(static_cast<double>(y) +
                                   static_cast<double>(jump) * skip.deltaY);
            taken += jump;
            column = PixelRound(x);
            worldRow = PixelRound(y);
            continue; // every skipped pixel, this one included, lies off the surface
        }
        const std::int64_t run = off ? 0 : std::min(StepsInside(own, x, y, sx, sy), steps - taken);
        if (run >= 2) {
            StepInside(own, x, y, sx, sy, run, stored);
            taken += run;
            column = PixelRound(x);
            worldRow = PixelRound(y);
            continue;
        }
        x = x + sx;
        y = y + sy;
        ++taken;
        column = PixelRound(x);
        worldRow = PixelRound(y);
        WriteWorldPixel(own, column, worldRow, stored);
    }
}
