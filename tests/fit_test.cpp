// Curves through points: interpolation passes through every data point, open and closed (and a
// closed curve joins itself smoothly), a spline sampled on its own knots comes back, and least
// squares is the normal equations' solution, an interpolant when it has as many points as data.
#include "calculus.h"
#include "fit.h"
#include "fit_scene.h"
#include "solve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

std::vector<SplinePoint> RandomData(std::mt19937& random, int count) {
    std::uniform_real_distribution<double> coordinate(-300.0, 300.0);
    std::vector<SplinePoint> data;
    data.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        data.push_back(SplinePoint{coordinate(random), coordinate(random)});
    }
    return data;
}

double Distance(SplinePoint a, SplinePoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// The least-squares points from the normal equations, made dense and solved here by Gaussian
// elimination with full rows.
std::vector<SplinePoint> NormalEquations(const std::vector<SplinePoint>& data,
                                         const std::vector<double>& u, const Spline& shape) {
    const std::size_t n = shape.points.size();
    std::vector<std::vector<double>> a(n, std::vector<double>(n + 2, 0.0));
    for (std::size_t i = 0; i < data.size(); ++i) {
        const std::vector<double> basis = AllBasisAt(shape, u[i]);
        for (std::size_t r = 0; r < n; ++r) {
            for (std::size_t c = 0; c < n; ++c) {
                a[r][c] += basis[r] * basis[c];
            }
            a[r][n] += basis[r] * data[i].x;
            a[r][n + 1] += basis[r] * data[i].y;
        }
    }
    for (std::size_t c = 0; c < n; ++c) {
        for (std::size_t r = c + 1; r < n; ++r) {
            const double f = a[r][c] / a[c][c];
            for (std::size_t k = c; k < n + 2; ++k) {
                a[r][k] -= f * a[c][k];
            }
        }
    }
    std::vector<SplinePoint> points(n);
    for (std::size_t c = n; c-- > 0;) {
        double x = a[c][n];
        double y = a[c][n + 1];
        for (std::size_t k = c + 1; k < n; ++k) {
            x -= a[c][k] * points[k].x;
            y -= a[c][k] * points[k].y;
        }
        points[c] = SplinePoint{x / a[c][c], y / a[c][c]};
    }
    return points;
}

} // namespace

TEST(Fit, InterpolationPassesThroughEveryPointOpenAndClosed) {
    std::mt19937 random(35u);
    for (const int k : {1, 2, 3, 4, 5, 9}) {
        for (const bool closed : {false, true}) {
            for (const FitSpacing spacing :
                 {FitSpacing::Uniform, FitSpacing::ChordLength, FitSpacing::Centripetal}) {
                // Uniform knots under uneven parameters are allowed but may be ill-conditioned.
                // (Open, uniform knots under uniform parameters grow ill-conditioned with the
                // count.)
                const FitKnots knots = closed && spacing == FitSpacing::Uniform
                                           ? FitKnots::Uniform
                                           : FitKnots::Averaged;
                // Few points (solved whole) and many (banded, the corners added back).
                for (const int count : {k + 1 + (k % 3) * 4, 61}) {
                    const std::vector<SplinePoint> data = RandomData(random, count);
                    const Outcome<Fit> fit =
                        FitThrough(data, k, FitChoice{false, spacing, knots, closed, 0, false});
                    ASSERT_TRUE(fit.ok()) << fit.fault << " k " << k << " closed " << closed;
                    EXPECT_LT(fit.value.largest, 1e-9)
                        << "k " << k << " closed " << closed << " " << count;
                    if (!closed) {
                        continue;
                    }
                    // The join: every derivative up to k - 1 the same from both ends.
                    const SplineDomain d = DomainOf(fit.value.spline);
                    const auto start = DerivativesAt(fit.value.spline, d.first, k - 1).value;
                    const auto end = DerivativesAt(fit.value.spline, d.last, k - 1, true).value;
                    for (int r = 0; r < k; ++r) {
                        EXPECT_LT(Distance(start[r], end[r]),
                                  1e-7 * (1 + std::hypot(start[r].x, start[r].y)))
                            << "derivative " << r << " at degree " << k;
                    }
                }
            }
        }
    }
}

TEST(Fit, ASplineSampledOnItsKnotsComesBack) {
    std::mt19937 random(7u);
    for (const int k : {2, 3, 5}) {
        const std::vector<SplinePoint> data = RandomData(random, 12);
        const std::vector<double> u = FitParameters(data, FitSpacing::ChordLength, false).value;
        const std::vector<double> knots = InterpolationKnots(u, k, FitKnots::Averaged, false).value;
        const Spline original{k, RandomData(random, 12), std::vector<double>(12, 1.0), knots};
        std::vector<SplinePoint> sampled(u.size());
        std::transform(u.begin(), u.end(), sampled.begin(),
                       [&](double t) { return SplineAt(original, t); });
        const Fit fit = Interpolate(sampled, u, knots, k, false).value;
        for (std::size_t j = 0; j < 12; ++j) {
            EXPECT_LT(Distance(fit.spline.points[j], original.points[j]), 1e-8) << "k " << k;
        }
    }
}

