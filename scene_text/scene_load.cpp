#include "scene_load.h"

#include "input.h"
#include "scene.h"

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
    bool placed = true;
    for (const ScenePoint& p : scene.points) {
        if (!Append(p.x, p.y)) {
            placed = false;
            break;
        }
    }
    SelectDegree(menu, scene.degree);
    return placed;
}
