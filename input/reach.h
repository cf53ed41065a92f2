// For a finger, which covers far more than a point's pick square: the point a touch at a
// client position means. The pick rule itself is PickPoint's and stays as it is.
#pragma once

#include <cstdint>

struct ReachedPoint {
    bool found;
    std::int32_t clientX;
    std::int32_t clientY;
};

// The first placed point whose marker (world x - 4 to x + 3, y - 4 to y + 3) lies within
// `reach` client pixels of the client position, at its own client position.
ReachedPoint FirstPointWithinReach(std::uint16_t clientX, std::uint16_t clientY, float reach);

// The first placed point whose marker (world x - 4 to x + 3, y - 4 to y + 3) holds the client
// pixel; -1 when none does.
int PointIndexAtPixel(int clientX, int clientY);
