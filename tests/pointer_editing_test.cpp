#include "canvas.h"
#include "fake_host.h"
#include "input.h"
#include "reach.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class PointerEditing : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetEditor(nullptr);
        ResetFakeHost(ClientRect{0, 0, 640, 480});
    }
    void TearDown() override { ResetEditor(nullptr); }

    // A move to the spot, then a left click there, as the window system delivers it.
    static void LeftClick(std::uint16_t x, std::uint16_t y) {
        OnMouseMove(x, y);
        OnLeftButtonDown(x, y);
        OnButtonUp();
    }

    static std::vector<std::pair<float, float>> Points() {
        std::vector<std::pair<float, float>> points;
        for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
            points.emplace_back(p->x, p->y);
        }
        return points;
    }
};

using PointVector = std::vector<std::pair<float, float>>;

TEST_F(PointerEditing, LeftClickOnEmptySpacePlacesAPointInWorldCoordinates) {
    LeftClick(100, 50);
    EXPECT_EQ(Points(), (PointVector{{100, 189}}));
    EXPECT_EQ(editor.pointCount, 1);
    EXPECT_FALSE(editor.dragging);
    EXPECT_FALSE(editor.pressed);

    // The position comes from the press itself, and no drag follows the placement.
    OnMouseMove(300, 300);
    OnLeftButtonDown(310, 400);
    OnMouseMove(320, 420);
    OnButtonUp();
    EXPECT_EQ(Points(), (PointVector{{100, 189}, {310, -161}}));
}

TEST_F(PointerEditing, ClientPositionsUseTheWholeUnsigned16BitRange) {
    LeftClick(65535, 65535);
    LeftClick(0, 0);
    EXPECT_EQ(Points(), (PointVector{{65535, 239 - 65535.0f}, {0, 239}}));
    EXPECT_EQ(editor.mouseY, 239.0f);
}

TEST_F(PointerEditing, PickReachIsFourUnitsStrictlyOnEverySide) {
    LeftClick(100, 100); // world (100, 139)
    LeftClick(104, 100); // within reach: picked, nothing placed
    EXPECT_EQ(editor.pointCount, 1);
    LeftClick(96, 104);
    EXPECT_EQ(editor.pointCount, 1);
    LeftClick(105, 100); // 5 to the right: a new point
    EXPECT_EQ(editor.pointCount, 2);
    ResetEditor(nullptr);
    LeftClick(100, 100);
    LeftClick(95, 100); // 5 to the left
    EXPECT_EQ(editor.pointCount, 2);
    ResetEditor(nullptr);
    LeftClick(100, 100);
    LeftClick(100, 95);  // 5 up
    LeftClick(100, 105); // 5 down
    EXPECT_EQ(editor.pointCount, 3);
}

TEST_F(PointerEditing, PickUsesTheLastMoveNotTheButtonPosition) {
    LeftClick(100, 100);
    OnMouseMove(100, 100);
    OnLeftButtonDown(300, 300); // the window system's press elsewhere, after no move
    OnButtonUp();
    EXPECT_EQ(editor.pointCount, 1);
    EXPECT_EQ(editor.selected, editor.points.head);

    OnMouseMove(200, 200);
    OnLeftButtonDown(100, 100); // press on the point, but the last move was far away
    OnButtonUp();
    EXPECT_EQ(editor.pointCount, 2);
}

TEST_F(PointerEditing, OverlappingPointsPickTheEarlierPlaced) {
    LeftClick(100, 100);
    LeftClick(110, 100);
    OnMouseMove(105, 100); // within reach of both (offset 5 from the first is out)
    OnMouseMove(106, 100); // 6 from the first: out; 4 from the second
    OnLeftButtonDown(106, 100);
    EXPECT_EQ(editor.selected, editor.points.head->next);
    OnButtonUp();

    ResetEditor(nullptr);
    LeftClick(100, 100);
    Append(102, 139); // placed later, overlapping
    OnMouseMove(101, 100);
    EXPECT_TRUE(PickPoint());
    EXPECT_EQ(editor.selected, editor.points.head);
}

TEST_F(PointerEditing, LeftDragMovesThePointByThePointerDisplacement) {
    LeftClick(100, 100);
    OnMouseMove(102, 101); // off-centre pick keeps its offset
    OnLeftButtonDown(102, 101);
    EXPECT_TRUE(editor.dragging);
    OnMouseMove(112, 98);
    OnMouseMove(150, 60);
    EXPECT_EQ(Points(), (PointVector{{148, 180}}));
    OnButtonUp();
    EXPECT_FALSE(editor.dragging);
    OnMouseMove(10, 10); // released: stays
    EXPECT_EQ(Points(), (PointVector{{148, 180}}));
    EXPECT_EQ(editor.selected, editor.points.head); // kept after the release
}

TEST_F(PointerEditing, RightDragMovesAPointAndNeverPlacesOne) {
    LeftClick(200, 200);
    OnMouseMove(200, 200);
    EXPECT_TRUE(OnRightButtonDown());
    OnMouseMove(210, 197); // +10, -3 in client pixels
    EXPECT_EQ(Points(), (PointVector{{210, 42}}));
    OnButtonUp();
    OnMouseMove(300, 300);
    EXPECT_EQ(Points(), (PointVector{{210, 42}}));
}

