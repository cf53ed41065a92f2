#include "page_view.h"

#include "decimal.h"
#include "explored.h"
#include "view_text.h"

#include <algorithm>
#include <cmath>
#include <map>

const char* const kPageViewWords[kPageViewCount] = {"pieces", "raised", "first",
                                                    "second", "comb",   "ticks"};

namespace {

constexpr std::size_t kLongestView = 16384;
constexpr std::size_t kShownPair = 40; // characters of a pair set aside shown in its reason
const char* const kViewNames[] = {"panel",   "t",          "insert", "show",     "comb",
                                  "labels",  "level",      "look",   "exact",    "pointlabels",
                                  "speed",   "continuity", "title",  "note",     "fit",
                                  "spacing", "fitknots",   "ends",   "controls", "pin"};

bool ReadWhole(const std::string& text, int& value) {
    if (text.empty() || text.size() > 6 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    value = std::stoi(text);
    return true;
}

bool ReadNumber(const std::string& text, double& value) {
    return ReadDouble(text.data(), text.size(), value) == DecimalRead::Ok;
}

// A pair as its reason shows it: at most 40 characters, anything but printable ASCII as '?'.
std::string Shown(std::string_view pair) {
    std::string shown(pair.substr(0, kShownPair));
    std::transform(shown.begin(), shown.end(), shown.begin(),
                   [](char c) { return c >= 0x20 && c < 0x7f ? c : '?'; });
    return pair.size() > kShownPair ? shown + "\u2026" : shown;
}

struct Reader {
    const ViewLimits& limits;
    PageView view{};
    std::string setAside{};

    void SetAside(const std::string& name, const std::string& value, const std::string& why) {
        setAside += (setAside.empty() ? "" : "; ") + Shown(name + "=" + value) + " (" + why + ")";
    }

    std::string NoCurve() const { return limits.hasCurve ? "" : "the scene has no curve"; }

    // "" when taken, else why not.
    std::string Take(const std::string& name, const std::string& value);
    std::string TakeT(const std::string& value);
    std::string TakeInsert(const std::string& value);
    std::string TakeShow(const std::string& value);
    std::string TakeComb(const std::string& value);
    std::string TakeLevel(const std::string& value);
    std::string TakeLook(const std::string& value);
};

std::string Reader::TakeT(const std::string& value) {
    double t = 0;
    if (!ReadNumber(value, t)) {
        return "not a number";
    }
    if (!limits.hasCurve) {
        return NoCurve();
    }
    if (t < limits.first || t > limits.last) {
        return "t runs from " + FormatDouble(limits.first) + " to " + FormatDouble(limits.last);
    }
    view.hasT = true;
    view.t = t;
    return "";
}

std::string Reader::TakeInsert(const std::string& value) {
    int count = 0;
    if (!ReadWhole(value, count)) {
        return "not a whole number";
    }
    if (!limits.hasCurve) {
        return NoCurve();
    }
    const int allowed = InsertionsAllowed(limits, view.hasT ? view.t : limits.first);
    if (count > allowed) {
        return "t can be inserted " + std::to_string(allowed) + " times at the most";
    }
    view.insertions = count;
    return "";
}

std::string Reader::TakeShow(const std::string& value) {
    std::uint32_t shown = 0;
    std::size_t from = 0;
    while (from <= value.size()) {
        const std::size_t comma = std::min(value.find(',', from), value.size());
        const std::string word = value.substr(from, comma - from);
        const auto* found = std::find(kPageViewWords, kPageViewWords + kPageViewCount, word);
        if (found == kPageViewWords + kPageViewCount) {
            return "\u201c" + Shown(word) + "\u201d is not a view";
        }
        shown |= 1u << (found - kPageViewWords);
        from = comma + 1;
    }
    view.shown = shown;
    return "";
}

std::string Reader::TakeComb(const std::string& value) {
    double scale = 0;
    if (!ReadNumber(value, scale) || std::fabs(scale) > kMostCombScale ||
        scale * 4 != std::floor(scale * 4)) {
        return "the comb's scale runs from -3 to 3 in quarters";
    }
    view.combScale = scale;
    return "";
}

std::string Reader::TakeLevel(const std::string& value) {
    int level = 0;
    if (!ReadWhole(value, level)) {
        return "not a whole number";
    }
    if (!limits.hasCurve) {
        return NoCurve();
    }
    if (level > limits.degree) {
        return "the triangle has levels 0 to " + std::to_string(limits.degree);
    }
    view.level = level;
    return "";
}

std::string Reader::TakeLook(const std::string& value) {
    int index = 0;
    if (!ReadWhole(value, index)) {
        return "not a whole number";
    }
    if (index >= limits.points) {
        return limits.points == 0 ? "the scene has no points"
                                  : "the points are P0 to P" + std::to_string(limits.points - 1);
    }
    view.looked = index;
    return "";
}

std::string Reader::Take(const std::string& name, const std::string& value) {
    if (name == "panel") {
        view.panelOpen = value == "open";
        return view.panelOpen ? "" : "the panel's one setting is open";
    }
    if (name == "t") {
        return TakeT(value);
    }
    if (name == "insert") {
        return TakeInsert(value);
    }
    if (name == "show") {
        return TakeShow(value);
    }
    if (name == "comb") {
        return TakeComb(value);
    }
    if (name == "labels") {
        const Outcome<TriangleNaming> naming = TriangleNamingNamed(value);
        view.naming = naming.ok() ? naming.value : view.naming;
        return naming.fault;
    }
    if (name == "level") {
        return TakeLevel(value);
    }
    if (name == "look") {
        return TakeLook(value);
    }
    if (name == "exact") {
        view.exact = value == "1";
        return view.exact ? "" : "its one setting is 1";
    }
    if (name == "pointlabels") {
        view.pointLabels = value != "off";
        return view.pointLabels ? "its one setting is off" : "";
    }
    if (name == "speed") {
        const bool read = ReadWhole(value, view.speed) && view.speed <= kMostPlaySpeed;
        view.speed = read ? view.speed : kPlaySpeedUsual;
        return read ? "" : "the speed is a whole number from 0 to 4";
    }
    if (name == "continuity") {
        view.continuityOpen = value == "open";
        return view.continuityOpen ? "" : "its one setting is open";
    }
    if (std::find(std::begin(kFitViewNames), std::end(kFitViewNames), name) !=
        std::end(kFitViewNames)) {
        return TakeFitPair(view.fit, name, value, limits.degree, limits.points);
    }
    const bool title = name == "title";
    const Outcome<std::string> text = DecodeViewText(value, title ? kLongestTitle : kLongestNote);
    (title ? view.title : view.note) = text.ok() ? text.value : "";
    return text.fault;
}

} // namespace

const char* TriangleNamingWord(TriangleNaming naming) {
    return naming == TriangleNaming::Indices    ? "names"
           : naming == TriangleNaming::Blossoms ? "blossoms"
                                                : "none";
}

Outcome<TriangleNaming> TriangleNamingNamed(const std::string& word) {
    const TriangleNaming namings[] = {TriangleNaming::None, TriangleNaming::Indices,
                                      TriangleNaming::Blossoms};
    const auto* found = std::find_if(std::begin(namings), std::end(namings), [&](TriangleNaming n) {
        return word == TriangleNamingWord(n);
    });
    return found == std::end(namings) ? Refusal<TriangleNaming>("not none, names or blossoms")
                                      : Success(*found);
}

std::string StepViewText(const PageView& view) {
    PageView stepped{};
    stepped.insertions = view.insertions;
    return FormatView(stepped);
}

int StepInsertions(const std::string& stepView) {
    const std::string prefix = "insert=";
    int insertions = 0;
    return stepView.compare(0, prefix.size(), prefix) == 0 &&
                   ReadWhole(stepView.substr(prefix.size()), insertions)
               ? insertions
               : 0;
}

bool SameView(const PageView& a, const PageView& b) {
    return a.panelOpen == b.panelOpen && a.hasT == b.hasT && (!a.hasT || a.t == b.t) &&
           a.insertions == b.insertions && a.shown == b.shown && a.naming == b.naming &&
           a.level == b.level && a.combScale == b.combScale && a.exact == b.exact &&
           a.pointLabels == b.pointLabels && a.looked == b.looked && a.speed == b.speed &&
           a.continuityOpen == b.continuityOpen && a.title == b.title && a.note == b.note &&
           SameFit(a.fit, b.fit);
}

ViewLimits LimitsOf(const SceneText& scene) {
    const Spline spline = ExploredSpline(scene);
    ViewLimits limits{false,       0.0, 0.0, scene.degree, static_cast<int>(scene.points.size()),
                      spline.knots};
    if (SplineFault(spline).empty()) {
        const SplineDomain domain = DomainOf(spline);
        limits.hasCurve = domain.first < domain.last;
        limits.first = domain.first;
        limits.last = domain.last;
    }
    return limits;
}

int InsertionsAllowed(const ViewLimits& limits, double t) {
    const auto copies = std::count(limits.knots.begin(), limits.knots.end(), t);
    return std::max(0, limits.degree - static_cast<int>(copies));
}

PageView KeptView(PageView view, const ViewLimits& limits) {
    if (!limits.hasCurve) {
        view.insertions = 0;
    } else if (view.hasT) {
        view.t = std::min(std::max(view.t, limits.first), limits.last);
    }
    const double t = view.hasT ? view.t : limits.first;
    view.insertions = std::min(view.insertions, limits.hasCurve ? InsertionsAllowed(limits, t) : 0);
    view.level = std::min(view.level, limits.degree);
    view.looked = view.looked < limits.points ? view.looked : -1;
    view.fit.controls = view.fit.controls > limits.points ? limits.points : view.fit.controls;
    return view;
}

std::string FormatView(const PageView& view) {
    std::string text;
    const auto pair = [&text](const char* name, const std::string& value) {
        text += (text.empty() ? "" : "&") + std::string(name) + "=" + value;
    };
    if (view.panelOpen) {
        pair("panel", "open");
    }
    if (view.hasT) {
        pair("t", FormatDouble(view.t));
    }
    if (view.insertions > 0) {
        pair("insert", std::to_string(view.insertions));
    }
    if (view.shown != 0) {
        std::string words;
        for (int j = 0; j < kPageViewCount; ++j) {
            if ((view.shown & (1u << j)) != 0) {
                words += (words.empty() ? "" : ",") + std::string(kPageViewWords[j]);
            }
        }
        pair("show", words);
    }
    if (view.combScale != 0) {
        pair("comb", FormatDouble(view.combScale));
    }
    if (view.naming != TriangleNaming::None) {
        pair("labels", TriangleNamingWord(view.naming));
    }
    if (view.level >= 0) {
        pair("level", std::to_string(view.level));
    }
    if (view.looked >= 0) {
        pair("look", std::to_string(view.looked));
    }
    if (view.exact) {
        pair("exact", "1");
    }
    if (!view.pointLabels) {
        pair("pointlabels", "off");
    }
    if (view.speed != kPlaySpeedUsual) {
        pair("speed", std::to_string(view.speed));
    }
    if (view.continuityOpen) {
        pair("continuity", "open");
    }
    if (!view.title.empty()) {
        pair("title", EncodeViewText(view.title));
    }
    if (!view.note.empty()) {
        pair("note", EncodeViewText(view.note));
    }
    FormatFitPairs(view.fit, pair);
    return text;
}

ViewParse ParseView(std::string_view pairs, const ViewLimits& limits) {
    Reader reader{limits};
    if (pairs.size() > kLongestView) {
        reader.setAside = "the view (longer than any view)";
        return {reader.view, reader.setAside};
    }
    std::map<std::string, std::string> given;
    std::size_t from = 0;
    while (from < pairs.size()) {
        const std::size_t end = std::min(pairs.find('&', from), pairs.size());
        const std::string_view pair = pairs.substr(from, end - from);
        from = end + 1;
        const std::size_t equals = pair.find('=');
        const std::string name(pair.substr(0, std::min(equals, pair.size())));
        const std::string value(equals == std::string_view::npos ? "" : pair.substr(equals + 1));
        const auto* known = std::find(std::begin(kViewNames), std::end(kViewNames), name);
        if (equals == std::string_view::npos || known == std::end(kViewNames)) {
            reader.setAside += (reader.setAside.empty() ? "" : "; ") + Shown(pair) +
                               (equals == std::string_view::npos ? " (not a name=value pair)"
                                                                 : " (not a view setting)");
        } else if (!given.emplace(name, value).second) {
            reader.SetAside(name, value, "given twice");
        }
    }
    for (const char* name : kViewNames) { // in this order: insert depends on t
        const auto found = given.find(name);
        if (found != given.end()) {
            const std::string why = reader.Take(found->first, found->second);
            if (!why.empty()) {
                reader.SetAside(found->first, found->second, why);
            }
        }
    }
    return {reader.view, reader.setAside};
}
