#include "panel_curve.h"

#include "explored.h"
#include "scene.h"
#include "scene_controls.h"

namespace {

PanelCurve now{};

} // namespace

const PanelCurve& CurrentCurve() {
    if (!now.made || now.sceneVersion != editor.sceneVersion ||
        now.additionsVersion != AdditionsVersion()) {
        now.scene = ShownScene();
        now.spline = ExploredSpline(now.scene);
        now.fault = SplineFault(now.spline);
        now.sceneVersion = editor.sceneVersion;
        now.additionsVersion = AdditionsVersion();
        now.made = true;
    }
    return now;
}
