// The general spline against the Cox-de Boor recursion (spline_reference.h), on random valid knot
// vectors with multiplicities up to k + 1, degrees 1 to 9, with and without weights; the
// editor's own curve on its knots; the presets; every kind of invalid input refused.
#include "canvas.h"
#include "curve.h"
#include "knots.h"
#include "scene.h"
#include "spline.h"
#include "spline_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

TEST(Spline, CurveTriangleAndBasisAreCoxDeBoors) {
    std::mt19937 random(7u);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int k = 1; k <= 9; ++k) {
        for (const bool weighted : {false, true}) {
            const Spline s =
                RandomSpline(random, k, k + 1 + static_cast<int>(unit(random) * 8), weighted);
            const SplineDomain domain = DomainOf(s);
            const int n = static_cast<int>(s.points.size());
            std::vector<double> ts = {domain.first};
            for (int r = 0; r < 30; ++r) {
                ts.push_back(domain.first + unit(random) * (domain.last - domain.first));
            }
            for (int j = k; j < n; ++j) {
                if (s.knots[j] < domain.last) {
                    ts.push_back(s.knots[j]); // at each knot, from the right
                }
            }
            for (const double t : ts) {
                double sum = 0.0;
                double x = 0.0;
                double y = 0.0;
                for (int j = 0; j < n; ++j) {
                    const double wn = s.weights[j] * CoxDeBoor(s.knots, j, k, t);
                    sum += wn;
                    x += wn * s.points[j].x;
                    y += wn * s.points[j].y;
                }
                const SplinePoint c = SplineAt(s, t);
                EXPECT_NEAR(c.x, x / sum, 1e-12) << "k=" << k << " t=" << t;
                EXPECT_NEAR(c.y, y / sum, 1e-12) << "k=" << k << " t=" << t;
                const SplineTriangle triangle = TriangleOf(s, t);
                ASSERT_EQ(triangle.levels.size(), static_cast<std::size_t>(k) + 1);
                EXPECT_DOUBLE_EQ(triangle.levels[0][0].x, s.points[triangle.first].x);
                const std::vector<double> all = AllBasisAt(s, t);
                double total = 0.0;
                for (int j = 0; j < n; ++j) {
                    EXPECT_NEAR(all[j], s.weights[j] * CoxDeBoor(s.knots, j, k, t) / sum, 1e-12);
                    total += all[j];
                }
                EXPECT_NEAR(total, 1.0, 1e-12);
            }
            // Outside the domain the functions are the plain ones, summing to less than 1.
            const double before = (s.knots[0] + domain.first) / 2.0;
            if (before > s.knots[0] && before < domain.first && !weighted) {
                const std::vector<double> all = AllBasisAt(s, before);
                for (int j = 0; j < n; ++j) {
                    EXPECT_NEAR(all[j], CoxDeBoor(s.knots, j, k, before), 1e-12) << "k=" << k;
                }
            }
        }
    }
}

TEST(Spline, OnTheEditorsKnotsItIsTheEditorsCurve) {
    ResetEditor(nullptr);
    std::mt19937 random(3u);
    std::uniform_int_distribution<int> coordinate(0, 600);
    Spline s{0, {}, {}, {}};
    for (int j = 0; j < 12; ++j) {
        const float x = static_cast<float>(coordinate(random));
        const float y = static_cast<float>(coordinate(random) - 240);
        Append(x, y);
        s.points.push_back(SplinePoint{x, y});
        s.weights.push_back(1.0);
    }
    for (int k = 1; k <= 9; ++k) {
        s.degree = k;
        s.knots = UniformKnots(12, k);
        for (float t = static_cast<float>(k); t < 12.0f; t += 0.37f) {
            editor.degree = static_cast<float>(k);
            const CurvePoint editorPoint = DeBoorTriangle(t).point[k][0];
            const SplinePoint c = SplineAt(s, t);
            EXPECT_NEAR(c.x, editorPoint.x, 1e-3) << "k=" << k << " t=" << t;
            EXPECT_NEAR(c.y, editorPoint.y, 1e-3) << "k=" << k << " t=" << t;
        }
    }
    Clear();
}

