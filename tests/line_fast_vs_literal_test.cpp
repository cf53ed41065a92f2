// DrawLine stops early and jumps over steps that stay off the surface, FillBox fills boxes
// with whole corners directly; the pixels must be exactly those of stepping every step.
#include "canvas.h"
#include "literal_line.h"
#include "raster_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {

const Color kInk{255, 0, 0, 0};

struct Segment {
    float x0, y0, x1, y1;
};

// Each segment drawn inside a guard frame and by stepping every step, alone.
void ExpectSamePixels(const std::vector<Segment>& segments, int width, int height) {
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const Segment& g = segments[s];
        GuardedCanvas guarded = MakeGuardedCanvas(width, height);
        Canvas literal = MakeCanvas(width, height);
        DrawLine(SurfaceOf(guarded), g.x0, g.y0, g.x1, g.y1, kInk);
        LiteralDrawLine(SurfaceOf(literal), g.x0, g.y0, g.x1, g.y1, kInk);
        ASSERT_EQ(InsideOf(guarded).pixels, literal.pixels)
            << "segment " << s << " (" << g.x0 << ", " << g.y0 << ") to (" << g.x1 << ", " << g.y1
            << ") on " << width << " x " << height;
        ASSERT_FALSE(FrameTouched(guarded)) << "segment " << s << " wrote off the surface";
    }
}

// Ends anywhere the pointer can put a point (and a marker's reach beyond), whole or not.
std::vector<Segment> RandomSegments(unsigned seed, int count, bool whole) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> x(-70.0f, 65540.0f);
    std::uniform_real_distribution<float> y(-65300.0f, 300.0f);
    std::uniform_real_distribution<float> near(-40.0f, 700.0f);
    std::uniform_int_distribution<int> kind(0, 3);
    std::vector<Segment> segments;
    for (int s = 0; s < count; ++s) {
        Segment g{x(random), y(random), x(random), y(random)};
        if (kind(random) == 0) { // one end near the surface
            g.x1 = near(random);
            g.y1 = 239.0f - near(random);
        }
        if (whole) {
            g = Segment{std::round(g.x0), std::round(g.y0), std::round(g.x1), std::round(g.y1)};
        }
        segments.push_back(g);
    }
    return segments;
}

TEST(LineFastVersusLiteral, RandomSegmentsAcrossThePointerRange) {
    ExpectSamePixels(RandomSegments(1, 400, false), 64, 300);
    ExpectSamePixels(RandomSegments(2, 400, true), 64, 300);
    ExpectSamePixels(RandomSegments(3, 150, false), 640, 480);
}

TEST(LineFastVersusLiteral, SegmentsFromTheCornersOfThePointerRange) {
    const float corners[][2] = {{0, 239},  {65535, 239},    {0, -65296}, {65535, -65296},
                                {-4, 243}, {65539, -65300}, {320, 0},    {10.5f, -3.25f}};
    std::vector<Segment> segments;
    for (const auto& a : corners) {
        for (const auto& b : corners) {
            segments.emplace_back(); // every pair, each way round
            segments.back() = Segment{a[0], a[1], b[0], b[1]};
        }
    }
    ExpectSamePixels(segments, 64, 300);
    ExpectSamePixels(segments, 640, 480);
}

TEST(LineFastVersusLiteral, ShallowAndSteepApproachesThatJustGraze) {
    std::vector<Segment> segments;
    for (int k = 0; k < 200; ++k) {
        const float t = static_cast<float>(k);
        segments.push_back(Segment{-60000.0f - t, 239.0f + t * 0.013f, 30.0f + t, 250.0f - t});
        segments.push_back(Segment{5.0f + t * 0.1f, -60000.0f, 70.0f - t * 0.3f, 300.0f});
        segments.push_back(Segment{63.0f + t * 0.01f, 240.0f + t, 63.5f, -65000.0f});
    }
    ExpectSamePixels(segments, 64, 300);
}

// From inside out through every edge and corner at every slope, ending just past the edge:
// the unchecked runs inside must stop in time.
TEST(LineFastVersusLiteral, DeparturesThroughEveryEdge) {
    std::vector<Segment> segments;
    for (int k = 0; k < 400; ++k) {
        const float f = static_cast<float>(k) * 0.137f;
        const float past = static_cast<float>(k % 7) * 0.3f;
        const float along = std::fmod(f * 7.3f, 70.0f) - 3.0f;
        const float cx = 20.0f + std::fmod(f, 20.0f);
        const float cy = 100.0f + std::fmod(f * 3.1f, 60.0f);
        segments.push_back(Segment{cx, cy, along, 239.0f + 0.5f + past});         // top
        segments.push_back(Segment{cx, cy, along, 239.0f - 300.0f - past});       // bottom
        segments.push_back(Segment{cx, cy, -1.5f - past, along * 4.0f});          // left
        segments.push_back(Segment{cx, cy, 63.5f + past, 239.0f - along * 4.0f}); // right
    }
    ExpectSamePixels(segments, 64, 300);
}

