// A point in homogeneous coordinates (w x, w y, w): blended as a plain point, a weighted point
// follows the rational curve.
#pragma once

#include "spline.h"

struct Homogeneous {
    double x;
    double y;
    double w;
};

inline Homogeneous Lift(SplinePoint p, double w) {
    return Homogeneous{p.x * w, p.y * w, w};
}

inline Homogeneous Blend(const Homogeneous& a, const Homogeneous& b, double alpha) {
    return Homogeneous{(1.0 - alpha) * a.x + alpha * b.x, (1.0 - alpha) * a.y + alpha * b.y,
                       (1.0 - alpha) * a.w + alpha * b.w};
}
