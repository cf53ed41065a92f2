// The numbers of the basis plot (basis_plot.js), by name: the shape of a basis function.
#include "explain.h"
#include "js_values.h"

#include <emscripten/bind.h>

#include <algorithm>
#include <vector>

namespace {

// N_0 of degree k at perKnot samples per knot interval: (k + 1) * perKnot + 1 values.
emscripten::val FirstBasis(int degree, int perKnot) {
    const int k = std::clamp(degree, 1, kMaxDegree);
    const int per = std::clamp(perKnot, 1, 256);
    std::vector<double> values(static_cast<std::size_t>((k + 1) * per + 1), 0.0);
    SampleFirstBasis(k, per, values.data());
    return NumberArray(values);
}

} // namespace

EMSCRIPTEN_BINDINGS(basis_plot) {
    emscripten::function("firstBasis", &FirstBasis);
}
