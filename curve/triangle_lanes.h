// de Boor's triangle for many samples side by side. The functions here have internal linkage,
// so that every file including this has its own copy: the copy built for a wider vector unit
// can never stand in for the baseline one.
#pragma once

#include "curve.h"

// Samples evaluated together, so that the compiler can vectorise across lanes.
constexpr int kLanes = 16;

struct LaneWindows {
    float x[kMaxDegree + 1][kLanes]; // level 0, then each level in place: [m][lane]
    float y[kMaxDegree + 1][kLanes];
    float i[kLanes];
    float t[kLanes];
};

// The whole-degree triangle built for a wider vector unit, where this processor has one
// and the build includes it; otherwise null. Its lanes are those of TriangleLanesWhole, bit
// for bit: the same operations, none contracted.
using TriangleLanesKernel = void (*)(LaneWindows& w, int levels);
TriangleLanesKernel WideTriangleLanes();

// alpha q + beta p, the step of de Boor's triangle. The precision of every step is part of
// the picture.
[[maybe_unused]] static CurvePoint Mix(float alpha, float beta, CurvePoint q, CurvePoint p) {
    CurvePoint result;
    result.x =
        static_cast<float>(static_cast<double>(alpha) * q.x + static_cast<double>(beta) * p.x);
    // For y the first product is rounded to float32 before the second is added.
    const float alphaQy = alpha * q.y;
    result.y = static_cast<float>(static_cast<double>(alphaQy) + static_cast<double>(beta) * p.y);
    return result;
}

// Each lane runs the float32 and double operations of Triangle for its own t. With a whole
// degree k and indices below 2^24 every sum and difference there is exact: the span at level
// l is k - l + 1, t - index is frac + m and u - t is (span - m) - frac, frac being t - i.
[[maybe_unused]] static void TriangleLanesWhole(LaneWindows& w, int levels) {
    float frac[kLanes];
    for (int lane = 0; lane < kLanes; ++lane) {
        frac[lane] = w.t[lane] - w.i[lane];
    }
    for (int l = 1; l <= levels; ++l) {
        const float span = static_cast<float>(levels - l + 1);
        for (int m = 0; m + l <= levels; ++m) {
            const float mf = static_cast<float>(m);
            const float rest = span - mf;
            for (int lane = 0; lane < kLanes; ++lane) {
                const CurvePoint mixed = Mix((frac[lane] + mf) / span, (rest - frac[lane]) / span,
                                             CurvePoint{w.x[m][lane], w.y[m][lane]},
                                             CurvePoint{w.x[m + 1][lane], w.y[m + 1][lane]});
                w.x[m][lane] = mixed.x;
                w.y[m][lane] = mixed.y;
            }
        }
    }
}
