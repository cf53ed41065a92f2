// libFuzzer entry: any byte string as a scene file, as a link (with a view), as a view alone and
// as typed knots. Each gives a
// scene (or knots) or one error; every accepted scene formats back to text that parses to it, bit
// for bit; and every knot of its explored curve raised and lowered either is refused or keeps a
// vector that serves the points, that knot standing once more or once less.
#include "explored.h"
#include "knots.h"
#include "page_view.h"
#include "scene_edit.h"
#include "scene_text.h"

#include <algorithm>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// Every knot's multiplicity raised and lowered on the scene's explored curve.
void CheckKnotEdits(const SceneText& scene) {
    const Spline spline = ExploredSpline(scene);
    if (scene.knots == KnotMode::Closed || !SplineFault(spline).empty() ||
        spline.knots.size() > 64) {
        return;
    }
    const int n = static_cast<int>(spline.points.size());
    for (int index = 0; index < static_cast<int>(spline.knots.size()); ++index) {
        const double u = spline.knots[static_cast<std::size_t>(index)];
        const long before = std::count(spline.knots.begin(), spline.knots.end(), u);
        for (const int delta : {1, -1}) {
            const Outcome<std::vector<double>> changed =
                ChangeMultiplicity(spline.knots, index, delta, n, spline.degree);
            if (changed.ok() &&
                (!KnotsFault(changed.value, n, spline.degree).empty() ||
                 std::count(changed.value.begin(), changed.value.end(), u) != before + delta)) {
                Fail("a knot's multiplicity changed into knots that do not serve the points");
            }
            if (!changed.ok() && changed.fault.empty()) {
                Fail("a refusal without its reason");
            }
        }
    }
}

void Check(const SceneParse& parse, const char* as) {
    if (!parse.ok) {
        const std::string prefix = "line " + std::to_string(parse.line) + ": ";
        if (parse.line < 1 || parse.error.rfind(prefix, 0) != 0 ||
            parse.error.size() == prefix.size()) {
            std::fprintf(stderr, "%s: an error without its line: %s\n", as, parse.error.c_str());
            std::abort();
        }
        return;
    }
    const std::string text = FormatScene(parse.scene);
    const SceneParse again = ParseScene(text.data(), text.size());
    const std::string link = SceneToLink(parse.scene);
    const SceneParse linked = SceneFromLink(link.data(), link.size());
    if (!again.ok || !SameScene(again.scene, parse.scene) || !linked.ok ||
        !SameScene(linked.scene, parse.scene)) {
        std::fprintf(stderr, "%s: an accepted scene does not come back from its text\n", as);
        std::abort();
    }
    CheckKnotEdits(parse.scene);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    Check(ParseScene(text, size), "scene");
    Check(SceneFromLink(text, size), "link");
    const Outcome<std::vector<double>> knots = ParseKnots(std::string(text, size));
    if (knots.ok() && ParseKnots(FormatKnots(knots.value)).value != knots.value) {
        Fail("typed knots do not come back from their text");
    }
    // A view is read whole or in part, and what was taken writes back to what reads the same.
    const ViewLimits limits{true, 3.0, 6.0, 3, 6, UniformKnots(6, 3)};
    const ViewParse view = ParseView(std::string_view(text, size), limits);
    const std::string again = FormatView(view.view);
    const ViewParse back = ParseView(again, limits);
    if (!back.setAside.empty() || !SameView(back.view, view.view)) {
        Fail("a view read does not come back from its text");
    }
    for (const PageParse& page : {ParsePageLink(text, size), ParsePageFile(text, size)}) {
        const std::string link = FormatPageLink(page.state);
        const PageParse linked = ParsePageLink(link.data(), link.size());
        if (page.ok && (!linked.ok || !SameView(linked.state.view, page.state.view))) {
            Fail("a page read does not come back from its link");
        }
    }
    return 0;
}
