#include "calculus.h"

#include "homogeneous.h"
#include "span_checks.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numeric>

namespace {

Homogeneous Scaled(const Homogeneous& a, double s) {
    return Homogeneous{a.x * s, a.y * s, a.w * s};
}

Homogeneous Minus(const Homogeneous& a, const Homogeneous& b) {
    return Homogeneous{a.x - b.x, a.y - b.y, a.w - b.w};
}

// The d-th derivative of the weighted curve (w x, w y, w) at t on span i, d = 0 .. order.
std::vector<Homogeneous> WeightedDerivatives(const Spline& spline, int i, double t, int order) {
    const int k = spline.degree;
    const std::vector<double>& u = spline.knots;
    std::vector<Homogeneous> h; // h[j] for the point i - k + j, then its differences
    for (int j = i - k; j <= i; ++j) {
        const auto index = static_cast<std::size_t>(j);
        h.push_back(Lift(spline.points[index], spline.weights[index]));
    }
    std::vector<Homogeneous> result;
    for (int d = 0; d <= order; ++d) {
        if (d > k) {
            result.push_back(Homogeneous{0.0, 0.0, 0.0});
            continue;
        }
        if (d > 0) {
            // The derivative's points: (k - d + 1)(h_j - h_(j-1)) / (u_(j+k-d+1) - u_j).
            for (int j = k; j >= d; --j) {
                const int index = i - k + j;
                const double gap = u[index + k - d + 1] - u[index];
                h[j] = Scaled(Minus(h[j], h[j - 1]), (k - d + 1) / gap);
            }
        }
        // De Boor on the degree k - d piece from the points d .. k.
        const int p = k - d;
        std::vector<Homogeneous> level(h.begin() + d, h.end());
        for (int r = 1; r <= p; ++r) {
            for (int j = 0; j + r <= p; ++j) {
                const int index = i - p + r + j;
                const double alpha = (t - u[index]) / (u[index + p + 1 - r] - u[index]);
                level[j] = Blend(level[j], level[j + 1], alpha);
            }
        }
        result.push_back(level[0]);
    }
    return result;
}

double Binomial(int n, int r) {
    double value = 1.0;
    for (int j = 1; j <= r; ++j) {
        value = value * (n - r + j) / j;
    }
    return value;
}

// The last non-empty span that starts before t.
int SpanFromLeft(const Spline& spline, double t) {
    int i = SpanOf(spline, t);
    while (i > spline.degree && !(spline.knots[i] < t)) {
        --i;
    }
    while (i > spline.degree && !(spline.knots[i] < spline.knots[i + 1])) {
        --i;
    }
    return i;
}

} // namespace

std::vector<SplinePoint> DerivativesOnSpan(const Spline& spline, int span, double t, int order) {
    const std::vector<Homogeneous> a = WeightedDerivatives(spline, span, t, order);
    // The quotient rule, order by order: C^(d) = (A^(d) - sum C(d, r) w^(r) C^(d-r)) / w.
    std::vector<SplinePoint> c;
    for (int d = 0; d <= order; ++d) {
        double x = a[d].x;
        double y = a[d].y;
        for (int r = 1; r <= d; ++r) {
            const double factor = Binomial(d, r) * a[r].w;
            x -= factor * c[d - r].x;
            y -= factor * c[d - r].y;
        }
        c.push_back(SplinePoint{x / a[0].w, y / a[0].w});
    }
    return c;
}

Outcome<std::vector<SplinePoint>> DerivativesInSpan(const Spline& spline, int span, double t,
                                                    int order) {
    using Points = std::vector<SplinePoint>;
    if (!IsSpan(spline, span)) {
        return Refusal<Points>(NoSpan(span));
    }
    if (order < 0 || !std::isfinite(t)) {
        return Refusal<Points>("derivatives are taken at a finite t, of order 0 or more");
    }
    return Success(DerivativesOnSpan(spline, span, t, order));
}

Outcome<std::vector<SplinePoint>> DerivativesAt(const Spline& spline, double t, int order,
                                                bool fromLeft) {
    using Points = std::vector<SplinePoint>;
    if (!IsShaped(spline)) {
        return Refusal<Points>("the spline's points, weights and knots do not match");
    }
    if (order < 0 || !std::isfinite(t)) {
        return Refusal<Points>("derivatives are taken at a finite t, of order 0 or more");
    }
    return Success(DerivativesOnSpan(spline, fromLeft ? SpanFromLeft(spline, t) : SpanOf(spline, t),
                                     t, order));
}