TEST(Spline, PresetsAndTheirEnds) {
    const std::vector<SplinePoint> points = {{0, 0}, {10, 40}, {50, 50}, {80, 10}, {60, -30}};
    const std::vector<double> ones(points.size(), 1.0);
    const Spline clamped{3, points, ones, ClampedKnots(5, 3)};
    ASSERT_EQ(SplineFault(clamped), "");
    EXPECT_EQ(clamped.knots, (std::vector<double>{0, 0, 0, 0, 1, 2, 2, 2, 2}));
    const std::vector<SplineSample> ends = KnotPoints(clamped);
    EXPECT_NEAR(ends.front().point.x, 0.0, 1e-12);
    EXPECT_NEAR(ends.back().point.x, 60.0, 1e-12);
    EXPECT_NEAR(ends.back().point.y, -30.0, 1e-12);
    const Spline closed = ClosedSpline(points, ones, 3);
    ASSERT_EQ(SplineFault(closed), "");
    const SplinePoint start = SplineAt(closed, DomainOf(closed).first);
    const SplinePoint end = SplineAt(closed, DomainOf(closed).last);
    EXPECT_NEAR(start.x, end.x, 1e-12);
    EXPECT_NEAR(start.y, end.y, 1e-12);
    // A knot k + 1 times inside the domain: the drawing breaks there.
    Spline broken{1, {{0, 0}, {10, 0}, {10, 10}, {20, 10}}, {1, 1, 1, 1}, {0, 0, 1, 1, 2, 2}};
    ASSERT_EQ(SplineFault(broken), "");
    const std::vector<SplineSample> samples = SampleSpline(broken, 0.1);
    EXPECT_EQ(std::count_if(samples.begin(), samples.end(),
                            [](const SplineSample& s) { return s.breakBefore; }),
              1);
    // A custom vector follows the points: extended in unit steps, cut at its end, and never a
    // knot more than k + 1 times.
    EXPECT_EQ(FitKnots({0, 0, 0, 0, 1, 2, 2, 2, 2}, 6, 3),
              (std::vector<double>{0, 0, 0, 0, 1, 2, 2, 2, 2, 3}));
    EXPECT_EQ(FitKnots({0, 0, 0, 0, 1, 2, 2, 2, 2}, 4, 2),
              (std::vector<double>{0, 0, 0, 1, 2, 2, 2}));
}

TEST(Spline, InvalidInputIsRefusedWithTheReason) {
    const std::vector<SplinePoint> points = {{0, 0}, {1, 1}, {2, 0}, {3, 1}};
    const struct {
        Spline spline;
        const char* says;
    } faults[] = {
        {{3, points, {1, 1, 1, 1}, {0, 1, 2, 3, 4, 5, 6}}, "there must be 8 knots"},
        {{3, points, {1, 1, 1, 1}, {0, 1, 2, 3, 5, 4, 6, 7}}, "decrease at knot 5"},
        {{2, points, {1, 1, 1, 1}, {0, 0, 0, 0, 1, 2, 3}}, "more than k + 1 = 3 times"},
        {{3, points, {1, 0, 1, 1}, {0, 1, 2, 3, 4, 5, 6, 7}}, "weight of P1"},
        {{3, points, {1, NAN, 1, 1}, {0, 1, 2, 3, 4, 5, 6, 7}}, "weight of P1"},
        {{3, points, {1, 1, 1}, {0, 1, 2, 3, 4, 5, 6, 7}}, "one weight per point"},
        {{3, points, {1, 1, 1, 1}, {0, 1, 2, 5, 5, 6, 7, 8}}, "domain"},
        {{4, points, {1, 1, 1, 1}, {}}, "needs 5 points"},
    };
    for (const auto& fault : faults) {
        EXPECT_NE(SplineFault(fault.spline).find(fault.says), std::string::npos)
            << SplineFault(fault.spline);
    }
    std::vector<double> knots = {9};
    EXPECT_EQ(ParseKnots("0, 0 1.5 2e1", knots), "");
    EXPECT_EQ(knots, (std::vector<double>{0, 0, 1.5, 20}));
    for (const char* bad : {"1 x 2", "1 2.", "0x1", "1e400", "", "1 -", "inf"}) {
        EXPECT_NE(ParseKnots(bad, knots), "") << bad;
        EXPECT_EQ(knots, (std::vector<double>{0, 0, 1.5, 20})) << bad;
    }
    EXPECT_EQ(FormatKnots({0, 0.1, 2.5, 1e-7, 10}), "0 0.1 2.5 1e-07 10");
}

} // namespace
