// The editor's picture as vectors: the control polygon, the markers and the curve as the chain
// of samples the editor draws, in client coordinates and the editor's colours.
#pragma once

#include <string>

std::string FormatSvg(int width, int height);
