// Builds without a wider copy of the sampler's lanes: the baseline one serves.
#include "triangle_lanes.h"

TriangleLanesKernel WideTriangleLanes() {
    return nullptr;
}