double CurvatureOf(SplinePoint first, SplinePoint second) {
    const double speed = std::hypot(first.x, first.y);
    if (!(speed > 0.0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return (first.x * second.y - first.y * second.x) / (speed * speed * speed);
}

Outcome<std::vector<KnotContinuity>> ContinuityNear(const Spline& spline, double t, int count) {
    if (!SplineFault(spline).empty()) {
        return SplineRefused<std::vector<KnotContinuity>>(spline);
    }
    const int k = spline.degree;
    const SplineDomain domain = DomainOf(spline);
    // A difference counts when it is beyond rounding: relative to the size of the derivative of
    // that order, the curve's extent over the mean span's length to that power.
    double extent = 0.0;
    for (const SplinePoint& p : spline.points) {
        extent = std::max({extent, std::fabs(p.x), std::fabs(p.y)});
    }
    std::vector<double> distinct;
    std::copy_if(spline.knots.begin(), spline.knots.end(), std::back_inserter(distinct),
                 [&](double u) { return u >= domain.first && u <= domain.last; });
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    const double span = (domain.last - domain.first) /
                        static_cast<double>(std::max<std::size_t>(distinct.size(), 2));
    std::vector<double> inside;
    std::copy_if(distinct.begin(), distinct.end(), std::back_inserter(inside),
                 [&](double u) { return u > domain.first && u < domain.last; });
    // The `count` knots nearest t: grown from where t falls, the nearer neighbour first (the
    // one before on a tie).
    const std::ptrdiff_t size = static_cast<std::ptrdiff_t>(inside.size());
    const std::ptrdiff_t wanted = count < 0 ? size : std::min<std::ptrdiff_t>(count, size);
    std::ptrdiff_t from = std::lower_bound(inside.begin(), inside.end(), t) - inside.begin();
    std::ptrdiff_t to = from; // the knots from .. to - 1
    while (to - from < wanted) {
        const bool before =
            to == size || (from > 0 && t - inside[static_cast<std::size_t>(from) - 1] <=
                                           inside[static_cast<std::size_t>(to)] - t);
        (before ? from : to) += before ? -1 : 1;
    }
    std::vector<KnotContinuity> result;
    for (std::ptrdiff_t j = from; j < to; ++j) {
        const double u = inside[static_cast<std::size_t>(j)];
        const int m = static_cast<int>(std::count(spline.knots.begin(), spline.knots.end(), u));
        const std::vector<SplinePoint> left =
            DerivativesOnSpan(spline, SpanFromLeft(spline, u), u, k);
        const std::vector<SplinePoint> right = DerivativesOnSpan(spline, SpanOf(spline, u), u, k);
        int measured = -1;
        for (int d = 0; d <= k; ++d) {
            const double scale =
                std::max({1.0, extent / std::pow(span, d), std::fabs(left[d].x),
                          std::fabs(left[d].y), std::fabs(right[d].x), std::fabs(right[d].y)});
            const double gap =
                std::max(std::fabs(left[d].x - right[d].x), std::fabs(left[d].y - right[d].y));
            if (gap > 1e-9 * scale) {
                break;
            }
            measured = d;
        }
        result.push_back(KnotContinuity{u, m, k - m, measured});
    }
    return Success(std::move(result));
}

Outcome<std::vector<KnotContinuity>> ContinuityAtKnots(const Spline& spline) {
    return ContinuityNear(spline, SplineFault(spline).empty() ? DomainOf(spline).first : 0.0, -1);
}

int InnerKnotCount(const Spline& spline) {
    if (!SplineFault(spline).empty()) {
        return 0;
    }
    const SplineDomain domain = DomainOf(spline);
    int count = 0;
    for (std::size_t j = 0; j < spline.knots.size(); ++j) {
        const double u = spline.knots[j];
        count +=
            u > domain.first && u < domain.last && (j == 0 || spline.knots[j - 1] != u) ? 1 : 0;
    }
    return count;
}

namespace {

std::vector<CombTooth> TeethInSpan(const Spline& spline, int span, int perSpan) {
    std::vector<CombTooth> teeth;
    const double a = spline.knots[span];
    const double b = spline.knots[span + 1];
    for (int s = 0; s <= perSpan; ++s) {
        const double t = s == perSpan ? b : a + (b - a) * s / perSpan;
        const std::vector<SplinePoint> c = DerivativesOnSpan(spline, span, t, 2);
        const double speed = std::hypot(c[1].x, c[1].y);
        const SplinePoint normal =
            speed > 0.0 ? SplinePoint{-c[1].y / speed, c[1].x / speed} : SplinePoint{0.0, 0.0};
        teeth.push_back(CombTooth{t, c[0], normal, CurvatureOf(c[1], c[2]), false});
    }
    return teeth;
}

} // namespace

Outcome<std::vector<CombTooth>> CombInSpan(const Spline& spline, int span, int perSpan) {
    using Teeth = std::vector<CombTooth>;
    if (!IsSpan(spline, span)) {
        return Refusal<Teeth>(NoSpan(span));
    }
    return perSpan >= 1 ? Success(TeethInSpan(spline, span, perSpan))
                        : Refusal<Teeth>("a comb needs a tooth or more a span");
}

std::vector<CombTooth> JoinComb(const std::vector<std::vector<CombTooth>>& spans) {
    std::vector<CombTooth> teeth;
    for (const std::vector<CombTooth>& span : spans) {
        if (span.empty()) {
            continue;
        }
        const bool jump = !teeth.empty() && (teeth.back().point.x != span.front().point.x ||
                                             teeth.back().point.y != span.front().point.y);
        teeth.insert(teeth.end(), span.begin(), span.end());
        teeth[teeth.size() - span.size()].breakBefore = jump;
    }
    return teeth;
}

Outcome<std::vector<CombTooth>> CurvatureComb(const Spline& spline, int perSpan) {
    using Teeth = std::vector<CombTooth>;
    if (!SplineFault(spline).empty() || perSpan < 1) {
        return SplineFault(spline).empty() ? Refusal<Teeth>("a comb needs a tooth or more a span")
                                           : SplineRefused<Teeth>(spline);
    }
    std::vector<Teeth> spans;
    for (int i = spline.degree; i < static_cast<int>(spline.points.size()); ++i) {
        if (spline.knots[i] < spline.knots[i + 1]) {
            spans.push_back(TeethInSpan(spline, i, perSpan));
        }
    }
    return Success(JoinComb(spans));
}
