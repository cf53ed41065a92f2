#include "scene_text.h"

#include "decimal.h"
#include "knots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kHeaderWord = "tavrimo-scene";

struct Line {
    const char* begin;
    std::size_t length;
};

SceneParse Failure(int line, const std::string& what) {
    SceneParse parse{};
    parse.ok = false;
    parse.line = line;
    parse.error = "line " + std::to_string(line) + ": " + what;
    return parse;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The line split at single spaces into its fields, none empty; false otherwise.
bool SplitAll(const Line& line, std::vector<Line>& fields) {
    fields.clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.length; ++i) {
        if (i == line.length || line.begin[i] == ' ') {
            if (i == start) {
                return false;
            }
            fields.push_back(Line{line.begin + start, i - start});
            start = i + 1;
        }
    }
    return true;
}

// The line split at single spaces into exactly `count` fields; false otherwise.
bool SplitFields(const Line& line, std::size_t count, Line* fields) {
    std::size_t found = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.length; ++i) {
        if (i == line.length || line.begin[i] == ' ') {
            if (i == start || found == count) {
                return false; // an empty field (a leading, trailing or double space) or too many
            }
            fields[found++] = Line{line.begin + start, i - start};
            start = i + 1;
        }
    }
    return found == count;
}

bool Is(const Line& field, const char* word) {
    return field.length == std::strlen(word) && std::memcmp(field.begin, word, field.length) == 0;
}

std::string Shown(const Line& field) {
    std::string text(field.begin, field.length < 24 ? field.length : 24);
    std::replace_if(
        text.begin(), text.end(),
        [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F;
        },
        '?');
    return "\"" + text + (field.length > 24 ? "...\"" : "\"");
}

// "" when the field is a coordinate the editor can give a point on that axis (0 for x, 1 for
// y), read into `value`; else what is wrong with it.
std::string CoordinateFault(int axis, const Line& field, float& value) {
    const std::string name = axis == 0 ? "x = " : "y = ";
    const DecimalRead read = ReadFloat(field.begin, field.length, value);
    if (read == DecimalRead::NotANumber) {
        return name + Shown(field) + " is not a decimal number";
    }
    if (read == DecimalRead::NotFinite) {
        return name + Shown(field) + " is not a finite number";
    }
    if (axis == 0 && !(value >= kReachLeft && value <= kReachRight)) {
        return name + Shown(field) + " is outside what the editor reaches (-5 to 65540)";
    }
    if (axis == 1 && !(value >= kReachBottom && value <= kReachTop)) {
        return name + Shown(field) + " is outside what the editor reaches (-65301 to 244)";
    }
    return "";
}

// "knots uniform", "knots clamped", "knots closed" or "knots custom u0 u1 ...".
std::string ReadKnotsLine(const Line& line, SceneText& scene) {
    std::vector<Line> fields;
    const KnotMode modes[] = {KnotMode::Uniform, KnotMode::Clamped, KnotMode::Closed,
                              KnotMode::Custom};
    if (!SplitAll(line, fields) || fields.size() < 2 || !Is(fields[0], "knots")) {
        return "expected \"knots MODE\" with MODE one of uniform, clamped, closed, custom";
    }
    const KnotMode* mode = std::find_if(std::begin(modes), std::end(modes),
                                        [&](KnotMode m) { return Is(fields[1], KnotModeWord(m)); });
    if (mode == std::end(modes)) {
        return "the knots' mode " + Shown(fields[1]) + " is not uniform, clamped, closed or custom";
    }
    scene.knots = *mode;
    if (scene.knots != KnotMode::Custom) {
        return fields.size() == 2 ? "" : "only custom knots list their values";
    }
    for (std::size_t j = 2; j < fields.size(); ++j) {
        double u = 0.0;
        if (ReadDouble(fields[j].begin, fields[j].length, u) != DecimalRead::Ok) {
            return "knot " + std::to_string(j - 2) + " = " + Shown(fields[j]) +
                   " is not a finite decimal number";
        }
        scene.customKnots.push_back(u);
    }
    return "";
}

