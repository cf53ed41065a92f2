// A B-spline's basis by the Cox-de Boor recursion and its derivatives by differentiating that
// recursion, written out independently of the code under test; random valid splines.
#pragma once

#include "spline.h"

#include <random>
#include <vector>

// N_(j,k)(t), 0/0 taken as 0; degree 0 is u_j <= t < u_(j+1). Its d-th derivative by
// N'_(j,k) = k N_(j,k-1) / (u_(j+k) - u_j) - k N_(j+1,k-1) / (u_(j+k+1) - u_(j+1)).
inline double CoxDeBoor(const std::vector<double>& u, int j, int k, double t, int d = 0) {
    if (k == 0) {
        return d == 0 && u[j] <= t && t < u[j + 1] ? 1.0 : 0.0;
    }
    double value = 0.0;
    if (u[j + k] > u[j]) {
        value += d > 0 ? k / (u[j + k] - u[j]) * CoxDeBoor(u, j, k - 1, t, d - 1)
                       : (t - u[j]) / (u[j + k] - u[j]) * CoxDeBoor(u, j, k - 1, t);
    }
    if (u[j + k + 1] > u[j + 1]) {
        value +=
            d > 0 ? -k / (u[j + k + 1] - u[j + 1]) * CoxDeBoor(u, j + 1, k - 1, t, d - 1)
                  : (u[j + k + 1] - t) / (u[j + k + 1] - u[j + 1]) * CoxDeBoor(u, j + 1, k - 1, t);
    }
    return value;
}

// C, C' and C'' at t (not at a knot) from the basis: the weighted sums A and W and the quotient
// rule written out, C' = (A'W - AW') / W^2 and C'' = (A''W - AW'') / W^2 - 2W'(A'W - AW') / W^3.
inline std::vector<SplinePoint> ReferenceDerivatives(const Spline& s, double t) {
    double a[3][2] = {};
    double w[3] = {};
    for (std::size_t j = 0; j < s.points.size(); ++j) {
        for (int d = 0; d < 3; ++d) {
            const double n = CoxDeBoor(s.knots, static_cast<int>(j), s.degree, t, d) * s.weights[j];
            a[d][0] += n * s.points[j].x;
            a[d][1] += n * s.points[j].y;
            w[d] += n;
        }
    }
    std::vector<SplinePoint> c(3);
    double v[3][2];
    for (int axis = 0; axis < 2; ++axis) {
        const double first = a[1][axis] * w[0] - a[0][axis] * w[1];
        v[0][axis] = a[0][axis] / w[0];
        v[1][axis] = first / (w[0] * w[0]);
        v[2][axis] = (a[2][axis] * w[0] - a[0][axis] * w[2]) / (w[0] * w[0]) -
                     2.0 * w[1] * first / (w[0] * w[0] * w[0]);
    }
    for (int d = 0; d < 3; ++d) {
        c[d] = SplinePoint{v[d][0], v[d][1]};
    }
    return c;
}

// Random points in the unit square, weights from 0.2 to 3.2 (or all 1), and knots with gaps
// from 0.1 to 2.1 and runs of up to `longestRun` copies (k + 1 when 0).
inline Spline RandomSpline(std::mt19937& random, int k, int n, bool weighted, int longestRun = 0) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const int longest = longestRun > 0 ? longestRun : k + 1;
    Spline s{k, {}, {}, {}};
    for (int j = 0; j < n; ++j) {
        s.points.push_back(SplinePoint{unit(random), unit(random)});
        s.weights.push_back(weighted ? 0.2 + 3.0 * unit(random) : 1.0);
    }
    do {
        s.knots = {0.0};
        int run = 1;
        while (static_cast<int>(s.knots.size()) < n + k + 1) {
            const bool repeat = run < longest && unit(random) < 0.35;
            s.knots.push_back(repeat ? s.knots.back() : s.knots.back() + 0.1 + 2.0 * unit(random));
            run = repeat ? run + 1 : 1;
        }
    } while (!SplineFault(s).empty());
    return s;
}