// Joined lines of one colour are stepped side by side when short and inside: walks of every
// length and direction (vertical, flat, exactly diagonal, whole and fractional ends, zero
// length), in batches that end part-way and with some ends near or past the edges.
TEST(LineFastVersusLiteral, JoinedLinesSideBySideAreTheirLines) {
    std::mt19937 random(11u);
    std::uniform_int_distribution<int> kind(0, 5);
    std::uniform_real_distribution<float> reach(-21.0f, 21.0f);
    std::uniform_int_distribution<int> whole(-17, 17);
    const std::uint32_t stored = StoredPixel(PixelValue(kInk), PixelOrder::Xrgb);
    for (int count : {1, 2, 3, 16, 17, 33, 400}) {
        std::vector<float> xs{32.0f};
        std::vector<float> ys{100.0f};
        while (static_cast<int>(xs.size()) < count) {
            float dx = reach(random);
            float dy = reach(random);
            switch (kind(random)) {
            case 0:
                dx = 0.0f;
                break;
            case 1:
                dy = 0.0f;
                break;
            case 2:
                dy = dx;
                break;
            case 3:
                dx = static_cast<float>(whole(random));
                dy = static_cast<float>(whole(random));
                break;
            case 4:
                dx = dy = 0.0f;
                break;
            default:
                break;
            }
            // Wander over the whole surface and up to a few pixels beyond it.
            xs.push_back(std::fmod(xs.back() + dx + 74.0f, 74.0f) - 5.0f);
            ys.push_back(239.0f - (std::fmod(239.0f - ys.back() - dy + 310.0f, 310.0f) - 5.0f));
        }
        GuardedCanvas guarded = MakeGuardedCanvas(64, 300);
        Canvas literal = MakeCanvas(64, 300);
        DrawJoinedLinesStored(SurfaceOf(guarded), xs.data(), ys.data(), count, stored);
        for (int k = 0; k + 1 < count; ++k) {
            LiteralDrawLine(SurfaceOf(literal), xs[k], ys[k], xs[k + 1], ys[k + 1], kInk);
        }
        ASSERT_EQ(InsideOf(guarded).pixels, literal.pixels) << count << " joined points";
        ASSERT_FALSE(FrameTouched(guarded)) << count << " joined points";
    }
}

// The lanes work a line's steps out with every case computed and then chosen; they must be
// DrawLine's steps case by case, at the length limit and where the slope is not finite.
TEST(LineFastVersusLiteral, LaneStepsAreTheLineSteps) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float ends[] = {0.0f,  -0.0f, 1.0f,  -1.0f, 0.3f,   2.5f,  -7.0f, 16.0f, -16.0f,
                          16.5f, 17.0f, 1e-7f, 3e38f, -3e38f, 1e30f, inf,   -inf,  nan};
    int fitting = 0;
    for (const float dx : ends) {
        for (const float dy : ends) {
            for (const float x0 : {0.0f, 100.25f, -3e38f}) {
                const float y0 = 239.0f - x0;
                const LineSteps line = StepsOf(x0, y0, x0 + dx, y0 + dy);
                const LaneSteps lane = LaneStepsOf(x0, y0, x0 + dx, y0 + dy, 16.0);
                const std::string what = "from (" + std::to_string(x0) + ", " + std::to_string(y0) +
                                         ") by (" + std::to_string(dx) + ", " + std::to_string(dy) +
                                         ")";
                ASSERT_EQ(Bits(lane.sx), Bits(line.sx)) << what;
                ASSERT_EQ(Bits(lane.sy), Bits(line.sy)) << what;
                if (lane.fits) {
                    ASSERT_EQ(lane.steps, line.steps) << what;
                    ++fitting;
                } else {
                    ASSERT_TRUE(line.steps >= 16 || line.steps == 0) << what; // long, or not finite
                }
            }
        }
    }
    EXPECT_GT(fitting, 400);
}

// Boxes with whole corners take a direct fill; the rows and columns must be those of the
// row lines, around world 0, at the edges, reversed, empty, and either side of 2^22.
TEST(LineFastVersusLiteral, BoxesAreTheirRowLines) {
    std::mt19937 random(7u);
    std::uniform_int_distribution<int> x(-20, 80);
    std::uniform_int_distribution<int> y(-80, 320);
    std::uniform_int_distribution<int> size(-3, 12);
    std::uniform_int_distribution<int> kind(0, 5);
    for (int b = 0; b < 3000; ++b) {
        float xlo = static_cast<float>(x(random));
        float ylo = static_cast<float>(y(random));
        float xhi = xlo + static_cast<float>(size(random));
        float yhi = ylo + static_cast<float>(size(random));
        switch (kind(random)) {
        case 0: // a marker
            xhi = xlo + 8.0f;
            yhi = ylo + 8.0f;
            break;
        case 1:
            ylo += 0.5f;
            xhi -= 0.25f;
            break;
        case 2: // near the largest whole values the direct fill takes
            ylo = 4194296.0f + static_cast<float>(size(random));
            yhi = 4194308.0f;
            xlo = -4194310.0f + static_cast<float>(size(random));
            xhi = xlo + 8.0f;
            break;
        default:
            break;
        }
        Canvas fast = MakeCanvas(64, 300);
        Canvas literal = MakeCanvas(64, 300);
        FillBox(SurfaceOf(fast), xlo, xhi, ylo, yhi, kInk);
        LiteralFillBox(SurfaceOf(literal), xlo, xhi, ylo, yhi, kInk);
        ASSERT_EQ(fast.pixels, literal.pixels)
            << "box " << b << ": x " << xlo << " to " << xhi << ", y " << ylo << " to " << yhi;
    }
}

} // namespace