SceneParse ParseLines(const std::vector<Line>& lines) {
    Line fields[2];
    if (lines.empty() || !SplitFields(lines[0], 2, fields) || !Is(fields[0], kHeaderWord)) {
        return Failure(1, "not a Tavrimo scene: the first line must be \"tavrimo-scene 1\" or "
                          "\"tavrimo-scene 2\"");
    }
    std::size_t v = 0;
    int version = 0;
    for (; v < fields[1].length && IsDigit(fields[1].begin[v]); ++v) {
        version = version > 100000 ? 1000000 : version * 10 + (fields[1].begin[v] - '0');
    }
    if (v != fields[1].length || v == 0) {
        return Failure(1, "the format's version " + Shown(fields[1]) + " is not a whole number");
    }
    if (version > kSceneFormatVersion) {
        return Failure(1, "the scene is in version " + std::to_string(version) +
                              " of the format, newer than this editor reads (" +
                              std::to_string(kSceneFormatVersion) + ")");
    }
    if (version < 1) {
        return Failure(1, "there is no version 0 of the format");
    }
    if (lines.size() < 2 || !SplitFields(lines[1], 2, fields) || !Is(fields[0], "degree")) {
        return Failure(2, "expected \"degree D\" with D from 1 to 9");
    }
    if (fields[1].length != 1 || fields[1].begin[0] < '1' || fields[1].begin[0] > '9') {
        return Failure(2, "the degree " + Shown(fields[1]) + " is not one of 1 to 9");
    }
    SceneParse parse{};
    parse.scene.degree = fields[1].begin[0] - '0';
    const std::size_t first = version == 1 ? 2 : 3; // the first point's line, from 0
    if (version == 2) {
        const std::string fault =
            lines.size() < 3 ? "expected \"knots MODE\"" : ReadKnotsLine(lines[2], parse.scene);
        if (!fault.empty()) {
            return Failure(3, fault);
        }
    }
    if (lines.size() - first > kMostScenePoints) {
        return Failure(static_cast<int>(kMostScenePoints + first + 1),
                       "more than " + std::to_string(kMostScenePoints) + " points");
    }
    parse.scene.points.reserve(lines.size() - first);
    std::vector<double> weights;
    std::vector<Line> point;
    for (std::size_t l = first; l < lines.size(); ++l) {
        const int number = static_cast<int>(l + 1);
        if (!SplitAll(lines[l], point) || point.size() < 2 ||
            point.size() > (version == 1 ? 2u : 3u)) {
            return Failure(number, version == 1 ? "expected a point as two numbers \"x y\""
                                                : "expected a point as \"x y\" or \"x y w\"");
        }
        float xy[2] = {0.0f, 0.0f};
        for (int axis = 0; axis < 2; ++axis) {
            const std::string fault = CoordinateFault(axis, point[axis], xy[axis]);
            if (!fault.empty()) {
                return Failure(number, fault);
            }
        }
        double w = 1.0;
        if (point.size() == 3 &&
            (ReadDouble(point[2].begin, point[2].length, w) != DecimalRead::Ok || !(w > 0.0))) {
            return Failure(number, "the weight " + Shown(point[2]) + " is not a positive number");
        }
        parse.scene.points.push_back(ScenePoint{xy[0], xy[1]});
        weights.push_back(w);
    }
    if (std::any_of(weights.begin(), weights.end(), [](double w) { return w != 1.0; })) {
        parse.scene.weights = weights;
    }
    if (parse.scene.knots == KnotMode::Custom) {
        const std::string fault =
            KnotsFault(parse.scene.customKnots, static_cast<int>(parse.scene.points.size()),
                       parse.scene.degree);
        if (!fault.empty()) {
            return Failure(3, "the custom knots do not fit the points: " + fault);
        }
    }
    parse.ok = true;
    return parse;
}

} // namespace

std::string ReadCoordinate(int axis, const std::string& text, float& value) {
    return CoordinateFault(axis, Line{text.data(), text.size()}, value);
}

std::string ReadWeight(const std::string& text, double& value) {
    double read = 0.0;
    if (ReadDouble(text.data(), text.size(), read) != DecimalRead::Ok || !(read > 0.0)) {
        return "the weight " + Shown(Line{text.data(), text.size()}) + " is not a positive number";
    }
    value = read;
    return "";
}

