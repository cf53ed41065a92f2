#include "raster.h"

#include <algorithm>
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
    // cppcheck-suppress unreadVariable ; the buffer is a view, the write lands in its pixels
    buffer.pixels[row * buffer.stride + column] = stored;
}

static void WriteWorldPixel(std::int32_t x, std::int32_t y, std::uint32_t stored) {
    // 64-bit so that 239 - y cannot overflow for any rounded coordinate.
    WritePixel(editor.backBuffer, x, std::int64_t{kWorldOriginRow} - y, stored);
}

void PlotPixel(std::int32_t x, std::int32_t y, Color color) {
    WriteWorldPixel(x, y, StoredPixel(PixelValue(color)));
}

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
Skip SkippableSteps(float x, float y, float sx, float sy, BackBuffer buffer) {
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
    off = std::max(off, StepsBeyond(x, runX.delta, buffer.width + 1.0, -1));
    off = std::max(off, StepsBeyond(y, runY.delta, kWorldOriginRow + 2.0, -1));
    off = std::max(off, StepsBeyond(y, runY.delta, kWorldOriginRow - buffer.height - 1.0, +1));
    return Skip{std::min(off, exact), runX.delta, runY.delta};
}

// How many of the next steps stay so far inside the surface that their pixels need no
// bounds checks: none unless the point is a margin inside every edge. There every float32
// step moves by at most its size and half a spacing (under 2^-11 on surfaces up to 8192
// pixels), and the rounding lands within 1.5 of the coordinate.
std::int64_t StepsInside(float x, float y, float sx, float sy, BackBuffer buffer) {
    if (buffer.pixels == nullptr || buffer.width > 8192 || buffer.height > 8192) {
        return 0;
    }
    const double left = 1.0;
    const double right = buffer.width - 2.0;
    const double top = kWorldOriginRow - 2.0;
    const double bottom = kWorldOriginRow + 2.0 - buffer.height;
    if (!(x >= left && x <= right && y <= top && y >= bottom)) {
        return 0;
    }
    const double slack = 1.0 / 1024.0;
    const double byX = sx > 0.0f ? (right - x) / (sx + slack) : (x - left) / (slack - sx);
    const double byY = sy > 0.0f ? (top - y) / (sy + slack) : (y - bottom) / (slack - sy);
    return static_cast<std::int64_t>(std::min(std::min(byX, byY), 1.0e9));
}

// Both ends a margin inside every edge: no step between them can leave the surface, since
// each float32 step drifts by at most half a spacing from the exact one (under 2^-11 on
// surfaces up to 8192 pixels, under 2^-15 up to 1024), so 256 steps, or 4096 on the smaller
// surfaces, drift at most an eighth of a pixel.
bool ShortAndInside(float x0, float y0, float x1, float y1, std::int64_t steps, BackBuffer buffer) {
    const std::int64_t longest = buffer.width <= 1024 && buffer.height <= 1024 ? 4096 : 256;
    if (steps > longest || buffer.pixels == nullptr || buffer.width > 8192 ||
        buffer.height > 8192) {
        return false;
    }
    const float left = 1.0f;
    const float right = static_cast<float>(buffer.width - 2);
    const float top = static_cast<float>(kWorldOriginRow - 2);
    const float bottom = static_cast<float>(kWorldOriginRow + 2 - buffer.height);
    return x0 >= left && x0 <= right && x1 >= left && x1 <= right && y0 <= top && y0 >= bottom &&
           y1 <= top && y1 >= bottom;
}

// The pixel at a point inside the surface, written without bounds checks.
void PutInside(float x, float y, std::uint32_t stored, BackBuffer buffer) {
    // Exact in float32 here, so the same as PixelRound's sum in double.
    const float shiftedX = x + 0.5f;
    const float shiftedY = y + 0.5f;
    const auto c = static_cast<std::int32_t>(shiftedX);
    const auto r = kWorldOriginRow - static_cast<std::int32_t>(shiftedY);
    std::uint32_t* const pixels = buffer.pixels;
    pixels[static_cast<std::ptrdiff_t>(r) * buffer.stride + c] = stored;
}

// Takes `steps` steps that stay inside the surface.
void StepInside(float& x, float& y, float sx, float sy, std::int64_t steps, std::uint32_t stored,
                const BackBuffer& buffer) {
    float xs = x;
    float ys = y;
    for (std::int64_t k = 0; k < steps; ++k) {
        xs = xs + sx;
        ys = ys + sy;
        PutInside(xs, ys, stored, buffer);
    }
    x = xs;
    y = ys;
}

} // namespace