TEST_F(PointerEditing, RightPressOnEmptySpaceIsPassedOnAndStaysPressed) {
    OnMouseMove(50, 50);
    EXPECT_FALSE(OnRightButtonDown()); // empty list: passed on
    EXPECT_TRUE(editor.pressed);
    EXPECT_FALSE(editor.dragging);
    EXPECT_EQ(editor.pointCount, 0);

    LeftClick(100, 100);
    OnMouseMove(300, 300);
    EXPECT_FALSE(OnRightButtonDown());
    EXPECT_TRUE(editor.pressed);
    // A second right press while pressed is ignored and reported handled, even on a point.
    OnMouseMove(100, 100);
    EXPECT_TRUE(OnRightButtonDown());
    EXPECT_FALSE(editor.dragging);
    // A left press on empty space with the right button held places a point.
    OnMouseMove(400, 400);
    OnLeftButtonDown(400, 400);
    EXPECT_EQ(editor.pointCount, 2);
    OnButtonUp();
    EXPECT_FALSE(editor.pressed);
}

TEST_F(PointerEditing, RightPressIsIgnoredWhileDragging) {
    LeftClick(100, 100);
    LeftClick(300, 100);
    OnMouseMove(100, 100);
    OnLeftButtonDown(100, 100);
    ControlPoint* first = editor.selected;
    OnMouseMove(300, 100); // drag the first onto the second
    EXPECT_TRUE(OnRightButtonDown());
    EXPECT_EQ(editor.selected, first);
    EXPECT_EQ(editor.dragLastX, 300.0f);
}

TEST_F(PointerEditing, LeftPressWhileDraggingPicksAgainAndResetsTheDragOrigin) {
    LeftClick(100, 100);
    LeftClick(120, 100);
    OnMouseMove(120, 100);
    OnLeftButtonDown(120, 100);
    EXPECT_EQ(editor.selected, editor.points.head->next);
    OnMouseMove(103, 100); // the second point now sits at 103, also within reach of the first
    OnLeftButtonDown(103, 100);
    EXPECT_EQ(editor.selected, editor.points.head); // the earlier-placed one wins
    EXPECT_EQ(editor.dragLastX, 103.0f);
    EXPECT_EQ(editor.pointCount, 2);
}

TEST_F(PointerEditing, ClearingDuringADragLeavesNothingToMove) {
    LeftClick(100, 100);
    OnMouseMove(100, 100);
    OnLeftButtonDown(100, 100);
    Clear();
    OnMouseMove(150, 150); // the selected point is gone: nothing moves, nothing breaks
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_TRUE(editor.dragging);

    // A press now misses, places a point and leaves dragging set with nothing to move; the
    // new node is never taken for the cleared one, whatever storage it reuses.
    OnLeftButtonDown(150, 150);
    EXPECT_TRUE(editor.dragging);
    OnMouseMove(160, 160);
    EXPECT_EQ(Points(), (PointVector{{150, 89}}));
    OnButtonUp();
    EXPECT_FALSE(editor.pressed);
    EXPECT_FALSE(editor.dragging);
}

TEST_F(PointerEditing, DraggedPointFollowsWithNoButtonAfterAnUnseenRelease) {
    // The release happened outside the window and was never delivered.
    LeftClick(100, 100);
    OnMouseMove(100, 100);
    OnLeftButtonDown(100, 100);
    OnMouseMove(630, 100);
    OnMouseMove(20, 100); // back inside: the whole displacement applies
    EXPECT_EQ(Points(), (PointVector{{20, 139}}));
}

// A finger's press is taken to the first placed point whose marker it reaches, whichever is
// nearest; there the editor's own pick takes the point.
TEST_F(PointerEditing, AFingerReachesTheFirstPlacedMarkerWithinReach) {
    LeftClick(100, 100); // marker columns 96 to 103, rows 97 to 104
    LeftClick(110, 100);
    const ReachedPoint first = FirstPointWithinReach(120, 100, 24.0f); // 17 from the first
    ASSERT_TRUE(first.found);
    EXPECT_EQ(first.clientX, 100);
    EXPECT_EQ(first.clientY, 100);
    EXPECT_EQ(FirstPointWithinReach(110, 80, 24.0f).clientX, 100);      // 17 above: also the first
    const ReachedPoint second = FirstPointWithinReach(140, 100, 30.0f); // 27 from the second
    ASSERT_TRUE(second.found);
    EXPECT_EQ(second.clientX, 110);
    EXPECT_FALSE(FirstPointWithinReach(140, 100, 24.0f).found);
    EXPECT_FALSE(FirstPointWithinReach(100, 130, 24.0f).found); // 26 below the marker
    ResetEditor(nullptr);
    LeftClick(100, 100);
    EXPECT_TRUE(FirstPointWithinReach(127, 100, 24.0f).found); // 24 right of column 103
    EXPECT_FALSE(FirstPointWithinReach(128, 100, 24.0f).found);
    EXPECT_TRUE(FirstPointWithinReach(72, 100, 24.0f).found); // 24 left of column 96
    EXPECT_FALSE(FirstPointWithinReach(71, 100, 24.0f).found);
    LeftClick(110, 100);

    OnMouseMove(100, 100);
    OnLeftButtonDown(100, 100);
    EXPECT_TRUE(editor.dragging);
    EXPECT_EQ(editor.pointCount, 2);
}

} // namespace
