// Built for the baseline processor, so that asking is safe on any x86-64.
#include "triangle_lanes.h"

void TriangleLanesWholeAvx512(LaneWindows& w, int levels);

TriangleLanesKernel WideTriangleLanes() {
    // The compiler's check covers the operating system's support for the registers too.
    const bool avx512 = __builtin_cpu_supports("avx512f") != 0 &&
                        __builtin_cpu_supports("avx512vl") != 0 &&
                        __builtin_cpu_supports("avx512dq") != 0;
    return avx512 ? TriangleLanesWholeAvx512 : nullptr;
}
