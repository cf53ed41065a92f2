// Core results as JavaScript values: each call makes new values the page keeps, never a view of
// memory a later call reuses.
#pragma once

#include "spline.h"

#include <emscripten/val.h>

#include <vector>

// A new Float64Array holding the numbers.
inline emscripten::val NumberArray(const std::vector<double>& numbers) {
    return emscripten::val::global("Float64Array")
        .new_(emscripten::typed_memory_view(numbers.size(), numbers.data()));
}

// A plain array of the numbers, copied in one call.
inline emscripten::val ArrayOf(const std::vector<double>& numbers) {
    return emscripten::val::global("Array").call<emscripten::val>(
        "from", emscripten::val(emscripten::typed_memory_view(numbers.size(), numbers.data())));
}

inline emscripten::val XY(double x, double y) {
    emscripten::val point = emscripten::val::object();
    point.set("x", x);
    point.set("y", y);
    return point;
}

inline emscripten::val XY(SplinePoint p) {
    return XY(p.x, p.y);
}

// Points as x, y, x, y, ...
inline emscripten::val PointNumbers(const std::vector<SplinePoint>& points) {
    std::vector<double> xy;
    xy.reserve(points.size() * 2);
    for (const SplinePoint& p : points) {
        xy.insert(xy.end(), {p.x, p.y});
    }
    return NumberArray(xy);
}
