// The line stepping as described, with no shortcut: every one of the n steps is taken and
// its pixel written. The reference the editor's DrawLine must match pixel for pixel.
#pragma once

#include "scene.h"

void LiteralDrawLine(const BackBuffer& surface, float x0, float y0, float x1, float y1,
                     Color color);
// Rows ylo, ylo + 1, ... while below yhi, each a line from xlo to xhi - 1.
void LiteralFillBox(const BackBuffer& surface, float xlo, float xhi, float ylo, float yhi,
                    Color color);
