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

Outcome<std::vector<double>> FitKnots(const std::vector<double>& knots, int pointCount,
                                      int degree) {
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
    std::string fault = KnotsFault(fitted, pointCount, degree);
    return fault.empty() ? Success(std::move(fitted)) : Refusal<std::vector<double>>(fault);
}

namespace {

using Knots = std::vector<double>;

// The copies of knot `index`'s value: positions first .. last.
struct Run {
    std::size_t first;
    std::size_t last;
    std::size_t count() const { return last - first + 1; }
};

Run RunAt(const Knots& knots, std::size_t index) {
    Run run{index, index};
    while (run.first > 0 && knots[run.first - 1] == knots[index]) {
        --run.first;
    }
    while (run.last + 1 < knots.size() && knots[run.last + 1] == knots[index]) {
        ++run.last;
    }
    return run;
}

// "" when `index` names a knot of a vector that serves the points; else why not.
std::string EditFault(const Knots& knots, int index, int pointCount, int degree) {
    std::string fault = KnotsFault(knots, pointCount, degree);
    if (!fault.empty()) {
        return fault;
    }
    if (index < 0 || static_cast<std::size_t>(index) >= knots.size()) {
        return "there is no knot " + std::to_string(index);
    }
    return "";
}

// Where u lies against the domain [a, b]: -1 outside, 0 at an end, 1 strictly inside.
int Placement(double u, double a, double b) {
    return u > a && u < b ? 1 : u == a || u == b ? 0 : -1;
}

Outcome<Knots> Raised(const Knots& knots, std::size_t index, int pointCount, int degree) {
    const std::size_t n = static_cast<std::size_t>(pointCount);
    const std::size_t k = static_cast<std::size_t>(degree);
    const double u = knots[index];
    const Run run = RunAt(knots, index);
    if (run.count() >= k + 1) {
        return Refusal<Knots>("the knot " + FormatDouble(u) +
                              " already stands k + 1 = " + std::to_string(k + 1) + " times");
    }
    const int placement = Placement(u, knots[k], knots[n]);
    Knots added = knots;
    added.insert(added.begin() + static_cast<std::ptrdiff_t>(run.last) + 1, u);
    Knots best;
    double widest = -1.0;
    for (const bool dropLast : {true, false}) {
        Knots candidate = added;
        candidate.erase(dropLast ? candidate.end() - 1 : candidate.begin());
        const bool keeps = KnotsFault(candidate, pointCount, degree).empty() &&
                           static_cast<std::size_t>(std::count(candidate.begin(), candidate.end(),
                                                               u)) == run.count() + 1 &&
                           Placement(u, candidate[k], candidate[n]) == placement;
        if (keeps && candidate[n] - candidate[k] > widest) {
            widest = candidate[n] - candidate[k];
            best = std::move(candidate);
        }
    }
    if (!best.empty()) {
        return Success(std::move(best));
    }
    const std::size_t times = run.count() + 1;
    if (placement == 1 && n < k + times + 1) {
        return Refusal<Knots>("to stand " + std::to_string(times) +
                              " times inside the domain, a knot of degree " + std::to_string(k) +
                              " needs " + std::to_string(k + times + 1) + " points (there are " +
                              std::to_string(n) + ")");
    }
    return Refusal<Knots>("the knot " + FormatDouble(u) + " cannot stand " + std::to_string(times) +
                          " times and stay where it is in the domain");
}

Outcome<Knots> Lowered(Knots knots, std::size_t index, int degree) {
    const double u = knots[index];
    const Run run = RunAt(knots, index);
    if (run.count() == 1) {
        return Refusal<Knots>("the knot " + FormatDouble(u) + " stands once");
    }
    const bool left = u <= knots[static_cast<std::size_t>(degree)];
    const std::size_t copy = left ? run.first : run.last;
    const bool end = left ? run.first == 0 : run.last + 1 == knots.size();
    const double neighbour = end ? u + (left ? -1.0 : 1.0) : knots[left ? copy - 1 : copy + 1];
    const double between = end ? neighbour : (u + neighbour) / 2.0;
    if (between == u || (!end && between == neighbour)) {
        return Refusal<Knots>("no number lies between the knot " + FormatDouble(u) +
                              " and its neighbour");
    }
    knots[copy] = between;
    return Success(std::move(knots));
}

} // namespace

Outcome<std::vector<double>> MoveKnot(const std::vector<double>& knots, int index, double u,
                                      int pointCount, int degree) {
    const std::string fault = EditFault(knots, index, pointCount, degree);
    if (!fault.empty()) {
        return Refusal<Knots>(fault);
    }
    if (!std::isfinite(u)) {
        return Refusal<Knots>("a knot must be a finite number");
    }
    const Run run = RunAt(knots, static_cast<std::size_t>(index));
    const double low = run.first > 0 ? knots[run.first - 1] : -1e9;
    const double high = run.last + 1 < knots.size() ? knots[run.last + 1] : 1e9;
    Knots moved = knots;
    std::fill(moved.begin() + static_cast<std::ptrdiff_t>(run.first),
              moved.begin() + static_cast<std::ptrdiff_t>(run.last) + 1,
              std::min(std::max(u, low), high));
    const std::string after = KnotsFault(moved, pointCount, degree);
    return after.empty() ? Success(std::move(moved)) : Refusal<Knots>(after);
}

Outcome<std::vector<double>> ChangeMultiplicity(const std::vector<double>& knots, int index,
                                                int delta, int pointCount, int degree) {
    const std::string fault = EditFault(knots, index, pointCount, degree);
    if (!fault.empty()) {
        return Refusal<Knots>(fault);
    }
    if (delta != 1 && delta != -1) {
        return Refusal<Knots>("a multiplicity changes by one at a time");
    }
    Outcome<Knots> changed =
        delta > 0 ? Raised(knots, static_cast<std::size_t>(index), pointCount, degree)
                  : Lowered(knots, static_cast<std::size_t>(index), degree);
    if (changed.ok()) {
        changed.fault = KnotsFault(changed.value, pointCount, degree);
    }
    return changed;
}

Outcome<std::vector<double>> ParseKnots(const std::string& text) {
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
            return Refusal<Knots>("knot " + std::to_string(read.size()) + " (\"" +
                                  text.substr(at, std::min<std::size_t>(end - at, 24)) +
                                  "\") is not a number");
        }
        if (result == DecimalRead::NotFinite) {
            return Refusal<Knots>("knot " + std::to_string(read.size()) +
                                  " is not a finite number");
        }
        read.push_back(value);
        at = end;
    }
    return read.empty() ? Refusal<Knots>("no knots") : Success(std::move(read));
}

std::string FormatKnots(const std::vector<double>& knots) {
    std::string text;
    for (const double u : knots) {
        text += (text.empty() ? "" : " ") + FormatDouble(u);
    }
    return text;
}
