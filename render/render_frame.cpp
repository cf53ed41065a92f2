#include "render.h"

// Kept apart from composing so that programs drawing without a host (benchmarks) link
// without one.
void RenderFrame(WindowRef window, TargetRef target) {
    const ClientRect rect = HostClientRect(window);
    ComposeFrame();
    HostPresent(target, rect, editor.backBuffer);
    ClearBackBuffer(rect);
}
