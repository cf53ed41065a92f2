// The browser program's SIMD lanes against the scalar evaluation, run by Node on the module
// built for the browser: every sample of random curves at every degree bit for bit equal to
// DeBoorPoint, and the polygon and markers pixel for pixel those of the literal drawing.
#include "curve.h"
#include "literal_curve.h"
#include "render.h"
#include "scene.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

struct Mismatch {
    int count;
    float t;
};

void CompareSample(void* context, float t, CurvePoint sample) {
    auto* mismatch = static_cast<Mismatch*>(context);
    const CurvePoint expected = DeBoorPoint(editor.degree, std::floor(t), t);
    if (std::memcmp(&sample, &expected, sizeof sample) != 0 && mismatch->count++ == 0) {
        mismatch->t = t;
    }
}

void PlaceRandomPoints(std::mt19937& random, int count, float spread) {
    Clear();
    std::uniform_real_distribution<float> coordinate(-spread, spread);
    for (int p = 0; p < count; ++p) {
        // Whole coordinates as the pointer gives them, and fractions as no pointer does.
        const float x = 320.0f + coordinate(random);
        const float y = coordinate(random);
        Append(p % 2 == 0 ? std::round(x) : x, p % 3 == 0 ? std::round(y) : y);
    }
}

} // namespace

int main() {
    std::mt19937 random(20261209u);
    std::vector<std::uint32_t> fast(640 * 480, 0xFFFFFFFFu);
    std::vector<std::uint32_t> literal(640 * 480, 0xFFFFFFFFu);
    const BackBuffer fastSurface{fast.data(), 640, 480, 640, PixelOrder::Rgba};
    const BackBuffer literalSurface{literal.data(), 640, 480, 640, PixelOrder::Rgba};
    int failures = 0;
    for (int scene = 0; scene < 60; ++scene) {
        const float spread = scene % 3 == 0 ? 300.0f : scene % 3 == 1 ? 40.0f : 5000.0f;
        PlaceRandomPoints(random, 12 + scene * 7, spread);
        for (int k = 1; k <= kMaxDegree; ++k) {
            editor.degree = static_cast<float>(k);
            Mismatch mismatch{0, 0.0f};
            SampleCurve(CompareSample, &mismatch);
            if (mismatch.count > 0) {
                std::printf("scene %d, degree %d: %d samples differ, the first at t = %.9g\n",
                            scene, k, mismatch.count, static_cast<double>(mismatch.t));
                ++failures;
            }
        }
        DrawPolygonAndMarkers(fastSurface);
        LiteralDrawPolygonAndMarkers(literalSurface);
        if (fast != literal) {
            std::printf("scene %d: the polygon and markers differ from the literal drawing\n",
                        scene);
            ++failures;
        }
        std::fill(fast.begin(), fast.end(), 0xFFFFFFFFu);
        std::fill(literal.begin(), literal.end(), 0xFFFFFFFFu);
    }
    std::printf(failures == 0 ? "lanes check: passed (60 scenes, degrees 1 to 9)\n"
                              : "lanes check: %d failures\n",
                failures);
    return failures == 0 ? 0 : 1;
}
