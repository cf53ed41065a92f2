#include "explain.h"

#include "scene.h"

#include <algorithm>
#include <cmath>

namespace {

bool WholeDegree(float k) {
    return k >= 1.0f && k <= static_cast<float>(kMaxDegree) && std::floor(k) == k;
}

} // namespace

CurveDomain DomainOfCurve() {
    CurveDomain domain{};
    if (!WholeDegree(editor.degree)) {
        return domain;
    }
    domain.degree = static_cast<int>(editor.degree);
    domain.pointCount = editor.pointCount;
    domain.hasCurve = editor.pointCount >= domain.degree + 1;
    domain.pointsNeeded = domain.hasCurve ? 0 : domain.degree + 1 - editor.pointCount;
    if (domain.hasCurve) {
        const float n = static_cast<float>(editor.pointCount);
        bool done = false;
        float t = editor.degree;
        while (!done) {
            ++domain.sampleCount;
            t = NextSampleParameter(t, n, done);
        }
    }
    return domain;
}

EditorSample EditorSampleAt(std::int32_t n) {
    const CurveDomain domain = DomainOfCurve();
    const std::int32_t at = std::clamp(n, 0, std::max(domain.sampleCount - 1, 0));
    return EditorSample{at, SampleParameter(at),
                        std::min(domain.degree + at / 10.0, double(domain.pointCount))};
}

float SampleParameter(std::int32_t n) {
    const float last = static_cast<float>(editor.pointCount);
    float t = editor.degree;
    bool done = false;
    for (std::int32_t k = 0; k < n; ++k) {
        const float next = NextSampleParameter(t, last, done);
        if (done) {
            break;
        }
        t = next;
    }
    return t;
}

namespace {

// The triangular scheme over the knot differences left[j] = t - u[i + 1 - j] and
// right[j] = u[i + j] - t, with u[j] = j, for t in [i, i + 1].
BasisValues BasisInSpan(int degree, double i, double t) {
    BasisValues basis{};
    basis.degree = std::clamp(degree, 1, kMaxDegree);
    basis.first = static_cast<int>(i) - basis.degree;
    double left[kMaxDegree + 1];
    double right[kMaxDegree + 1];
    basis.value[0] = 1.0;
    for (int j = 1; j <= basis.degree; ++j) {
        left[j] = t - (i + 1.0 - j);
        right[j] = (i + j) - t;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            const double share = basis.value[r] / (right[r + 1] + left[j - r]);
            basis.value[r] = saved + right[r + 1] * share;
            saved = left[j - r] * share;
        }
        basis.value[j] = saved;
    }
    return basis;
}

} // namespace

BasisValues BasisAt(int degree, double t) {
    return BasisInSpan(degree, std::floor(t), t);
}

BasisValues BasisInDomain(int degree, int pointCount, double t) {
    return BasisInSpan(degree, std::min(std::floor(t), pointCount - 1.0), t);
}

void SampleFirstBasis(int degree, int perKnot, double* values) {
    const int k = std::clamp(degree, 1, kMaxDegree);
    const int count = (k + 1) * perKnot + 1;
    for (int s = 0; s < count; ++s) {
        const double u = static_cast<double>(s) / perKnot;
        // N_0 is the value of index 0 among N_first .. N_first+k at u.
        const BasisValues basis = BasisAt(k, u);
        const int at = -basis.first;
        values[s] = at >= 0 && at <= k ? basis.value[at] : 0.0;
    }
}
