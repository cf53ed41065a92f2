#include "render.h"

#include "curve.h"
#include "raster.h"

#include <algorithm>

namespace {

// A point's marker: the box 4 units around it.
void FillMarker(const ControlPoint* p) {
    FillBox(p->x - 4.0f, p->x + 4.0f, p->y - 4.0f, p->y + 4.0f, editor.markerColor);
}

bool LineMayReachMarker(const float* line, const ControlPoint* p) {
    return LineMayReachBox(line, p->x - 4.0f, p->x + 4.0f, p->y - 4.0f, p->y + 4.0f);
}

} // namespace

void DrawPolygonAndMarkers() {
    const std::uint32_t polygon = StoredPixel(PixelValue(editor.polygonColor));
    const ControlPoint* p = editor.points.head;
    while (p != nullptr) {
        const ControlPoint* q = p->next;
        const ControlPoint* r = q != nullptr ? q->next : nullptr;
        if (r != nullptr) {
            // The lines p-q and q-r together, then p's marker: q-r is drawn again where it may
            // cross that marker, as it was drawn after it, and then q's marker.
            const float first[4] = {p->x, p->y, q->x, q->y};
            const float second[4] = {q->x, q->y, r->x, r->y};
            if (DrawLinePairInside(first, second, polygon)) {
                FillMarker(p);
                if (LineMayReachMarker(second, p)) {
                    DrawLineStored(q->x, q->y, r->x, r->y, polygon);
                }
                FillMarker(q);
                p = r;
                continue;
            }
        }
        if (q != nullptr) {
            DrawLineStored(p->x, p->y, q->x, q->y, polygon);
        }
        FillMarker(p);
        p = q;
    }
}

void ComposeFrame() {
    DrawPolygonAndMarkers();
    DrawCurve();
}

void ClearBackBuffer(ClientRect rect) {
    const BackBuffer buffer = editor.backBuffer;
    if (buffer.pixels == nullptr) {
        return;
    }
    const int left = std::max(rect.left, 0);
    const int top = std::max(rect.top, 0);
    const int right = std::min(rect.right, buffer.width);
    const int bottom = std::min(rect.bottom, buffer.height);
    for (int row = top; row < bottom; ++row) {
        std::uint32_t* line = buffer.pixels + static_cast<std::ptrdiff_t>(row) * buffer.stride;
        std::fill(line + left, line + std::max(left, right), kWhitePixel);
    }
}
