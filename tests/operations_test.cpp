// The operations against independent versions written here: Boehm's insertion formula, de
// Casteljau on each Bezier piece, the curve itself at many t (the refined, split and raised
// curves must be it), the basis's derivatives by the recursion (spline_reference.h), and the
// length by composite Gauss-Legendre quadrature; degrees 1 to 9 on uniform, clamped and custom
// knots, with and without weights.
#include "calculus.h"
#include "knots.h"
#include "refine.h"
#include "spline_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

std::vector<Spline> EveryKind(std::mt19937& random, int k, bool weighted) {
    const int n = k + 2 + static_cast<int>(random() % 6);
    Spline custom = RandomSpline(random, k, n, weighted, k);
    Spline uniform = custom;
    uniform.knots = UniformKnots(n, k);
    Spline clamped = custom;
    clamped.knots = ClampedKnots(n, k);
    return {uniform, clamped, custom};
}

std::vector<double> Parameters(const Spline& s, int count) {
    const SplineDomain d = DomainOf(s);
    std::vector<double> t;
    for (int j = 0; j <= count; ++j) {
        t.push_back(d.first + (d.last - d.first) * j / count);
    }
    return t;
}

void ExpectSameCurve(const Spline& a, const Spline& b, double from, double to) {
    ASSERT_EQ(SplineFault(b), "");
    for (int j = 0; j <= 40; ++j) {
        const double t = from + (to - from) * j / 40;
        const SplinePoint p = SplineAt(a, t);
        const SplinePoint q = SplineAt(b, t);
        ASSERT_NEAR(p.x, q.x, 1e-9) << "t = " << t;
        ASSERT_NEAR(p.y, q.y, 1e-9) << "t = " << t;
    }
}

// Boehm: Q_j = a_j P_j + (1 - a_j) P_(j-1) in homogeneous coordinates, a_j = 1 up to r - k,
// (t - u_j) / (u_(j+k) - u_j) up to r, then 0, where u_r <= t < u_(r+1).
Spline Boehm(const Spline& s, double t) {
    const int k = s.degree;
    int r = k;
    while (r + 1 < static_cast<int>(s.points.size()) && s.knots[r + 1] <= t) {
        ++r;
    }
    Spline q{k, {}, {}, s.knots};
    q.knots.insert(std::upper_bound(q.knots.begin(), q.knots.end(), t), t);
    for (int j = 0; j <= static_cast<int>(s.points.size()); ++j) {
        const double a = j <= r - k ? 1.0
                         : j > r    ? 0.0
                                    : (t - s.knots[j]) / (s.knots[j + k] - s.knots[j]);
        const auto at = [&](int i, double share, int axis) {
            if (share == 0.0) {
                return 0.0;
            }
            const double w = s.weights[i];
            return share * (axis == 0 ? s.points[i].x * w : axis == 1 ? s.points[i].y * w : w);
        };
        double h[3];
        for (int axis = 0; axis < 3; ++axis) {
            h[axis] = at(j, a, axis) + at(j - 1, 1.0 - a, axis);
        }
        q.points.push_back(SplinePoint{h[0] / h[2], h[1] / h[2]});
        q.weights.push_back(h[2]);
    }
    return q;
}

