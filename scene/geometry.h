// The editor's geometry, defined once: the core draws and picks by it, the front ends size
// their canvases by it, and the browser page asks the core for it.
#pragma once

// The client area the editor is made for.
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;
// World y 0 lies on client row 239, and world y = 239 - client y whatever the window's size.
constexpr int kWorldOriginRow = 239;
// A point's marker is the box from 4 units left and below the point to 4 right and above.
constexpr float kMarkerHalfSize = 4.0f;
// A press picks a point closer than this on both axes.
constexpr float kPickReach = 5.0f;
constexpr int kMaxDegree = 9;
