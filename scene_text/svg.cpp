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

std::string Hex(Color color) {
    const std::uint32_t value = PixelValue(color); // R + 256 G + 65536 B
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", value & 0xFFu, (value >> 8) & 0xFFu,
                  (value >> 16) & 0xFFu);
    return text;
}

void AddSample(void* context, float /*t*/, CurvePoint sample) {
    std::vector<float>& curve = *static_cast<std::vector<float>*>(context);
    curve.insert(curve.end(), {sample.x, static_cast<float>(kWorldOriginRow) - sample.y});
}

std::string Points(const std::vector<float>& xy) {
    std::string text;
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
        text += Number(xy[i]) + "," + Number(xy[i + 1]) + " ";
    }
    return text;
}

} // namespace

EditorVectors VectorsOfEditor() {
    EditorVectors vectors{{},
                          {},
                          kMarkerHalfSize,
                          Hex(editor.polygonColor),
                          Hex(editor.markerColor),
                          Hex(editor.curveColor)};
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        vectors.polygon.insert(vectors.polygon.end(),
                               {p->x, static_cast<float>(kWorldOriginRow) - p->y});
    }
    SampleCurve(AddSample, &vectors.curve);
    return vectors;
}

std::string FormatSvg(int width, int height) {
    const EditorVectors vectors = VectorsOfEditor();
    const std::string size = std::to_string(width) + "\" height=\"" + std::to_string(height);
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                      size + "\" viewBox=\"0 0 " + std::to_string(width) + " " +
                      std::to_string(height) + "\">\n<title>Tavrimo scene</title>\n" +
                      "<rect width=\"" + size + "\" fill=\"#ffffff\"/>\n";
    std::string markers;
    const std::string side = Number(2.0f * vectors.markerHalfSize);
    const std::string markerEnd = "\" width=\"" + side + "\" height=\"" + side + "\"/>\n";
    for (std::size_t i = 0; i + 1 < vectors.polygon.size(); i += 2) {
        markers += "<rect x=\"" + Number(vectors.polygon[i] - vectors.markerHalfSize) + "\" y=\"" +
                   Number(vectors.polygon[i + 1] - vectors.markerHalfSize) + markerEnd;
    }
    svg += "<polyline id=\"polygon\" fill=\"none\" stroke=\"" + vectors.polygonColor +
           "\" points=\"" + Points(vectors.polygon) + "\"/>\n<g id=\"markers\" fill=\"" +
           vectors.markerColor + "\">\n" + markers + "</g>\n";
    if (!vectors.curve.empty()) {
        svg += "<polyline id=\"curve\" fill=\"none\" stroke=\"" + vectors.curveColor +
               "\" points=\"" + Points(vectors.curve) + "\"/>\n";
    }
    return svg + "</svg>\n";
}