TEST(Refine, InsertionSplittingPiecesAndRaisingKeepTheCurve) {
    std::mt19937 random(11u);
    for (int k = 1; k <= 9; ++k) {
        for (const bool weighted : {false, true}) {
            for (const Spline& s : EveryKind(random, k, weighted)) {
                const SplineDomain d = DomainOf(s);
                const double t =
                    d.first + (d.last - d.first) *
                                  (0.1 + 0.8 * static_cast<double>(random() % 1000) / 1000.0);
                // Insertion, k times over: each step is Boehm's, and the last is a split.
                Spline refined = s;
                while (InsertFault(refined, t).empty()) {
                    const Spline boehm = Boehm(refined, t);
                    refined = InsertKnot(refined, t);
                    ASSERT_EQ(refined.knots, boehm.knots);
                    for (std::size_t j = 0; j < boehm.points.size(); ++j) {
                        ASSERT_NEAR(refined.points[j].x, boehm.points[j].x, 1e-12);
                        ASSERT_NEAR(refined.points[j].y, boehm.points[j].y, 1e-12);
                        ASSERT_NEAR(refined.weights[j], boehm.weights[j], 1e-12);
                    }
                    ExpectSameCurve(s, refined, d.first, d.last);
                }
                EXPECT_EQ(MultiplicityOf(refined, t), k);
                const SplitSpline halves = SplitAt(s, t);
                ExpectSameCurve(s, halves.before, d.first, t);
                ExpectSameCurve(s, halves.after, t, d.last);
                EXPECT_EQ(DomainOf(halves.before).last, t);
                EXPECT_EQ(DomainOf(halves.after).first, t);
                // Each Bezier piece by de Casteljau in homogeneous coordinates.
                for (const BezierPiece& piece : BezierPieces(s)) {
                    for (const double f : {0.0, 0.3, 0.7, 1.0}) {
                        std::vector<std::array<double, 3>> h(piece.points.size());
                        std::transform(piece.points.begin(), piece.points.end(), h.begin(),
                                       [](const WeightedPoint& p) {
                                           return std::array<double, 3>{p.point.x * p.weight,
                                                                        p.point.y * p.weight,
                                                                        p.weight};
                                       });
                        for (int level = k; level > 0; --level) {
                            for (int j = 0; j < level; ++j) {
                                for (int axis = 0; axis < 3; ++axis) {
                                    h[j][axis] = (1 - f) * h[j][axis] + f * h[j + 1][axis];
                                }
                            }
                        }
                        const double x = piece.first + (piece.last - piece.first) * f;
                        const SplinePoint c = DerivativesInSpan(s, SpanOf(s, piece.first), x, 0)[0];
                        ASSERT_NEAR(h[0][0] / h[0][2], c.x, 1e-9);
                        ASSERT_NEAR(h[0][1] / h[0][2], c.y, 1e-9);
                    }
                }
                const Spline raised = RaiseDegree(s);
                EXPECT_EQ(raised.degree, k + 1);
                ExpectSameCurve(s, raised, d.first, d.last);
                ExpectSameCurve(s, RaiseDegree(raised), d.first, d.last);
            }
        }
    }
    // Refused: outside the domain, at a knot already k times, a split at the ends or at a jump.
    Spline s{3, {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}}, {1, 1, 1, 1, 1}, ClampedKnots(5, 3)};
    EXPECT_NE(InsertFault(s, -0.5), "");
    EXPECT_NE(InsertFault(s, 0.0), "");
    EXPECT_EQ(InsertFault(s, 1.0), "");
    EXPECT_NE(SplitFault(s, 0.0), "");
    s.knots = {0, 0, 0, 0, 1, 1, 1, 1, 2};
    EXPECT_NE(SplitFault(s, 1.0), "");
}

// The speed |C'| by 5-point Gauss-Legendre on [a, b], and halved until the halves agree.
double Gauss5(const Spline& s, double a, double b) {
    const double x[3] = {0.0, 0.5384693101056831, 0.9061798459386640};
    const double w[3] = {0.5688888888888889, 0.4786286704993665, 0.2369268850561891};
    const double m = (a + b) / 2;
    const double half = (b - a) / 2;
    double sum = 0.0;
    for (int q = 0; q < 5; ++q) {
        const SplinePoint v = ReferenceDerivatives(s, m + half * (q < 3 ? x[q] : -x[q - 2]))[1];
        sum += w[q < 3 ? q : q - 2] * half * std::hypot(v.x, v.y);
    }
    return sum;
}

double Quadrature(const Spline& s, double a, double b, double whole, int depth) {
    const double m = (a + b) / 2;
    const double left = Gauss5(s, a, m);
    const double right = Gauss5(s, m, b);
    if (depth == 20 || std::fabs(left + right - whole) < 1e-14 * (left + right)) {
        return left + right;
    }
    return Quadrature(s, a, m, left, depth + 1) + Quadrature(s, m, b, right, depth + 1);
}

