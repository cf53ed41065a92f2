// libFuzzer entry: any byte string as a scene file and as a link. Each gives a scene or one
// error naming a line; every accepted scene formats back to text that parses to it, bit for bit.
#include "scene_text.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    Check(ParseScene(text, size), "scene");
    Check(SceneFromLink(text, size), "link");
    return 0;
}
