// The operations against independent versions written here: Boehm's insertion formula, de
// Casteljau on each Bezier piece, the curve itself at many t (the refined, split and raised
// curves must be it), the basis's derivatives by the recursion (spline_reference.h), and the
// length by composite Gauss-Legendre quadrature; degrees 1 to 9 on uniform, clamped and custom
// knots, with and without weights.
#include "calculus.h"
#include "kept.h"
#include "knots.h"
#include "refine.h"
#include "spline_reference.h"
#include "tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
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
                    refined = InsertKnot(refined, t).value;
                    ASSERT_EQ(refined.knots, boehm.knots);
                    for (std::size_t j = 0; j < boehm.points.size(); ++j) {
                        ASSERT_NEAR(refined.points[j].x, boehm.points[j].x, 1e-12);
                        ASSERT_NEAR(refined.points[j].y, boehm.points[j].y, 1e-12);
                        ASSERT_NEAR(refined.weights[j], boehm.weights[j], 1e-12);
                    }
                    ExpectSameCurve(s, refined, d.first, d.last);
                }
                EXPECT_EQ(MultiplicityOf(refined, t), k);
                const SplitSpline halves = SplitAt(s, t).value;
                ExpectSameCurve(s, halves.before, d.first, t);
                ExpectSameCurve(s, halves.after, t, d.last);
                EXPECT_EQ(DomainOf(halves.before).last, t);
                EXPECT_EQ(DomainOf(halves.after).first, t);
                // Each Bezier piece by de Casteljau in homogeneous coordinates.
                for (const BezierPiece& piece : BezierPieces(s).value) {
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
                        const SplinePoint c =
                            DerivativesInSpan(s, SpanOf(s, piece.first), x, 0).value[0];
                        ASSERT_NEAR(h[0][0] / h[0][2], c.x, 1e-9);
                        ASSERT_NEAR(h[0][1] / h[0][2], c.y, 1e-9);
                    }
                }
                const Spline raised = RaiseDegree(s).value;
                EXPECT_EQ(raised.degree, k + 1);
                ExpectSameCurve(s, raised, d.first, d.last);
                ExpectSameCurve(s, RaiseDegree(raised).value, d.first, d.last);
            }
        }
    }
    // Refused with the reason: outside the domain, at a knot already k times, a split at the
    // ends or at a jump; taken at the domain's last value and at a knot k times for a split.
    Spline s{3, {{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}}, {1, 1, 1, 1, 1}, ClampedKnots(5, 3)};
    EXPECT_EQ(InsertKnot(s, -0.5).fault, "t must lie in the domain");
    EXPECT_FALSE(InsertKnot(s, NAN).ok());
    EXPECT_NE(InsertFault(s, 0.0), "");
    EXPECT_EQ(InsertFault(s, 1.0), "");
    EXPECT_EQ(InsertKnotTimes(s, 1.0, 1).value.spline.knots.size(), s.knots.size() + 1);
    EXPECT_FALSE(InsertKnotTimes(s, 1.0, -1).ok());
    EXPECT_NE(SplitFault(s, 0.0), "");
    EXPECT_FALSE(SplitAt(s, 2.0).ok());
    EXPECT_FALSE(BezierPieceOf(s, 2).ok());
    EXPECT_FALSE(Blossom(s, 3, {0.5, 0.5}).ok());
    Spline invalid = s;
    invalid.knots[4] = -1.0;
    EXPECT_NE(RaiseDegree(invalid).fault.find("decrease"), std::string::npos);
    s.knots = UniformKnots(5, 3);
    EXPECT_EQ(InsertKnot(s, 5.0).fault, "") << "the domain's last value is in it";
    s.points.insert(s.points.end(), {{5, 1}, {6, 0}, {7, 1}});
    s.weights.assign(8, 1.0);
    s.knots = {0, 0, 0, 0, 1, 1, 1, 2, 3, 3, 3, 3};
    EXPECT_EQ(SplitFault(s, 1.0), "") << "k times already: split without inserting";
    EXPECT_EQ(SplitAt(s, 1.0).value.before.points.size(), 4u);
    s.knots = {0, 0, 0, 0, 1, 1, 1, 1, 2, 3, 3, 3};
    EXPECT_NE(SplitFault(s, 1.0), "");
}

