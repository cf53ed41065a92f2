// The fast bottom-up evaluation must give, bit for bit, what de Boor's recursion evaluated
// exactly as written gives.
#include "canvas.h"
#include "curve.h"
#include "literal_curve.h"
#include "samples.h"
#include "triangle_lanes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

void ExpectSameBits(CurvePoint fast, CurvePoint literal, const char* what, float r, float i,
                    float t) {
    EXPECT_EQ(Bits(fast.x), Bits(literal.x)) << what << " x at r=" << r << " i=" << i << " t=" << t;
    EXPECT_EQ(Bits(fast.y), Bits(literal.y)) << what << " y at r=" << r << " i=" << i << " t=" << t;
}

// Point sets that stress the float steps: wide ranges, negatives, duplicates.
void AppendRandomPoints(std::mt19937& random, int count) {
    std::uniform_real_distribution<float> wide(-70000.0f, 70000.0f);
    std::uniform_int_distribution<int> whole(-300, 900);
    std::uniform_int_distribution<int> kind(0, 3);
    for (int p = 0; p < count; ++p) {
        switch (kind(random)) {
        case 0:
            Append(wide(random), wide(random));
            break;
        case 1:
            Append(static_cast<float>(whole(random)), static_cast<float>(whole(random)));
            break;
        case 2:
            if (editor.points.head != nullptr) {
                Append(editor.points.head->x, editor.points.head->y); // coincident
                break;
            }
            [[fallthrough]];
        default:
            Append(static_cast<float>(whole(random)) + 0.37f,
                   65535.0f - static_cast<float>(whole(random)));
            break;
        }
    }
}

class FastVersusLiteral : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { ResetEditor(nullptr); }
    void TearDown() override { ResetEditor(nullptr); }
};

TEST_P(FastVersusLiteral, DeBoorPointAgreesForAnyLevelIndexAndParameter) {
    const int degree = GetParam();
    std::mt19937 random(1234u + static_cast<unsigned>(degree));
    // Fewer literal evaluations at high degree: each costs 4^degree list walks.
    const int calls = degree <= 5 ? 200 : (degree <= 7 ? 40 : 8);
    for (int set = 0; set < 3; ++set) {
        ResetEditor(nullptr);
        editor.degree = static_cast<float>(degree);
        const int count = degree + 1 + set * 4;
        AppendRandomPoints(random, count);
        std::uniform_real_distribution<float> parameter(-2.0f, static_cast<float>(count) + 2.0f);
        std::uniform_int_distribution<int> level(0, degree);
        for (int call = 0; call < calls; ++call) {
            const float t = parameter(random);
            const float r = static_cast<float>(call % 2 == 0 ? degree : level(random));
            // Mostly the curve's own i = floor(t), sometimes any whole index nearby, and now and
            // then a fractional one, which the list reads as the next whole index.
            float i =
                call % 3 == 0 ? std::floor(t) + static_cast<float>(call % 5) - 2.0f : std::floor(t);
            if (call % 7 == 1) {
                i += 0.25f;
            }
            ExpectSameBits(DeBoorPoint(r, i, t), LiteralDeBoorPoint(r, i, t), "DeBoorPoint", r, i,
                           t);
        }
    }
}

TEST_P(FastVersusLiteral, WholeSampleChainAgrees) {
    const int degree = GetParam();
    std::mt19937 random(99u + static_cast<unsigned>(degree));
    const int extra = degree <= 6 ? 12 : (degree <= 8 ? 3 : 1);
    for (int set = 0; set < 2; ++set) {
        ResetEditor(nullptr);
        editor.degree = static_cast<float>(degree);
        AppendRandomPoints(random, degree + 1 + extra + set);

        const std::vector<LiteralSample> literal = LiteralCurveSamples();
        const std::vector<LiteralSample> fast = CurveSamples();

        ASSERT_EQ(fast.size(), literal.size());
        for (std::size_t s = 0; s < fast.size(); ++s) {
            ASSERT_EQ(Bits(fast[s].t), Bits(literal[s].t)) << "sample " << s;
            ExpectSameBits(fast[s].point, literal[s].point, "sample", editor.degree,
                           std::floor(fast[s].t), fast[s].t);
        }
    }
}

