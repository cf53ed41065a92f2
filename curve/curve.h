// The uniform B-spline of degree `degree` over the point list, on the knots 0, 1, 2, ...
#pragma once

#include "scene.h"

#include <cstdint>

struct CurvePoint {
    float x;
    float y;
};

constexpr int kMaxDegree = 9;

// de Boor's point d[r][i] at parameter t; with r = degree and i = floor(t) the spline's
// value at t. Level 0 is PointAt(i), or (0, 0) past the end. r is taken as a whole number
// from 0 to 9.
CurvePoint DeBoorPoint(float r, float i, float t);

// Called for every sample in order of t; context is the caller's.
using CurveSampleVisitor = void (*)(void* context, float t, CurvePoint sample);

// Visits the samples t = degree, degree + 0.1, ... up to the point count; returns how many.
// None when there are fewer than degree + 1 points.
std::int32_t SampleCurve(CurveSampleVisitor visit, void* context);

// Joins consecutive samples with lines in curveColor on the surface; the first sample is
// drawn as a segment to itself.
void DrawCurve(const BackBuffer& surface);
