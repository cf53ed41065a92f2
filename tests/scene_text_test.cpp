// The scene text: every error class named with its line, the round trip bit for bit, the
// limits; a scene loaded through the editor's operations is the scene placed by hand; undo and
// redo step through whole scenes.
#include "additions.h"
#include "canvas.h"
#include "decimal.h"
#include "explored.h"
#include "fake_host.h"
#include "history.h"
#include "input.h"
#include "knots.h"
#include "page_scene.h"
#include "render.h"
#include "scene_edit.h"
#include "scene_load.h"
#include "scene_text.h"
#include "svg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <random>
#include <string>

namespace {

int menuToken = 0;
const MenuRef kMenu{&menuToken};

SceneParse Parse(const std::string& text) {
    return ParseScene(text.data(), text.size());
}

std::string Header(int degree) {
    return "tavrimo-scene 1\ndegree " + std::to_string(degree) + "\n";
}

class SceneTextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEditor(nullptr);
        ResetFakeHost(ClientRect{0, 0, 640, 480});
    }
    void TearDown() override { ResetEditor(nullptr); }
};

TEST_F(SceneTextTest, EveryFaultIsNamedWithItsLine) {
    const std::string nul("tavrimo-scene 1\ndegree 3\n1 2\0", 29);
    const struct {
        std::string text;
        int line;
        const char* says;
    } faults[] = {
        {"", 1, "empty"},
        {"degree 3\n1 2\n", 1, "not a Tavrimo scene"},
        {"tavrimo-drawing 1\ndegree 3\n", 1, "not a Tavrimo scene"},
        {"tavrimo-scene 3\ndegree 3\n", 1, "newer than this editor reads"},
        {"tavrimo-scene 99999999999999\ndegree 3\n", 1, "newer than this editor reads"},
        {"tavrimo-scene one\ndegree 3\n", 1, "not a whole number"},
        {"tavrimo-scene 0\ndegree 3\n", 1, "no version 0"},
        {"tavrimo-scene 1\n", 2, "expected \"degree D\""},
        {"tavrimo-scene 1\ndegree 0\n", 2, "not one of 1 to 9"},
        {"tavrimo-scene 1\ndegree 10\n", 2, "not one of 1 to 9"},
        {"tavrimo-scene 1\ndegree :\n", 2, "not one of 1 to 9"},
        {Header(3) + "1 2\n3\n", 4, "two numbers"},
        {Header(3) + "1 2 3\n", 3, "two numbers"},
        {Header(3) + "1  2\n", 3, "two numbers"},
        {Header(3) + "1 2\n\n", 4, "two numbers"},
        {Header(3) + "1 2\nxyz", 4, "two numbers"},
        {Header(3) + "0x10 2\n", 3, "x = \"0x10\" is not a decimal number"},
        {Header(3) + "1. 2\n", 3, "x = \"1.\" is not a decimal number"},
        {Header(3) + "0." + std::string(46, '0') + "1 2\n", 3, "is not a decimal number"},
        {Header(3) + "1 nan\n", 3, "y = \"nan\" is not a decimal number"},
        {Header(3) + "1 +2\n", 3, "not a decimal number"},
        {Header(3) + "1e39 2\n", 3, "x = \"1e39\" is not a finite number"},
        {Header(3) + "65541 2\n", 3, "x = \"65541\" is outside what the editor reaches"},
        {Header(3) + "1 245\n", 3, "y = \"245\" is outside what the editor reaches"},
        {Header(3) + "1 2\r\r\n", 3, "control character"},
        {nul, 3, "control character"},
        {Header(3) + "1 2 1\n", 3, "two numbers"}, // a weight needs version 2
        {"tavrimo-scene 2\ndegree 3\n1 2\n", 3, "expected \"knots MODE\""},
        {"tavrimo-scene 2\ndegree 3\nknots open\n", 3, "\"open\" is not uniform"},
        {"tavrimo-scene 2\ndegree 3\nknots clamped 1\n", 3, "only custom knots"},
        {"tavrimo-scene 2\ndegree 1\nknots custom 0 1 x\n", 3, "knot 2 = \"x\""},
        {"tavrimo-scene 2\ndegree 1\nknots custom 0 1 2\n1 2\n1 2\n", 3, "there must be 4 knots"},
        {"tavrimo-scene 2\ndegree 1\nknots custom 0 2 1 3\n1 2\n1 2\n", 3, "decrease"},
        {"tavrimo-scene 2\ndegree 1\nknots uniform\n1 2 0\n", 4, "weight \"0\""},
        {"tavrimo-scene 2\ndegree 1\nknots uniform\n1 2 -1\n", 4, "weight \"-1\""},
        {"tavrimo-scene 2\ndegree 1\nknots uniform\n1 2 3 4\n", 4, "\"x y w\""},
    };
    for (const auto& fault : faults) {
        const SceneParse parse = Parse(fault.text);
        EXPECT_FALSE(parse.ok) << fault.text;
        EXPECT_EQ(parse.line, fault.line) << fault.text;
        EXPECT_EQ(parse.error.rfind("line " + std::to_string(fault.line) + ": ", 0), 0u)
            << parse.error;
        EXPECT_NE(parse.error.find(fault.says), std::string::npos) << parse.error;
    }
    // Line ends of either kind, the last one optional.
    EXPECT_TRUE(Parse("tavrimo-scene 1\r\ndegree 2\r\n-5 -65301\r\n65540 244").ok);
}

