#include "loop.h"

#include "input.h"
#include "render.h"

namespace {

void PaintFrame(WindowRef window, TargetKind kind) {
    const TargetRef target = HostAcquireTarget(window, kind);
    RenderFrame(window, target);
    HostReleaseTarget(window, kind, target);
}

} // namespace

Handling Dispatch(const Event& event, WindowRef window, MenuRef menu) {
    switch (event.kind) {
    case EventKind::Move:
        OnMouseMove(event.x, event.y);
        return Handling::Handled;
    case EventKind::LeftPress:
        OnLeftButtonDown(event.x, event.y);
        return Handling::Handled;
    case EventKind::RightPress:
        return OnRightButtonDown() ? Handling::Handled : Handling::PassedOn;
    case EventKind::LeftRelease:
    case EventKind::RightRelease:
        OnButtonUp();
        PaintFrame(window, TargetKind::PaintRequest);
        return Handling::Handled;
    case EventKind::Key:
        OnKeyDown(menu, event.value);
        return Handling::Handled;
    case EventKind::Command:
        OnCommand(window, menu, event.value);
        return Handling::Handled;
    case EventKind::Close:
        OnClose();
        return Handling::Handled;
    case EventKind::Paint:
        PaintFrame(window, TargetKind::PaintRequest);
        return Handling::Handled;
    case EventKind::Quit:
        break;
    }
    return Handling::PassedOn;
}

PassOutcome FinishPass(WindowRef window, bool mayHaveMore, bool quit) {
    if (FrameNeeded(window)) {
        PaintFrame(window, TargetKind::Window);
    }
    if (quit) {
        return PassOutcome::Quit;
    }
    return mayHaveMore || FrameNeeded(window) ? PassOutcome::Busy : PassOutcome::Idle;
}
