// The editor's picture as vectors: the control polygon, the markers and the curve as the chain
// of samples the editor draws, in client coordinates and the editor's colours.
#pragma once

#include <string>
#include <vector>

struct EditorVectors {
    std::vector<float> polygon; // x, y, x, y, … of the points, in order
    std::vector<float> curve;   // the samples the editor joins; empty with no curve
    float markerHalfSize;       // a marker is the square this far around its point
    std::string polygonColor;   // "#rrggbb"
    std::string markerColor;
    std::string curveColor;
};

EditorVectors VectorsOfEditor();

std::string FormatSvg(int width, int height);
