#include "raster_rules.h"

void StepPairInside(const BackBuffer& surface, float* at, const float* step, std::int64_t steps,
                    std::uint32_t stored) {
    std::uint32_t* const pixels = surface.pixels;
    const std::int32_t stride = surface.stride;
    for (std::int64_t k = 0; k < steps; ++k) {
        std::int32_t pixel[4];
        for (int c = 0; c < 4; ++c) {
            at[c] = at[c] + step[c];
            pixel[c] = RoundInside(at[c]);
        }
        pixels[IndexOf(pixel[0], pixel[1], stride)] = stored;
        pixels[IndexOf(pixel[2], pixel[3], stride)] = stored;
    }
}
