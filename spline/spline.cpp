#include "spline.h"

#include "homogeneous.h"
#include "knots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The k + 1 non-rational basis functions N_(i-k) .. N_i at t in span i (u_i <= t <= u_(i+1)).
std::vector<double> SpanBasis(const std::vector<double>& u, int k, int i, double t) {
    std::vector<double> n(static_cast<std::size_t>(k) + 1, 0.0);
    std::vector<double> left(static_cast<std::size_t>(k) + 1, 0.0);
    std::vector<double> right(static_cast<std::size_t>(k) + 1, 0.0);
    n[0] = 1.0;
    for (int j = 1; j <= k; ++j) {
        left[j] = t - u[i + 1 - j];
        right[j] = u[i + j] - t;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            const double share = n[r] / (right[r + 1] + left[j - r]);
            n[r] = saved + right[r + 1] * share;
            saved = left[j - r] * share;
        }
        n[j] = saved;
    }
    return n;
}

} // namespace

std::string SplineFault(const Spline& spline) {
    const int k = spline.degree;
    const std::size_t n = spline.points.size();
    if (k < 1) {
        return "the degree must be 1 or more";
    }
    if (n < static_cast<std::size_t>(k) + 1) {
        return "a curve of degree " + std::to_string(k) + " needs " + std::to_string(k + 1) +
               " points";
    }
    if (spline.weights.size() != n) {
        return "there must be one weight per point";
    }
    for (std::size_t j = 0; j < n; ++j) {
        const double w = spline.weights[j];
        if (!(std::isfinite(w) && w > 0.0)) {
            return "the weight of P" + std::to_string(j) + " is not a positive number";
        }
        if (!std::isfinite(spline.points[j].x) || !std::isfinite(spline.points[j].y)) {
            return "P" + std::to_string(j) + " is not a finite point";
        }
    }
    return KnotsFault(spline.knots, static_cast<int>(n), k);
}

SplineDomain DomainOf(const Spline& spline) {
    return SplineDomain{spline.knots[static_cast<std::size_t>(spline.degree)],
                        spline.knots[spline.points.size()]};
}

int SpanOf(const Spline& spline, double t) {
    const int k = spline.degree;
    const int n = static_cast<int>(spline.points.size());
    const std::vector<double>& u = spline.knots;
    if (t >= u[n]) {
        int i = n - 1;
        while (i > k && u[i] == u[n]) {
            --i;
        }
        return i;
    }
    // The last i in [k, n - 1] with u_i <= t.
    const auto above = std::upper_bound(u.begin() + k, u.begin() + n, t);
    return std::max(k, static_cast<int>(above - u.begin()) - 1);
}

namespace {

// De Boor's triangle at t on the polynomial piece of span i, also at its ends.
SplineTriangle TriangleInSpan(const Spline& spline, double t, int i) {
    const int k = spline.degree;
    const std::vector<double>& u = spline.knots;
    SplineTriangle triangle{k, i - k, {}, {}};
    std::vector<Homogeneous> level;
    for (int j = i - k; j <= i; ++j) {
        const double w = spline.weights[static_cast<std::size_t>(j)];
        const SplinePoint p = spline.points[static_cast<std::size_t>(j)];
        level.push_back(Lift(p, w));
    }
    for (int r = 0; r <= k; ++r) {
        if (r > 0) {
            std::vector<Homogeneous> next;
            for (int j = 0; j + r <= k; ++j) {
                const int index = i - k + r + j; // the point d[r][index]
                const double alpha = (t - u[index]) / (u[index + k + 1 - r] - u[index]);
                next.push_back(Blend(level[j], level[j + 1], alpha));
            }
            level = next;
        }
        std::vector<SplinePoint> points;
        std::vector<double> weights;
        for (const Homogeneous& h : level) {
            points.push_back(SplinePoint{h.x / h.w, h.y / h.w});
            weights.push_back(h.w);
        }
        triangle.levels.push_back(points);
        triangle.weights.push_back(weights);
    }
    return triangle;
}

// The same point as TriangleInSpan's last level, in place, without keeping the levels.
SplinePoint PointInSpan(const Spline& spline, double t, int i) {
    constexpr int kInPlace = 16;
    const int k = spline.degree;
    if (k >= kInPlace) {
        return TriangleInSpan(spline, t, i).levels.back().front();
    }
    const std::vector<double>& u = spline.knots;
    Homogeneous level[kInPlace] = {};
    for (int j = 0; j <= k; ++j) {
        const int point = i - k + j;
        const std::size_t index = static_cast<std::size_t>(point);
        const double w = spline.weights[index];
        level[j] = Lift(spline.points[index], w);
    }
    for (int r = 1; r <= k; ++r) {
        for (int j = 0; j + r <= k; ++j) {
            const int index = i - k + r + j;
            const double alpha = (t - u[index]) / (u[index + k + 1 - r] - u[index]);
            level[j] = Blend(level[j], level[j + 1], alpha);
        }
    }
    return SplinePoint{level[0].x / level[0].w, level[0].y / level[0].w};
}

} // namespace

