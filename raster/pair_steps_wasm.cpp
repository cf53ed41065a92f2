// StepPairInside in WebAssembly's 128-bit SIMD: one vector holds both lines' positions. The
// same float32 sums and the same rounding (adding 0.5 is exact inside the surface, and the
// conversion truncates toward zero), so the same pixels.
#include "raster_rules.h"

#include <wasm_simd128.h>

void StepPairInside(const BackBuffer& surface, float* at, const float* step, std::int64_t steps,
                    std::uint32_t stored) {
    std::uint32_t* const pixels = surface.pixels;
    const std::int32_t stride = surface.stride;
    // IndexOf as column - row * stride + origin row * stride, summed from neighbouring lanes.
    const v128_t scale = wasm_i32x4_make(1, -stride, 1, -stride);
    const v128_t origin = wasm_i32x4_make(0, kWorldOriginRow * stride, 0, kWorldOriginRow * stride);
    const v128_t half = wasm_f32x4_splat(0.5f);
    const v128_t stepping = wasm_v128_load(step);
    v128_t position = wasm_v128_load(at);
    for (std::int64_t k = 0; k < steps; ++k) {
        position = wasm_f32x4_add(position, stepping);
        const v128_t pixel = wasm_i32x4_trunc_sat_f32x4(wasm_f32x4_add(position, half));
        const v128_t parts = wasm_i32x4_add(wasm_i32x4_mul(pixel, scale), origin);
        const v128_t index = wasm_i32x4_add(parts, wasm_i32x4_shuffle(parts, parts, 1, 0, 3, 2));
        pixels[wasm_i32x4_extract_lane(index, 0)] = stored;
        pixels[wasm_i32x4_extract_lane(index, 2)] = stored;
    }
    wasm_v128_store(at, position);
}
