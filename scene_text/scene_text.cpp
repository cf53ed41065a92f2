#include "scene_text.h"

#include "knots.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kHeaderWord = "tavrimo-scene";
constexpr std::size_t kLongestNumber = 48;

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

// Where the run of digits from i ends.
std::size_t DigitsEnd(const char* s, std::size_t n, std::size_t i) {
    while (i < n && IsDigit(s[i])) {
        ++i;
    }
    return i;
}

// An optional '-', digits, an optional fraction, an optional exponent: nothing else.
bool IsDecimal(const char* s, std::size_t n) {
    std::size_t i = n > 0 && s[0] == '-' ? 1 : 0;
    std::size_t end = DigitsEnd(s, n, i);
    if (end == i) {
        return false;
    }
    i = end;
    if (i < n && s[i] == '.') {
        end = DigitsEnd(s, n, i + 1);
        if (end == i + 1) {
            return false;
        }
        i = end;
    }
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '-' || s[i] == '+')) {
            ++i;
        }
        end = DigitsEnd(s, n, i);
        if (end == i) {
            return false;
        }
        i = end;
    }
    return i == n;
}

enum class NumberRead { Ok, NotANumber, NotFinite };

// The float32 nearest the decimal text, through double as the C library reads it.
NumberRead ReadNumber(const char* s, std::size_t n, float& value) {
    if (n == 0 || n > kLongestNumber || !IsDecimal(s, n)) {
        return NumberRead::NotANumber;
    }
    char copy[kLongestNumber + 1];
    std::memcpy(copy, s, n);
    copy[n] = '\0';
    const float read = std::strtof(copy, nullptr);
    if (!std::isfinite(read)) {
        return NumberRead::NotFinite;
    }
    value = read;
    return NumberRead::Ok;
}

// A weight or a knot: the same grammar, read as the nearest double.
NumberRead ReadDouble(const Line& field, double& value) {
    if (field.length == 0 || field.length > kLongestNumber ||
        !IsDecimal(field.begin, field.length)) {
        return NumberRead::NotANumber;
    }
    const std::string copy(field.begin, field.length);
    const double read = std::strtod(copy.c_str(), nullptr);
    if (!std::isfinite(read)) {
        return NumberRead::NotFinite;
    }
    value = read;
    return NumberRead::Ok;
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

// The shortest text of a double that reads back bit for bit; whole numbers whole.
std::string FormatDouble(double v) {
    char text[64];
    if (std::trunc(v) == v && std::fabs(v) < 1e15) {
        std::snprintf(text, sizeof text, "%.0f", v);
        return text;
    }
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, v);
        if (std::strtod(text, nullptr) == v) {
            break;
        }
    }
    return text;
}

// A whole number as a whole number; otherwise the fewest significant digits that read back as
// the same float32, in the shorter of the plain and exponent forms (plain on a tie).
std::string FormatNumber(float v) {
    char text[64];
    if (std::trunc(v) == v) {
        std::snprintf(text, sizeof text, "%.0f", static_cast<double>(v));
        return text;
    }
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, static_cast<double>(v));
        if (std::strtof(text, nullptr) == v) {
            break;
        }
    }
    const char* e = std::strchr(text, 'e');
    const int exponent = std::atoi(e + 1);
    const std::string sign = text[0] == '-' ? "-" : "";
    std::string digits;
    for (const char* c = text; c != e; ++c) {
        if (IsDigit(*c)) {
            digits += *c;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1); // never empty: v is not whole, so not 0
    std::string scientific = sign + digits.substr(0, 1);
    if (digits.size() > 1) {
        scientific += "." + digits.substr(1);
    }
    scientific += "e" + std::to_string(exponent);
    std::string plain;
    if (exponent < 0) {
        plain = sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1; // < digits.size()
        plain = sign + digits.substr(0, whole) + "." + digits.substr(whole);
    }
    return plain.size() <= scientific.size() ? plain : scientific;
}

// "" when the field is a coordinate the editor can give a point on that axis (0 for x, 1 for
// y), read into `value`; else what is wrong with it.
std::string CoordinateFault(int axis, const Line& field, float& value) {
    const std::string name = axis == 0 ? "x = " : "y = ";
    const NumberRead read = ReadNumber(field.begin, field.length, value);
    if (read == NumberRead::NotANumber) {
        return name + Shown(field) + " is not a decimal number";
    }
    if (read == NumberRead::NotFinite) {
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
        if (ReadDouble(fields[j], u) != NumberRead::Ok) {
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
        if (point.size() == 3 && (ReadDouble(point[2], w) != NumberRead::Ok || !(w > 0.0))) {
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
    if (ReadDouble(Line{text.data(), text.size()}, read) != NumberRead::Ok || !(read > 0.0)) {
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
        text += FormatNumber(p.x) + " " + FormatNumber(p.y);
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
