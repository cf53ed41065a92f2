#include "render.h"

#include "curve.h"
#include "raster.h"

#include <algorithm>

namespace {

// A point's marker: the box 4 units around it.
void FillMarker(const BackBuffer& surface, const ControlPoint* p) {
    FillBox(surface, p->x - kMarkerHalfSize, p->x + kMarkerHalfSize, p->y - kMarkerHalfSize,
            p->y + kMarkerHalfSize, editor.markerColor);
}

bool LineMayReachMarker(const float* line, const ControlPoint* p) {
    return LineMayReachBox(line, p->x - kMarkerHalfSize, p->x + kMarkerHalfSize,
                           p->y - kMarkerHalfSize, p->y + kMarkerHalfSize);
}

} // namespace

void DrawPolygonAndMarkers(const BackBuffer& surface) {
    const std::uint32_t polygon = StoredPixel(PixelValue(editor.polygonColor), surface.order);
    const ControlPoint* p = editor.points.head;
    while (p != nullptr) {
        const ControlPoint* q = p->next;
        const ControlPoint* r = q != nullptr ? q->next : nullptr;
        if (r != nullptr) {
            // The lines p-q and q-r together, then p's marker: q-r is drawn again where it may
            // cross that marker, as it was drawn after it, and then q's marker.
            const float first[4] = {p->x, p->y, q->x, q->y};
            const float second[4] = {q->x, q->y, r->x, r->y};
            if (DrawLinePairInside(surface, first, second, polygon)) {
                FillMarker(surface, p);
                if (LineMayReachMarker(second, p)) {
                    DrawLineStored(surface, q->x, q->y, r->x, r->y, polygon);
                }
                FillMarker(surface, q);
                p = r;
                continue;
            }
        }
        if (q != nullptr) {
            DrawLineStored(surface, p->x, p->y, q->x, q->y, polygon);
        }
        FillMarker(surface, p);
        p = q;
    }
}

void ComposeFrame(const BackBuffer& surface) {
    DrawPolygonAndMarkers(surface);
    DrawCurve(surface);
}

void ClearBackBuffer(const BackBuffer& surface, ClientRect rect) {
    for (int row = rect.top; row < rect.bottom; ++row) {
        std::uint32_t* line = surface.pixels + static_cast<std::ptrdiff_t>(row) * surface.stride;
        std::fill(line + rect.left, line + rect.right, kWhitePixel);
    }
}
