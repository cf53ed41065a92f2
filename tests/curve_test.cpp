#include "canvas.h"
#include "curve.h"
#include "samples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class CurveTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetEditor(nullptr); }
    void TearDown() override { ResetEditor(nullptr); }

    // Points spread along a line, enough for any count.
    static void AppendPoints(int count) {
        for (int p = 0; p < count; ++p) {
            Append(static_cast<float>(10 * p), static_cast<float>(p % 3));
        }
    }

    static std::vector<float> SampleTs() {
        const std::vector<LiteralSample> samples = CurveSamples();
        std::vector<float> ts(samples.size());
        std::transform(samples.begin(), samples.end(), ts.begin(),
                       [](const LiteralSample& sample) { return sample.t; });
        return ts;
    }
};

TEST_F(CurveTest, SampleCountUsesTheSumBeforeRounding) {
    struct Case {
        float degree;
        int points;
        std::size_t samples;
    };
    // 10 (N - k) + 1 when the last sample lands just below N, one fewer when a step short.
    for (const Case& c :
         {Case{8, 38, 300}, Case{3, 4, 11}, Case{1, 2, 10}, Case{4, 9, 51}, Case{1, 3, 21}}) {
        ResetEditor(nullptr);
        editor.degree = c.degree;
        AppendPoints(c.points);
        const std::vector<float> ts = SampleTs();
        EXPECT_EQ(ts.size(), c.samples) << "degree " << c.degree << ", " << c.points << " points";
        ASSERT_FALSE(ts.empty());
        EXPECT_EQ(ts.front(), c.degree);
    }
}

TEST_F(CurveTest, SamplingEndsWhereFloat32StopsAdvancing) {
    bool done = false;
    EXPECT_EQ(NextSampleParameter(2097151.75f, 3e6f, done), 2097151.875f);
    EXPECT_FALSE(done);
    EXPECT_EQ(NextSampleParameter(2097152.0f, 3e6f, done), 2097152.0f);
    EXPECT_TRUE(done);
}

TEST_F(CurveTest, LastSampleLandsJustBelowOrExactlyOnTheEnd) {
    editor.degree = 3;
    AppendPoints(4);
    std::vector<float> ts = SampleTs();
    EXPECT_LT(ts.back(), 4.0f);
    EXPECT_NEAR(ts.back(), 3.999999f, 2e-6f);

    ResetEditor(nullptr);
    editor.degree = 1;
    AppendPoints(2);
    ts = SampleTs();
    EXPECT_NEAR(ts.back(), 1.9f, 1e-5f);

    ResetEditor(nullptr);
    editor.degree = 4;
    AppendPoints(9);
    ts = SampleTs();
    EXPECT_EQ(ts.back(), 9.0f);
}

TEST_F(CurveTest, TooFewPointsGiveNoCurve) {
    editor.degree = 3;
    AppendPoints(3);
    EXPECT_EQ(SampleCurve([](void*, float, CurvePoint) { ADD_FAILURE(); }, nullptr), 0);
    Append(50, 50);
    EXPECT_EQ(SampleCurve([](void*, float, CurvePoint) {}, nullptr), 11);
    editor.degree = 4; // raising the degree past pointCount - 1 removes the curve
    EXPECT_EQ(SampleCurve([](void*, float, CurvePoint) {}, nullptr), 0);
}

TEST_F(CurveTest, LevelZeroIsTheListOrTheOrigin) {
    Append(3, 4);
    Append(5, 6);
    Append(7, 8);
    CurvePoint p = DeBoorPoint(0, 5, 1.5f);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    p = DeBoorPoint(0, 0, 1.5f);
    EXPECT_EQ(p.x, 3.0f);
    EXPECT_EQ(p.y, 4.0f);
    p = DeBoorPoint(0, -2, 1.5f); // at or below index 0 the first point
    EXPECT_EQ(p.x, 3.0f);
    p = DeBoorPoint(0, 3, 1.5f);
    EXPECT_EQ(p.x, 0.0f);
}

TEST_F(CurveTest, QuadraticOverARightAngle) {
    editor.degree = 2;
    Append(0, 0);
    Append(10, 0);
    Append(10, 10);
    CurvePoint start = DeBoorPoint(2, 2, 2);
    EXPECT_EQ(start.x, 5.0f);
    EXPECT_EQ(start.y, 0.0f);
    CurvePoint middle = DeBoorPoint(2, 2, 2.5f);
    EXPECT_EQ(middle.x, 8.75f);
    EXPECT_EQ(middle.y, 1.25f);

    const std::vector<LiteralSample> samples = CurveSamples();
    ASSERT_EQ(samples.size(), 11u);
    EXPECT_NEAR(samples.back().point.x, 10.0f, 1e-4f);
    EXPECT_NEAR(samples.back().point.y, 5.0f, 1e-4f);
}

TEST_F(CurveTest, CubicStartsAtTheWeightedAverageOfTheFirstThreePoints) {
    editor.degree = 3;
    Append(0, 0);
    Append(60, 30);
    Append(120, 0);
    Append(180, 90);
    const CurvePoint start = DeBoorPoint(3, 3, 3);
    EXPECT_NEAR(start.x, (0 + 4 * 60 + 120) / 6.0f, 1e-4f);
    EXPECT_NEAR(start.y, (0 + 4 * 30 + 0) / 6.0f, 1e-4f);
}

TEST_F(CurveTest, DegreeOneFollowsThePolygonToJustShortOfTheLastPoint) {
    editor.degree = 1;
    Append(0, 0);
    Append(100, 0);
    Append(100, 50);
    const std::vector<LiteralSample> samples = CurveSamples();
    ASSERT_EQ(samples.size(), 21u);
    EXPECT_EQ(samples.front().point.x, 0.0f);
    EXPECT_NEAR(samples[10].point.x, 100.0f, 1e-3f); // t near 2, the corner
    EXPECT_NEAR(samples[10].point.y, 0.0f, 1e-3f);
    EXPECT_NEAR(samples.back().point.x, 100.0f, 1e-3f);
    EXPECT_NEAR(samples.back().point.y, 50.0f, 0.01f); // t ~ 2.9999993
    EXPECT_LT(samples.back().point.y, 50.0f);
}

TEST_F(CurveTest, DrawCurveStartsWithTheSinglePixelOfTheFirstSample) {
    Canvas canvas = MakeCanvas(60, 260);
    editor.degree = 1;
    Append(10, 10);
    Append(50, 10);
    DrawCurve(SurfaceOf(canvas));
    // Samples at x = 10, 14, ..., 46: one row of blue from column 10 to 46.
    const std::vector<std::string> blue = PixelsOf(canvas, kBlue);
    ASSERT_FALSE(blue.empty());
    EXPECT_EQ(blue.front(), "10,229");
    EXPECT_EQ(blue.back(), "46,229");
    EXPECT_EQ(blue.size(), 37u);
    EXPECT_EQ(CountNotWhite(canvas), 37);
}

} // namespace