SplineTriangle TriangleOf(const Spline& spline, double t) {
    return TriangleInSpan(spline, t, SpanOf(spline, t));
}

SplinePoint SplineAt(const Spline& spline, double t) {
    return PointInSpan(spline, t, SpanOf(spline, t));
}

SplineBasis BasisOf(const Spline& spline, double t) {
    const int k = spline.degree;
    const int i = SpanOf(spline, t);
    SplineBasis basis{i - k, SpanBasis(spline.knots, k, i, t)};
    double sum = 0.0;
    for (int j = 0; j <= k; ++j) {
        const int index = i - k + j;
        basis.values[j] *= spline.weights[static_cast<std::size_t>(index)];
        sum += basis.values[j];
    }
    std::transform(basis.values.begin(), basis.values.end(), basis.values.begin(),
                   [sum](double value) { return value / sum; });
    return basis;
}

std::vector<double> AllBasisAt(const Spline& spline, double t) {
    const int k = spline.degree;
    const int n = static_cast<int>(spline.points.size());
    const std::vector<double>& u = spline.knots;
    std::vector<double> all(static_cast<std::size_t>(n), 0.0);
    const SplineDomain domain = DomainOf(spline);
    if (t >= domain.first && t <= domain.last) {
        const SplineBasis basis = BasisOf(spline, t);
        for (int j = 0; j <= k; ++j) {
            const int index = basis.first + j;
            all[static_cast<std::size_t>(index)] = basis.values[j];
        }
        return all;
    }
    // Outside the domain: the non-rational functions on the extended knots, span by span.
    const int last = n + k;
    if (t < u[0] || t > u[last]) {
        return all;
    }
    int i = 0;
    while (i + 1 < last && u[i + 1] <= t) {
        ++i;
    }
    while (i > 0 && u[i] == u[i + 1]) {
        --i; // t at the vector's end: the last non-empty interval
    }
    // Knots padded by repeating the ends, so that spans near them have k neighbours each side.
    std::vector<double> padded(u.begin(), u.end());
    padded.insert(padded.begin(), static_cast<std::size_t>(k), u.front());
    padded.insert(padded.end(), static_cast<std::size_t>(k), u.back());
    const std::vector<double> n_local = SpanBasis(padded, k, i + k, t);
    for (int j = 0; j <= k; ++j) {
        const int index = i - k + j;
        if (index >= 0 && index < n) {
            all[static_cast<std::size_t>(index)] = n_local[j];
        }
    }
    return all;
}

