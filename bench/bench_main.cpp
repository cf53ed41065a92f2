// Curve evaluation and whole frames. Read the ratios within one run:
//   BM_CurveSampleLiteral/9 : BM_CurveSampleFast/9, BM_Frame/8192 : BM_Frame/1024,
//   BM_Frame/16 : BM_Clear, BM_Frame/8192 : BM_Clear,
//   BM_ExtremeFrame/10000 : BM_ExtremeFrame/1000; BM_Sampler reports samples per second.
#include "curve.h"
#include "literal_curve.h"
#include "render.h"
#include "scene.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

std::vector<std::uint32_t> frameBuffer(static_cast<std::size_t>(kWidth) * kHeight, 0xFFFFFFFFu);

const BackBuffer frameSurface{frameBuffer.data(), kWidth, kHeight, kWidth, PixelOrder::Xrgb};

// Points spread over the client area by a fixed seed, in world coordinates.
void PlaceRandomPoints(int count) {
    Clear();
    std::mt19937 random(20261208u);
    std::uniform_int_distribution<int> column(0, kWidth - 1);
    std::uniform_int_distribution<int> row(0, kHeight - 1);
    for (int p = 0; p < count; ++p) {
        Append(static_cast<float>(column(random)), static_cast<float>(239 - row(random)));
    }
}

// One sample in the middle of a 20-point curve.
template <CurvePoint (*Evaluate)(float, float, float)> void CurveSample(benchmark::State& state) {
    const float degree = static_cast<float>(state.range(0));
    PlaceRandomPoints(20);
    editor.degree = degree;
    const float t = degree + 0.55f * (20.0f - degree);
    const float i = std::floor(t);
    for (auto _ : state) {
        benchmark::DoNotOptimize(Evaluate(degree, i, t));
    }
    Clear();
}

void BM_CurveSampleLiteral(benchmark::State& state) {
    CurveSample<LiteralDeBoorPoint>(state);
}
void BM_CurveSampleFast(benchmark::State& state) {
    CurveSample<DeBoorPoint>(state);
}

void CountSample(void* context, float /*t*/, CurvePoint sample) {
    *static_cast<float*>(context) += sample.x + sample.y;
}

// Every sample of a curve over 1024 points, nothing drawn.
void BM_Sampler(benchmark::State& state) {
    PlaceRandomPoints(1024);
    editor.degree = static_cast<float>(state.range(0));
    std::int64_t samples = 0;
    for (auto _ : state) {
        float sum = 0.0f;
        samples += SampleCurve(CountSample, &sum);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(samples);
    Clear();
}

// A peer, not the editor's: a plain scalar de Boor in double precision (not bit-exact) over
// the same points and parameter sequence, each point read from an array.
void BM_PlainDoubleDeBoor(benchmark::State& state) {
    PlaceRandomPoints(1024);
    const int k = static_cast<int>(state.range(0));
    std::vector<double> px;
    std::vector<double> py;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        px.push_back(p->x);
        py.push_back(p->y);
    }
    const double n = static_cast<double>(px.size());
    std::int64_t samples = 0;
    for (auto _ : state) {
        double sum = 0.0;
        for (double t = k; t <= n; t += 0.1) {
            const int i = static_cast<int>(t);
            double dx[kMaxDegree + 1];
            double dy[kMaxDegree + 1];
            for (int j = 0; j <= k; ++j) {
                const int index = std::min(i - k + j, static_cast<int>(px.size()) - 1);
                dx[j] = px[index];
                dy[j] = py[index];
            }
            for (int r = 1; r <= k; ++r) {
                for (int j = k; j >= r; --j) {
                    const double left = i - k + j;
                    const double alpha = (t - left) / (k + 1 - r);
                    dx[j] = (1.0 - alpha) * dx[j - 1] + alpha * dx[j];
                    dy[j] = (1.0 - alpha) * dy[j - 1] + alpha * dy[j];
                }
            }
            sum += dx[k] + dy[k];
            ++samples;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(samples);
    Clear();
}

// Whole frames at degree 9 over the scene in place: compose and clear, no present.
void ComposeFrames(benchmark::State& state) {
    editor.degree = 9.0f;
    const ClientRect client{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        ComposeFrame(frameSurface);
        ClearBackBuffer(frameSurface, client);
        benchmark::DoNotOptimize(frameBuffer.data());
        benchmark::ClobberMemory();
    }
    state.counters["points"] = static_cast<double>(editor.pointCount);
    Clear();
}

void BM_Frame(benchmark::State& state) {
    PlaceRandomPoints(static_cast<int>(state.range(0)));
    ComposeFrames(state);
}

// One point in eight at a corner of the pointer's 16-bit range, the rest on the surface:
// segments that run 65,000 pixels off the surface and back.
void PlaceExtremePoints(int count) {
    Clear();
    std::mt19937 random(65535u);
    std::uniform_int_distribution<int> column(0, kWidth - 1);
    std::uniform_int_distribution<int> row(0, kHeight - 1);
    const float corners[][2] = {{0, 239}, {65535, 239}, {0, -65296}, {65535, -65296}};
    for (int p = 0; p < count; ++p) {
        if (p % 8 == 7) {
            Append(corners[(p / 8) % 4][0], corners[(p / 8) % 4][1]);
        } else {
            Append(static_cast<float>(column(random)), static_cast<float>(239 - row(random)));
        }
    }
}

void BM_ExtremeFrame(benchmark::State& state) {
    PlaceExtremePoints(static_cast<int>(state.range(0)));
    ComposeFrames(state);
}

void BM_Clear(benchmark::State& state) {
    const ClientRect client{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        ClearBackBuffer(frameSurface, client);
        benchmark::DoNotOptimize(frameBuffer.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_CurveSampleLiteral)->Arg(3)->Arg(6)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CurveSampleFast)->Arg(3)->Arg(6)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sampler)->Arg(3)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainDoubleDeBoor)->Arg(3)->Arg(9)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Frame)->Arg(16)->Arg(128)->Arg(1024)->Arg(8192)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExtremeFrame)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Clear)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
