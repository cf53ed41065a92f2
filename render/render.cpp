#include "render.h"

#include "curve.h"
#include "raster.h"

#include <algorithm>

void DrawPolygonAndMarkers() {
    const std::uint32_t polygon = StoredPixel(PixelValue(editor.polygonColor));
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        if (p->next != nullptr) {
            DrawLineStored(p->x, p->y, p->next->x, p->next->y, polygon);
        }
        FillBox(p->x - 4.0f, p->x + 4.0f, p->y - 4.0f, p->y + 4.0f, editor.markerColor);
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
