// The general spline against the Cox-de Boor recursion (spline_reference.h), on random valid knot
// vectors with multiplicities up to k + 1, degrees 1 to 9, with and without weights; the
// editor's own curve on its knots; the presets; every kind of invalid input refused.
#include "canvas.h"
#include "curve.h"
#include "explore.h"
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
            // At the domain's very end: the rational values, as just before it.
            const std::vector<double> atEnd = AllBasisAt(s, domain.last);
            const double before = domain.last - 1e-9 * (domain.last - domain.first);
            double weighedSum = 0.0;
            for (int j = 0; j < n; ++j) {
                weighedSum += s.weights[j] * CoxDeBoor(s.knots, j, k, before);
            }
            for (int j = 0; j < n; ++j) {
                EXPECT_NEAR(atEnd[j], s.weights[j] * CoxDeBoor(s.knots, j, k, before) / weighedSum,
                            1e-6)
                    << "k=" << k << " j=" << j;
            }
            // Outside the domain the functions are the plain ones, summing to less than 1.
            const double outside = (s.knots[0] + domain.first) / 2.0;
            if (outside > s.knots[0] && outside < domain.first && !weighted) {
                const std::vector<double> all = AllBasisAt(s, outside);
                for (int j = 0; j < n; ++j) {
                    EXPECT_NEAR(all[j], CoxDeBoor(s.knots, j, k, outside), 1e-12) << "k=" << k;
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
    // The stretch P0 moves on a closed curve: where its own basis function is and where its
    // wrapped copy's is, at the domain's end.
    const Spline looped = ClosedSpline(points, ones, 3);
    const std::vector<SplinePoint> stretch = PointStretch(looped, 5, 0, 0.5).value;
    for (const double t : {3.5, 7.5}) {
        const SplinePoint c = SplineAt(looped, t);
        EXPECT_TRUE(std::any_of(stretch.begin(), stretch.end(),
                                [&](SplinePoint p) { return p.x == c.x && p.y == c.y; }))
            << "t = " << t;
    }
    EXPECT_FALSE(PointStretch(looped, 5, 5, 0.5).ok());
    // Closed, plain and weighted (the wrapped points keep their weights): the curve meets itself.
    for (const std::vector<double>& weights : {ones, std::vector<double>{3, 0.5, 2, 1, 1}}) {
        const Spline closed = ClosedSpline(points, weights, 3);
        ASSERT_EQ(SplineFault(closed), "");
        const SplinePoint start = SplineAt(closed, DomainOf(closed).first);
        const SplinePoint end = SplineAt(closed, DomainOf(closed).last);
        EXPECT_NEAR(start.x, end.x, 1e-12);
        EXPECT_NEAR(start.y, end.y, 1e-12);
    }
    // A knot k + 1 times inside the domain: the drawing breaks there.
    Spline broken{1, {{0, 0}, {10, 0}, {10, 10}, {20, 10}}, {1, 1, 1, 1}, {0, 0, 1, 1, 2, 2}};
    ASSERT_EQ(SplineFault(broken), "");
    EXPECT_EQ(KnotPoints(broken).size(), 3u) << "one point a distinct knot";
    const std::vector<SplineSample> samples = SampleSpline(broken, 0.1).value;
    EXPECT_EQ(std::count_if(samples.begin(), samples.end(),
                            [](const SplineSample& s) { return s.breakBefore; }),
              1);
    // A custom vector follows the points: extended in unit steps, cut at its end, and never a
    // knot more than k + 1 times.
    EXPECT_EQ(FitKnots({0, 0, 0, 0, 1, 2, 2, 2, 2}, 6, 3).value,
              (std::vector<double>{0, 0, 0, 0, 1, 2, 2, 2, 2, 3}));
    EXPECT_EQ(FitKnots({0, 0, 0, 0, 1, 2, 2, 2, 2}, 4, 2).value,
              (std::vector<double>{0, 0, 0, 1, 2, 2, 2}));
    EXPECT_NE(FitKnots({0, 1, 1, 1, 5, 6}, 3, 2).fault.find("domain"), std::string::npos);
}

// The drawn samples lie within the tolerance of the curve, and no finer than that needs: a
// straight span takes the four pieces every span gets, a wiggle of degree 5 as many as it needs.
TEST(Spline, SamplesFollowTheCurveToTheTolerance) {
    const Spline line{1, {{0, 0}, {100, 0}, {200, 0}}, {1, 1, 1}, {0, 1, 2, 3, 4}};
    EXPECT_EQ(SampleSpline(line, 0.5).value.size(), 9u); // 2 spans of 4 pieces
    std::vector<SplinePoint> zigzag;
    zigzag.reserve(9);
    for (int j = 0; j < 9; ++j) {
        zigzag.push_back(SplinePoint{j * 60.0, j % 2 == 0 ? -120.0 : 120.0});
    }
    const Spline wiggle{5, zigzag, std::vector<double>(9, 1.0), ClampedKnots(9, 5)};
    const std::vector<SplineSample> drawn = SampleSpline(wiggle, 0.5).value;
    double off = 0.0;
    for (std::size_t j = 1; j < drawn.size(); ++j) {
        const SplineSample& a = drawn[j - 1];
        const SplineSample& b = drawn[j];
        for (int q = 1; q < 8; ++q) {
            const SplinePoint c = SplineAt(wiggle, a.t + (b.t - a.t) * q / 8);
            const double dx = b.point.x - a.point.x;
            const double dy = b.point.y - a.point.y;
            off = std::max(off, std::fabs(dx * (c.y - a.point.y) - dy * (c.x - a.point.x)) /
                                    std::hypot(dx, dy));
        }
    }
    EXPECT_LT(off, 0.6);
    EXPECT_LT(drawn.size(), 80u) << drawn.size() << " samples: more than the tolerance needs";
    EXPECT_FALSE(SampleSpline(wiggle, 0.0).ok());
    EXPECT_FALSE(SampleSpan(wiggle, 9, 0.5).ok());
}

// The knots' edits on 0, 1, ..., 10 (7 points, cubic) as the panel shows them: knot 5 raised
// stays inside the domain (a corner at k copies), cannot break the curve with 7 points, and
// lowered gives a distinct knot back between its neighbours.
TEST(Spline, KnotsMovedAndTheirMultiplicityChanged) {
    const std::vector<double> uniform = UniformKnots(7, 3);
    const Outcome<std::vector<double>> once = ChangeMultiplicity(uniform, 5, 1, 7, 3);
    ASSERT_TRUE(once.ok()) << once.fault;
    EXPECT_EQ(once.value, (std::vector<double>{0, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9}));
    const Outcome<std::vector<double>> corner = ChangeMultiplicity(once.value, 5, 1, 7, 3);
    ASSERT_TRUE(corner.ok()) << corner.fault;
    EXPECT_EQ(corner.value, (std::vector<double>{1, 2, 3, 4, 5, 5, 5, 6, 7, 8, 9}));
    EXPECT_EQ(
        ChangeMultiplicity(corner.value, 6, 1, 7, 3).fault,
        "to stand 4 times inside the domain, a knot of degree 3 needs 8 points (there are 7)");
    const Outcome<std::vector<double>> lower = ChangeMultiplicity(corner.value, 4, -1, 7, 3);
    EXPECT_EQ(lower.value, (std::vector<double>{1, 2, 3, 4, 5, 5, 5.5, 6, 7, 8, 9}));
    EXPECT_EQ(ChangeMultiplicity(uniform, 5, -1, 7, 3).fault, "the knot 5 stands once");
    // With 8 points, k + 1 copies break the curve in the middle of its domain.
    std::vector<double> knots = UniformKnots(8, 3);
    for (int step = 0; step < 3; ++step) {
        knots = ChangeMultiplicity(knots, 6, 1, 8, 3).value;
    }
    const Spline broken{3, std::vector<SplinePoint>(8, SplinePoint{1, 2}),
                        std::vector<double>(8, 1.0), knots};
    ASSERT_EQ(SplineFault(broken), "");
    EXPECT_EQ(std::count(knots.begin(), knots.end(), 6.0), 4);
    EXPECT_LT(DomainOf(broken).first, 6.0);
    EXPECT_GT(DomainOf(broken).last, 6.0);
    // The domain's ends: raised, the start stays the start (the vector clamps); lowered, the
    // domain stays.
    const std::vector<double> start = ChangeMultiplicity(uniform, 3, 1, 7, 3).value;
    EXPECT_EQ(start, (std::vector<double>{1, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10}));
    const std::vector<double> clamped = ClampedKnots(7, 3);
    EXPECT_EQ(ChangeMultiplicity(clamped, 0, -1, 7, 3).value,
              (std::vector<double>{-1, 0, 0, 0, 1, 2, 3, 4, 4, 4, 4}));
    EXPECT_EQ(ChangeMultiplicity(clamped, 10, -1, 7, 3).value,
              (std::vector<double>{0, 0, 0, 0, 1, 2, 3, 4, 4, 4, 5}));
    // A knot moves with its copies, between its neighbours.
    EXPECT_EQ(MoveKnot(once.value, 6, 4.5, 7, 3).value,
              (std::vector<double>{0, 1, 2, 3, 4, 4.5, 4.5, 6, 7, 8, 9}));
    EXPECT_EQ(MoveKnot(once.value, 5, -20, 7, 3).value,
              (std::vector<double>{0, 1, 2, 3, 4, 4, 4, 6, 7, 8, 9}));
    EXPECT_FALSE(MoveKnot(once.value, 11, 1, 7, 3).ok());
    EXPECT_FALSE(MoveKnot(once.value, 2, NAN, 7, 3).ok());
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
        {{3, {{0, 0}, {1, NAN}, {2, 0}, {3, 1}}, {1, 1, 1, 1}, UniformKnots(4, 3)}, "P1 is not"},
    };
    for (const auto& fault : faults) {
        EXPECT_NE(SplineFault(fault.spline).find(fault.says), std::string::npos)
            << SplineFault(fault.spline);
    }
    EXPECT_EQ(ParseKnots("0, 0 1.5 2e1 1e+20").value, (std::vector<double>{0, 0, 1.5, 20, 1e20}));
    for (const char* bad : {"1 x 2", "1 2.", "0x1", "1e400", "", "1 -", "inf"}) {
        EXPECT_FALSE(ParseKnots(bad).ok()) << bad;
    }
    EXPECT_EQ(FormatKnots({0, 0.1, 2.5, 1e-7, 10}), "0 0.1 2.5 1e-07 10");
}

} // namespace
