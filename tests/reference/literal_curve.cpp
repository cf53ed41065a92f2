#include "literal_curve.h"

#include "literal_line.h"
#include "raster.h"
#include "scene.h"

#include <cmath>

CurvePoint LiteralDeBoorPoint(float r, float i, float t) {
    if (r == 0.0f) {
        const ControlPoint* p = PointAt(i);
        return p != nullptr ? CurvePoint{p->x, p->y} : CurvePoint{0.0f, 0.0f};
    }
    const float k = editor.degree;
    const float rDown = r - 1.0f;
    const float iDown = i - 1.0f;
    const float u = i + k - r + 1.0f;
    const float tFromI = t - i;
    const float alpha = tFromI / (u - i);
    const float beta = (u - t) / (u - i);

    const CurvePoint px = LiteralDeBoorPoint(rDown, iDown, t);
    const CurvePoint qx = LiteralDeBoorPoint(rDown, i, t);
    const float x = static_cast<float>(static_cast<double>(alpha) * static_cast<double>(qx.x) +
                                       static_cast<double>(beta) * static_cast<double>(px.x));

    const CurvePoint qy = LiteralDeBoorPoint(rDown, i, t);
    const float alphaQy = alpha * qy.y;
    const CurvePoint py = LiteralDeBoorPoint(rDown, iDown, t);
    const float y = static_cast<float>(static_cast<double>(alphaQy) +
                                       static_cast<double>(beta) * static_cast<double>(py.y));
    return CurvePoint{x, y};
}

std::vector<LiteralSample> LiteralCurveSamples() {
    std::vector<LiteralSample> samples;
    const float k = editor.degree;
    if (static_cast<float>(editor.pointCount) < k + 1.0f) {
        return samples;
    }
    const float n = static_cast<float>(editor.pointCount);
    const float step = 0.1f;
    float t = k;
    for (;;) {
        const float i = std::floor(t);
        samples.push_back(LiteralSample{t, LiteralDeBoorPoint(k, i, t)});
        const double s = static_cast<double>(t) + static_cast<double>(step);
        t = static_cast<float>(s);
        if (s > static_cast<double>(n)) {
            break;
        }
    }
    return samples;
}

void LiteralDrawCurve(const BackBuffer& surface) {
    const float k = editor.degree;
    if (static_cast<float>(editor.pointCount) < k + 1.0f) {
        return;
    }
    CurvePoint prev = LiteralDeBoorPoint(k, k, k);
    for (const LiteralSample& sample : LiteralCurveSamples()) {
        LiteralDrawLine(surface, prev.x, prev.y, sample.point.x, sample.point.y, editor.curveColor);
        prev = sample.point;
    }
}

void LiteralDrawPolygonAndMarkers(const BackBuffer& surface) {
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        if (p->next != nullptr) {
            LiteralDrawLine(surface, p->x, p->y, p->next->x, p->next->y, editor.polygonColor);
        }
        LiteralFillBox(surface, p->x - 4.0f, p->x + 4.0f, p->y - 4.0f, p->y + 4.0f,
                       editor.markerColor);
    }
}

void LiteralComposeFrame(const BackBuffer& surface) {
    LiteralDrawPolygonAndMarkers(surface);
    LiteralDrawCurve(surface);
}
