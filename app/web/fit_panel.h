// The part "Through the points", C++ side: its choices as the page's view object holds them.
#pragma once

#include "fit_view.h"

#include <emscripten/val.h>

FitView FitViewOf(const emscripten::val& view);
void SetFitValues(emscripten::val& view, const FitView& fit);
