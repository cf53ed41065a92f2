#include "scene_text.h"

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

SceneParse ParseLines(const std::vector<Line>& lines) {
    Line fields[2];
    if (lines.empty() || !SplitFields(lines[0], 2, fields) || !Is(fields[0], kHeaderWord)) {
        return Failure(1, "not a Tavrimo scene: the first line must be \"tavrimo-scene 1\"");
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
                              " of the format, newer than this editor reads (1)");
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
    if (lines.size() - 2 > kMostScenePoints) {
        return Failure(static_cast<int>(kMostScenePoints + 3),
                       "more than " + std::to_string(kMostScenePoints) + " points");
    }
    parse.scene.points.reserve(lines.size() - 2);
    for (std::size_t l = 2; l < lines.size(); ++l) {
        const int number = static_cast<int>(l + 1);
        if (!SplitFields(lines[l], 2, fields)) {
            return Failure(number, "expected a point as two numbers \"x y\"");
        }
        float xy[2] = {0.0f, 0.0f};
        for (int axis = 0; axis < 2; ++axis) {
            const std::string fault = CoordinateFault(axis, fields[axis], xy[axis]);
            if (!fault.empty()) {
                return Failure(number, fault);
            }
        }
        parse.scene.points.push_back(ScenePoint{xy[0], xy[1]});
    }
    parse.ok = true;
    return parse;
}

} // namespace

std::string ReadCoordinate(int axis, const std::string& text, float& value) {
    return CoordinateFault(axis, Line{text.data(), text.size()}, value);
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
        if (lines.size() > kMostScenePoints + 2) {
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

std::string FormatScene(const SceneText& scene) {
    std::string text = std::string(kHeaderWord) + " " + std::to_string(kSceneFormatVersion) +
                       "\ndegree " + std::to_string(scene.degree) + "\n";
    for (const ScenePoint& p : scene.points) {
        text += FormatNumber(p.x) + " " + FormatNumber(p.y) + "\n";
    }
    return text;
}

bool SameScene(const SceneText& a, const SceneText& b) {
    return a.degree == b.degree && a.points.size() == b.points.size() &&
           (a.points.empty() || std::memcmp(a.points.data(), b.points.data(),
                                            a.points.size() * sizeof(ScenePoint)) == 0);
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
