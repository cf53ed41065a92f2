// The panel's numbers for the page: the curve's domain, de Boor's triangle and the basis at a
// parameter, the span ends, the shape of a basis function. Each call fills one buffer here and
// returns its address; the page reads it in the order written (tavrimo_page.js, readExplain).
#include "explain.h"
#include "raster.h"

#include <emscripten/emscripten.h>

#include <vector>

namespace {

std::vector<double> report;
std::vector<float> spanEnds;
std::vector<double> firstBasis;

void AddPoint(CurvePoint p) {
    report.push_back(p.x);
    report.push_back(p.y);
}

void AddSpanEnd(void* /*context*/, float /*t*/, CurvePoint p) {
    spanEnds.push_back(p.x);
    spanEnds.push_back(p.y);
}

} // namespace

extern "C" {

// degree, point count, has a curve (1 or 0), points needed, sample count.
EMSCRIPTEN_KEEPALIVE const double* tavrimo_explain_domain() {
    const CurveDomain domain = DomainOfCurve();
    report = {static_cast<double>(domain.degree), static_cast<double>(domain.pointCount),
              domain.hasCurve ? 1.0 : 0.0, static_cast<double>(domain.pointsNeeded),
              static_cast<double>(domain.sampleCount)};
    return report.data();
}

EMSCRIPTEN_KEEPALIVE float tavrimo_explain_sample_parameter(int n) {
    return SampleParameter(n);
}

// At t (float32, within the domain): t, the levels k, the index of the first level-0 point,
// then level by level its points as x, y in world coordinates (k + 1 - l points at level l),
// then C(t)'s pixel as client column and row, then the k + 1 basis values from N_first.
EMSCRIPTEN_KEEPALIVE const double* tavrimo_explain_at(float t) {
    const DeBoorLevels triangle = DeBoorTriangle(t);
    report = {t, static_cast<double>(triangle.levels), triangle.firstIndex};
    for (int l = 0; l <= triangle.levels; ++l) {
        for (int j = 0; j + l <= triangle.levels; ++j) {
            AddPoint(triangle.point[l][j]);
        }
    }
    const CurvePoint top = triangle.point[triangle.levels][0];
    report.push_back(PixelRound(top.x));
    report.push_back(kWorldOriginRow - static_cast<double>(PixelRound(top.y)));
    const BasisValues basis = BasisAt(triangle.levels, t);
    for (int j = 0; j <= triangle.levels; ++j) {
        report.push_back(basis.value[j]);
    }
    return report.data();
}

// The count, then each span end as x, y in world coordinates.
EMSCRIPTEN_KEEPALIVE const float* tavrimo_explain_span_ends() {
    spanEnds.assign(1, 0.0f);
    spanEnds[0] = static_cast<float>(VisitSpanEnds(AddSpanEnd, nullptr));
    return spanEnds.data();
}

// N_0 of degree k at perKnot samples per knot interval: (k + 1) * perKnot + 1 values.
EMSCRIPTEN_KEEPALIVE const double* tavrimo_explain_first_basis(int degree, int perKnot) {
    const int k = degree < 1 ? 1 : degree > kMaxDegree ? kMaxDegree : degree;
    const int per = perKnot < 1 ? 1 : perKnot > 256 ? 256 : perKnot;
    firstBasis.assign(static_cast<std::size_t>((k + 1) * per + 1), 0.0);
    SampleFirstBasis(k, per, firstBasis.data());
    return firstBasis.data();
}

} // extern "C"
