#include "samples.h"

std::vector<LiteralSample> CurveSamples() {
    std::vector<LiteralSample> samples;
    SampleCurve(
        [](void* context, float t, CurvePoint q) {
            static_cast<std::vector<LiteralSample>*>(context)->push_back(LiteralSample{t, q});
        },
        &samples);
    return samples;
}
