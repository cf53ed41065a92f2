// Knot vectors: the editor's uniform one, the clamped (open uniform) one, a closed curve's, a
// custom vector kept valid as the points change, and knots as text.
#pragma once

#include "spline.h"

#include <string>
#include <vector>

// 0, 1, 2, ..., N + k: the editor's knots.
std::vector<double> UniformKnots(int pointCount, int degree);

// k + 1 times 0, then 1, 2, ..., N - k - 1, then k + 1 times N - k.
std::vector<double> ClampedKnots(int pointCount, int degree);

// A closed curve: the points with the first k again at the end (their weights too), on uniform
// knots. Fewer than k + 1 points give no closed curve: the spline is returned with no knots.
Spline ClosedSpline(const std::vector<SplinePoint>& points, const std::vector<double>& weights,
                    int degree);

// A custom vector brought to the N + k + 1 knots of N points of degree k: copies of a knot beyond
// k + 1 dropped, then the vector cut at its end or extended from its last knot in unit steps.
// The result can still be invalid (an empty domain): KnotsFault tells.
std::vector<double> FitKnots(const std::vector<double>& knots, int pointCount, int degree);

// "" when the knots can serve pointCount points of degree k: N + k + 1 finite knots, none
// smaller than the one before, none more than k + 1 times, and (with k + 1 points or more) a
// domain [u_k, u_N] that is not empty; else the first fault in words.
std::string KnotsFault(const std::vector<double>& knots, int pointCount, int degree);

// Knots as text: numbers separated by spaces or commas. Strict: "" and the knots, or the fault.
std::string ParseKnots(const std::string& text, std::vector<double>& knots);
// Whole knots whole, others in the fewest digits that read back the same.
std::string FormatKnots(const std::vector<double>& knots);