TEST_F(SceneTextTest, FormatThenParseGivesTheSameSceneAndTheLimitsHold) {
    std::mt19937 random(5u);
    std::uniform_real_distribution<float> x(kReachLeft, kReachRight);
    std::uniform_real_distribution<float> y(kReachBottom, kReachTop);
    SceneText scene{7, {{-0.0f, 0.0f}, {1e-40f, -1e-38f}, {kReachLeft, kReachTop}}};
    for (int p = 0; p < 500; ++p) {
        scene.points.push_back(p % 2 == 0 ? ScenePoint{std::round(x(random)), std::round(y(random))}
                                          : ScenePoint{x(random), y(random)});
    }
    const std::string text = FormatScene(scene);
    const SceneParse again = Parse(text);
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_TRUE(SameScene(again.scene, scene));
    const std::string link = SceneToLink(scene);
    EXPECT_EQ(link.find_first_not_of("tavrimo-scen0123456789degr;,.-+e"), std::string::npos)
        << link;
    const SceneParse linked = SceneFromLink(link.data(), link.size());
    ASSERT_TRUE(linked.ok) << linked.error;
    EXPECT_TRUE(SameScene(linked.scene, scene));
    EXPECT_FALSE(SceneFromLink("tavrimo-scene,1;degree,3;1 2", 27).ok);

    // Knots and weights: version 2, read back as written; the editor's scene alone stays 1.
    SceneText explored = scene;
    explored.points.resize(5);
    explored.knots = KnotMode::Custom;
    explored.customKnots = {0, 0, 0, 0, 0.1, 2.5, 2.5, 3, 3, 3, 3, 3, 7};
    explored.weights = {1, 0.7071067811865476, 1, 2, 1e-3};
    const std::string exploredText = FormatScene(explored);
    EXPECT_EQ(exploredText.rfind("tavrimo-scene 2\ndegree 7\nknots custom 0 0 0 0 0.1 2.5", 0), 0u);
    const std::string exploredLink = SceneToLink(explored);
    for (const SceneParse& read :
         {Parse(exploredText), SceneFromLink(exploredLink.data(), exploredLink.size())}) {
        ASSERT_TRUE(read.ok) << read.error;
        EXPECT_TRUE(SameScene(read.scene, explored));
    }
    explored.knots = KnotMode::Closed;
    EXPECT_FALSE(SameScene(Parse(exploredText).scene, explored));
    EXPECT_EQ(text.rfind("tavrimo-scene 1\n", 0), 0u);
    // Custom knots alone are version 2 too, and the explored curve is on them; numbers as the
    // writer gives them for large values (an exponent with +), 17 digits and 48 characters read
    // back bit for bit.
    explored.knots = KnotMode::Custom;
    explored.weights.clear();
    explored.customKnots = {0, 0, 0, 0, 0, 0, 0, 0.1 + 0.2, 1e20, 1e300, 1e300, 1e300, 1e300};
    const std::string custom = FormatScene(explored);
    EXPECT_NE(custom.find("0.30000000000000004 1e+20 1e+300"), std::string::npos) << custom;
    ASSERT_TRUE(Parse(custom).ok) << Parse(custom).error;
    EXPECT_TRUE(SameScene(Parse(custom).scene, explored)) << custom;
    EXPECT_EQ(ExploredSpline(explored).knots, explored.customKnots);
    const std::string longest48 = "0." + std::string(45, '0') + "1";
    double read = 0.0;
    EXPECT_EQ(ReadDouble(longest48.data(), 48, read), DecimalRead::Ok);
    EXPECT_EQ(ReadDouble((longest48 + "1").data(), 49, read), DecimalRead::NotANumber);
    for (const double v : {0.1 + 0.2, 1.0 / 3.0, 2.0 / 3.0 * 1e-300, 123456789.12345678}) {
        const std::string digits = FormatDouble(v);
        EXPECT_EQ(std::strtod(digits.c_str(), nullptr), v) << digits;
    }

    // Whole numbers are written whole; others in the shorter of the plain and exponent forms.
    const SceneText written{2, {{80.0f, -240.0f}, {0.1f, -1.25e-3f}, {1e-7f, 65539.5f}}};
    EXPECT_EQ(FormatScene(written), Header(2) + "80 -240\n0.1 -0.00125\n1e-7 65539.5\n");

    // 100 placed points fit a link well under 2,000 characters.
    SceneText placed{3, {}};
    for (int p = 0; p < 100; ++p) {
        placed.points.push_back(
            ScenePoint{static_cast<float>(p * 6 + 3), static_cast<float>(239 - p * 4)});
    }
    EXPECT_LT(SceneToLink(placed).size(), 1000u);

    std::string most = Header(1);
    for (std::size_t p = 0; p < kMostScenePoints; ++p) {
        most += "1 2\n";
    }
    const SceneParse full = Parse(most);
    ASSERT_TRUE(full.ok) << full.error;
    EXPECT_EQ(full.scene.points.size(), kMostScenePoints);
    const SceneParse over = Parse(most + "1 2\n3 4\n");
    EXPECT_FALSE(over.ok);
    EXPECT_EQ(over.line, static_cast<int>(kMostScenePoints) + 3) << over.error;
    EXPECT_FALSE(Parse(std::string(kLongestSceneText + 1, '1')).ok);
    // At exactly the limit the text is read: its fault is its content.
    std::string longest = most;
    longest.resize(kLongestSceneText, '\n');
    EXPECT_EQ(Parse(longest).error.find("longer"), std::string::npos) << Parse(longest).error;
}