SceneParse ParseScene(const char* text, std::size_t length) {
    if (text == nullptr || length == 0) {
        return Failure(1, "the scene is empty");
    }
    if (length > kLongestSceneText) {
        return Failure(1, "the text is longer than any scene (" +
                              std::to_string(kLongestSceneText >> 20) + " MiB)");
    }
    // Lines end in "\n" or "\r\n"; the last one may end the text instead, and the text may end
    // in one line end but no more.
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < length) {
        const void* found = std::memchr(text + start, '\n', length - start);
        const std::size_t end =
            found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - text)
                             : length;
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r') {
            --stop;
        }
        if (lines.size() > kMostScenePoints + 3) {
            break; // enough to say there are too many
        }
        lines.push_back(Line{text + start, stop - start});
        start = end + 1;
    }
    for (std::size_t l = 0; l < lines.size(); ++l) {
        if (std::memchr(lines[l].begin, '\0', lines[l].length) != nullptr ||
            std::memchr(lines[l].begin, '\r', lines[l].length) != nullptr) {
            return Failure(static_cast<int>(l + 1), "the line holds a control character");
        }
    }
    return ParseLines(lines);
}

const char* KnotModeWord(KnotMode mode) {
    switch (mode) {
    case KnotMode::Clamped:
        return "clamped";
    case KnotMode::Closed:
        return "closed";
    case KnotMode::Custom:
        return "custom";
    case KnotMode::Uniform:
        break;
    }
    return "uniform";
}

bool NeedsVersion2(const SceneText& scene) {
    return scene.knots != KnotMode::Uniform ||
           std::any_of(scene.weights.begin(), scene.weights.end(),
                       [](double w) { return w != 1.0; });
}

std::string FormatScene(const SceneText& scene) {
    const bool second = NeedsVersion2(scene);
    std::string text = std::string(kHeaderWord) + (second ? " 2" : " 1") + "\ndegree " +
                       std::to_string(scene.degree) + "\n";
    if (second) {
        text += std::string("knots ") + KnotModeWord(scene.knots);
        for (const double u : scene.customKnots) {
            text += " " + FormatDouble(u);
        }
        text += "\n";
    }
    for (std::size_t j = 0; j < scene.points.size(); ++j) {
        const ScenePoint& p = scene.points[j];
        text += FormatFloat(p.x) + " " + FormatFloat(p.y);
        if (j < scene.weights.size() && scene.weights[j] != 1.0) {
            text += " " + FormatDouble(scene.weights[j]);
        }
        text += "\n";
    }
    return text;
}

bool SameScene(const SceneText& a, const SceneText& b) {
    const auto weight = [](const SceneText& s, std::size_t j) {
        return j < s.weights.size() ? s.weights[j] : 1.0;
    };
    if (a.degree != b.degree || a.points.size() != b.points.size() || a.knots != b.knots ||
        a.customKnots != b.customKnots) {
        return false;
    }
    for (std::size_t j = 0; j < a.points.size(); ++j) {
        if (weight(a, j) != weight(b, j)) {
            return false;
        }
    }
    return a.points.empty() ||
           std::memcmp(a.points.data(), b.points.data(), a.points.size() * sizeof(ScenePoint)) == 0;
}

std::string SceneToLink(const SceneText& scene) {
    std::string link = FormatScene(scene);
    link.pop_back(); // the last line end
    std::transform(link.begin(), link.end(), link.begin(), [](char c) {
        return c == '\n' ? ';' : c == ' ' ? ',' : c;
    });
    return link;
}

SceneParse SceneFromLink(const char* link, std::size_t length) {
    if (link == nullptr || length == 0) {
        return Failure(1, "the link holds no scene");
    }
    if (length > kLongestSceneText) {
        return Failure(1, "the link is longer than any scene");
    }
    std::string text(link, length);
    for (char& c : text) {
        if (c == '\n' || c == ' ' || c == '\r') {
            return Failure(1, "the link holds a line end or a space, which links never do");
        }
        c = c == ';' ? '\n' : c == ',' ? ' ' : c;
    }
    return ParseScene(text.data(), text.size());
}
