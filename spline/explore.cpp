#include "explore.h"

#include <cmath>
#include <numeric>

Outcome<std::vector<SplineSample>> KeptCurve(KeptSamples& kept, const Spline& spline,
                                             double tolerance) {
    using Samples = std::vector<SplineSample>;
    std::string fault = SplineFault(spline);
    if (fault.empty() && !(std::isfinite(tolerance) && tolerance > 0.0)) {
        fault = "the tolerance must be a positive number";
    }
    if (!fault.empty()) {
        kept = KeptSamples{};
        return Refusal<Samples>(fault);
    }
    if (kept.tolerance != tolerance) {
        kept = KeptSamples{tolerance, {}};
    }
    const std::vector<Samples>& spans =
        kept.spans.Refresh(spline, [&](int i) { return SampleSpan(spline, i, tolerance).value; });
    Samples samples;
    for (const Samples& span : spans) {
        JoinSpan(samples, span);
    }
    return Success(std::move(samples));
}

Outcome<std::vector<SplinePoint>> PointStretch(const Spline& spline, int ownPoints, int j,
                                               double tolerance) {
    using Points = std::vector<SplinePoint>;
    const Outcome<std::vector<SplineSample>> samples = SampleSpline(spline, tolerance);
    if (!samples.ok()) {
        return Refusal<Points>(samples.fault);
    }
    const int count = static_cast<int>(spline.points.size());
    if (ownPoints < 1 || ownPoints > count || j < 0 || j >= ownPoints) {
        return Refusal<Points>("there is no point P" + std::to_string(j));
    }
    const std::size_t k = static_cast<std::size_t>(spline.degree);
    const auto moves = [&](int i, double t) {
        const std::size_t at = static_cast<std::size_t>(i);
        return i < count && t >= spline.knots[at] && t <= spline.knots[at + k + 1];
    };
    Points stretch;
    for (const SplineSample& s : samples.value) {
        bool moved = false;
        for (int copy = j; copy < count && !moved; copy += ownPoints) {
            moved = moves(copy, s.t);
        }
        if (moved) {
            stretch.push_back(s.point);
        }
    }
    return Success(std::move(stretch));
}

Outcome<std::vector<BasisRow>> BasisAcrossKnots(const Spline& spline, int count) {
    using Rows = std::vector<BasisRow>;
    const std::string fault = SplineFault(spline);
    if (!fault.empty() || count < 2) {
        return Refusal<Rows>(fault.empty() ? "the basis needs 2 parameters or more" : fault);
    }
    const double from = spline.knots.front();
    const double to = spline.knots.back();
    Rows rows;
    for (int s = 0; s < count; ++s) {
        const double t = s == count - 1 ? to : from + (to - from) * s / (count - 1);
        std::vector<double> values = AllBasisAt(spline, t);
        const double sum = std::accumulate(values.begin(), values.end(), 0.0);
        rows.push_back(BasisRow{t, std::move(values), sum});
    }
    return Success(std::move(rows));
}
