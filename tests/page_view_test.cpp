// The page's view beside its scene: written and read back whole, read strictly (each bad pair
// set aside with its reason, the rest kept), kept fitting the scene after a change, and carried
// by the undo steps.
#include "canvas.h"
#include "fake_host.h"
#include "input.h"
#include "page_scene.h"
#include "page_view.h"
#include "render.h"
#include "view_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int menuToken = 0;
const MenuRef kMenu{&menuToken};

// Degree 3 over 6 points on the editor's knots: t runs from 3 to 6.
SceneText SixPoints() {
    SceneText scene{3, {}};
    for (int j = 0; j < 6; ++j) {
        scene.points.push_back(ScenePoint{10.0f * static_cast<float>(j), 20.0f});
    }
    return scene;
}

PageParse ReadLink(const std::string& link) {
    return ParsePageLink(link.data(), link.size());
}

std::string SceneLink() {
    return SceneToLink(SixPoints());
}

class PageViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEditor(nullptr);
        ResetFakeHost(ClientRect{0, 0, 640, 480});
    }
    void TearDown() override { ResetEditor(nullptr); }
};

TEST_F(PageViewTest, EveryFieldReadsBackFromTheLinkAndTheFile) {
    PageState state{SixPoints(), {}};
    EXPECT_EQ(FormatPageLink(state), SceneLink()); // a fresh view adds nothing
    PageView& view = state.view;
    view.panelOpen = true;
    view.hasT = true;
    view.t = 4.1; // not a float: kept as typed
    view.insertions = 2;
    view.shown = kViewPieces | kViewComb | kViewTicks;
    view.naming = TriangleNaming::Blossoms;
    view.level = 3;
    view.combScale = -1.25;
    view.exact = true;
    view.pointLabels = false;
    view.looked = 5;
    view.speed = 0;
    view.continuityOpen = true;
    view.title = "Knots & ends: 100% \u00fcber \u2264 t\u2082";
    view.note = "Drag P3; watch N\u2083,\u2083 = 1/6 \"here\"";
    view.fit = FitView{FitShown::LeastSquares, FitSpacingChoice::Centripetal, true, true, 4, true};
    EXPECT_EQ(FormatView(view),
              "panel=open&t=4.1&insert=2&show=pieces,comb,ticks&comb=-1.25&"
              "labels=blossoms&level=3&look=5&exact=1&pointlabels=off&"
              "speed=0&continuity=open&title=Knots%20%26%20ends%3A%20100%25%20"
              "%C3%BCber%20%E2%89%A4%20t%E2%82%82&note=Drag%20P3%3B%20watch%20N"
              "%E2%82%83%2C%E2%82%83%20%3D%201%2F6%20%22here%22&fit=leastsquares&"
              "spacing=centripetal&fitknots=uniform&ends=closed&controls=4&pin=ends");
    for (const bool file : {false, true}) {
        const std::string text = file ? FormatPageFile(state) : FormatPageLink(state);
        const PageParse back = file ? ParsePageFile(text.data(), text.size()) : ReadLink(text);
        ASSERT_TRUE(back.ok) << back.error;
        EXPECT_EQ(back.setAside, "") << text;
        EXPECT_TRUE(SameView(back.state.view, view)) << text;
        EXPECT_TRUE(SameScene(back.state.scene, state.scene));
    }
    // A file without a view line, and one whose scene is damaged, as before.
    const std::string plain = FormatScene(SixPoints());
    EXPECT_TRUE(ParsePageFile(plain.data(), plain.size()).ok);
    const std::string damaged = "tavrimo-scene 1\ndegree 3\n1 x\nview panel=open\n";
    EXPECT_FALSE(ParsePageFile(damaged.data(), damaged.size()).ok);
}