// The raised curve and the pieces kept from frame to frame are those made afresh after every
// drag, weight and knot change; each change computes again exactly the spans it touches.
TEST(Refine, KeptOperationsFollowEveryChange) {
    std::mt19937 random(17u);
    Spline s = RandomSpline(random, 3, 12, true, 2);
    KeptRaise raise{};
    KeptOperations kept{};
    SpanCache<int> cache{};
    int computed = 0;
    const auto refresh = [&] {
        computed = 0;
        cache.Refresh(s, [&](int) { return ++computed; });
        return computed;
    };
    EXPECT_EQ(refresh(), 9);
    for (int change = 0; change < 12; ++change) {
        const std::size_t j = random() % s.points.size();
        int touched = 0;
        if (change % 3 == 0) {
            s.points[j].x += 0.25;
            touched =
                static_cast<int>(std::min(j + 3, std::size_t{11}) - std::max(j, std::size_t{3})) +
                1;
        } else if (change % 3 == 1) {
            s.weights[j] *= 1.5;
            touched =
                static_cast<int>(std::min(j + 3, std::size_t{11}) - std::max(j, std::size_t{3})) +
                1;
        } else {
            std::size_t m = 5 + j % 6; // a knot of the domain's spans, kept in order
            while (!(s.knots[m] < s.knots[m + 1])) {
                --m;
            }
            // Once, two knots made one: the raised curve has a point fewer.
            s.knots[m] +=
                change == 11 ? s.knots[m + 1] - s.knots[m] : (s.knots[m + 1] - s.knots[m]) / 4;
            touched = static_cast<int>(std::min(m + 2, std::size_t{11}) -
                                       std::max(m - 3, std::size_t{3})) +
                      1;
        }
        EXPECT_EQ(refresh(), touched) << "change " << change;
        const Spline kepted = RaiseDegreeKept(raise, s).value;
        const Spline fresh = RaiseDegree(s).value;
        ASSERT_EQ(kepted.knots, fresh.knots);
        for (std::size_t p = 0; p < fresh.points.size(); ++p) {
            ASSERT_EQ(kepted.points[p].x, fresh.points[p].x);
            ASSERT_EQ(kepted.weights[p], fresh.weights[p]);
        }
        const std::vector<BezierPiece> pieces = KeptPieces(kept, s).value;
        const std::vector<BezierPiece> afresh = BezierPieces(s).value;
        ASSERT_EQ(pieces.size(), afresh.size());
        EXPECT_EQ(pieces.back().points.back().point.y, afresh.back().points.back().point.y);
        EXPECT_EQ(KeptLengths(kept, s).value, SpanLengths(s).value);
    }
    EXPECT_FALSE(RaiseDegreeKept(raise, Spline{3, {}, {}, {}}).ok());
    // Pointing at the curve picks the piece there.
    std::size_t span = 6;
    while (!(s.knots[span] < s.knots[span + 1])) {
        ++span;
    }
    const double middle = (s.knots[span] + s.knots[span + 1]) / 2;
    const SplinePoint on = SplineAt(s, middle);
    const PieceNear near = PieceNearPoint(kept, s, SplinePoint{on.x + 0.005, on.y}, 0.01);
    ASSERT_GE(near.index, 0);
    EXPECT_EQ(near.first, s.knots[span]);
    EXPECT_EQ(near.last, s.knots[span + 1]);
    EXPECT_EQ(PieceNearPoint(kept, s, SplinePoint{50, 50}, 1.0).index, -1);
    // At t: inserted k times, the curve is split there; once, it is not yet.
    const Outcome<OperationsAtT> split = OperationsAt(kept, s, middle, 3);
    ASSERT_TRUE(split.ok()) << split.fault;
    EXPECT_EQ(split.value.refinement.inserted, 3);
    EXPECT_TRUE(split.value.split);
    EXPECT_EQ(DomainOf(split.value.halves.before).last, middle);
    EXPECT_FALSE(OperationsAt(kept, s, middle, 1).value.split);
    EXPECT_LT(split.value.lengthToT, split.value.length);
    EXPECT_FALSE(OperationsAt(kept, s, DomainOf(s).last + 1, 1).ok());
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
                    const std::vector<SplinePoint> c = DerivativesAt(s, t, 2).value;
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
                const std::vector<double> lengths = SpanLengths(s).value;
                const double total = LengthTo(s, lengths, DomainOf(s).last).value;
                ASSERT_NEAR(total, reference, 1e-9 * reference) << "k " << k;
                const std::vector<double> even = EqualLengthParameters(s, lengths, 7).value;
                ASSERT_EQ(even.size(), 8u);
                for (int m = 0; m <= 7; ++m) {
                    EXPECT_NEAR(LengthTo(s, lengths, even[m]).value, total * m / 7, 1e-9 * total);
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
    for (const CombTooth& tooth : CurvatureComb(circle, 8).value) {
        ASSERT_NEAR(tooth.curvature, 1.0 / 150.0, 1e-12);
    }
    for (const KnotContinuity& knot : ContinuityAtKnots(circle).value) {
        EXPECT_EQ(knot.promised, 0);
        EXPECT_EQ(knot.measured, 1); // C^1 in t, not C^2
    }
    EXPECT_NEAR(LengthTo(circle, SpanLengths(circle).value, 4.0).value, 2 * M_PI * 150, 1e-9);
    // Where the curve breaks (a knot k + 1 times inside the domain) the comb breaks too.
    const Spline broken{2,
                        {{0, 0}, {10, 5}, {20, 0}, {30, 40}, {40, 0}, {50, 5}},
                        std::vector<double>(6, 1.0),
                        {0, 0, 0, 1, 1, 1, 2, 2, 2}};
    ASSERT_EQ(SplineFault(broken), "");
    const std::vector<CombTooth> split = CurvatureComb(broken, 4).value;
    EXPECT_EQ(std::count_if(split.begin(), split.end(),
                            [](const CombTooth& tooth) { return tooth.breakBefore; }),
              1);
    EXPECT_TRUE(split[5].breakBefore);
    // The comb's teeth point to the side the curve turns to: the circle's centre.
    for (const CombTooth& tooth : KeptComb(*std::make_unique<KeptOperations>(), circle, 8).value) {
        const double inward = -tooth.point.x * tooth.normal.x - tooth.point.y * tooth.normal.y;
        ASSERT_GT(inward * tooth.curvature, 0.0) << "t = " << tooth.t;
    }
    // The continuity listed near t is at the knots nearest t, whatever the count.
    Spline spaced = RandomSpline(random, 2, 30, false, 1);
    const std::vector<double> inner(spaced.knots.begin() + 3, spaced.knots.begin() + 30);
    for (const int count : {1, 3, 4, 7}) {
        for (const double t :
             {inner[2] + 0.01, inner[10] - 0.01, inner[20] + 0.4 * (inner[21] - inner[20])}) {
            std::vector<double> nearest = inner;
            std::sort(nearest.begin(), nearest.end(),
                      [&](double a, double b) { return std::fabs(a - t) < std::fabs(b - t); });
            nearest.resize(static_cast<std::size_t>(count));
            std::sort(nearest.begin(), nearest.end());
            const std::vector<KnotContinuity> near = ContinuityNear(spaced, t, count).value;
            std::vector<double> listed(near.size());
            std::transform(near.begin(), near.end(), listed.begin(),
                           [](const KnotContinuity& knot) { return knot.t; });
            EXPECT_EQ(listed, nearest) << "count " << count << " t " << t;
        }
    }
    EXPECT_EQ(InnerKnotCount(spaced), 27);
    // A small jump is still a jump: a point off the line by 1e-3 near a double knot of a cubic
    // (the points' x at the knots' averages, so that x(t) = t has no jump of its own).
    const Spline nearlyStraight{
        3,
        {{2, 0}, {3, 0}, {11 / 3.0, 0}, {14 / 3.0, 1e-3}, {17 / 3.0, 0}, {7, 0}, {8, 0}},
        std::vector<double>(7, 1.0),
        {0, 1, 2, 3, 4, 4, 6, 7, 8, 9, 10}};
    for (const KnotContinuity& knot : ContinuityAtKnots(nearlyStraight).value) {
        EXPECT_EQ(knot.measured, knot.promised) << "at " << knot.t;
    }
    // Random points on knots with multiplicities 1 .. k + 1: as smooth as promised, no more.
    const Spline s = RandomSpline(random, 4, 14, true);
    for (const KnotContinuity& knot : ContinuityAtKnots(s).value) {
        EXPECT_EQ(knot.measured, std::max(knot.promised, -1)) << "at " << knot.t;
    }
}

} // namespace

