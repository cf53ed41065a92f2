// What a page beside the editor shows of its scene, as one value: the panel open or not, t, the
// knot insertions at t, the views drawn, the triangle's names and level, the comb's scale, the
// point looked at. Written as "name=value" pairs joined by '&' (after the scene in a link, on a
// "view" line in a scene file) and read strictly: a pair that is malformed, unknown, given twice
// or out of the scene's range is set aside with its reason, never clamped; the rest is kept.
#pragma once

#include "fit_view.h"
#include "outcome.h"
#include "scene_text.h"

#include <cstdint>
#include <string>
#include <string_view>

// The views the operations draw over the editor, as bits of PageView::shown.
enum PageViewBit : std::uint32_t {
    kViewPieces = 1,
    kViewRaised = 2,
    kViewFirst = 4,
    kViewSecond = 8,
    kViewComb = 16,
    kViewTicks = 32,
};
constexpr int kPageViewCount = 6;
// The views' words, bit j named kPageViewWords[j].
extern const char* const kPageViewWords[kPageViewCount];

enum class TriangleNaming : std::uint8_t { None, Indices, Blossoms };
const char* TriangleNamingWord(TriangleNaming naming); // "none", "names", "blossoms"
Outcome<TriangleNaming> TriangleNamingNamed(const std::string& word);

constexpr double kMostCombScale = 3.0; // the comb's scale runs over -3 .. 3 in quarter steps
constexpr int kPlaySpeedUsual = 2;
constexpr int kMostPlaySpeed = 4;
constexpr std::size_t kLongestTitle = 400;
constexpr std::size_t kLongestNote = 2000;

struct PageView {
    bool panelOpen = false;
    bool hasT = false; // without t, the page starts at the start of the domain
    double t = 0.0;
    int insertions = 0;
    std::uint32_t shown = 0;
    TriangleNaming naming = TriangleNaming::None;
    int level = -1; // the triangle's last level drawn, step by step; -1 for all at once
    double combScale = 0.0;
    bool exact = false;          // the editor's own float samples
    bool pointLabels = true;     // the points named over the editor
    int looked = -1;             // the point looked at, or -1
    int speed = kPlaySpeedUsual; // t's play speed, 0 to 4: 1/4, 1/2, 1, 2 or 4 spans a second
    bool continuityOpen = false; // the continuity at the knots listed
    std::string title;           // a lesson's title and note, shown above the editor: UTF-8
    std::string note;            // text, no control characters, kLongestTitle/kLongestNote bytes
    FitView fit;                 // the part "Through the points"
};

bool SameView(const PageView& a, const PageView& b);

// What a view may hold for a scene: whether it has a curve, its domain and degree, its points.
struct ViewLimits {
    bool hasCurve;
    double first;
    double last;
    int degree;
    int points;
    std::vector<double> knots; // the explored curve's, for the insertions t allows
};
ViewLimits LimitsOf(const SceneText& scene);

// How many more times t can be inserted into the curve's knots: k less its multiplicity.
int InsertionsAllowed(const ViewLimits& limits, double t);

// The view kept fitting the scene after a change: t where it was while inside the domain, else
// at the nearer end; the insertions cut to what t allows; the level and the point looked at
// within the degree and the points.
PageView KeptView(PageView view, const ViewLimits& limits);

// What of a view each undo step keeps, as text: its insertions ("" or "insert=N"); and the
// insertions such a text keeps (0 for any other text).
std::string StepViewText(const PageView& view);
int StepInsertions(const std::string& stepView);

// The pairs that differ from a fresh view, in a fixed order: "" for a fresh view.
std::string FormatView(const PageView& view);

struct ViewParse {
    PageView view;
    std::string setAside; // "" when every pair was taken, else each pair set aside and why
};
// Pairs of at most 16384 characters; longer text is set aside whole.
ViewParse ParseView(std::string_view pairs, const ViewLimits& limits);

// The scene and its view, as one value.
struct PageState {
    SceneText scene;
    PageView view;
};

// A link's fragment after "scene=": the scene, then '&' and the view's pairs.
std::string FormatPageLink(const PageState& state);
// A scene file: the scene's text, then a "view" line when the view is not fresh.
std::string FormatPageFile(const PageState& state);

struct PageParse {
    bool ok; // the scene was read; on false, `error` says why and nothing else holds
    std::string error;
    PageState state;
    std::string setAside; // the view's pairs set aside, as ParseView
};
PageParse ParsePageLink(const char* text, std::size_t length);
PageParse ParsePageFile(const char* text, std::size_t length);
