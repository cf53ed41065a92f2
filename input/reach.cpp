#include "reach.h"

#include "scene.h"

#include <algorithm>
#include <cmath>

ReachedPoint FirstPointWithinReach(std::uint16_t clientX, std::uint16_t clientY, float reach) {
    const double x = clientX;
    const double y = 239.0 - clientY;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        const double dx = std::max({p->x - 4.0 - x, 0.0, x - (p->x + 3.0)});
        const double dy = std::max({p->y - 4.0 - y, 0.0, y - (p->y + 3.0)});
        if (std::hypot(dx, dy) <= reach) {
            return ReachedPoint{true, static_cast<std::int32_t>(std::lround(p->x)),
                                static_cast<std::int32_t>(std::lround(239.0 - p->y))};
        }
    }
    return ReachedPoint{false, 0, 0};
}
