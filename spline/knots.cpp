#include "knots.h"

#include "decimal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

} // namespace

std::string KnotsFault(const std::vector<double>& knots, int pointCount, int degree) {
    const std::size_t count =
        static_cast<std::size_t>(pointCount) + static_cast<std::size_t>(degree) + 1;
    if (knots.size() != count) {
        return "there must be " + std::to_string(count) + " knots (N + k + 1), not " +
               std::to_string(knots.size());
    }
    std::size_t run = 1;
    for (std::size_t j = 0; j < count; ++j) {
        if (!std::isfinite(knots[j])) {
            return "knot " + std::to_string(j) + " is not a finite number";
        }
        if (j == 0) {
            continue;
        }
        if (knots[j] < knots[j - 1]) {
            return "the knots decrease at knot " + std::to_string(j) + " (" + Number(knots[j - 1]) +
                   " then " + Number(knots[j]) + ")";
        }
        run = knots[j] == knots[j - 1] ? run + 1 : 1;
        if (run > static_cast<std::size_t>(degree) + 1) {
            return "the knot " + Number(knots[j]) +
                   " stands more than k + 1 = " + std::to_string(degree + 1) + " times";
        }
    }
    if (pointCount >= degree + 1 &&
        !(knots[static_cast<std::size_t>(degree)] < knots[static_cast<std::size_t>(pointCount)])) {
        return "the domain from u_k to u_N is empty";
    }
    return "";
}

std::vector<double> UniformKnots(int pointCount, int degree) {
    std::vector<double> knots;
    for (int j = 0; j <= pointCount + degree; ++j) {
        knots.push_back(j);
    }
    return knots;
}

std::vector<double> ClampedKnots(int pointCount, int degree) {
    std::vector<double> knots;
    const int inner = pointCount - degree; // the domain runs from 0 to this
    for (int j = 0; j <= pointCount + degree; ++j) {
        knots.push_back(j <= degree ? 0.0 : j >= pointCount ? inner : j - degree);
    }
    return knots;
}

Spline ClosedSpline(const std::vector<SplinePoint>& points, const std::vector<double>& weights,
                    int degree) {
    Spline closed{degree, points, weights, {}};
    if (static_cast<int>(points.size()) < degree + 1 || weights.size() != points.size()) {
        return closed;
    }
    for (int j = 0; j < degree; ++j) {
        closed.points.push_back(points[static_cast<std::size_t>(j)]);
        closed.weights.push_back(weights[static_cast<std::size_t>(j)]);
    }
    closed.knots = UniformKnots(static_cast<int>(closed.points.size()), degree);
    return closed;
}

std::vector<double> FitKnots(const std::vector<double>& knots, int pointCount, int degree) {
    std::vector<double> fitted;
    std::size_t run = 0;
    for (std::size_t j = 0; j < knots.size(); ++j) {
        run = j > 0 && knots[j] == knots[j - 1] ? run + 1 : 1;
        if (run <= static_cast<std::size_t>(degree) + 1) {
            fitted.push_back(knots[j]);
        }
    }
    const std::size_t count =
        static_cast<std::size_t>(pointCount) + static_cast<std::size_t>(degree) + 1;
    if (fitted.size() > count) {
        fitted.resize(count);
    }
    while (fitted.size() < count) {
        fitted.push_back(fitted.empty() ? 0.0 : fitted.back() + 1.0);
    }
    return fitted;
}

std::string ParseKnots(const std::string& text, std::vector<double>& knots) {
    std::vector<double> read;
    std::size_t at = 0;
    const auto separator = [](char c) { return c == ' ' || c == ','; };
    while (at < text.size()) {
        while (at < text.size() && separator(text[at])) {
            ++at;
        }
        std::size_t end = at;
        while (end < text.size() && !separator(text[end])) {
            ++end;
        }
        if (end == at) {
            break;
        }
        double value = 0.0;
        const DecimalRead result = ReadDouble(text.data() + at, end - at, value);
        if (result == DecimalRead::NotANumber) {
            return "knot " + std::to_string(read.size()) + " (\"" +
                   text.substr(at, std::min<std::size_t>(end - at, 24)) + "\") is not a number";
        }
        if (result == DecimalRead::NotFinite) {
            return "knot " + std::to_string(read.size()) + " is not a finite number";
        }
        read.push_back(value);
        at = end;
    }
    if (read.empty()) {
        return "no knots";
    }
    knots = read;
    return "";
}

std::string FormatKnots(const std::vector<double>& knots) {
    std::string text;
    for (const double u : knots) {
        text += (text.empty() ? "" : " ") + FormatDouble(u);
    }
    return text;
}
