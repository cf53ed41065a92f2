// The curve the panel explains, shared by the panel's parts: the page's scene and the spline it
// makes (the editor's own on its knots, or the explored one), made again only when the editor's
// scene or the page's additions change, since a frame asks for it several times.
#pragma once

#include "scene_text.h"
#include "spline.h"

#include <cstdint>
#include <string>

struct PanelCurve {
    std::uint32_t sceneVersion;
    std::uint32_t additionsVersion;
    bool made;
    SceneText scene;
    Spline spline;
    std::string fault; // "" when the spline can be drawn
};

const PanelCurve& CurrentCurve();
