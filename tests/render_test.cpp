#include "commands.h"
#include "hosted_canvas.h"
#include "input.h"
#include "loop.h"
#include "render.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

int targetToken = 0;
const TargetRef kTarget{&targetToken};

class RenderTest : public HostedCanvasTest {
  protected:
    static std::uint32_t Presented(int column, int row) {
        const PresentCall& call = fakeHost.presents.back();
        return call.pixels[static_cast<std::size_t>(row) * call.width + column];
    }

    static long PresentedNotWhite() {
        const std::vector<std::uint32_t>& pixels = fakeHost.presents.back().pixels;
        return pixels.end() - pixels.begin() - std::count(pixels.begin(), pixels.end(), kWhite);
    }

    // The main loop's pass after its message; true when it drew a frame.
    bool Pass() const {
        const bool needed = FrameNeeded(window);
        FinishPass(window, false, false);
        return needed;
    }
};

TEST_F(RenderTest, PresentsToTheTargetOverTheClientRectThenClearsToWhite) {
    Append(50, 50);
    RenderFrame(window, kTarget);
    ASSERT_EQ(fakeHost.presents.size(), 1u);
    EXPECT_EQ(fakeHost.lastWindow, &windowToken);
    EXPECT_EQ(fakeHost.presents[0].target, &targetToken);
    EXPECT_EQ(fakeHost.presents[0].rect.right, 160);
    EXPECT_EQ(fakeHost.presents[0].rect.bottom, 260);
    EXPECT_EQ(PresentedNotWhite(), 64);    // one 8 x 8 marker, nothing else
    EXPECT_EQ(Presented(46, 193), kGreen); // world (46, 46)
    EXPECT_EQ(Presented(53, 186), kGreen); // world (53, 53)
    EXPECT_EQ(CountNotWhite(canvas), 0);
}

TEST_F(RenderTest, EmptySceneIsPlainWhiteEvenOverAnUndefinedBuffer) {
    std::fill(canvas.pixels.begin(), canvas.pixels.end(), 0xFF123456u);
    RenderFrame(window, kTarget);
    RenderFrame(window, kTarget);
    EXPECT_EQ(PresentedNotWhite(), 0);
}

TEST_F(RenderTest, TwoPointsGiveASegmentBetweenTwoMarkers) {
    Append(20, 100);
    Append(120, 100);
    RenderFrame(window, kTarget);
    // Segment columns 20..120 on row 139; markers cover 16..23 and 116..123.
    EXPECT_EQ(Presented(24, 139), kRed);
    EXPECT_EQ(Presented(115, 139), kRed);
    EXPECT_EQ(Presented(23, 139), kGreen);
    EXPECT_EQ(Presented(120, 139), kGreen);
    EXPECT_EQ(Presented(124, 139), kWhite);
    EXPECT_EQ(PresentedNotWhite(), 64 + 64 + (115 - 24 + 1));
}

TEST_F(RenderTest, DegreeOneCurveCoversNineTenthsOfTheSegment) {
    editor.degree = 1;
    Append(20, 100);
    Append(120, 100);
    RenderFrame(window, kTarget);
    // Samples reach x = 110 (t = 1.9); beyond the red segment shows.
    EXPECT_EQ(Presented(30, 139), kBlue);
    EXPECT_EQ(Presented(110, 139), kBlue);
    EXPECT_EQ(Presented(111, 139), kRed);
    EXPECT_EQ(Presented(19, 139), kGreen); // the first marker left of the curve's start
}

TEST_F(RenderTest, MarkersAndSegmentsInterleaveInListOrderAndTheCurveComesLast) {
    editor.degree = 9; // no curve with four points
    Append(50, 100);
    Append(100, 100);
    Append(50, 150);
    Append(50, 50);
    RenderFrame(window, kTarget);
    // The second marker covers the end of the first segment.
    EXPECT_EQ(Presented(99, 139), kGreen);
    // The last segment, drawn after the first marker, crosses it.
    EXPECT_EQ(Presented(50, 139), kRed);
    EXPECT_EQ(Presented(47, 139), kGreen);

    editor.degree = 3;
    RenderFrame(window, kTarget);
    // Every curve pixel is blue, on top of whatever lies beneath.
    const std::vector<std::uint32_t>& pixels = fakeHost.presents.back().pixels;
    EXPECT_GT(std::count(pixels.begin(), pixels.end(), kBlue), 30);
}

