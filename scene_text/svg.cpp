#include "svg.h"

#include "curve.h"
#include "raster.h"
#include "scene.h"

#include <cstdio>

namespace {

std::string Number(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return text;
}

std::string ClientPoint(float x, float y) {
    return Number(x) + "," + Number(static_cast<float>(kWorldOriginRow) - y);
}

std::string Hex(Color color) {
    const std::uint32_t value = PixelValue(color); // R + 256 G + 65536 B
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", value & 0xFFu, (value >> 8) & 0xFFu,
                  (value >> 16) & 0xFFu);
    return text;
}

void AddSample(void* context, float /*t*/, CurvePoint sample) {
    *static_cast<std::string*>(context) += ClientPoint(sample.x, sample.y) + " ";
}

} // namespace

std::string FormatSvg(int width, int height) {
    const std::string size = std::to_string(width) + "\" height=\"" + std::to_string(height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      size + "\" viewBox=\"0 0 " + std::to_string(width) + " " +
                      std::to_string(height) + "\">\n<title>Tavrimo scene</title>\n" +
                      "<rect width=\"" + size + "\" fill=\"#ffffff\"/>\n";
    std::string polygon;
    std::string markers;
    const std::string side = Number(2.0f * kMarkerHalfSize);
    const std::string markerEnd = "\" width=\"" + side + "\" height=\"" + side + "\"/>\n";
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        polygon += ClientPoint(p->x, p->y) + " ";
        markers += "<rect x=\"" + Number(p->x - kMarkerHalfSize) + "\" y=\"" +
                   Number(static_cast<float>(kWorldOriginRow) - p->y - kMarkerHalfSize) + markerEnd;
    }
    svg += "<polyline id=\"polygon\" fill=\"none\" stroke=\"" + Hex(editor.polygonColor) +
           "\" points=\"" + polygon + "\"/>\n<g id=\"markers\" fill=\"" + Hex(editor.markerColor) +
           "\">\n" + markers + "</g>\n";
    std::string samples;
    if (SampleCurve(AddSample, &samples) > 0) {
        svg += "<polyline id=\"curve\" fill=\"none\" stroke=\"" + Hex(editor.curveColor) +
               "\" points=\"" + samples + "\"/>\n";
    }
    return svg + "</svg>\n";
}
