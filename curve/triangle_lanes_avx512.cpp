// TriangleLanesWhole built for AVX-512 (see CMakeLists.txt): called only once the processor
// is known to have it.
#include "triangle_lanes.h"

void TriangleLanesWholeAvx512(LaneWindows& w, int levels);

void TriangleLanesWholeAvx512(LaneWindows& w, int levels) {
    TriangleLanesWhole(w, levels);
}