TEST(Calculus, DerivativesCurvatureContinuityAndLength) {
    std::mt19937 random(5u);
    for (int k = 1; k <= 9; ++k) {
        for (const bool weighted : {false, true}) {
            for (const Spline& s : EveryKind(random, k, weighted)) {
                for (const double t : Parameters(s, 23)) {
                    if (std::count(s.knots.begin(), s.knots.end(), t) > 0) {
                        continue;
                    }
                    const std::vector<SplinePoint> c = DerivativesAt(s, t, 2);
                    const std::vector<SplinePoint> r = ReferenceDerivatives(s, t);
                    for (int d = 0; d < 3; ++d) {
                        const double scale =
                            1e-8 * std::max({1.0, std::fabs(r[d].x), std::fabs(r[d].y)});
                        ASSERT_NEAR(c[d].x, r[d].x, scale) << "k " << k << " d " << d;
                        ASSERT_NEAR(c[d].y, r[d].y, scale) << "k " << k << " d " << d;
                    }
                    const double h = 1e-6;
                    const SplinePoint a = SplineAt(s, t - h);
                    const SplinePoint b = SplineAt(s, t + h);
                    EXPECT_NEAR((b.x - a.x) / (2 * h), c[1].x,
                                1e-4 * std::max(1.0, std::fabs(c[1].x)));
                }
                // Length: 5-point Gauss-Legendre on each span, halved where halving changes it.
                double reference = 0.0;
                for (std::size_t i = 0; i + 1 < s.knots.size(); ++i) {
                    const double a = std::max(s.knots[i], DomainOf(s).first);
                    const double b = std::min(s.knots[i + 1], DomainOf(s).last);
                    if (a < b) {
                        reference += Quadrature(s, a, b, Gauss5(s, a, b), 0);
                    }
                }
                const std::vector<double> lengths = SpanLengths(s);
                const double total = LengthTo(s, lengths, DomainOf(s).last);
                ASSERT_NEAR(total, reference, 1e-9 * reference) << "k " << k;
                const std::vector<double> even = EqualLengthParameters(s, lengths, 7);
                ASSERT_EQ(even.size(), 8u);
                for (int m = 0; m <= 7; ++m) {
                    EXPECT_NEAR(LengthTo(s, lengths, even[m]), total * m / 7, 1e-9 * total);
                }
            }
        }
    }
    // A rational circle of radius 150 has curvature 1/150 all round; its knots are C^1 and, as
    // a circle, measured smoother than promised.
    const double c = std::sqrt(2.0) / 2.0;
    const Spline circle{2,
                        {{150, 0},
                         {150, 150},
                         {0, 150},
                         {-150, 150},
                         {-150, 0},
                         {-150, -150},
                         {0, -150},
                         {150, -150},
                         {150, 0}},
                        {1, c, 1, c, 1, c, 1, c, 1},
                        {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4}};
    for (const CombTooth& tooth : CurvatureComb(circle, 8)) {
        ASSERT_NEAR(tooth.curvature, 1.0 / 150.0, 1e-12);
    }
    for (const KnotContinuity& knot : ContinuityAtKnots(circle)) {
        EXPECT_EQ(knot.promised, 0);
        EXPECT_EQ(knot.measured, 1); // C^1 in t, not C^2
    }
    EXPECT_NEAR(LengthTo(circle, SpanLengths(circle), 4.0), 2 * M_PI * 150, 1e-9);
    // Random points on knots with multiplicities 1 .. k + 1: as smooth as promised, no more.
    const Spline s = RandomSpline(random, 4, 14, true);
    for (const KnotContinuity& knot : ContinuityAtKnots(s)) {
        EXPECT_EQ(knot.measured, std::max(knot.promised, -1)) << "at " << knot.t;
    }
}

} // namespace
