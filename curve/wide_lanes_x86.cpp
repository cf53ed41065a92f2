// Built for the baseline processor, so that asking is safe on any x86-64.
#include "triangle_lanes.h"

void TriangleLanesWholeAvx512(LaneWindows& w, int levels);

TriangleLanesKernel WideTriangleLanes() {
    // The compiler's check covers the operating system's support for the registers too.
    // (int with GCC, bool with Clang)
    const bool avx512 = static_cast<bool>(__builtin_cpu_supports("avx512f")) &&
                        static_cast<bool>(__builtin_cpu_supports("avx512vl")) &&
                        static_cast<bool>(__builtin_cpu_supports("avx512dq"));
    return avx512 ? TriangleLanesWholeAvx512 : nullptr;
}
