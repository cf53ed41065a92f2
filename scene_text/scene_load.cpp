#include "scene_load.h"

#include "input.h"
#include "scene.h"

#include <algorithm>

SceneText CurrentScene() {
    SceneText scene{static_cast<int>(editor.degree), {}};
    scene.points.reserve(static_cast<std::size_t>(editor.pointCount > 0 ? editor.pointCount : 0));
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        scene.points.push_back(ScenePoint{p->x, p->y});
    }
    return scene;
}

bool LoadScene(const SceneText& scene, MenuRef menu) {
    Clear();
    const bool placed = std::all_of(scene.points.begin(), scene.points.end(),
                                    [](const ScenePoint& p) { return Append(p.x, p.y); });
    SelectDegree(menu, scene.degree);
    return placed;
}
