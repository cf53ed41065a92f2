// Knot vectors: the editor's uniform one, the clamped (open uniform) one, a closed curve's, a
// custom vector kept valid as the points change, and knots as text.
#pragma once

#include "outcome.h"
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

// A custom vector brought to the N + k + 1 knots of N points of degree k (after points were
// placed or deleted): copies of a knot beyond k + 1 dropped, then the vector cut at its end or
// extended from its last knot in unit steps; refused, with KnotsFault's reason, when even then it
// cannot serve the points (an empty domain).
Outcome<std::vector<double>> FitKnots(const std::vector<double>& knots, int pointCount, int degree);

// "" when the knots can serve pointCount points of degree k: N + k + 1 finite knots, none
// smaller than the one before, none more than k + 1 times, and (with k + 1 points or more) a
// domain [u_k, u_N] that is not empty; else the first fault in words.
std::string KnotsFault(const std::vector<double>& knots, int pointCount, int degree);

// The run of equal knots that holds knot `index` moved to u, kept between the knots before and
// after it. The knots must serve N points of degree k (KnotsFault), and still do after the move.
Outcome<std::vector<double>> MoveKnot(const std::vector<double>& knots, int index, double u,
                                      int pointCount, int degree);

// The multiplicity of knot `index`'s value raised (delta +1) or lowered (delta -1), the vector
// keeping its N + k + 1 knots.
// Raising adds a copy of the knot and takes one knot off an end of the vector: the end that
// leaves the domain [u_k, u_N] widest, among those that keep the knot where it was (strictly
// inside the domain, at one of its ends, or outside it); on a tie, the last knot. When neither
// end can, the knot cannot stand once more there, and the reason says so.
// Lowering moves one copy halfway to the neighbouring knot, so that a distinct knot comes back
// between them and the domain stays: a knot at or before the domain's start gives its first
// copy to the left, any other its last copy to the right (one unit out at the vector's ends).
Outcome<std::vector<double>> ChangeMultiplicity(const std::vector<double>& knots, int index,
                                                int delta, int pointCount, int degree);

// Knots as text: numbers separated by spaces or commas, read strictly.
Outcome<std::vector<double>> ParseKnots(const std::string& text);
// Whole knots whole, others in the fewest digits that read back the same.
std::string FormatKnots(const std::vector<double>& knots);