TEST_F(PageViewTest, BadPairsAreSetAsideWithTheirReasonAndTheRestKept) {
    const PageParse parse =
        ReadLink(SceneLink() + "&panel=open&t=abc&show=pieces,foo&comb=100&" +
                 "insert=7&level=4&labels=names&look=6&unknown=1&nopair&" + "panel=open&comb=0.3");
    ASSERT_TRUE(parse.ok); // a good scene opens whatever its view
    EXPECT_TRUE(parse.state.view.panelOpen);
    EXPECT_EQ(parse.state.view.naming, TriangleNaming::Indices);
    EXPECT_FALSE(parse.state.view.hasT);
    EXPECT_EQ(parse.state.view.shown, 0u);
    EXPECT_EQ(parse.state.view.insertions, 0);
    EXPECT_EQ(parse.state.view.level, -1);
    EXPECT_EQ(parse.state.view.looked, -1);
    EXPECT_EQ(parse.state.view.combScale, 0.0);
    for (const char* reason :
         {"t=abc (not a number)", "show=pieces,foo (\u201cfoo\u201d is not a view)",
          "comb=100 (the comb's scale", "insert=7 (t can be inserted 2 times at the most)",
          "level=4 (the triangle has levels 0 to 3)", "look=6 (the points are P0 to P5)",
          "unknown=1 (not a view setting)", "nopair (not a name=value pair)",
          "panel=open (given twice)", "comb=0.3 (given twice)"}) {
        EXPECT_NE(parse.setAside.find(reason), std::string::npos)
            << reason << " in " << parse.setAside;
    }
    // Out of range is refused, never brought inside; t's own multiplicity limits the insertions.
    const std::string outside = ReadLink(SceneLink() + "&t=99&labels=foo").setAside;
    EXPECT_NE(outside.find("t=99 (t runs from 3 to 6)"), std::string::npos);
    EXPECT_NE(outside.find("labels=foo (not none, names or blossoms)"), std::string::npos);
    SceneText clamped = SixPoints();
    clamped.knots = KnotMode::Clamped;
    const PageParse end = ReadLink(SceneToLink(clamped) + "&t=0&insert=1"); // 0 four times
    EXPECT_EQ(end.state.view.insertions, 0);
    EXPECT_NE(end.setAside.find("0 times"), std::string::npos) << end.setAside;
    // Without a curve there is no t to keep; a damaged scene refuses the whole link.
    SceneText three = SixPoints();
    three.points.resize(3);
    EXPECT_NE(ReadLink(SceneToLink(three) + "&t=3").setAside.find("no curve"), std::string::npos);
    EXPECT_FALSE(ReadLink("tavrimo-scene,1;degree,x&t=3").ok);
    const std::string noise(20000, '&');
    EXPECT_NE(ReadLink(SceneLink() + "&" + noise).setAside, "");
    // A lesson's text is read strictly: escapes whole, UTF-8 at its shortest, no control
    // characters, not too long; the speed within its five steps.
    for (const char* bad : {"title=a%2", "title=a%G1", "title=a b", "title=%C0%80", "title=%0A",
                            "title=%ED%A0%80", "note=%FF", "speed=5", "speed=-1", "continuity=1",
                            "fit=spline", "controls=3", "controls=7", "controls=x", "pin=1"}) {
        const PageParse read = ReadLink(SceneLink() + "&" + bad);
        EXPECT_NE(read.setAside.find(bad), std::string::npos) << bad << ": " << read.setAside;
        EXPECT_TRUE(read.state.view.title.empty() && read.state.view.speed == kPlaySpeedUsual &&
                    SameFit(read.state.view.fit, FitView{}));
    }
    const std::string longest = EncodeViewText(std::string(kLongestTitle, 'a'));
    EXPECT_EQ(ReadLink(SceneLink() + "&title=" + longest).state.view.title.size(), kLongestTitle);
    EXPECT_NE(ReadLink(SceneLink() + "&title=a" + longest).setAside, "");
}

TEST_F(PageViewTest, ViewKeptFittingTheSceneAndCarriedByTheSteps) {
    ViewLimits limits = LimitsOf(SixPoints());
    PageView view{};
    view.hasT = true;
    view.t = 4.25;
    view.insertions = 3;
    view.level = 3;
    view.looked = 5;
    EXPECT_TRUE(SameView(KeptView(view, limits), view)); // inside the domain: as it was
    SceneText fewer = SixPoints();
    fewer.points.resize(4);
    fewer.degree = 2;
    const PageView kept = KeptView(view, LimitsOf(fewer)); // t from 2 to 4
    EXPECT_EQ(kept.t, 4.0);
    EXPECT_EQ(kept.insertions, 1); // 4 is a knot already, at degree 2
    EXPECT_EQ(kept.level, 2);
    EXPECT_EQ(kept.looked, -1);

    // An insertion is a step: undone before the point placed earlier. The steps keep the
    // insertions alone, and read back only what they wrote.
    PageView once{};
    once.insertions = 1;
    once.t = 4.5;
    once.hasT = true;
    PageView twice = once;
    twice.insertions = 2;
    PageScene page{};
    ASSERT_EQ(LoadAsStep(page, SixPoints(), kMenu, StepViewText(once)), "");
    Append(100.0f, 100.0f);
    RecordPage(page);
    ChangeStepView(page, StepViewText(twice), true);
    ASSERT_TRUE(UndoPage(page, kMenu));
    EXPECT_EQ(StepInsertions(page.view), 1);
    EXPECT_EQ(editor.pointCount, 7u);
    ASSERT_TRUE(UndoPage(page, kMenu));
    EXPECT_EQ(editor.pointCount, 6u);
    EXPECT_EQ(StepInsertions(page.view), 1);
    ASSERT_TRUE(RedoPage(page, kMenu));
    ASSERT_TRUE(RedoPage(page, kMenu));
    EXPECT_EQ(StepInsertions(page.view), 2);
    EXPECT_EQ(StepInsertions(StepViewText(PageView{})), 0);
    for (const char* other : {"t=4.5", "insert=x", "insert=", "insert=1234567"}) {
        EXPECT_EQ(StepInsertions(other), 0) << other;
    }
}

} // namespace
