// TriangleLanesWhole in WebAssembly's 128-bit SIMD, four lanes to a vector: the same float32
// and double operations in the same order, none contracted, so the same bits. Written out
// because the compiler converts between float32 and double vectors lane by lane.
#include "triangle_lanes.h"

#include <wasm_simd128.h>

namespace {

v128_t LowInDouble(v128_t v) {
    return wasm_f64x2_promote_low_f32x4(v);
}

v128_t HighInDouble(v128_t v) {
    return wasm_f64x2_promote_low_f32x4(wasm_i32x4_shuffle(v, v, 2, 3, 2, 3));
}

v128_t Rounded(v128_t low, v128_t high) {
    return wasm_i32x4_shuffle(wasm_f32x4_demote_f64x2_zero(low), wasm_f32x4_demote_f64x2_zero(high),
                              0, 1, 4, 5);
}

void TriangleLanesWholeSimd128(LaneWindows& w, int levels) {
    for (int group = 0; group < kLanes; group += 4) {
        const v128_t frac =
            wasm_f32x4_sub(wasm_v128_load(&w.t[group]), wasm_v128_load(&w.i[group]));
        for (int l = 1; l <= levels; ++l) {
            const float spanValue = static_cast<float>(levels - l + 1);
            const v128_t span = wasm_f32x4_splat(spanValue);
            for (int m = 0; m + l <= levels; ++m) {
                const float mf = static_cast<float>(m);
                const v128_t alpha =
                    wasm_f32x4_div(wasm_f32x4_add(frac, wasm_f32x4_splat(mf)), span);
                const v128_t beta =
                    wasm_f32x4_div(wasm_f32x4_sub(wasm_f32x4_splat(spanValue - mf), frac), span);
                const v128_t betaLow = LowInDouble(beta);
                const v128_t betaHigh = HighInDouble(beta);
                const v128_t qx = wasm_v128_load(&w.x[m][group]);
                const v128_t px = wasm_v128_load(&w.x[m + 1][group]);
                const v128_t x =
                    Rounded(wasm_f64x2_add(wasm_f64x2_mul(LowInDouble(alpha), LowInDouble(qx)),
                                           wasm_f64x2_mul(betaLow, LowInDouble(px))),
                            wasm_f64x2_add(wasm_f64x2_mul(HighInDouble(alpha), HighInDouble(qx)),
                                           wasm_f64x2_mul(betaHigh, HighInDouble(px))));
                // For y the first product is rounded to float32 before the second is added.
                const v128_t alphaQy = wasm_f32x4_mul(alpha, wasm_v128_load(&w.y[m][group]));
                const v128_t py = wasm_v128_load(&w.y[m + 1][group]);
                const v128_t y = Rounded(
                    wasm_f64x2_add(LowInDouble(alphaQy), wasm_f64x2_mul(betaLow, LowInDouble(py))),
                    wasm_f64x2_add(HighInDouble(alphaQy),
                                   wasm_f64x2_mul(betaHigh, HighInDouble(py))));
                wasm_v128_store(&w.x[m][group], x);
                wasm_v128_store(&w.y[m][group], y);
            }
        }
    }
}

} // namespace

TriangleLanesKernel WideTriangleLanes() {
    return TriangleLanesWholeSimd128;
}
