// How the curve is made, for a view beside the editor: the parameter's domain and the
// editor's sample parameters, de Boor's triangle at a parameter, the basis functions.
#pragma once

#include "curve.h"

#include <cstdint>

struct CurveDomain {
    int degree;     // k: the curve runs over k <= t <= pointCount
    int pointCount; // N
    bool hasCurve;
    int pointsNeeded; // how many more points a curve needs, 0 when there is one
    std::int32_t sampleCount;
};

// The domain of the editor's curve; no curve for a degree that is not whole.
CurveDomain DomainOfCurve();

// The editor's sample number n (0 at t = degree): its t as the sampler steps it, float32
// sums of the step 0.1. Negative n gives the first.
float SampleParameter(std::int32_t n);

// The editor's sample n, taken into its samples: its index, the float32 t it draws at, and the
// t it stands for (k + n / 10, at most N).
struct EditorSample {
    std::int32_t index;
    float exact;
    double nominal;
};
EditorSample EditorSampleAt(std::int32_t n);

// The uniform B-spline basis functions of degree k on the knots 0, 1, 2, ... at t >= 0, in
// double: N_first .. N_first+k, the k + 1 of them that can be non-zero at t (first = floor(t) - k,
// which is negative below t = k).
struct BasisValues {
    int degree;
    int first;
    double value[kMaxDegree + 1];
};

BasisValues BasisAt(int degree, double t);

// The same for a curve over pointCount points, with t in its domain [k, pointCount]: at t =
// pointCount, the functions of the last span, N_(pointCount-k-1) .. N_(pointCount-1).
BasisValues BasisInDomain(int degree, int pointCount, double t);

// N_0 of degree k over its support [0, k + 1], which every N_j repeats shifted by j:
// perKnot samples per knot interval, (k + 1) * perKnot + 1 values into `values`.
void SampleFirstBasis(int degree, int perKnot, double* values);