TEST_P(FastVersusLiteral, DrawnCurvesAreIdentical) {
    const int degree = GetParam();
    std::mt19937 random(7u + static_cast<unsigned>(degree));
    Canvas fastCanvas = MakeCanvas(320, 260);
    Canvas literalCanvas = MakeCanvas(320, 260);
    editor.degree = static_cast<float>(degree);
    std::uniform_int_distribution<int> column(-20, 340);
    std::uniform_int_distribution<int> row(-30, 260);
    for (int p = 0; p < degree + 2; ++p) {
        Append(static_cast<float>(column(random)), static_cast<float>(239 - row(random)));
    }
    DrawCurve(SurfaceOf(fastCanvas));
    LiteralDrawCurve(SurfaceOf(literalCanvas));
    EXPECT_GT(CountNotWhite(fastCanvas), 0);
    EXPECT_EQ(fastCanvas.pixels, literalCanvas.pixels);
}

// Where the processor has a wider vector unit, the sampler runs the lanes' copy built for it:
// every lane must match the baseline copy's bits, for any points and parameters.
TEST_P(FastVersusLiteral, WideLanesAreTheBaselineLanes) {
    const TriangleLanesKernel wide = WideTriangleLanes();
    if (wide == nullptr) {
        GTEST_SKIP() << "this build or processor has no wider copy of the lanes";
    }
    const int degree = GetParam();
    std::mt19937 random(5u + static_cast<unsigned>(degree));
    std::uniform_real_distribution<float> coordinate(-70000.0f, 70000.0f);
    std::uniform_int_distribution<int> index(degree, 1 << 20);
    std::uniform_real_distribution<float> fraction(0.0f, 1.0f);
    for (int batch = 0; batch < 200; ++batch) {
        LaneWindows baseline;
        for (int lane = 0; lane < kLanes; ++lane) {
            for (int m = 0; m <= degree; ++m) {
                baseline.x[m][lane] = coordinate(random);
                const float y = coordinate(random);
                baseline.y[m][lane] = batch % 3 == 0 ? std::round(y) : (batch % 3 == 1 ? y : 0.0f);
            }
            baseline.i[lane] = static_cast<float>(index(random));
            baseline.t[lane] = baseline.i[lane] + fraction(random);
        }
        LaneWindows widened = baseline;
        TriangleLanesWhole(baseline, degree);
        wide(widened, degree);
        for (int lane = 0; lane < kLanes; ++lane) {
            ASSERT_EQ(Bits(widened.x[0][lane]), Bits(baseline.x[0][lane])) << "lane " << lane;
            ASSERT_EQ(Bits(widened.y[0][lane]), Bits(baseline.y[0][lane])) << "lane " << lane;
        }
    }
}

// The operating system's word on the processor, independent of the compiler's check.
bool ProcessorHasWideLanes() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) == 0) {
            std::istringstream words(line);
            const std::set<std::string> flags{std::istream_iterator<std::string>(words), {}};
            return flags.count("avx512f") != 0 && flags.count("avx512vl") != 0 &&
                   flags.count("avx512dq") != 0;
        }
    }
    return false;
}

TEST(WideLanes, ChosenExactlyWhereBuiltAndTheProcessorHasThem) {
    const bool built = TAVRIMO_WIDE_LANES_BUILT != 0;
    EXPECT_EQ(WideTriangleLanes() != nullptr, built && ProcessorHasWideLanes());
}

INSTANTIATE_TEST_SUITE_P(EveryDegree, FastVersusLiteral, ::testing::Range(1, 10));

} // namespace
