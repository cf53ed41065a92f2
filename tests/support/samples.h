// The editor's curve samples, collected in the form the literal references give theirs.
#pragma once

#include "literal_curve.h"

#include <vector>

// The samples as SampleCurve visits them, in order.
std::vector<LiteralSample> CurveSamples();
