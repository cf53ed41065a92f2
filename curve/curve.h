// The uniform B-spline of degree `degree` over the point list, on the knots 0, 1, 2, ...
#pragma once

#include "scene.h"

#include <cstdint>

struct CurvePoint {
    float x;
    float y;
};

// de Boor's point d[r][i] at parameter t; with r = degree and i = floor(t) the spline's
// value at t. Level 0 is PointAt(i), or (0, 0) past the end. r is taken as a whole number
// from 0 to 9.
CurvePoint DeBoorPoint(float r, float i, float t);

// Every point of de Boor's triangle for the spline's value at t: point[l][j] is d[l] at index
// firstIndex + l + j, for j = 0 .. levels - l; level 0 holds the control points (or (0, 0)
// past the end) and point[levels][0] is DeBoorPoint(degree, floor(t), t), bit for bit.
struct DeBoorLevels {
    int levels;
    float firstIndex;
    CurvePoint point[kMaxDegree + 1][kMaxDegree + 1];
};

DeBoorLevels DeBoorTriangle(float t);

// The sampler's step from the sample at t on a curve over n points: t + 0.1 formed in double
// and rounded to float32; `done` when that sum, before its rounding, is past n, or when it
// rounds back to t (from t = 2,097,152 on, where float32's spacing exceeds 0.2), so that the
// sampling ends whatever the point count.
inline float NextSampleParameter(float t, float n, bool& done) {
    const double s = static_cast<double>(t) + static_cast<double>(0.1f);
    const float next = static_cast<float>(s);
    done = s > static_cast<double>(n) || next == t;
    return next;
}

// Called for every sample in order of t; context is the caller's.
using CurveSampleVisitor = void (*)(void* context, float t, CurvePoint sample);

// Visits the samples t = degree, degree + 0.1, ... up to the point count; returns how many.
// None when there are fewer than degree + 1 points.
std::int32_t SampleCurve(CurveSampleVisitor visit, void* context);

// Visits the curve's points at the whole parameters t = degree .. point count, where one
// polynomial piece meets the next, each bit for bit DeBoorPoint(degree, t, t); returns how
// many. None when there is no curve or the degree is not whole.
std::int32_t VisitSpanEnds(CurveSampleVisitor visit, void* context);

// Joins consecutive samples with lines in curveColor on the surface; the first sample is
// drawn as a segment to itself.
void DrawCurve(const BackBuffer& surface);
