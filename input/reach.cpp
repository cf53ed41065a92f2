#include "reach.h"

#include "scene.h"

#include <algorithm>
#include <cmath>

ReachedPoint FirstPointWithinReach(std::uint16_t clientX, std::uint16_t clientY, float reach) {
    const double x = clientX;
    const double y = kWorldOriginRow - static_cast<double>(clientY);
    // The marker's pixels: from 4 left of (below) the point to the column (row) before 4 right
    // of (above) it.
    const double before = kMarkerHalfSize;
    const double after = kMarkerHalfSize - 1.0;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        const double dx = std::max({p->x - before - x, 0.0, x - (p->x + after)});
        const double dy = std::max({p->y - before - y, 0.0, y - (p->y + after)});
        if (std::hypot(dx, dy) <= reach) {
            return ReachedPoint{true, static_cast<std::int32_t>(std::lround(p->x)),
                                static_cast<std::int32_t>(std::lround(kWorldOriginRow - p->y))};
        }
    }
    return ReachedPoint{false, 0, 0};
}

int PointIndexAtPixel(int clientX, int clientY) {
    const float x = static_cast<float>(clientX);
    const float y = static_cast<float>(kWorldOriginRow - clientY);
    int index = 0;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next, ++index) {
        if (x >= p->x - kMarkerHalfSize && x < p->x + kMarkerHalfSize &&
            y >= p->y - kMarkerHalfSize && y < p->y + kMarkerHalfSize) {
            return index;
        }
    }
    return -1;
}