void DrawLine(float x0, float y0, float x1, float y1, Color color) {
    DrawLineStored(x0, y0, x1, y1, StoredPixel(PixelValue(color)));
}

namespace {

// The float32 steps of a line and how many steps it takes.
struct LineSteps {
    float sx;
    float sy;
    std::int64_t steps;
};

LineSteps StepsOf(float x0, float y0, float x1, float y1) {
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

} // namespace

void DrawLineStored(float x0, float y0, float x1, float y1, std::uint32_t stored) {
    const LineSteps line = StepsOf(x0, y0, x1, y1);
    const float sx = line.sx;
    const float sy = line.sy;
    const std::int64_t steps = line.steps;
    const BackBuffer buffer = editor.backBuffer;
    float x = x0;
    float y = y0;
    if (ShortAndInside(x0, y0, x1, y1, steps, buffer)) {
        PutInside(x, y, stored, buffer);
        StepInside(x, y, sx, sy, steps, stored, buffer);
        return;
    }
    std::int32_t column = PixelRound(x0);
    std::int32_t worldRow = PixelRound(y0);
    WriteWorldPixel(column, worldRow, stored);
    std::int64_t taken = 0;
    while (taken < steps) {
        const std::int64_t row = std::int64_t{kWorldOriginRow} - worldRow;
        // Float steps of fixed sign never turn back, so once off the surface and heading
        // away no later pixel can land on it.
        if ((column < 0 && sx <= 0.0f) || (column >= buffer.width && sx >= 0.0f) ||
            (row < 0 && sy >= 0.0f) || (row >= buffer.height && sy <= 0.0f)) {
            break;
        }
        // Heading towards the surface from off it: jump over the steps that stay off it.
        const bool off = column < 0 || column >= buffer.width || row < 0 || row >= buffer.height;
        const Skip skip = off ? SkippableSteps(x, y, sx, sy, buffer) : Skip{0, 0.0, 0.0};
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
        const std::int64_t run =
            off ? 0 : std::min(StepsInside(x, y, sx, sy, buffer), steps - taken);
        if (run >= 2) {
            StepInside(x, y, sx, sy, run, stored, buffer);
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
        WriteWorldPixel(column, worldRow, stored);
    }
}

bool DrawLinePairInside(const float* a, const float* b, std::uint32_t stored) {
    const BackBuffer buffer = editor.backBuffer;
    const LineSteps first = StepsOf(a[0], a[1], a[2], a[3]);
    const LineSteps second = StepsOf(b[0], b[1], b[2], b[3]);
    if (!ShortAndInside(a[0], a[1], a[2], a[3], first.steps, buffer) ||
        !ShortAndInside(b[0], b[1], b[2], b[3], second.steps, buffer)) {
        return false;
    }
    // Both lines' coordinates side by side, so that one vector addition steps both.
    float at[4] = {a[0], a[1], b[0], b[1]};
    const float step[4] = {first.sx, first.sy, second.sx, second.sy};
    PutInside(at[0], at[1], stored, buffer);
    PutInside(at[2], at[3], stored, buffer);
    const std::int64_t both = std::min(first.steps, second.steps);
    std::uint32_t* const pixels = buffer.pixels;
    const std::int32_t stride = buffer.stride;
    for (std::int64_t k = 0; k < both; ++k) {
        std::int32_t pixel[4];
        for (int c = 0; c < 4; ++c) {
            at[c] = at[c] + step[c];
            // Exact in float32 inside the surface, as in PutInside.
            const float shifted = at[c] + 0.5f;
            pixel[c] = static_cast<std::int32_t>(shifted);
        }
        pixels[(kWorldOriginRow - pixel[1]) * stride + pixel[0]] = stored;
        pixels[(kWorldOriginRow - pixel[3]) * stride + pixel[2]] = stored;
    }
    float xa = at[0];
    float ya = at[1];
    float xb = at[2];
    float yb = at[3];
    StepInside(xa, ya, first.sx, first.sy, first.steps - both, stored, buffer);
    StepInside(xb, yb, second.sx, second.sy, second.steps - both, stored, buffer);
    return true;
}

bool LineMayReachBox(const float* line, float xlo, float xhi, float ylo, float yhi) {
    // Every pixel of the line lies within a pixel of the segment, and every pixel of the box
    // within a pixel of the box: compare the segment's distance from the box's centre with
    // the box's half diagonal and a margin of 3.
    const double cx = (static_cast<double>(xlo) + xhi) / 2.0;
    const double cy = (static_cast<double>(ylo) + yhi) / 2.0;
    const double reach =
        std::hypot((static_cast<double>(xhi) - xlo) / 2.0, (static_cast<double>(yhi) - ylo) / 2.0) +
        3.0;
    const double dx = static_cast<double>(line[2]) - line[0];
    const double dy = static_cast<double>(line[3]) - line[1];
    const double length2 = dx * dx + dy * dy;
    const double along =
        length2 > 0.0 ? ((cx - line[0]) * dx + (cy - line[1]) * dy) / length2 : 0.0;
    const double clamped = std::min(std::max(along, 0.0), 1.0);
    const double distance =
        std::hypot(cx - (line[0] + clamped * dx), cy - (line[1] + clamped * dy));
    return !(distance > reach); // anything not finite may reach it
}

namespace {

constexpr int kSideBySide = 16;
// Longer lines would leave most lanes idle while one steps on.
constexpr std::int64_t kLongestSideBySide = 16;

// Lines stepped side by side, one lane each: every lane takes the float32 steps of its own
// line, and a lane past its last step stays on its last pixel, writing it again.
struct LineLanes {
    float x[kSideBySide];
    float y[kSideBySide];
    float sx[kSideBySide];
    float sy[kSideBySide];
    std::int32_t steps[kSideBySide];
};

void LanePixels(const LineLanes& lanes, std::int32_t stride, std::int32_t* index) {
    for (int lane = 0; lane < kSideBySide; ++lane) {
        // Exact in float32 inside the surface, as in PutInside.
        const float shiftedX = lanes.x[lane] + 0.5f;
        const float shiftedY = lanes.y[lane] + 0.5f;
        const auto c = static_cast<std::int32_t>(shiftedX);
        const auto r = kWorldOriginRow - static_cast<std::int32_t>(shiftedY);
        index[lane] = r * stride + c;
    }
}

void StepLanes(LineLanes& lanes, int used, std::uint32_t stored, BackBuffer buffer) {
    std::int32_t longest = 0;
    for (int lane = 0; lane < used; ++lane) {
        longest = std::max(longest, lanes.steps[lane]);
    }
    for (int lane = used; lane < kSideBySide; ++lane) {
        lanes.x[lane] = lanes.x[0];
        lanes.y[lane] = lanes.y[0];
        lanes.sx[lane] = lanes.sx[0];
        lanes.sy[lane] = lanes.sy[0];
        lanes.steps[lane] = lanes.steps[0];
    }
    std::uint32_t* const pixels = buffer.pixels;
    std::int32_t index[kSideBySide];
    LanePixels(lanes, buffer.stride, index);
    for (const std::int32_t at : index) {
        pixels[at] = stored;
    }
    for (std::int32_t k = 1; k <= longest; ++k) {
        for (int lane = 0; lane < kSideBySide; ++lane) {
            // A finished lane adds its step times zero and stays where it is.
            const float stepping = static_cast<float>(k <= lanes.steps[lane]);
            lanes.x[lane] = lanes.x[lane] + lanes.sx[lane] * stepping;
            lanes.y[lane] = lanes.y[lane] + lanes.sy[lane] * stepping;
        }
        LanePixels(lanes, buffer.stride, index);
        for (const std::int32_t at : index) {
            pixels[at] = stored;
        }
    }
}

// The lines from (x0, y0) to (x1, y1) lane by lane, with their steps worked out as StepsOf
// does, side by side; a lane may be drawn side by side when it is short and both its ends
// lie a margin inside every edge.
struct JoinedLines {
    float x0[kSideBySide];
    float y0[kSideBySide];
    float x1[kSideBySide];
    float y1[kSideBySide];
    float sx[kSideBySide];
    float sy[kSideBySide];
    std::int32_t steps[kSideBySide];
    bool sideBySide[kSideBySide];
};

void WorkOutSteps(JoinedLines& lines, BackBuffer buffer) {
    const bool small = buffer.pixels != nullptr && buffer.width <= 8192 && buffer.height <= 8192;
    const float left = 1.0f;
    const float right = static_cast<float>(buffer.width - 2);
    const float top = static_cast<float>(kWorldOriginRow - 2);
    const float bottom = static_cast<float>(kWorldOriginRow + 2 - buffer.height);
    for (int lane = 0; lane < kSideBySide; ++lane) {
        const double dx = static_cast<double>(lines.x1[lane]) - static_cast<double>(lines.x0[lane]);
        const double dy = static_cast<double>(lines.y1[lane]) - static_cast<double>(lines.y0[lane]);
        // StepsOf's cases by |dy / dx|: the signs of 1 / m and of m there are those of dx and
        // dy. Every arm is worked out and then chosen, so that the lanes take one path.
        const bool vertical = dx == 0.0;
        const double slope = std::fabs(dy / (vertical ? 1.0 : dx));
        const bool steep = slope >= 1.0;
        const float signX = dx > 0.0 ? 1.0f : -1.0f;
        const float signY = dy > 0.0 ? 1.0f : -1.0f;
        const float inverse = static_cast<float>(1.0 / (steep ? slope : 1.0)) * signX;
        const float shallow = static_cast<float>(slope) * signY;
        lines.sx[lane] = vertical ? 0.0f : (steep ? inverse : signX);
        lines.sy[lane] = vertical || steep ? signY : (slope > 0.0 ? shallow : 0.0f);
        const double adx = static_cast<float>(std::fabs(dx));
        const double ady = std::fabs(dy);
        const double major = adx < ady ? ady : adx;
        const bool shortLine = major <= static_cast<double>(kLongestSideBySide);
        lines.steps[lane] = static_cast<std::int32_t>(shortLine ? major : 0.0);
        lines.sideBySide[lane] =
            small && shortLine && lines.x0[lane] >= left && lines.x0[lane] <= right &&
            lines.x1[lane] >= left && lines.x1[lane] <= right && lines.y0[lane] <= top &&
            lines.y0[lane] >= bottom && lines.y1[lane] <= top && lines.y1[lane] >= bottom;
    }
}

} // namespace

void DrawJoinedLinesStored(const float* xs, const float* ys, int count, std::uint32_t stored) {
    const BackBuffer buffer = editor.backBuffer;
    for (int first = 0; first + 1 < count; first += kSideBySide) {
        const int n = std::min(kSideBySide, count - 1 - first);
        JoinedLines lines;
        for (int lane = 0; lane < kSideBySide; ++lane) {
            const int k = first + std::min(lane, n - 1); // spare lanes repeat the last line
            lines.x0[lane] = xs[k];
            lines.y0[lane] = ys[k];
            lines.x1[lane] = xs[k + 1];
            lines.y1[lane] = ys[k + 1];
        }
        WorkOutSteps(lines, buffer);
        LineLanes lanes;
        int used = 0;
        for (int lane = 0; lane < n; ++lane) {
            if (!lines.sideBySide[lane]) {
                DrawLineStored(lines.x0[lane], lines.y0[lane], lines.x1[lane], lines.y1[lane],
                               stored);
                continue;
            }
            lanes.x[used] = lines.x0[lane];
            lanes.y[used] = lines.y0[lane];
            lanes.sx[used] = lines.sx[lane];
            lanes.sy[used] = lines.sy[lane];
            lanes.steps[used] = lines.steps[lane];
            ++used;
        }
        if (used > 0) {
            StepLanes(lanes, used, stored, buffer);
        }
    }
}

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
void FillWholeBox(float xlo, float xhi, float ylo, float yhi, std::uint32_t stored) {
    const BackBuffer buffer = editor.backBuffer;
    if (buffer.pixels == nullptr) {
        return;
    }
    const auto first = static_cast<std::int32_t>(xlo);
    const auto last = static_cast<std::int32_t>(xhi) - 1;
    const std::int32_t left = std::max(WholePixel(std::min(first, last)), 0);
    const std::int32_t right = std::min(WholePixel(std::max(first, last)), buffer.width - 1);
    if (left > right) {
        return;
    }
    const std::int32_t lowest =
        std::max(static_cast<std::int32_t>(ylo), kWorldOriginRow - buffer.height - 2);
    const std::int32_t past = std::min(static_cast<std::int32_t>(yhi), kWorldOriginRow + 2);
    for (std::int32_t y = lowest; y < past; ++y) {
        const std::int32_t row = kWorldOriginRow - WholePixel(y);
        if (row >= 0 && row < buffer.height) {
            std::uint32_t* line = buffer.pixels + static_cast<std::ptrdiff_t>(row) * buffer.stride;
            std::fill(line + left, line + right + 1, stored);
        }
    }
}

} // namespace

void FillBox(float xlo, float xhi, float ylo, float yhi, Color color) {
    if (!(ylo < yhi)) {
        return;
    }
    if (IsSmallWhole(xlo) && IsSmallWhole(xhi) && IsSmallWhole(ylo) && IsSmallWhole(yhi)) {
        FillWholeBox(xlo, xhi, ylo, yhi, StoredPixel(PixelValue(color)));
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