TEST(Fit, LeastSquaresSolvesTheNormalEquations) {
    std::mt19937 random(11u);
    for (const int k : {1, 3, 4}) {
        const std::vector<SplinePoint> data = RandomData(random, 20);
        const std::vector<double> u = FitParameters(data, FitSpacing::Centripetal, false).value;
        for (const int controls : {k + 1, 9, 20}) {
            const std::vector<double> knots = ApproximationKnots(u, k, controls).value;
            const Fit fit = Approximate(data, u, knots, k, false).value;
            if (controls == 20) { // as many points as data: an interpolant
                EXPECT_LT(fit.largest, 1e-8) << "k " << k;
                continue;
            }
            const std::vector<SplinePoint> expected = NormalEquations(data, u, fit.spline);
            for (std::size_t j = 0; j < expected.size(); ++j) {
                EXPECT_LT(Distance(fit.spline.points[j], expected[j]), 1e-8)
                    << "k " << k << " " << controls;
            }
            const Fit pinned = Approximate(data, u, knots, k, true).value;
            EXPECT_EQ(Distance(pinned.spline.points.front(), data.front()), 0.0);
            EXPECT_EQ(Distance(pinned.spline.points.back(), data.back()), 0.0);
        }
    }
}

TEST(Fit, BadInputIsRefusedWithItsReason) {
    const std::vector<SplinePoint> repeated = {{0, 0}, {10, 0}, {10, 0}, {20, 5}};
    EXPECT_NE(FitParameters(repeated, FitSpacing::Uniform, false).fault.find("P1 and P2 coincide"),
              std::string::npos);
    const std::vector<SplinePoint> loop = {{0, 0}, {10, 0}, {10, 10}, {0, 0}};
    EXPECT_TRUE(FitParameters(loop, FitSpacing::ChordLength, false).ok());
    EXPECT_NE(FitParameters(loop, FitSpacing::ChordLength, true).fault.find("P3 and P0"),
              std::string::npos);
    const std::vector<SplinePoint> three = {{0, 0}, {10, 0}, {10, 10}};
    const FitChoice interpolate{false, FitSpacing::ChordLength, FitKnots::Averaged, false, 0,
                                false};
    EXPECT_NE(FitThrough(three, 3, interpolate).fault.find("needs at least 4"), std::string::npos);
    EXPECT_NE(FitThrough(three, 1,
                         FitChoice{true, FitSpacing::Uniform, FitKnots::Averaged, false, 5, false})
                  .fault.find("2 to 3 control points"),
              std::string::npos);
    EXPECT_FALSE(
        FitThrough(three, 1,
                   FitChoice{true, FitSpacing::Uniform, FitKnots::Averaged, true, 2, false})
            .ok());
    // Knots that leave a span with no parameter: the system is singular, and said so.
    const std::vector<double> u = {0, 0.1, 0.2, 1};
    EXPECT_NE(Interpolate({{0, 0}, {1, 0}, {2, 1}, {3, 3}}, u, {0, 0, 0.5, 0.6, 1, 1}, 1, false)
                  .fault.find("cannot be solved"),
              std::string::npos);
}

TEST(Fit, ASceneIsFittedAsTheViewChooses) {
    SceneText scene{3, {}};
    for (int j = 0; j < 8; ++j) {
        scene.points.push_back(
            ScenePoint{40.0f * static_cast<float>(j), j % 2 == 0 ? 10.0f : 90.0f});
    }
    EXPECT_EQ(FitOfScene(scene, FitView{}).fault, "no fit chosen");
    // Least squares fits an open curve whatever the ends say, with half the data unless asked.
    FitView view{FitShown::LeastSquares, FitSpacingChoice::Centripetal, false, true, -1, false};
    const Fit half = FitOfScene(scene, view).value;
    EXPECT_EQ(half.spline.points.size(), 4u);
    view.controls = 6;
    EXPECT_EQ(FitOfScene(scene, view).value.spline.points.size(), 6u);
    view.shown = FitShown::Interpolate; // closed: its k last points are its first again
    const Fit closed = FitOfScene(scene, view).value;
    EXPECT_EQ(closed.spline.points.size(), scene.points.size() + 3);
    EXPECT_LT(closed.largest, 1e-9);
    EXPECT_GT(FitSamples(closed, 1.0).size(), scene.points.size());
}