namespace {

void Subdivide(const Spline& spline, int span, const SplineSample& a, const SplineSample& b,
               double tolerance, int depth, std::vector<SplineSample>& out) {
    const double middle = (a.t + b.t) / 2.0;
    const SplinePoint m = PointInSpan(spline, middle, span);
    const double dx = b.point.x - a.point.x;
    const double dy = b.point.y - a.point.y;
    const double chord = std::hypot(dx, dy);
    const double off = chord > 0.0
                           ? std::fabs(dx * (m.y - a.point.y) - dy * (m.x - a.point.x)) / chord
                           : std::hypot(m.x - a.point.x, m.y - a.point.y);
    // At least four pieces a span, unless the span is already shorter than the tolerance's few.
    if (depth < 12 && (off > tolerance || (depth < 2 && chord > 4.0 * tolerance))) {
        const SplineSample mid{middle, m, false};
        Subdivide(spline, span, a, mid, tolerance, depth + 1, out);
        Subdivide(spline, span, mid, b, tolerance, depth + 1, out);
        return;
    }
    out.push_back(b);
}

} // namespace

namespace {

std::string SamplingFault(double tolerance) {
    return std::isfinite(tolerance) && tolerance > 0.0 ? ""
                                                       : "the tolerance must be a positive number";
}

std::vector<SplineSample> SampledSpan(const Spline& spline, int span, double tolerance) {
    std::vector<SplineSample> samples;
    const std::vector<double>& u = spline.knots;
    if (!(u[span] < u[span + 1])) {
        return samples;
    }
    samples.push_back(SplineSample{u[span], PointInSpan(spline, u[span], span), false});
    const SplineSample b{u[span + 1], PointInSpan(spline, u[span + 1], span), false};
    Subdivide(spline, span, samples.front(), b, tolerance, 0, samples);
    return samples;
}

} // namespace

Outcome<std::vector<SplineSample>> SampleSpan(const Spline& spline, int span, double tolerance) {
    using Samples = std::vector<SplineSample>;
    const int k = spline.degree;
    const int n = static_cast<int>(spline.points.size());
    if (span < k || span >= n ||
        spline.knots.size() != static_cast<std::size_t>(n) + static_cast<std::size_t>(k) + 1 ||
        spline.weights.size() != spline.points.size()) {
        return Refusal<Samples>("there is no span " + std::to_string(span));
    }
    const std::string fault = SamplingFault(tolerance);
    return fault.empty() ? Success(SampledSpan(spline, span, tolerance)) : Refusal<Samples>(fault);
}

void JoinSpan(std::vector<SplineSample>& samples, const std::vector<SplineSample>& span) {
    if (span.empty()) {
        return;
    }
    // Where the curve jumps (a knot k + 1 times inside the domain) a new piece starts.
    const bool joined = !samples.empty() && samples.back().point.x == span.front().point.x &&
                        samples.back().point.y == span.front().point.y;
    const bool jump = !samples.empty() && !joined;
    samples.insert(samples.end(), span.begin() + (joined ? 1 : 0), span.end());
    if (jump) {
        samples[samples.size() - span.size()].breakBefore = true;
    }
}

Outcome<std::vector<SplineSample>> SampleSpline(const Spline& spline, double tolerance) {
    using Samples = std::vector<SplineSample>;
    std::string fault = SplineFault(spline);
    if (fault.empty()) {
        fault = SamplingFault(tolerance);
    }
    if (!fault.empty()) {
        return Refusal<Samples>(fault);
    }
    Samples samples;
    for (int i = spline.degree; i < static_cast<int>(spline.points.size()); ++i) {
        JoinSpan(samples, SampledSpan(spline, i, tolerance));
    }
    return Success(std::move(samples));
}

std::vector<SplineSample> KnotPoints(const Spline& spline) {
    std::vector<SplineSample> points;
    const int k = spline.degree;
    const int n = static_cast<int>(spline.points.size());
    for (int j = k; j <= n; ++j) {
        const double t = spline.knots[static_cast<std::size_t>(j)];
        if (j == k || t != spline.knots[static_cast<std::size_t>(j) - 1]) {
            points.push_back(SplineSample{t, SplineAt(spline, t), false});
        }
    }
    return points;
}
