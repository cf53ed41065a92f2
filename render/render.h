// One whole frame: polygon and markers in list order, then the curve; presented, then
// the back buffer's client rectangle cleared to white.
#pragma once

#include "host.h"
#include "scene.h"

// The polygon segments and point markers, interleaved in list order.
void DrawPolygonAndMarkers(const BackBuffer& surface);
// DrawPolygonAndMarkers, then the curve over them.
void ComposeFrame(const BackBuffer& surface);
// Fills the rectangle, which lies inside the surface, with white.
void ClearBackBuffer(const BackBuffer& surface, ClientRect rect);
// The part of the client rectangle that the back buffer covers: what a frame presents and
// then clears. Empty (all zero) when they do not meet.
ClientRect ShownRect(ClientRect client, const BackBuffer& buffer);
// Composes the scene in editor.backBuffer, presents what is shown of it to the target (none:
// nothing) and clears that.
void RenderFrame(WindowRef window, TargetRef target);
// Whether a frame drawn now could differ from what the last one left on the screen and in
// the back buffer: true before the first frame, after a change of the scene or of the client
// rectangle (a restore from minimised), and after a frame that presented drawing accumulated
// while minimised, which the next frame replaces with a clean one.
bool FrameNeeded(WindowRef window);