namespace {

// Records of RFC 4180 CSV: fields split at commas outside quotes, "" inside quotes a quote,
// records ending in CRLF.
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t j = 0; j < text.size(); ++j) {
        const char c = text[j];
        if (quoted && c == '"' && j + 1 < text.size() && text[j + 1] == '"') {
            records.back().back() += '"';
            ++j;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            records.back().emplace_back();
        } else if (!quoted && c == '\r' && j + 1 < text.size() && text[j + 1] == '\n') {
            records.emplace_back(1);
            ++j;
        } else {
            records.back().back() += c;
        }
    }
    records.pop_back(); // after the last CRLF
    return records;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

TEST(Tables, EveryKindInBothFormatsHasItsHeadsColumns) {
    std::mt19937 random(23u);
    const TableKind kinds[] = {TableKind::Triangle, TableKind::Basis, TableKind::Refinement,
                               TableKind::Derivatives};
    for (const int k : {1, 3, 9}) {
        const Spline s = RandomSpline(random, k, k + 4, true);
        const double t = (DomainOf(s).first + 2 * DomainOf(s).last) / 3;
        for (const TableKind kind : kinds) {
            const Table table = TableAt(kind, s, t, 2).value;
            const std::vector<std::vector<std::string>> csv = ReadCsv(TableCsv(table));
            ASSERT_EQ(csv.size(), table.rows.size() + 1);
            for (std::size_t r = 0; r < csv.size(); ++r) {
                ASSERT_EQ(csv[r].size(), table.head.size()) << "k " << k << " row " << r;
            }
            EXPECT_EQ(csv[0][0], table.head[0].text);
            // Split or not, every cell is in some part, and the keys are in every part. (That
            // each part fits a page, pdflatex tells in the browser session.)
            const std::string latex = TableLatex(table, 4).value;
            const std::size_t parts = Occurrences(latex, "\\begin{tabular}");
            const std::size_t keys = table.keys.size();
            if (kind == TableKind::Derivatives) { // one row: split only across
                EXPECT_EQ(Occurrences(latex, "&") + parts * csv.size(),
                          (table.head.size() + (parts - 1) * keys) * csv.size());
            }
            EXPECT_EQ(Occurrences(latex, "\\toprule"), parts);
            EXPECT_TRUE(kind == TableKind::Derivatives ? parts > 1
                                                       : kind != TableKind::Basis || parts == 1);
        }
        // The numbers are the curve's: the triangle's last row is C(t), the basis sums to 1.
        const std::vector<std::vector<std::string>> triangle =
            ReadCsv(TableCsv(TableAt(TableKind::Triangle, s, t, 0).value));
        EXPECT_EQ(std::stod(triangle.back()[5]), SplineAt(s, t).x);
        EXPECT_EQ(triangle.back()[4].rfind("p(", 0), 0u);
        const std::vector<std::vector<std::string>> basis =
            ReadCsv(TableCsv(TableAt(TableKind::Basis, s, t, 0).value));
        EXPECT_EQ(basis[0][2], "N_j," + std::to_string(k));
        double sum = 0.0;
        for (std::size_t r = 1; r < basis.size(); ++r) {
            sum += std::stod(basis[r][2]);
        }
        EXPECT_NEAR(sum, 1.0, 1e-12);
        const Table refined = TableAt(TableKind::Refinement, s, t, 1).value;
        EXPECT_EQ(refined.rows.size(), s.knots.size() + 1);
        EXPECT_NE(refined.caption.find("inserted once"), std::string::npos);
        EXPECT_NE(TableAt(TableKind::Refinement, s, t, 0).value.caption.find("not inserted"),
                  std::string::npos);
    }
    EXPECT_EQ(ReadCsv(TableCsv(Table{"", {{"a,\"b\"", ""}}, {}}))[0][0], "a,\"b\"");
    // Rounded for slides, never "-0"; the CSV keeps every digit.
    const auto number = [](double v) { return TableCell{"", "", CellKind::Number, {v}}; };
    const Table small{"", {{"x", "x"}}, {{number(-0.00001)}, {number(2.0 / 3.0)}}};
    EXPECT_EQ(TableLatex(small, 4).value.find("-0.0000"), std::string::npos);
    EXPECT_NE(TableLatex(small, 4).value.find("0.6667 \\\\"), std::string::npos);
    EXPECT_FALSE(TableLatex(small, 13).ok());
    // Where the curve stands still it has no curvature: the cell is left empty.
    const Spline still{2, std::vector<SplinePoint>(3, SplinePoint{4, 4}),
                       std::vector<double>(3, 1.0), UniformKnots(3, 2)};
    EXPECT_EQ(ReadCsv(TableCsv(TableAt(TableKind::Derivatives, still, 2.5, 0).value))[1][7], "");
    EXPECT_FALSE(TableKindNamed("knots").ok());
    EXPECT_FALSE(TableAt(TableKind::Basis, Spline{3, {}, {}, {}}, 0.0, 0).ok());
    // Named as the triangle's points are: level r point j is the blossom at r times t and the
    // knots u_(j+1) .. u_(j+k-r).
    const Spline cubic{3, std::vector<SplinePoint>(7, SplinePoint{1, 1}),
                       std::vector<double>(7, 1.0), UniformKnots(7, 3)};
    const auto labels = TriangleLabels(cubic, 5.3).value;
    EXPECT_EQ(labels[1][0].index, 3);
    EXPECT_EQ(labels[1][0].arguments, (std::vector<double>{4, 5, 5.3}));
    EXPECT_EQ(labels[3][0].arguments, (std::vector<double>{5.3, 5.3, 5.3}));
}

} // namespace