TEST_F(SceneTextTest, LoadingIsPlacingTheSamePointsAndChoosingTheDegree) {
    const std::vector<std::pair<int, int>> clicks = {{40, 300}, {150, 90},  {260, 400},
                                                     {380, 60}, {470, 330}, {600, 200}};
    Canvas placedCanvas = MakeCanvas(640, 480);
    for (const auto& [cx, cy] : clicks) {
        OnMouseMove(static_cast<std::uint16_t>(cx), static_cast<std::uint16_t>(cy));
        OnLeftButtonDown(static_cast<std::uint16_t>(cx), static_cast<std::uint16_t>(cy));
        OnButtonUp();
    }
    OnKeyDown(kMenu, 0x35);
    const SceneText placed = CurrentScene();
    ComposeFrame(SurfaceOf(placedCanvas));

    ResetEditor(nullptr);
    ResetFakeHost(ClientRect{0, 0, 640, 480});
    Append(1.0f, 2.0f); // whatever was there goes
    const SceneParse parse = Parse(FormatScene(placed));
    ASSERT_TRUE(parse.ok);
    ASSERT_TRUE(LoadScene(parse.scene, kMenu));
    Canvas loadedCanvas = MakeCanvas(640, 480);
    ComposeFrame(SurfaceOf(loadedCanvas));
    EXPECT_EQ(loadedCanvas.pixels, placedCanvas.pixels);
    EXPECT_EQ(CheckedDegrees(), (std::vector<int>{5}));
    EXPECT_EQ(editor.pointCount, 6);

    // The SVG holds the same points, in client coordinates.
    const std::string svg = FormatSvg(640, 480);
    EXPECT_NE(svg.find("points=\"40,300 150,90 260,400 380,60 470,330 600,200 \""),
              std::string::npos);
    EXPECT_NE(svg.find("stroke=\"#0000ff\""), std::string::npos);
    // Too few points for a curve: no curve element.
    ResetEditor(nullptr);
    Append(10.0f, 20.0f);
    EXPECT_EQ(FormatSvg(640, 480).find("id=\"curve\""), std::string::npos);
}