TEST_F(RenderTest, FramesOnlyWhenThePictureCanHaveChanged) {
    EXPECT_TRUE(Pass());
    EXPECT_FALSE(Pass()); // nothing new: nothing drawn, nothing presented
    OnMouseMove(50, 189);
    OnKeyDown(menu, 0x41);
    OnCommand(window, menu, 0xFFFF);
    EXPECT_FALSE(Pass()); // a move without a drag, a key and a command that do nothing

    OnLeftButtonDown(50, 189);
    EXPECT_TRUE(Pass());
    OnButtonUp();
    OnMouseMove(100, 189);
    OnLeftButtonDown(100, 189);
    OnButtonUp();
    OnLeftButtonDown(100, 189); // picks the second point
    EXPECT_TRUE(Pass());
    EXPECT_FALSE(Pass());
    OnMouseMove(110, 180); // drags it
    EXPECT_TRUE(Pass());
    EXPECT_FALSE(Pass());
    OnButtonUp();
    OnKeyDown(menu, 0x31);
    EXPECT_TRUE(Pass());
    OnCommand(window, menu, IDM_CLEAR_LINES);
    EXPECT_TRUE(Pass());
    EXPECT_EQ(fakeHost.presents.size(), 6u); // each change presented exactly once
    EXPECT_EQ(PresentedNotWhite(), 0);
}

TEST_F(RenderTest, ClearsOnlyTheClientRectangleOfThatMoment) {
    Append(50, 50);
    ResetFakeHost(ClientRect{0, 0, 0, 0}); // minimised
    RenderFrame(window, kTarget);
    RenderFrame(window, kTarget);
    EXPECT_EQ(CountNotWhite(canvas), 64); // drawn twice over the same place, never cleared
    EXPECT_FALSE(FrameNeeded(window));    // drawing it again would change nothing

    Clear();
    Append(100, 50);
    EXPECT_TRUE(Pass());
    ResetFakeHost(ClientRect{0, 0, 160, 260}); // restored
    EXPECT_TRUE(Pass());
    // The first frame after restoring shows what was drawn meanwhile, then all is white,
    // and the next frame replaces it with the scene as it is.
    EXPECT_EQ(PresentedNotWhite(), 128);
    EXPECT_EQ(CountNotWhite(canvas), 0);
    EXPECT_TRUE(Pass());
    EXPECT_EQ(PresentedNotWhite(), 64);
    EXPECT_FALSE(Pass());
    EXPECT_EQ(fakeHost.presents.size(), 2u);
}

TEST_F(RenderTest, ARectangleLargerThanTheBufferIsClippedWhenPresentingAndClearing) {
    ResetFakeHost(ClientRect{-10, -10, 1000, 1000});
    Append(50, 50);
    RenderFrame(window, kTarget);
    EXPECT_EQ(CountNotWhite(canvas), 0);
    const ClientRect shown = fakeHost.presents.at(0).rect; // and presented only where it lies
    EXPECT_EQ(shown.left, 0);
    EXPECT_EQ(shown.top, 0);
    EXPECT_EQ(shown.right, 160);
    EXPECT_EQ(shown.bottom, 260);
}

TEST_F(RenderTest, PointsPartlyOffTheSurfaceAreClipped) {
    Append(157, 100); // marker runs past the right edge
    Append(20, -18);  // marker rows 253..260 run past the bottom
    Append(-3, 300);  // above the top, dragged just left of column 0
    RenderFrame(window, kTarget);
    EXPECT_EQ(Presented(159, 139), kGreen);
    EXPECT_EQ(Presented(20, 259), kGreen);
    EXPECT_GT(PresentedNotWhite(), 0);
}

} // namespace
