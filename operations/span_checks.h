// What the operations share inside this folder: the constant-time checks an operation on one
// span or at one t makes (the spline's own validity is SplineFault's, checked once a curve), and
// the derivatives on a span those checks have passed.
#pragma once

#include "spline.h"

#include <string>
#include <vector>

// The spline's points, weights and knots match in number, for a degree of 1 or more.
inline bool IsShaped(const Spline& spline) {
    const int k = spline.degree;
    const int n = static_cast<int>(spline.points.size());
    return k >= 1 && n >= k + 1 &&
           spline.knots.size() == static_cast<std::size_t>(n) + static_cast<std::size_t>(k) + 1 &&
           spline.weights.size() == spline.points.size();
}

// Span i (k <= i < N) of a shaped spline exists and is not empty.
inline bool IsSpan(const Spline& spline, int span) {
    return IsShaped(spline) && span >= spline.degree &&
           span < static_cast<int>(spline.points.size()) &&
           spline.knots[static_cast<std::size_t>(span)] <
               spline.knots[static_cast<std::size_t>(span) + 1];
}

inline std::string NoSpan(int span) {
    return "there is no span " + std::to_string(span) + " with a piece of curve";
}

// SplineFault's reason as a refusal.
template <typename T> Outcome<T> SplineRefused(const Spline& spline) {
    return Refusal<T>(SplineFault(spline));
}

// C(t), C'(t), ..., the order-th derivative on span i, which IsSpan has passed.
std::vector<SplinePoint> DerivativesOnSpan(const Spline& spline, int span, double t, int order);
