#include "fit.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>

Outcome<FitSpacing> FitSpacingNamed(const std::string& word) {
    const FitSpacing spacings[] = {FitSpacing::Uniform, FitSpacing::ChordLength,
                                   FitSpacing::Centripetal};
    const auto* found = std::find_if(std::begin(spacings), std::end(spacings),
                                     [&](FitSpacing s) { return word == FitSpacingWord(s); });
    return found == std::end(spacings) ? Refusal<FitSpacing>("not uniform, chord or centripetal")
                                       : Success(*found);
}

Outcome<FitKnots> FitKnotsNamed(const std::string& word) {
    if (word == "average" || word == "uniform") {
        return Success(word == "average" ? FitKnots::Averaged : FitKnots::Uniform);
    }
    return Refusal<FitKnots>("not average or uniform");
}

const char* FitSpacingWord(FitSpacing spacing) {
    return spacing == FitSpacing::Uniform       ? "uniform"
           : spacing == FitSpacing::ChordLength ? "chord"
                                                : "centripetal";
}

const char* FitKnotsWord(FitKnots knots) {
    return knots == FitKnots::Averaged ? "average" : "uniform";
}

Outcome<std::vector<double>> FitParameters(const std::vector<SplinePoint>& data, FitSpacing spacing,
                                           bool closed) {
    const std::size_t n = data.size();
    if (n < 2) {
        return Refusal<std::vector<double>>("a curve through points needs at least two of them");
    }
    std::vector<double> steps;
    for (std::size_t i = 1; i <= (closed ? n : n - 1); ++i) {
        const SplinePoint a = data[i - 1];
        const SplinePoint b = data[i % n];
        const double distance = std::hypot(b.x - a.x, b.y - a.y);
        if (!std::isfinite(distance)) {
            return Refusal<std::vector<double>>("P" + std::to_string(i - 1) + " or P" +
                                                std::to_string(i % n) + " is not a number");
        }
        if (distance == 0.0) {
            return Refusal<std::vector<double>>(
                "P" + std::to_string(i - 1) + " and P" + std::to_string(i % n) +
                " coincide: a curve through both would have to stop there");
        }
        steps.push_back(spacing == FitSpacing::Uniform       ? 1.0
                        : spacing == FitSpacing::ChordLength ? distance
                                                             : std::sqrt(distance));
    }
    const double total = std::accumulate(steps.begin(), steps.end(), 0.0);
    std::vector<double> parameters{0.0};
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        sum += steps[i];
        parameters.push_back(sum / total);
    }
    if (!closed) {
        parameters.back() = 1.0;
    }
    return Success(parameters);
}

namespace {

std::string TooFew(int degree, std::size_t count, bool closed) {
    return std::string(closed ? "a closed" : "a") + " curve of degree " + std::to_string(degree) +
           " through points needs at least " + std::to_string(degree + 1) + " of them (there are " +
           std::to_string(count) + ")";
}

// Periodic knots: one a data point, continued by the period 1 on either side, k beyond each end.
std::vector<double> PeriodicKnots(const std::vector<double>& parameters, int degree,
                                  FitKnots kind) {
    const int n = static_cast<int>(parameters.size());
    const auto base = [&](int i) {
        return i == n                      ? 1.0
               : kind == FitKnots::Uniform ? static_cast<double>(i) / n
                                           : parameters[i];
    };
    std::vector<double> period;
    period.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        period.push_back(degree % 2 == 1 ? base(i) : (base(i) + base(i + 1)) / 2);
    }
    std::vector<double> knots;
    for (int j = -degree; j <= n + degree; ++j) {
        const int turns = j >= 0 ? j / n : -((-j + n - 1) / n);
        knots.push_back(period[static_cast<std::size_t>(j - turns * n)] + turns);
    }
    return knots;
}

} // namespace

Outcome<std::vector<double>> InterpolationKnots(const std::vector<double>& parameters, int degree,
                                                FitKnots kind, bool closed) {
    const int count = static_cast<int>(parameters.size());
    if (degree < 1 || count < degree + 1) {
        return Refusal<std::vector<double>>(TooFew(degree, parameters.size(), closed));
    }
    if (closed) {
        return Success(PeriodicKnots(parameters, degree, kind));
    }
    std::vector<double> knots(static_cast<std::size_t>(degree) + 1, 0.0);
    for (int j = 1; j < count - degree; ++j) {
        double sum = 0.0;
        for (int i = j; i < j + degree; ++i) {
            sum += parameters[i];
        }
        knots.push_back(kind == FitKnots::Averaged ? sum / degree
                                                   : static_cast<double>(j) / (count - degree));
    }
    knots.insert(knots.end(), static_cast<std::size_t>(degree) + 1, 1.0);
    return Success(knots);
}

Outcome<std::vector<double>> ApproximationKnots(const std::vector<double>& parameters, int degree,
                                                int controls) {
    const int count = static_cast<int>(parameters.size());
    if (degree < 1 || count < degree + 1) {
        return Refusal<std::vector<double>>(TooFew(degree, parameters.size(), false));
    }
    if (controls < degree + 1 || controls > count) {
        return Refusal<std::vector<double>>("least squares of degree " + std::to_string(degree) +
                                            " takes " + std::to_string(degree + 1) + " to " +
                                            std::to_string(count) + " control points");
    }
    if (controls == count) {
        return InterpolationKnots(parameters, degree, FitKnots::Averaged, false);
    }
    std::vector<double> knots(static_cast<std::size_t>(degree) + 1, 0.0);
    const double d = static_cast<double>(count) / (controls - degree);
    for (int j = 1; j < controls - degree; ++j) {
        const int i = static_cast<int>(std::floor(j * d));
        const double a = j * d - i;
        knots.push_back((1 - a) * parameters[i - 1] + a * parameters[std::min(i, count - 1)]);
    }
    knots.insert(knots.end(), static_cast<std::size_t>(degree) + 1, 1.0);
    return Success(knots);
}
