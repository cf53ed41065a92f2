#include "canvas.h"
#include "scene.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class SceneTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetEditor(nullptr); }
    void TearDown() override { ResetEditor(nullptr); }
};

std::vector<float> ListXs() {
    std::vector<float> xs;
    for (const ControlPoint* p = editor.points.head; p != nullptr; p = p->next) {
        xs.push_back(p->x);
    }
    return xs;
}

TEST_F(SceneTest, StartsFromTheFixedInitialValues) {
    // The process-wide record as static initialisation left it (before any test reset).
    EXPECT_EQ(editor.points.head, nullptr);
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_EQ(editor.degree, 3.0f);
    EXPECT_EQ(editor.polygonColor.r, 255.0f);
    EXPECT_EQ(editor.polygonColor.g, 0.0f);
    EXPECT_EQ(editor.markerColor.g, 255.0f);
    EXPECT_EQ(editor.markerColor.r, 0.0f);
    EXPECT_EQ(editor.curveColor.b, 255.0f);
    EXPECT_EQ(editor.curveColor.a, 0.0f);
    EXPECT_FALSE(editor.pressed);
    EXPECT_FALSE(editor.dragging);
}

TEST_F(SceneTest, AppendKeepsPlacementOrderAndCount) {
    ASSERT_TRUE(Append(1, 10));
    EXPECT_EQ(editor.points.head->x, 1.0f);
    EXPECT_EQ(editor.points.head->y, 10.0f);
    EXPECT_EQ(editor.points.head->next, nullptr);
    ASSERT_TRUE(Append(2, 20));
    ASSERT_TRUE(Append(3, 30));
    EXPECT_EQ(editor.pointCount, 3);
    EXPECT_EQ(ListXs(), (std::vector<float>{1, 2, 3}));
}

TEST_F(SceneTest, ClearEmptiesTheListAndKeepsDegreeAndPointerFields) {
    Clear();
    EXPECT_EQ(editor.points.head, nullptr);
    EXPECT_EQ(editor.pointCount, 0);

    Append(1, 1);
    Append(2, 2);
    editor.degree = 7.0f;
    editor.pressed = true;
    editor.dragging = true;
    editor.mouseX = 12;
    editor.dragLastY = -4;
    editor.selected = editor.points.head;
    Clear();
    EXPECT_EQ(editor.points.head, nullptr);
    EXPECT_EQ(editor.pointCount, 0);
    EXPECT_EQ(editor.selected, nullptr);
    EXPECT_EQ(editor.degree, 7.0f);
    EXPECT_TRUE(editor.pressed);
    EXPECT_TRUE(editor.dragging);
    EXPECT_EQ(editor.mouseX, 12.0f);
    EXPECT_EQ(editor.dragLastY, -4.0f);
}

TEST_F(SceneTest, PointAtFollowsTheFloatIndexRules) {
    EXPECT_EQ(PointAt(0), nullptr);
    EXPECT_EQ(PointAt(-3), nullptr);
    EXPECT_EQ(PointAt(2), nullptr);

    Append(10, 0);
    Append(20, 0);
    Append(30, 0);
    ControlPoint* first = editor.points.head;
    ControlPoint* third = first->next->next;
    EXPECT_EQ(PointAt(0), first);
    EXPECT_EQ(PointAt(-1), first);
    EXPECT_EQ(PointAt(-1e30f), first);
    EXPECT_EQ(PointAt(2), third);
    EXPECT_EQ(PointAt(3), nullptr);
    EXPECT_EQ(PointAt(1e30f), nullptr);
    // A fractional index behaves like the next whole number above it.
    EXPECT_EQ(PointAt(0.5f), first->next);
    EXPECT_EQ(PointAt(1.01f), third);
}

TEST_F(SceneTest, ContainsMatchesNodeIdentityOnly) {
    EXPECT_FALSE(Contains(nullptr));
    ControlPoint outsider{5, 5, nullptr};
    EXPECT_FALSE(Contains(&outsider));

    Append(5, 5);
    Append(6, 6);
    EXPECT_TRUE(Contains(editor.points.head->next));
    EXPECT_FALSE(Contains(&outsider)); // same coordinates, another node
    EXPECT_FALSE(Contains(nullptr));
}

TEST_F(SceneTest, ClearedSelectionNeverMatchesANodeInReusedStorage) {
    Append(5, 5);
    editor.selected = editor.points.head;
    Clear();
    // The allocator may well hand the freed storage to the next node.
    Append(5, 5);
    EXPECT_FALSE(Contains(editor.selected));
}

} // namespace
