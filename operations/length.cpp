// Arc length: span by span by adaptive Gauss-Legendre quadrature, to t, and the parameters and
// ticks at equal length (declared in calculus.h).
#include "calculus.h"

#include "span_checks.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>

namespace {

// Gauss-Legendre with 8 nodes on [-1, 1]: the positive nodes and their weights.
constexpr double kNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                              0.9602898564975363};
constexpr double kWeights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                0.1012285362903763};

double Speed(const Spline& spline, int span, double t) {
    const std::vector<SplinePoint> c = DerivativesOnSpan(spline, span, t, 1);
    return std::hypot(c[1].x, c[1].y);
}

double Gauss(const Spline& spline, int span, double a, double b) {
    const double middle = (a + b) / 2.0;
    const double half = (b - a) / 2.0;
    double sum = 0.0;
    for (int j = 0; j < 4; ++j) {
        sum += kWeights[j] * (Speed(spline, span, middle - half * kNodes[j]) +
                              Speed(spline, span, middle + half * kNodes[j]));
    }
    return sum * half;
}

double Integrate(const Spline& spline, int span, double a, double b, double whole, int depth) {
    const double middle = (a + b) / 2.0;
    const double left = Gauss(spline, span, a, middle);
    const double right = Gauss(spline, span, middle, b);
    if (depth >= 10 || std::fabs(left + right - whole) <= 1e-12 * std::fabs(left + right)) {
        return left + right;
    }
    return Integrate(spline, span, a, middle, left, depth + 1) +
           Integrate(spline, span, middle, b, right, depth + 1);
}

double LengthInSpan(const Spline& spline, int span, double a, double b) {
    if (!(a < b)) {
        return 0.0;
    }
    return Integrate(spline, span, a, b, Gauss(spline, span, a, b), 0);
}

} // namespace

Outcome<double> SpanLength(const Spline& spline, int span) {
    const bool empty = IsShaped(spline) && span >= spline.degree &&
                       span < static_cast<int>(spline.points.size()) &&
                       spline.knots[static_cast<std::size_t>(span)] ==
                           spline.knots[static_cast<std::size_t>(span) + 1];
    if (empty) {
        return Success(0.0);
    }
    return IsSpan(spline, span)
               ? Success(LengthInSpan(spline, span, spline.knots[span], spline.knots[span + 1]))
               : Refusal<double>(NoSpan(span));
}

Outcome<std::vector<double>> SpanLengths(const Spline& spline) {
    if (!SplineFault(spline).empty()) {
        return SplineRefused<std::vector<double>>(spline);
    }
    std::vector<double> lengths;
    for (int i = spline.degree; i < static_cast<int>(spline.points.size()); ++i) {
        lengths.push_back(SpanLength(spline, i).value);
    }
    return Success(std::move(lengths));
}

namespace {

bool FitsLengths(const Spline& spline, const std::vector<double>& spanLengths) {
    return IsShaped(spline) &&
           spanLengths.size() == spline.points.size() - static_cast<std::size_t>(spline.degree);
}

constexpr const char* kNotItsLengths = "the span lengths are not this spline's";

double LengthUpTo(const Spline& spline, const std::vector<double>& spanLengths, double t) {
    const int k = spline.degree;
    const SplineDomain domain = DomainOf(spline);
    const double at = std::clamp(t, domain.first, domain.last);
    const int i = SpanOf(spline, at);
    const double before = std::accumulate(spanLengths.begin(), spanLengths.begin() + (i - k), 0.0);
    return before + LengthInSpan(spline, i, spline.knots[i], at);
}

} // namespace

Outcome<double> LengthTo(const Spline& spline, const std::vector<double>& spanLengths, double t) {
    if (!FitsLengths(spline, spanLengths) || std::isnan(t)) {
        return Refusal<double>(std::isnan(t) ? "t is not a number" : kNotItsLengths);
    }
    return Success(LengthUpTo(spline, spanLengths, t));
}

Outcome<std::vector<double>>
EqualLengthParameters(const Spline& spline, const std::vector<double>& spanLengths, int count) {
    using Parameters = std::vector<double>;
    if (!FitsLengths(spline, spanLengths) || count < 1) {
        return Refusal<Parameters>(count < 1 ? "the curve is cut into one piece or more"
                                             : kNotItsLengths);
    }
    const int k = spline.degree;
    const SplineDomain domain = DomainOf(spline);
    const double total = std::accumulate(spanLengths.begin(), spanLengths.end(), 0.0);
    Parameters parameters{domain.first};
    int i = k;
    double before = 0.0; // the length up to span i's start
    for (int m = 1; m < count; ++m) {
        const double target = total * m / count;
        while (i + 1 < static_cast<int>(spline.points.size()) &&
               before + spanLengths[static_cast<std::size_t>(i - k)] < target) {
            before += spanLengths[static_cast<std::size_t>(i - k)];
            ++i;
        }
        // Newton's method on the length within the span, kept inside a shrinking bracket.
        double low = spline.knots[i];
        double high = spline.knots[i + 1];
        double t =
            low + (high - low) *
                      std::clamp((target - before) /
                                     std::max(spanLengths[static_cast<std::size_t>(i - k)], 1e-300),
                                 0.0, 1.0);
        for (int step = 0; step < 60; ++step) {
            const double error = before + LengthInSpan(spline, i, spline.knots[i], t) - target;
            if (std::fabs(error) <= 1e-12 * std::max(total, 1.0)) {
                break;
            }
            (error > 0.0 ? high : low) = t;
            const double speed = Speed(spline, i, t);
            const double next = speed > 0.0 ? t - error / speed : (low + high) / 2.0;
            t = next > low && next < high ? next : (low + high) / 2.0;
        }
        parameters.push_back(t);
    }
    parameters.push_back(domain.last);
    return Success(std::move(parameters));
}

namespace {

CurveTick TickAt(const Spline& spline, double t) {
    const std::vector<SplinePoint> c = DerivativesOnSpan(spline, SpanOf(spline, t), t, 1);
    const double speed = std::hypot(c[1].x, c[1].y);
    const SplinePoint n =
        speed > 0.0 ? SplinePoint{-c[1].y / speed, c[1].x / speed} : SplinePoint{0.0, 0.0};
    return CurveTick{t, c[0], n};
}

} // namespace

Outcome<std::vector<CurveTick>> LengthTicks(const Spline& spline,
                                            const std::vector<double>& spanLengths, int count) {
    using Ticks = std::vector<CurveTick>;
    if (count < 1 || count > 4096) {
        return Refusal<Ticks>("from 1 to 4096 pieces are ticked");
    }
    const Outcome<std::vector<double>> even = EqualLengthParameters(spline, spanLengths, count);
    if (!even.ok()) {
        return Refusal<Ticks>(even.fault);
    }
    const SplineDomain d = DomainOf(spline);
    Ticks ticks;
    for (int m = 0; m <= count; ++m) {
        ticks.push_back(
            TickAt(spline, m == count ? d.last : d.first + (d.last - d.first) * m / count));
    }
    std::transform(even.value.begin(), even.value.end(), std::back_inserter(ticks),
                   [&](double t) { return TickAt(spline, t); });
    return Success(std::move(ticks));
}
