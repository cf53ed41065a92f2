// The page's whole state as text: a link's fragment and a scene file, each the scene and then
// its view.
#include "page_view.h"

#include <algorithm>

namespace {

PageParse ParseWithView(const SceneParse& scene, std::string_view pairs) {
    PageParse parse{scene.ok, scene.error, {scene.scene, {}}, {}};
    if (scene.ok) {
        ViewParse view = ParseView(pairs, LimitsOf(scene.scene));
        parse.state.view = view.view;
        parse.setAside = std::move(view.setAside);
    }
    return parse;
}

} // namespace

std::string FormatPageLink(const PageState& state) {
    const std::string view = FormatView(state.view);
    return SceneToLink(state.scene) + (view.empty() ? "" : "&" + view);
}

std::string FormatPageFile(const PageState& state) {
    const std::string view = FormatView(state.view);
    return FormatScene(state.scene) + (view.empty() ? "" : "view " + view + "\n");
}

PageParse ParsePageLink(const char* text, std::size_t length) {
    const std::string_view link(text == nullptr ? "" : text, text == nullptr ? 0 : length);
    const std::size_t amp = std::min(link.find('&'), link.size());
    const std::string_view view = amp < link.size() ? link.substr(amp + 1) : std::string_view{};
    return ParseWithView(SceneFromLink(link.data(), amp), view);
}

PageParse ParsePageFile(const char* text, std::size_t length) {
    std::string_view file(text == nullptr ? "" : text, text == nullptr ? 0 : length);
    std::size_t end = file.size();
    while (end > 0 && (file[end - 1] == '\n' || file[end - 1] == '\r')) {
        --end;
    }
    const std::size_t start = file.rfind('\n', end == 0 ? 0 : end - 1);
    const std::size_t line = start == std::string_view::npos ? 0 : start + 1;
    const std::string_view last = file.substr(line, end - line);
    if (line == 0 || last.substr(0, 5) != "view ") {
        return ParseWithView(ParseScene(file.data(), file.size()), {});
    }
    return ParseWithView(ParseScene(file.data(), line), last.substr(5));
}
