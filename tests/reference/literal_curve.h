// de Boor's recursion evaluated exactly as written: four recursive calls per level and a
// walk along the list for every level-0 point. Slow (4^k per sample); the reference the
// fast evaluation must match bit for bit.
#pragma once

#include "curve.h"
#include "scene.h"

#include <vector>

CurvePoint LiteralDeBoorPoint(float r, float i, float t);

struct LiteralSample {
    float t;
    CurvePoint point;
};

// The samples of the curve as the straightforward loop produces them.
std::vector<LiteralSample> LiteralCurveSamples();

// Draws the curve with the literal recursion and the literal line stepping.
void LiteralDrawCurve(const BackBuffer& surface);

// Polygon segments and markers in list order (boxes row by row), drawn by the references.
void LiteralDrawPolygonAndMarkers(const BackBuffer& surface);

// A whole frame's picture, every part drawn by the references: the polygon and markers, then
// the curve.
void LiteralComposeFrame(const BackBuffer& surface);
