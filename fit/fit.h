// Curves through points: parameters for the data points, knots, global interpolation (open, or
// closed on periodic knots) and least-squares approximation, and how far the curve passes from
// the data. Plain functions of their arguments; every refusal says why and gives no curve.
#pragma once

#include "spline.h"

#include <string>
#include <vector>

enum class FitSpacing { Uniform, ChordLength, Centripetal };
enum class FitKnots { Averaged, Uniform };
// "uniform", "chord", "centripetal"; "average", "uniform".
Outcome<FitSpacing> FitSpacingNamed(const std::string& word);
Outcome<FitKnots> FitKnotsNamed(const std::string& word);
const char* FitSpacingWord(FitSpacing spacing);
const char* FitKnotsWord(FitKnots knots);

// The data points' parameters from 0, each step the distance between neighbours (to the power 1,
// 1/2 or 0), over their sum: open, the last is 1; closed, the step back to the first counts too,
// so the last is below 1 (the first again at 1). Neighbours that coincide are refused.
Outcome<std::vector<double>> FitParameters(const std::vector<SplinePoint>& data, FitSpacing spacing,
                                           bool closed);

// Knots for interpolation of degree k through data at these parameters. Open: clamped (k + 1
// copies of 0 and of 1), the interior ones the averages of k neighbouring parameters, or uniform.
// Closed: periodic with period 1, at the parameters for odd k and halfway between them for even
// k (uniform: at i/n, or halfway), continued by the period on either side.
Outcome<std::vector<double>> InterpolationKnots(const std::vector<double>& parameters, int degree,
                                                FitKnots kind, bool closed);

// Knots for least squares with `controls` control points: clamped, and the interior knot j
// (1 <= j < controls - k) at (1 - a) u_(i-1) + a u_i where i + a = j d and d is the data count
// over the spans (controls - k): every span then holds at least one parameter. With as many
// control points as data, interpolation's averaged knots.
Outcome<std::vector<double>> ApproximationKnots(const std::vector<double>& parameters, int degree,
                                                int controls);

struct Fit {
    Spline spline;                    // weights 1; closed: its last k points are its first k
    std::vector<double> parameters;   // each data point's, in the spline's domain
    std::vector<SplinePoint> onCurve; // the curve at each parameter
    double largest;                   // the largest and the mean distance from a data point to
    double mean;                      // its curve point
    int lower;                        // the system's band below and above its diagonal
    int upper;
};

// The curve of degree k through every data point at its parameter, on these knots (as made
// above); closed, the curve joins itself with C^(k-1).
Outcome<Fit> Interpolate(const std::vector<SplinePoint>& data,
                         const std::vector<double>& parameters, const std::vector<double>& knots,
                         int degree, bool closed);

// The curve of degree k on these knots nearest the data in the least-squares sense, every
// control point free, or the first and last pinned to the first and last data points.
Outcome<Fit> Approximate(const std::vector<SplinePoint>& data,
                         const std::vector<double>& parameters, const std::vector<double>& knots,
                         int degree, bool pinEnds);

// The collocation matrix of a fit: each data point's row, its basis values N_j(u_i) from the
// point `first` (a closed curve's columns past its points are its first ones again).
std::vector<SplineBasis> CollocationOf(const Fit& fit);

// The whole of it from the learner's choices.
struct FitChoice {
    bool leastSquares;
    FitSpacing spacing;
    FitKnots knots; // interpolation's
    bool closed;    // interpolation's
    int controls;   // least squares'
    bool pinEnds;   // least squares'
};
Outcome<Fit> FitThrough(const std::vector<SplinePoint>& data, int degree, const FitChoice& choice);