TEST_F(SceneTextTest, PointsEditedAsTypedOrRefusedWithTheReason) {
    const SceneText scene{3, {{10.0f, 20.0f}, {31.0f, -40.0f}, {630.0f, 0.0f}}};
    const SceneEdit moved = MovePoint(scene, 1, "12.5", "-3");
    ASSERT_TRUE(moved.ok()) << moved.fault;
    EXPECT_EQ(moved.value.points[1].x, 12.5f);
    EXPECT_EQ(moved.value.points[1].y, -3.0f);
    EXPECT_EQ(MovePoint(scene, 1, "12", "abc").fault, "y = \"abc\" is not a decimal number");
    EXPECT_NE(MovePoint(scene, 0, "65541", "0").fault.find("outside"), std::string::npos);
    EXPECT_FALSE(MovePoint(scene, 3, "1", "1").ok());

    // Halfway to the next point in whole units; after the last one, back from the right edge.
    const SceneEdit inserted = InsertPointAfter(scene, 0);
    ASSERT_TRUE(inserted.ok());
    EXPECT_EQ(inserted.value.points[1].x, 21.0f); // 20.5, rounded
    EXPECT_EQ(inserted.value.points[1].y, -10.0f);
    EXPECT_EQ(InsertPointAfter(scene, 2).value.points[3].x, 610.0f);
    SceneText full{1, std::vector<ScenePoint>(kMostScenePoints, ScenePoint{1.0f, 2.0f})};
    EXPECT_FALSE(InsertPointAfter(full, 0).ok());

    // Weights follow their points; the explored curve takes them with the scene's knots.
    SceneEdit weighed = SetWeight(scene, 1, "0.5");
    ASSERT_TRUE(weighed.ok());
    EXPECT_EQ(weighed.value.weights, (std::vector<double>{1, 0.5, 1}));
    EXPECT_EQ(SetWeight(scene, 1, "0").fault, "the weight \"0\" is not a positive number");
    EXPECT_EQ(InsertPointAfter(weighed.value, 0).value.weights,
              (std::vector<double>{1, 1, 0.5, 1}));
    EXPECT_EQ(InsertPointAfter(weighed.value, 1).value.weights,
              (std::vector<double>{1, 0.5, 1, 1}));
    EXPECT_EQ(DeletePoint(weighed.value, 0).value.weights, (std::vector<double>{0.5, 1}));
    EXPECT_EQ(DeletePoint(SetWeight(scene, 2, "3").value, 2).value.weights.size(), 2u);
    weighed.value.degree = 2;
    weighed.value.knots = KnotMode::Clamped;
    const Spline explored = ExploredSpline(weighed.value);
    EXPECT_EQ(explored.knots, (std::vector<double>{0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(explored.weights[1], 0.5);
    weighed.value.knots = KnotMode::Closed;
    EXPECT_EQ(ExploredSpline(weighed.value).points.size(), 5u);

    const SceneEdit deleted = DeletePoint(scene, 0);
    ASSERT_TRUE(deleted.ok());
    EXPECT_EQ(deleted.value.points.size(), 2u);
    EXPECT_EQ(deleted.value.points[0].x, 31.0f);
    EXPECT_FALSE(DeletePoint(scene, 3).ok());
}

// The knots a learner edits, and what the page adds to the scene kept fitting its points.
TEST_F(SceneTextTest, KnotsEditedAndAdditionsFittedToThePoints) {
    SceneText scene{3, std::vector<ScenePoint>(7, ScenePoint{1.0f, 2.0f})};
    const SceneEdit custom = SetKnotMode(scene, "custom");
    ASSERT_TRUE(custom.ok()) << custom.fault;
    EXPECT_EQ(custom.value.customKnots, UniformKnots(7, 3));
    scene.knots = KnotMode::Closed;
    EXPECT_EQ(SetKnotMode(scene, "custom").value.customKnots.size(), 11u);
    EXPECT_NE(MoveSceneKnot(scene, 4, 4.5).fault.find("closed"), std::string::npos);
    EXPECT_FALSE(SetKnotMode(scene, "periodic").ok());
    scene.knots = KnotMode::Uniform;
    const SceneEdit raised = ChangeSceneMultiplicity(scene, 5, 1);
    EXPECT_EQ(raised.value.knots, KnotMode::Custom);
    EXPECT_EQ(raised.value.customKnots, (std::vector<double>{0, 1, 2, 3, 4, 5, 5, 6, 7, 8, 9}));
    EXPECT_EQ(SetKnotsText(scene, "0 1 2").fault, "there must be 11 knots (N + k + 1), not 3");
    EXPECT_FALSE(SetKnotsText(scene, "0 1 x").ok());

    SceneAdditions additions{KnotMode::Custom, raised.value.customKnots, {1, 2, 1, 1, 1, 1, 1}};
    FittedAdditions fitted = FitAdditions(additions, 8, 3); // a point placed
    EXPECT_EQ(fitted.note, "");
    EXPECT_EQ(fitted.additions.weights, (std::vector<double>{1, 2, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(fitted.additions.customKnots.back(), 10.0);
    fitted = FitAdditions(additions, 1, 3); // all but one deleted: weights 1 kept as none
    EXPECT_TRUE(fitted.additions.weights.empty());
    additions.customKnots = {0, 0, 0, 1, 1, 1, 1, 2}; // 4 points: the domain from 1 to 1
    fitted = FitAdditions(additions, 4, 3);
    EXPECT_EQ(fitted.additions.knots, KnotMode::Uniform);
    EXPECT_NE(fitted.note.find("the knots are uniform now"), std::string::npos);
    for (const ExampleScene& example : ExampleScenes()) {
        const Outcome<SceneText> opened = ExampleNamed(example.name);
        ASSERT_TRUE(opened.ok()) << example.name;
        EXPECT_EQ(SplineFault(ExploredSpline(opened.value)), "") << example.name;
    }
    EXPECT_FALSE(ExampleNamed("square").ok());
    // A refinement opened as the scene: its knots custom, weights all 1 kept as none.
    Spline spline = ExploredSpline(ExampleNamed("clamped").value);
    const Outcome<SceneText> opened = SceneOfSpline(spline);
    ASSERT_TRUE(opened.ok()) << opened.fault;
    EXPECT_EQ(opened.value.customKnots, spline.knots);
    EXPECT_TRUE(opened.value.weights.empty());
    spline.points[2].y = 1e6;
    EXPECT_FALSE(SceneOfSpline(spline).ok());
}

TEST_F(SceneTextTest, UndoAndRedoStepThroughWholeScenes) {
    SceneHistory history{};
    RecordScene(history); // the empty scene
    Append(10.0f, 20.0f);
    RecordScene(history);
    // A drag is one step: nothing is recorded while the button is held.
    editor.pressed = true;
    editor.points.head->x = 30.0f;
    editor.sceneVersion += 1;
    EXPECT_FALSE(RecordScene(history));
    editor.points.head->x = 40.0f;
    editor.sceneVersion += 1;
    EXPECT_FALSE(Undo(history, kMenu)); // nor restored
    editor.pressed = false;
    EXPECT_TRUE(RecordScene(history));
    SelectDegree(kMenu, 1);
    RecordScene(history);
    ASSERT_TRUE(Undo(history, kMenu));
    EXPECT_EQ(editor.degree, 3.0f);
    EXPECT_EQ(CheckedDegrees(), (std::vector<int>{3}));
    EXPECT_EQ(editor.points.head->x, 40.0f);
    ASSERT_TRUE(Undo(history, kMenu));
    EXPECT_EQ(editor.points.head->x, 10.0f);
    ASSERT_TRUE(Undo(history, kMenu));
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_FALSE(Undo(history, kMenu));
    ASSERT_TRUE(Redo(history, kMenu));
    ASSERT_TRUE(Redo(history, kMenu));
    EXPECT_EQ(editor.points.head->x, 40.0f);
    // A new change drops what could be redone.
    Append(50.0f, 60.0f);
    RecordScene(history);
    EXPECT_FALSE(CanRedo(history));

    // The page's scene: what it adds (knots, weights) is part of every step, and follows the
    // points.
    PageScene page{};
    SceneText clamped{3, std::vector<ScenePoint>(6, ScenePoint{5.0f, 6.0f}), KnotMode::Clamped};
    clamped.weights = {1, 2, 1, 1, 1, 1};
    EXPECT_EQ(LoadAsStep(page, clamped, kMenu), "");
    ChangeAdditions(page, ChangeSceneMultiplicity(SceneOf(page), 4, 1).value, true);
    EXPECT_EQ(SceneOf(page).knots, KnotMode::Custom);
    ASSERT_TRUE(UndoPage(page, kMenu));
    EXPECT_TRUE(SameScene(SceneOf(page), clamped));
    ASSERT_TRUE(UndoPage(page, kMenu)); // before the load
    EXPECT_EQ(SceneOf(page).knots, KnotMode::Uniform);
    ASSERT_TRUE(RedoPage(page, kMenu));
    EXPECT_EQ(SceneOf(page).weights, clamped.weights);
    Append(7.0f, 8.0f);
    EXPECT_TRUE(RecordPage(page));
    EXPECT_EQ(StepShown(page).weights, (std::vector<double>{1, 2, 1, 1, 1, 1, 1}));

    for (int step = 0; step < 1200; ++step) {
        SelectDegree(kMenu, 1 + step % 9);
        RecordScene(history);
    }
    const std::size_t kept = std::accumulate(
        history.steps.begin(), history.steps.end(), std::size_t{0},
        [](std::size_t sum, const HistoryStep& step) { return sum + step.scene.points.size(); });
    EXPECT_EQ(history.points, kept); // the cap on points in all counts what is kept
    int undone = 0;
    while (Undo(history, kMenu)) {
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(kMostHistorySteps));
    EXPECT_EQ(editor.degree, static_cast<float>(1 + (1200 - 1 - kMostHistorySteps) % 9));
}

} // namespace
