// The panel's numbers: de Boor's triangle is the editor's own sample, bit for bit; the basis
// values are the B-spline basis (against the Cox-de Boor recursion written here) and the
// weights the triangle gives the control points.
#include "canvas.h"
#include "curve.h"
#include "explain.h"
#include "samples.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

// N_{j,k}(t) on the knots 0, 1, 2, ... by its definition, half-open on the right.
double CoxDeBoor(int j, int k, double t) {
    if (k == 0) {
        return j <= t && t < j + 1 ? 1.0 : 0.0;
    }
    return (t - j) / k * CoxDeBoor(j, k - 1, t) + (j + k + 1 - t) / k * CoxDeBoor(j + 1, k - 1, t);
}

void PlaceRandomPoints(std::mt19937& random, int count) {
    std::uniform_real_distribution<float> coordinate(-500.0f, 900.0f);
    for (int p = 0; p < count; ++p) {
        Append(std::round(coordinate(random)), coordinate(random));
    }
}

class ExplainTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetEditor(nullptr); }
    void TearDown() override { ResetEditor(nullptr); }
};

TEST_F(ExplainTest, TriangleAndSpanEndsAreTheEditorsOwnPoints) {
    std::mt19937 random(7u);
    for (const int count : {2, 5, 10, 37}) {
        Clear();
        PlaceRandomPoints(random, count);
        for (int k = 1; k <= kMaxDegree && k < count; ++k) {
            editor.degree = static_cast<float>(k);
            const std::vector<LiteralSample> samples = CurveSamples();
            const CurveDomain domain = DomainOfCurve();
            ASSERT_TRUE(domain.hasCurve);
            ASSERT_EQ(domain.sampleCount, static_cast<std::int32_t>(samples.size()));
            for (std::size_t n = 0; n < samples.size(); ++n) {
                const float t = samples[n].t;
                ASSERT_EQ(Bits(SampleParameter(static_cast<std::int32_t>(n))), Bits(t)) << n;
                const DeBoorLevels triangle = DeBoorTriangle(t);
                ASSERT_EQ(triangle.levels, k);
                ASSERT_EQ(triangle.firstIndex, std::floor(t) - static_cast<float>(k));
                const CurvePoint top = triangle.point[k][0];
                ASSERT_EQ(Bits(top.x), Bits(samples[n].point.x)) << "k=" << k << " t=" << t;
                ASSERT_EQ(Bits(top.y), Bits(samples[n].point.y)) << "k=" << k << " t=" << t;
                // Level 0 is the control points, (0, 0) past the last.
                for (int j = 0; j <= k; ++j) {
                    const ControlPoint* p = PointAt(triangle.firstIndex + static_cast<float>(j));
                    EXPECT_EQ(triangle.point[0][j].x, p != nullptr ? p->x : 0.0f);
                    EXPECT_EQ(triangle.point[0][j].y, p != nullptr ? p->y : 0.0f);
                }
            }
            // Past the last sample the last one is given.
            EXPECT_EQ(Bits(SampleParameter(domain.sampleCount + 5)), Bits(samples.back().t));

            std::vector<CurvePoint> ends;
            const std::int32_t spans = VisitSpanEnds(
                [](void* context, float, CurvePoint p) {
                    static_cast<std::vector<CurvePoint>*>(context)->push_back(p);
                },
                &ends);
            ASSERT_EQ(spans, count - k + 1);
            for (int j = k; j <= count; ++j) {
                const CurvePoint expected = DeBoorPoint(
                    static_cast<float>(k), static_cast<float>(j), static_cast<float>(j));
                EXPECT_EQ(Bits(ends[j - k].x), Bits(expected.x)) << "k=" << k << " j=" << j;
                EXPECT_EQ(Bits(ends[j - k].y), Bits(expected.y)) << "k=" << k << " j=" << j;
            }
        }
    }
    Clear();
    PlaceRandomPoints(random, 3);
    editor.degree = 9.0f;
    const CurveDomain none = DomainOfCurve();
    EXPECT_FALSE(none.hasCurve);
    EXPECT_EQ(none.pointsNeeded, 7);
    EXPECT_EQ(none.sampleCount, 0);
    EXPECT_EQ(VisitSpanEnds([](void*, float, CurvePoint) {}, nullptr), 0);
}

TEST_F(ExplainTest, BasisIsCoxDeBoorAndTheTrianglesWeights) {
    std::mt19937 random(11u);
    std::uniform_real_distribution<double> fraction(0.0, 1.0);
    PlaceRandomPoints(random, 12);
    for (int k = 1; k <= kMaxDegree; ++k) {
        editor.degree = static_cast<float>(k);
        const int n = editor.pointCount;
        // The domain's ends and random parameters between.
        std::vector<float> parameters = {static_cast<float>(k), static_cast<float>(n)};
        for (int s = 0; s < 40; ++s) {
            parameters.push_back(static_cast<float>(k + fraction(random) * (n - k)));
        }
        for (const float t : parameters) {
            const BasisValues basis = BasisAt(k, t);
            ASSERT_EQ(basis.first, static_cast<int>(std::floor(t)) - k);
            double sum = 0.0;
            double x = 0.0;
            for (int j = 0; j <= k; ++j) {
                EXPECT_NEAR(basis.value[j], CoxDeBoor(basis.first + j, k, t), 1e-12)
                    << "k=" << k << " t=" << t << " j=" << j;
                sum += basis.value[j];
                const ControlPoint* p = PointAt(static_cast<float>(basis.first + j));
                x += basis.value[j] * (p != nullptr ? p->x : 0.0f);
            }
            EXPECT_NEAR(sum, 1.0, 1e-12);
            // The triangle's weights: C(t) in float32 is the basis combination to float32's
            // precision over coordinates of this size.
            EXPECT_NEAR(DeBoorTriangle(t).point[k][0].x, x, 1e-3) << "k=" << k << " t=" << t;
        }
        // At the domain's end the panel lists the last span, as just before it.
        const BasisValues end = BasisInDomain(k, n, n);
        ASSERT_EQ(end.first, n - k - 1);
        for (int j = 0; j <= k; ++j) {
            EXPECT_NEAR(end.value[j], CoxDeBoor(end.first + j, k, n - 1e-9), 1e-8) << "k=" << k;
        }
        std::vector<double> shape((k + 1) * 8 + 1);
        SampleFirstBasis(k, 8, shape.data());
        for (std::size_t s = 0; s < shape.size(); ++s) {
            EXPECT_NEAR(shape[s], CoxDeBoor(0, k, static_cast<double>(s) / 8), 1e-12);
        }
    }
}

} // namespace
