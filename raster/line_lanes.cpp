// Lines of one colour stepped together: two in one vector (the polygon in pairs), or sixteen
// side by side (the curve's short segments).
#include "raster_rules.h"

#include <algorithm>

bool DrawLinePairInside(const BackBuffer& surface, const float* a, const float* b,
                        std::uint32_t stored) {
    const LineSteps first = StepsOf(a[0], a[1], a[2], a[3]);
    const LineSteps second = StepsOf(b[0], b[1], b[2], b[3]);
    if (!ShortAndInside(surface, a[0], a[1], a[2], a[3], first.steps) ||
        !ShortAndInside(surface, b[0], b[1], b[2], b[3], second.steps)) {
        return false;
    }
    // Both lines' coordinates side by side, so that one vector addition steps both.
    float at[4] = {a[0], a[1], b[0], b[1]};
    const float step[4] = {first.sx, first.sy, second.sx, second.sy};
    PutInside(surface, at[0], at[1], stored);
    PutInside(surface, at[2], at[3], stored);
    const std::int64_t both = std::min(first.steps, second.steps);
    StepPairInside(surface, at, step, both, stored);
    float xa = at[0];
    float ya = at[1];
    float xb = at[2];
    float yb = at[3];
    StepInside(surface, xa, ya, first.sx, first.sy, first.steps - both, stored);
    StepInside(surface, xb, yb, second.sx, second.sy, second.steps - both, stored);
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
constexpr double kLongestSideBySide = 16.0;

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
        index[lane] = IndexInside(lanes.x[lane], lanes.y[lane], stride);
    }
}

void StepLanes(const BackBuffer& surface, LineLanes& lanes, int used, std::uint32_t stored) {
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
    std::uint32_t* const pixels = surface.pixels;
    std::int32_t index[kSideBySide];
    LanePixels(lanes, surface.stride, index);
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
        LanePixels(lanes, surface.stride, index);
        for (const std::int32_t at : index) {
            pixels[at] = stored;
        }
    }
}

// The lines from (x0, y0) to (x1, y1) lane by lane with their steps; a lane may be drawn side
// by side when it is short and both its ends lie within the margin.
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

void WorkOutSteps(const BackBuffer& surface, JoinedLines& lines) {
    const InsideMargin margin = MarginOf(surface);
    for (int lane = 0; lane < kSideBySide; ++lane) {
        const LaneSteps steps = LaneStepsOf(lines.x0[lane], lines.y0[lane], lines.x1[lane],
                                            lines.y1[lane], kLongestSideBySide);
        lines.sx[lane] = steps.sx;
        lines.sy[lane] = steps.sy;
        lines.steps[lane] = steps.steps;
        lines.sideBySide[lane] = margin.usable && steps.fits &&
                                 WithinMargin(margin, lines.x0[lane], lines.y0[lane]) &&
                                 WithinMargin(margin, lines.x1[lane], lines.y1[lane]);
    }
}

} // namespace

void DrawJoinedLinesStored(const BackBuffer& surface, const float* xs, const float* ys, int count,
                           std::uint32_t stored) {
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
        WorkOutSteps(surface, lines);
        LineLanes lanes;
        int used = 0;
        for (int lane = 0; lane < n; ++lane) {
            if (!lines.sideBySide[lane]) {
                DrawLineStored(surface, lines.x0[lane], lines.y0[lane], lines.x1[lane],
                               lines.y1[lane], stored);
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
            StepLanes(surface, lanes, used, stored);
        }
    }
}
