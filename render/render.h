// One whole frame: polygon and markers in list order, then the curve; presented, then
// the back buffer's client rectangle cleared to white.
#pragma once

#include "host.h"
#include "scene.h"

// The polygon segments and point markers, interleaved in list order.
void DrawPolygonAndMarkers();
// DrawPolygonAndMarkers, then the curve over them.
void ComposeFrame();
void ClearBackBuffer(ClientRect rect);
void RenderFrame(WindowRef window, TargetRef target);
